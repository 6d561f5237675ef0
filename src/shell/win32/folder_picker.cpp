#include "shell/win32/folder_picker.h"

#include <windows.h>
// The shell's headers build on the declarations above.
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <type_traits>

#include "shell/win32/modal_scope.h"

namespace trelik {
namespace {

// Keeps COM initialised on this thread for as long as it lives, unless it already was.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

struct ReleaseInterface {
  void operator()(IUnknown* object) const { object->Release(); }
};

// Memory that the shell's allocator handed out goes back to it.
struct FreeWithShellAllocator {
  IMalloc* allocator;
  void operator()(void* memory) const { allocator->Free(memory); }
};

// What the picker is set up with once it is shown.
struct PickerStart {
  HWND askingWindow;
  PCIDLIST_ABSOLUTE selected;  // null: the picker's own start, the desktop
};

// Centres the picker on the window it was asked from, within that screen's work area.
void CentreOn(HWND picker, HWND asking) {
  if (asking == nullptr) return;
  RECT own{};
  RECT centre{};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetWindowRect(picker, &own) || !GetWindowRect(asking, &centre) ||
      !GetMonitorInfoA(MonitorFromWindow(asking, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return;
  }
  const RECT& area = monitor.rcWork;
  const LONG width = own.right - own.left;
  const LONG height = own.bottom - own.top;
  const LONG left = std::clamp((centre.left + centre.right - width) / 2, area.left,
                               std::max(area.left, area.right - width));
  const LONG top = std::clamp((centre.top + centre.bottom - height) / 2, area.top,
                              std::max(area.top, area.bottom - height));
  SetWindowPos(picker, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CALLBACK SetUpPicker(HWND picker, UINT message, LPARAM, LPARAM start) {
  if (message != BFFM_INITIALIZED) return 0;
  const auto& wanted = *reinterpret_cast<const PickerStart*>(start);
  CentreOn(picker, wanted.askingWindow);
  if (wanted.selected != nullptr) {
    SendMessageA(picker, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(wanted.selected));
  }
  return 0;
}

}  // namespace

bool PickFolder(NativeWindow owner, const std::string& title, std::string& folder) {
  const ComScope com;
  IMalloc* allocator = nullptr;
  if (FAILED(SHGetMalloc(&allocator)) || allocator == nullptr) return false;
  const std::unique_ptr<IMalloc, ReleaseInterface> releaseAllocator(allocator);

  const std::unique_ptr<char, FreeWithShellAllocator> path(
      static_cast<char*>(allocator->Alloc(MAX_PATH)), FreeWithShellAllocator{allocator});
  if (!path) return false;
  path.get()[0] = '\0';

  // The resizable picker with a box to type or paste a path into; still only file-system
  // folders can be chosen.
  BROWSEINFOA request{};
  request.hwndOwner = static_cast<HWND>(owner);
  request.pidlRoot = nullptr;
  request.pszDisplayName = path.get();
  request.lpszTitle = title.c_str();
  request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
  // It starts on "This PC", where OK stays greyed until a real folder is chosen: started on the
  // desktop, one press of OK would pick the whole desktop.
  PIDLIST_ABSOLUTE computer = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer))) computer = nullptr;
  const std::unique_ptr<std::remove_pointer_t<PIDLIST_ABSOLUTE>, FreeWithShellAllocator>
      freeComputer(computer, FreeWithShellAllocator{allocator});
  const PickerStart start{GetActiveWindow(), computer};
  request.lpfn = &SetUpPicker;
  request.lParam = reinterpret_cast<LPARAM>(&start);

  PIDLIST_ABSOLUTE chosen = nullptr;
  {
    // Modal to every window of the program, not just to its owner; no system error boxes
    // while the user browses drives.
    const ModalScope modality;
    const UINT savedErrorMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    chosen = SHBrowseForFolderA(&request);
    SetErrorMode(savedErrorMode);
  }
  if (chosen == nullptr) return false;
  const std::unique_ptr<std::remove_pointer_t<PIDLIST_ABSOLUTE>, FreeWithShellAllocator> freeChosen(
      chosen, FreeWithShellAllocator{allocator});
  // Without a path the buffer would hold only the display name, which is no folder to copy.
  if (!SHGetPathFromIDListA(chosen, path.get())) return false;
  folder = path.get();
  return true;
}

}  // namespace trelik
