#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "common/error.h"
#include "common/path_parts.h"
#include "shell/posix/posix_shell_operations.h"
#include "shell/posix/registry_store.h"
#include "ui/qt/qt_shell_windows.h"
#include "ui/qt/qt_widgets.h"

namespace {

std::string ExecutablePath() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) return {buffer.data(), buffer.data() + length};
    buffer.resize(buffer.size() * 2);
  }
}

// $XDG_DATA_HOME/trelik/, by default ~/.local/share/trelik/.
std::string DataFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && dataHome[0] == '/') return std::string(dataHome) + "/trelik/";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.local/share/trelik/";
}

// The file types are kept in the data folder; a damaged store is reported and left alone, and
// the program runs on with a store that refuses every change.
std::unique_ptr<trelik::MemoryRegistry> OpenFileTypeStore(const std::string& path,
                                                          trelik::Application& application) {
  try {
    return std::make_unique<trelik::RegistryStore>(path);
  } catch (const trelik::Error& error) {
    application.ShowError(error.what());
    auto refusing = std::make_unique<trelik::MemoryRegistry>();
    refusing->RefuseAllChanges();
    return refusing;
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qtApplication(argc, argv);
  QApplication::setApplicationName("trelik");
  QApplication::setDesktopFileName("trelik");
  QApplication::setWindowIcon(QIcon::fromTheme("trelik"));

  const std::string executablePath = ExecutablePath();
  const std::string dataFolder = DataFolder();
  trelik::QtApplication application;
  trelik::CopyProgressWindow progress;
  auto registry = OpenFileTypeStore(dataFolder + "filetypes.reg", application);
  trelik::PosixShellOperations shell(
      trelik::PickFolderWithQt, [] {},
      [&progress](std::uint64_t done, std::uint64_t total) { progress.Update(done, total); });

  trelik::Program program{
      .application = application,
      .shell = shell,
      .registry = *registry,
      .executablePath = executablePath,
      .launcherPath = argc > 1 ? argv[1] : "",
      .dataFolder = dataFolder,
      .helpFile = trelik::DirectoryPart(executablePath, trelik::kPosixSeparators) + "help/index.html"};
  trelik::RunTrelik(program);
  return 0;
}
