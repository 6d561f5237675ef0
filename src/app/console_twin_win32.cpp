// trelik.com, the console twin of the GUI program trelik.exe. cmd.exe picks a .com before an .exe
// of the same name and waits only for console programs, so `trelik --version` typed at a prompt
// runs this: it starts trelik.exe from its own folder with the same command line and our
// standard handles, waits for it and returns its exit code. trelik.exe stays a GUI program, so
// no console window flashes up when the shell or a shortcut starts it.
#include <windows.h>

#include <string>

#include "common/system_error.h"
#include "common/win32/module_path.h"

namespace {

// The twin's path with the extension ".exe" in place of its own.
std::wstring GuiProgramPath() {
  std::wstring path = trelik::ModulePath<wchar_t>();
  const size_t dot = path.find_last_of(L'.');
  const size_t separator = path.find_last_of(L"\\/");
  if (dot != std::wstring::npos && (separator == std::wstring::npos || dot > separator)) {
    path.resize(dot);
  }
  return path + L".exe";
}

// One of our standard handles, made inheritable so that the child can write to it; null when
// we were given none.
HANDLE InheritedStdHandle(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return nullptr;
  SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  return handle;
}

void ReportFailure() {
  const std::string text =
      "trelik: cannot start trelik.exe: " + trelik::LastSystemErrorText() + "\r\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
            nullptr);
}

}  // namespace

int main() {
  const std::wstring program = GuiProgramPath();
  std::wstring commandLine = GetCommandLineW();
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = InheritedStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = InheritedStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = InheritedStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &startup, &process)) {
    ReportFailure();
    return 1;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  return static_cast<int>(exitCode);
}
