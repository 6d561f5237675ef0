// Web addresses travel through Wine's browser bridge to the Linux opener; the test build puts a
// stub opener first on PATH that records every request in the file TRELIK_XDG_OPEN_LOG names.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "shell/win32/win32_shell_operations.h"

namespace trelik {
namespace {

// Wine shows the Linux root as drive Z.
std::string WinePathOf(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The opener runs in a process of its own, so its record arrives some time after the call.
std::vector<std::string> WaitForRequests(const std::string& log, std::size_t count) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::vector<std::string> requests = ReadLines(log);
  while (requests.size() < count && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    requests = ReadLines(log);
  }
  return requests;
}

TEST(ShellOpen, HandsWebAddressesToTheBrowserUnchanged) {
  const char* linuxLog = std::getenv("TRELIK_XDG_OPEN_LOG");
  ASSERT_NE(linuxLog, nullptr) << "the test's CTest properties name the stub opener's log";
  const std::string log = WinePathOf(linuxLog);
  DeleteFileA(log.c_str());
  const std::string versionCheck = "http://trelik.example/products/trelik/vcheck.php?v=1.0";
  const std::string homePage = "http://trelik.example/";
  Win32ShellOperations shell;

  shell.ShellOpen(nullptr, "open", versionCheck, ShowCommand::kShow);
  EXPECT_EQ(WaitForRequests(log, 1), std::vector<std::string>{versionCheck});

  shell.ShellOpen(nullptr, "", homePage, ShowCommand::kShowMaximized);
  EXPECT_EQ(WaitForRequests(log, 2), (std::vector<std::string>{versionCheck, homePage}));
}

}  // namespace
}  // namespace trelik
