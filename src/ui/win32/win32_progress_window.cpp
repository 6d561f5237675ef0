#include "ui/win32/win32_progress_window.h"

#include <commctrl.h>

#include <utility>

#include "common/win32/narrow_text.h"
#include "ui/layout_plan.h"
#include "ui/widgets.h"
#include "ui/win32/win32_widgets.h"
#include "ui/win32/window_binding.h"

namespace trelik {
namespace {

constexpr wchar_t kProgressClass[] = L"TrelikProgress";
// The bar counts in thousandths, so sizes beyond int range need no special care.
constexpr int kSteps = 1000;
// Messages are taken this often while the window shows: often enough to repaint and hear
// Cancel, seldom enough to cost the copy nothing.
constexpr ULONGLONG kPumpEveryMs = 30;
// The layout, in pixels at kDesignDpi.
constexpr int kWidth = 360;
constexpr int kMargin = 12;
constexpr int kLineHeight = 16;
constexpr int kBarHeight = 18;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kGap = 10;

HFONT MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

HWND Child(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style, RECT box,
           int id, HFONT font) {
  const HWND child =
      CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, box.left, box.top,
                      box.right - box.left, box.bottom - box.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  if (child != nullptr && font != nullptr) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  return child;
}

// Centred on the owner when there is one, else on the screen.
POINT Centre(HWND owner) {
  RECT area{};
  if (owner == nullptr || !GetWindowRect(owner, &area)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

}  // namespace

ProgressWindow::ProgressWindow(ProgressWindowArgs args, HWND owner)
    : args_(std::move(args)), owner_(owner), start_(GetTickCount64()) {}

ProgressWindow::~ProgressWindow() { Close(); }

bool ProgressWindow::Update(std::uint64_t done, std::uint64_t total) {
  if (done >= total) {
    Close();
    return !cancelled_;
  }
  const ULONGLONG now = GetTickCount64();
  if (window_ == nullptr && now - start_ >= static_cast<ULONGLONG>(args_.showAfterMs)) Open();
  if (window_ != nullptr && now - lastPump_ >= kPumpEveryMs) {
    lastPump_ = now;
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(done * kSteps / total), 0);
    Pump();
  }
  return !cancelled_;
}

LRESULT CALLBACK ProgressWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  auto* self = BoundObject<ProgressWindow>(window, message, lParam);
  const bool cancel = (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) ||
                      (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE);
  if (self != nullptr && cancel) {
    if (self->args_.cancellable) self->cancelled_ = true;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void ProgressWindow::Open() {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Procedure;
  windowClass.hInstance = Instance();
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kProgressClass;
  RegisterClassExW(&windowClass);  // again when it exists already: harmless

  const int dpi = ReadScreenDpi();
  const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, kDesignDpi); };
  const int width = scaled(kWidth);
  int height = scaled(kMargin + kLineHeight + kGap + kBarHeight + kMargin);
  if (args_.cancellable) height += scaled(kGap + kButtonHeight);
  RECT frame{0, 0, width, height};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  const POINT centre = Centre(owner_);
  const int frameWidth = frame.right - frame.left;
  const int frameHeight = frame.bottom - frame.top;
  const auto title = StrictWideText(Application::kTitle, CP_ACP);
  window_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kProgressClass, title ? title->c_str() : L"",
                            style, centre.x - frameWidth / 2, centre.y - frameHeight / 2,
                            frameWidth, frameHeight, owner_, nullptr, Instance(), this);
  if (window_ == nullptr) return;  // the work goes on without a window
  font_ = MessageFont();
  const int inner = width - scaled(2 * kMargin);
  int top = scaled(kMargin);
  Child(window_, L"STATIC", StrictWideText(args_.text, CP_ACP).value_or(L""), SS_LEFT,
        {scaled(kMargin), top, scaled(kMargin) + inner, top + scaled(kLineHeight)}, 0, font_);
  top += scaled(kLineHeight + kGap);
  bar_ =
      Child(window_, PROGRESS_CLASSW, L"", 0,
            {scaled(kMargin), top, scaled(kMargin) + inner, top + scaled(kBarHeight)}, 0, nullptr);
  SendMessageW(bar_, PBM_SETRANGE32, 0, kSteps);
  if (args_.cancellable) {
    top += scaled(kBarHeight + kGap);
    const int right = scaled(kMargin) + inner;
    Child(window_, L"BUTTON", L"Cancel", WS_TABSTOP | BS_DEFPUSHBUTTON,
          {right - scaled(kButtonWidth), top, right, top + scaled(kButtonHeight)}, IDCANCEL, font_);
  }
  modal_ = std::make_unique<ModalScope>(window_);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

void ProgressWindow::Close() {
  if (window_ == nullptr) return;
  // The other windows are enabled again first, so that the activation can pass back to one.
  modal_.reset();
  DestroyWindow(window_);
  window_ = nullptr;
  bar_ = nullptr;
  if (font_ != nullptr) DeleteObject(font_);
  font_ = nullptr;
}

// The messages of the thread, as its own loop would handle them; Escape reaches the window as
// Cancel. A quit request is left for that loop.
void ProgressWindow::Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace trelik
