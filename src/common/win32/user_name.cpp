#include "common/user_name.h"

#include <windows.h>
#define SECURITY_WIN32
#include <secext.h>

#include <vector>

#include "common/win32/narrow_text.h"

namespace trelik {
namespace {

// The display name comes from secur32, loaded only when a name is asked for: linked in, it
// would load with every start of the program, which seldom needs it.
bool DisplayName(std::vector<wchar_t>& buffer) {
  const HMODULE secur32 = LoadLibraryW(L"secur32.dll");
  if (secur32 == nullptr) return false;
  using GetUserNameExFunction = BOOLEAN(WINAPI*)(EXTENDED_NAME_FORMAT, LPWSTR, PULONG);
  const auto getUserNameEx = reinterpret_cast<GetUserNameExFunction>(
      reinterpret_cast<void*>(GetProcAddress(secur32, "GetUserNameExW")));
  ULONG length = static_cast<ULONG>(buffer.size());
  const bool found =
      getUserNameEx != nullptr && getUserNameEx(NameDisplay, buffer.data(), &length) && length > 0;
  FreeLibrary(secur32);
  return found;
}

}  // namespace

std::string UserName() {
  std::vector<wchar_t> buffer(256);
  // The display name exists only for domain and Microsoft accounts; a local account has none.
  if (DisplayName(buffer)) return NarrowText(buffer.data());
  DWORD loginLength = static_cast<DWORD>(buffer.size());
  if (GetUserNameW(buffer.data(), &loginLength)) return NarrowText(buffer.data());
  return {};
}

}  // namespace trelik
