#include "ui/win32/win32_link.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "common/win32/narrow_text.h"

namespace trelik {
namespace {

// The relative luminance of a screen colour, as contrast ratios are defined on it.
double Luminance(COLORREF colour) {
  const auto linear = [](BYTE channel) {
    const double value = channel / 255.0;
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(GetRValue(colour)) + 0.7152 * linear(GetGValue(colour)) +
         0.0722 * linear(GetBValue(colour));
}

double ContrastRatio(COLORREF a, COLORREF b) {
  const auto [darker, lighter] = std::minmax(Luminance(a), Luminance(b));
  return (lighter + 0.05) / (darker + 0.05);
}

LRESULT CALLBACK LinkProcedure(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
  const auto* key = reinterpret_cast<const MSG*>(lParam);
  if (message == WM_GETDLGCODE && key != nullptr && key->message == WM_KEYDOWN &&
      key->wParam == VK_RETURN) {
    return DefSubclassProc(link, message, wParam, lParam) | DLGC_WANTMESSAGE;
  }
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    SendMessageA(GetParent(link), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), BN_CLICKED),
                 reinterpret_cast<LPARAM>(link));
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(link, &LinkProcedure, 0);
  return DefSubclassProc(link, message, wParam, lParam);
}

}  // namespace

void MakeLink(HWND button) { SetWindowSubclass(button, &LinkProcedure, 0, 0); }

COLORREF LinkColour(COLORREF face) {
  constexpr double kReadableContrast = 3.0;
  const COLORREF hotLight = GetSysColor(COLOR_HOTLIGHT);
  return ContrastRatio(hotLight, face) >= kReadableContrast ? hotLight : RGB(0, 102, 204);
}

void DrawLink(const DRAWITEMSTRUCT& item, const std::string& caption, HFONT font, int faceColour) {
  const HDC dc = item.hDC;
  RECT box = item.rcItem;
  FillRect(dc, &box, GetSysColorBrush(faceColour));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, LinkColour(GetSysColor(faceColour)));
  const HGDIOBJ previous = SelectObject(dc, font);
  // The access key is underlined unless the system hides it until the keyboard is used.
  const UINT format =
      DT_LEFT | DT_TOP | DT_SINGLELINE | ((item.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0);
  // DrawTextA reads the bytes in the font's code page, not the program's: "…" came out as "â€¦".
  if (const auto wide = StrictWideText(caption, CP_ACP)) {
    DrawTextW(dc, wide->c_str(), static_cast<int>(wide->size()), &box, format);
  } else {
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &box, format);
  }
  SelectObject(dc, previous);
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    DrawFocusRect(dc, &item.rcItem);
  }
}

}  // namespace trelik
