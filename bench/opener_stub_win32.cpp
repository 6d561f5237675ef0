// Stands for the program that a file type opens with, in bench/create_time.sh under Wine: it
// writes when it was started (Unix seconds) and the file it was given into "opened", in the
// folder above that file's folder (beside the project), and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  // FILETIME counts 100 ns from 1601; Unix time counts seconds from 1970.
  const auto ticks =
      (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  const double unixSeconds = static_cast<double>(ticks - 116444736000000000ULL) / 1e7;
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr || count < 2) return 2;
  // The file's folder, then the folder above it.
  std::wstring record = arguments[1];
  for (int up = 0; up < 2; ++up) {
    const auto separator = record.rfind(L'\\');
    record.resize(separator == std::wstring::npos ? 0 : separator);
  }
  FILE* file = _wfopen((record + L"\\opened").c_str(), L"w");
  if (file == nullptr) return 1;
  std::fprintf(file, "%.6f %ls\n", unixSeconds, arguments[1]);
  std::fclose(file);
  return 0;
}
