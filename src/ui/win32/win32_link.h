#pragma once

#include <windows.h>

#include <string>

namespace trelik {

// A text link is a button that draws itself as a link: the dialog manager gives it a tab stop
// and Space, and screen readers announce its caption as a button's. Enter follows the focused
// link as it presses a focused push button, where the dialog manager would press the window's
// default button.
void MakeLink(HWND button);

// The system's link colour, unless a theme makes it hardly readable on the window's face (as
// Wine's default theme does); then the classic link blue.
COLORREF LinkColour(COLORREF face);

// The caption, its access key marked with '&', where a label would show it, in the link colour
// on the window's face; the focus mark around the whole box while the keyboard is on it.
void DrawLink(const DRAWITEMSTRUCT& item, const std::string& caption, HFONT font, int faceColour);

}  // namespace trelik
