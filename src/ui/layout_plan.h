#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace trelik {

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool operator==(const Bounds&) const = default;
};

// How a window's declared controls are laid out and chained for the keyboard, worked out once
// for every backend: the layout was drawn at 96 pixels per inch for a narrow 8-point font, so it
// is scaled to the DPI and then, one factor across and one down, just enough that every caption
// fits its box, as dialog units scale a dialog with its font.

// The layout was drawn at 96 pixels per inch for "MS Sans Serif" 8 point, 11 pixels high there.
inline constexpr int kDesignDpi = 96;
inline constexpr int kDesignFontHeight = 11;

enum class ControlKind { kLabel, kButton, kCheckBox, kEdit, kComboBox, kGroupBox, kPicture };

inline constexpr std::size_t kNoGroup = static_cast<std::size_t>(-1);

struct PlannedControl {
  ControlKind kind = ControlKind::kLabel;
  std::string caption;
  Bounds bounds;                 // as designed, relative to its group box if it has one
  std::optional<int> tabOrder;   // none for controls the keyboard does not reach
  std::size_t group = kNoGroup;  // the index of the group box it sits in
  bool link = false;             // a text link: the keyboard reaches it after every tab stop
};

struct TextExtent {
  int width = 0;
  int height = 0;
};

// Room a caption needs beside its text, at the design DPI: a push button's frame and focus
// rectangle on both sides, a group box's indent and the gaps around its caption, the gap between
// a check box's box and its text plus the focus rectangle around the text (the box itself is
// the system's to measure).
int CaptionMargin(ControlKind kind);

// The room the caption of the control at an index needs at the current font and DPI, in pixels,
// with what its control draws beside the text (a check box's box, a button's frame).
using MeasureCaption = std::function<TextExtent(std::size_t index)>;

struct LayoutPlan {
  int dpi = 96;
  double fitX = 1.0;  // how much wider and taller than designed the captions need the layout
  double fitY = 1.0;
  int clientWidth = 0;
  int clientHeight = 0;
  std::vector<Bounds> bounds;  // each control's, in the form's client area, in declared order

  // Designed pixels to pixels; with a fit of 1 exactly the DPI scaling, rounded as MulDiv does.
  int ScaleX(int designPixels) const;
  int ScaleY(int designPixels) const;
};

// `clientWidth` and `clientHeight` are the form's designed client size; `dpi` the one to lay
// out at (96 where the toolkit scales by itself). Captions are measured only where they count.
LayoutPlan PlanLayout(const std::vector<PlannedControl>& controls, int clientWidth,
                      int clientHeight, int dpi, const MeasureCaption& measure);

// The indices of the keyboard's stops in focus order: the form's controls by tab order (equal
// orders keep their declared order), each group box followed by its own controls likewise.
std::vector<std::size_t> TabChain(const std::vector<PlannedControl>& controls);

// The text links in reading order (top to bottom, then left to right, where they sit in the
// form): the keyboard reaches them after the stops of TabChain.
std::vector<std::size_t> LinkChain(const std::vector<PlannedControl>& controls);

struct KeyboardStop {
  std::size_t index = 0;
  bool reached = false;      // Tab reaches it
  bool startsGroup = false;  // the first of a group the arrow keys keep within

  bool operator==(const KeyboardStop&) const = default;
};

// Every control in the order the keyboard walks them: TabChain's stops, then LinkChain's links,
// then the controls the keyboard never reaches, in declared order. The arrow keys stay within
// the form's own stops, a group box's stops, the links, or the rest; a group box is a group of
// its own.
std::vector<KeyboardStop> KeyboardOrder(const std::vector<PlannedControl>& controls);

}  // namespace trelik
