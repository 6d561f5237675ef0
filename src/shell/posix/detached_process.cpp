#include "shell/posix/detached_process.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace trelik {

std::optional<std::string> FindOnPath(const std::string& program) {
  const char* searchPath = std::getenv("PATH");
  const std::string folders = searchPath != nullptr ? searchPath : "/usr/bin:/bin";
  std::string::size_type start = 0;
  for (;;) {
    const auto end = folders.find(':', start);
    std::string folder = folders.substr(start, end == std::string::npos ? end : end - start);
    if (folder.empty()) folder.push_back('.');  // an empty entry is the current folder
    std::string candidate = folder;
    candidate.append("/").append(program);
    struct stat info {};
    if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    if (end == std::string::npos) return std::nullopt;
    start = end + 1;
  }
}

void StartDetached(const std::string& path, const std::vector<std::string>& arguments) {
  // Everything the children use is prepared here: between fork and exec only
  // async-signal-safe calls are allowed, since other threads may hold locks.
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const pid_t child = ::fork();
  if (child < 0) return;
  if (child == 0) {
    // The child only starts the program and ends, so the program is handed to init.
    ::setsid();
    const pid_t grandchild = ::_Fork();
    if (grandchild == 0) {
      sigset_t none;
      ::sigemptyset(&none);
      ::sigprocmask(SIG_SETMASK, &none, nullptr);
      ::execve(path.c_str(), argv.data(), environ);
      ::_exit(127);
    }
    ::_exit(grandchild < 0 ? 1 : 0);
  }
  while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace trelik
