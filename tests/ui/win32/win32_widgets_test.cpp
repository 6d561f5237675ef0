// The Win32 backend on real windows (under Wine with a virtual display): what a user would see
// and do, checked on the windows themselves.
#include "ui/win32/win32_widgets.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "common/error.h"
#include "shell/win32/ole_session.h"
#include "ui/widget_conformance.h"
#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_progress_window.h"
#include "ui/win32/win32_test_support.h"

namespace trelik {
namespace {

using testing::ClassName;
using testing::MeasuredText;
using testing::MessageBoxAnswerer;
using testing::Pump;
using testing::WaitUntilActive;

// Counts the fonts sent to each window of this thread: a form sends each control its font
// every time it lays the control out.
class FontCounter {
 public:
  FontCounter() {
    instance_ = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &Record, nullptr, GetCurrentThreadId());
  }
  ~FontCounter() {
    UnhookWindowsHookEx(hook_);
    instance_ = nullptr;
  }
  FontCounter(const FontCounter&) = delete;
  FontCounter& operator=(const FontCounter&) = delete;

  bool Hooked() const { return hook_ != nullptr; }
  int Count(HWND window) const {
    const auto count = counts_.find(window);
    return count == counts_.end() ? 0 : count->second;
  }

 private:
  static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_SETFONT) ++instance_->counts_[message->hwnd];
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline FontCounter* instance_ = nullptr;
  HHOOK hook_ = nullptr;
  std::map<HWND, int> counts_;
};

POINT WorkAreaCentre() {
  RECT area{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

// A child's rectangle in its form's client coordinates.
RECT ClientRectOf(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT ClientArea(const Win32Form& form) {
  RECT client{};
  GetClientRect(form.Window(), &client);
  return client;
}

class Win32WidgetsTest : public ::testing::Test {
 protected:
  ~Win32WidgetsTest() override {
    // A quit message left by a test must not end the next one's loops.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  Win32Form& MakeForm(const FormArgs& args) {
    forms_.push_back(application_.CreateForm(args));
    return dynamic_cast<Win32Form&>(*forms_.back());
  }

  // The editor's layout: three buttons, then a group box whose controls follow it.
  Win32Form& MakeEditorLikeForm() {
    Win32Form& form =
        MakeForm({.caption = "Trelik Editor", .clientWidth = 359, .clientHeight = 181});
    form.AddButton(
        "Close", {.text = "Close", .bounds = {24, 120, 81, 25}, .tabOrder = 0, .isDefault = true});
    form.AddButton("Help", {.text = "Help", .bounds = {256, 120, 81, 25}, .tabOrder = 1});
    form.AddButton("Check", {.text = "Check Version", .bounds = {136, 120, 97, 25}, .tabOrder = 2});
    GroupBox* group = form.AddGroupBox(
        "Group", {.text = "Projects List", .bounds = {8, 8, 345, 81}, .tabOrder = 3});
    form.AddCheckBox(
        "Auto", {.text = "Auto Open", .bounds = {264, 48, 73, 17}, .tabOrder = 0, .parent = group});
    templates_ =
        form.AddComboBox("Templates", {.bounds = {8, 16, 169, 21}, .tabOrder = 1, .parent = group});
    form.AddButton(
        "New",
        {.text = "New Project", .bounds = {182, 16, 75, 25}, .tabOrder = 2, .parent = group});
    files_ =
        form.AddComboBox("Files", {.bounds = {8, 40, 169, 21}, .tabOrder = 5, .parent = group});
    return form;
  }

  Win32Application application_;
  std::vector<std::unique_ptr<Form>> forms_;
  ComboBox* templates_ = nullptr;
  ComboBox* files_ = nullptr;
};

TEST_F(Win32WidgetsTest, BordersCaptionsAndClientSizeFollowTheDeclaration) {
  struct Case {
    FormBorder border;
    DWORD exStyle;
  };
  for (const Case c : {Case{FormBorder::kToolWindow, WS_EX_TOOLWINDOW},
                       Case{FormBorder::kDialog, WS_EX_DLGMODALFRAME}}) {
    Win32Form& form = MakeForm(
        {.caption = " Trelik", .clientWidth = 368, .clientHeight = 71, .border = c.border});
    EXPECT_EQ(WindowText(form.Window()), " Trelik");
    EXPECT_NE(GetWindowLongA(form.Window(), GWL_EXSTYLE) & c.exStyle, 0);
    const LONG style = GetWindowLongA(form.Window(), GWL_STYLE);
    EXPECT_NE(style & WS_SYSMENU, 0);  // the close box
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    RECT client{};
    GetClientRect(form.Window(), &client);
    EXPECT_EQ(client.right, MulDiv(368, form.Dpi(), 96));
    EXPECT_EQ(client.bottom, MulDiv(71, form.Dpi(), 96));
    EXPECT_EQ(GetWindow(form.Window(), GW_OWNER),
              static_cast<HWND>(application_.ApplicationWindow()));
  }
  EXPECT_EQ(WindowText(static_cast<HWND>(application_.ApplicationWindow())), "Trelik");
  EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(application_.ApplicationWindow())));
}

TEST_F(Win32WidgetsTest, ControlsKeepTheirTextsAndAreLaidOutAgainAtANewDpi) {
  Win32Form& form = MakeEditorLikeForm();
  form.AddLabel("Link",
                {.text = "https://trelik.example/", .bounds = {216, 152, 124, 13}, .link = true});
  form.Show();
  EXPECT_EQ(WindowText(form.ChildWindow("Check")), "Check Version");
  EXPECT_EQ(WindowText(form.ChildWindow("Group")), "Projects List");
  EXPECT_EQ(WindowText(form.ChildWindow("Link")), "https://trelik.example/");

  // Inside the group box positions count from the box: "New" lies as far right of the box's
  // left edge as designed, in the layout's own scale.
  const RECT before = ClientRectOf(form.ChildWindow("New"));
  const RECT group = ClientRectOf(form.ChildWindow("Group"));
  const double scale = static_cast<double>(group.right - group.left) / 345;
  EXPECT_NEAR(before.left - group.left, 182 * scale, 2);
  EXPECT_NEAR(before.top, (8 + 16) * static_cast<double>(ClientArea(form).bottom) / 181, 2);

  // At twice the DPI everything is laid out again at about twice the size: the fonts' widths
  // need not grow by exactly the same ratio.
  const int dpi = form.Dpi() * 2;
  RECT suggested{0, 0, MulDiv(359, dpi, 96), MulDiv(181, dpi, 96)};
  AdjustWindowRectEx(&suggested, GetWindowLongA(form.Window(), GWL_STYLE), FALSE,
                     GetWindowLongA(form.Window(), GWL_EXSTYLE));
  const RECT clientBefore = ClientArea(form);
  SendMessageA(form.Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
  const RECT after = ClientRectOf(form.ChildWindow("New"));
  EXPECT_NEAR(after.left, 2.0 * before.left, 0.05 * before.left);
  EXPECT_NEAR(after.right - after.left, 2.0 * (before.right - before.left),
              0.05 * (before.right - before.left));
  EXPECT_NEAR(ClientArea(form).right, 2.0 * clientBefore.right, 0.05 * clientBefore.right);
  EXPECT_NEAR(ClientArea(form).bottom, 2.0 * clientBefore.bottom, 0.05 * clientBefore.bottom);
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form.ChildWindow("New"), WM_GETFONT, 0, 0)),
             sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -MulDiv(11, dpi, 96));
}

// The designed font may be missing and another face stand in: then the whole layout grows, one
// factor across and one down, until every caption fits; an edit without text shows the factor.
TEST_F(Win32WidgetsTest, ALongCaptionInANarrowBoxWidensTheWholeLayoutUntilItFits) {
  enum class Kind { kLabel, kBoldLabel, kCheckBox, kButton, kGroupBox };
  struct Case {
    const char* name;
    Kind kind;
    Bounds bounds;
    int extraWidth;  // beyond the text: the check box's box, a button's or group box's frame
  };
  const std::string caption = "Set up Projects from Explorer's New Menu";
  const int box = GetSystemMetrics(SM_CXMENUCHECK);
  for (const Case& c : {Case{"label", Kind::kLabel, {8, 8, 120, 13}, 0},
                        Case{"bold label", Kind::kBoldLabel, {8, 8, 120, 13}, 0},
                        Case{"low label", Kind::kLabel, {8, 8, 400, 4}, 0},
                        Case{"check box", Kind::kCheckBox, {8, 8, 120, 17}, box},
                        Case{"button", Kind::kButton, {8, 8, 120, 25}, 4},
                        Case{"group box", Kind::kGroupBox, {8, 8, 120, 30}, 8}}) {
    Win32Form& form = MakeForm({.caption = "about", .clientWidth = 420, .clientHeight = 100});
    switch (c.kind) {
      case Kind::kLabel:
      case Kind::kBoldLabel:
        form.AddLabel("Long",
                      {.text = caption, .bounds = c.bounds, .bold = c.kind == Kind::kBoldLabel});
        break;
      case Kind::kCheckBox:
        form.AddCheckBox("Long", {.text = caption, .bounds = c.bounds});
        break;
      case Kind::kButton:
        form.AddButton("Long", {.text = caption, .bounds = c.bounds});
        break;
      case Kind::kGroupBox:
        form.AddGroupBox("Long", {.text = caption, .bounds = c.bounds});
        break;
    }
    form.AddEdit("Edit", {.bounds = {8, 60, 100, 21}});
    form.Show();

    const HWND control = form.ChildWindow("Long");
    const SIZE text = MeasuredText(control);
    const RECT rect = ClientRectOf(control);
    EXPECT_GE(rect.right - rect.left, text.cx + c.extraWidth) << c.name;
    EXPECT_GE(rect.bottom - rect.top, text.cy) << c.name;
    EXPECT_EQ(WindowText(control), caption) << c.name;

    const RECT edit = ClientRectOf(form.ChildWindow("Edit"));
    const RECT client = ClientArea(form);
    const double scaleX = static_cast<double>(client.right) / MulDiv(420, form.Dpi(), 96);
    const double scaleY = static_cast<double>(client.bottom) / MulDiv(100, form.Dpi(), 96);
    EXPECT_GT(std::max(scaleX, scaleY), 1.0) << c.name;
    EXPECT_NEAR(edit.right - edit.left, MulDiv(100, form.Dpi(), 96) * scaleX, 1.5) << c.name;
    EXPECT_NEAR(edit.left, MulDiv(8, form.Dpi(), 96) * scaleX, 1.5) << c.name;
    EXPECT_NEAR(edit.top, MulDiv(60, form.Dpi(), 96) * scaleY, 1.5) << c.name;
  }
}

// Laying a form out measures every caption and sets every control's font, so it is done once, as
// the controls' windows are made in their places: a window never shown costs none until the
// program first uses one of its controls, a DPI change before then is only remembered, and
// showing the window lays out nothing again.
TEST_F(Win32WidgetsTest, AFormIsLaidOutOnceAsItsControlsAreMade) {
  const std::vector<std::string> names{"Close", "Help",      "Check", "Group",
                                       "Auto",  "Templates", "New",   "Files"};
  FontCounter fonts;
  ASSERT_TRUE(fonts.Hooked());
  Win32Form& shown = MakeEditorLikeForm();
  Win32Form& hidden = MakeEditorLikeForm();
  const int dpi = shown.Dpi() * 3 / 2;
  RECT suggested{0, 0, MulDiv(359, dpi, 96), MulDiv(181, dpi, 96)};
  SendMessageA(shown.Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(GetWindow(shown.Window(), GW_CHILD), nullptr);
  EXPECT_EQ(GetWindow(hidden.Window(), GW_CHILD), nullptr);
  hidden.Find<CheckBox>("Auto").SetChecked(true);
  EXPECT_EQ(SendMessageA(hidden.ChildWindow("Auto"), BM_GETCHECK, 0, 0), BST_CHECKED);

  shown.Show();
  shown.Close();
  shown.Show();
  for (const auto& name : names) {
    EXPECT_EQ(fonts.Count(shown.ChildWindow(name)), 1) << name;
    EXPECT_EQ(fonts.Count(hidden.ChildWindow(name)), 1) << name;
  }
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(shown.ChildWindow("New"), WM_GETFONT, 0, 0)),
             sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -MulDiv(11, dpi, 96));
}

// A control added to a form already shown is laid out at once, and may widen the whole layout.
// A description costs no OLE, and none of its DLLs, until a screen reader asks the described
// control for its accessible object.
TEST_F(Win32WidgetsTest, OleStartsForADescriptionOnlyWhenAScreenReaderAsks) {
  EndOle();
  Win32Form& form = MakeForm({.caption = "Trelik", .clientWidth = 200, .clientHeight = 60});
  Edit* edit = form.AddEdit("Edit", {.bounds = {8, 8, 100, 21}});
  Label* hint = form.AddLabel("Hint", {.bounds = {8, 32, 100, 13}, .describes = edit});
  form.Show();
  hint->SetText("hint");
  const auto oleStarted = [] {
    const HRESULT probe = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(probe)) CoUninitialize();
    return probe == S_FALSE;
  };
  EXPECT_FALSE(oleStarted());
  SendMessageA(form.ChildWindow("Edit"), WM_GETOBJECT, 0, OBJID_CLIENT);
  EXPECT_TRUE(oleStarted());
  EndOle();
}

TEST_F(Win32WidgetsTest, AControlAddedAfterTheFirstShowingIsLaidOutWithAllTheOthers) {
  Win32Form& form = MakeForm({.caption = "about", .clientWidth = 420, .clientHeight = 100});
  form.AddEdit("Edit", {.bounds = {8, 60, 100, 21}});
  form.Show();
  const RECT before = ClientRectOf(form.ChildWindow("Edit"));
  EXPECT_EQ(before.right - before.left, MulDiv(100, form.Dpi(), 96));

  form.AddLabel("Long",
                {.text = "Set up Projects from Explorer's New Menu", .bounds = {8, 8, 120, 13}});
  const HWND label = form.ChildWindow("Long");
  const RECT rect = ClientRectOf(label);
  EXPECT_NE(SendMessageA(label, WM_GETFONT, 0, 0), 0);
  EXPECT_GE(rect.right - rect.left, MeasuredText(label).cx);
  const RECT after = ClientRectOf(form.ChildWindow("Edit"));
  EXPECT_GT(after.right - after.left, before.right - before.left);
}

TEST_F(Win32WidgetsTest, ALayoutWhoseTextsFitKeepsTheDesignedSizeTimesTheDpiExactly) {
  struct Designed {
    const char* name;
    Bounds bounds;
  };
  const std::vector<Designed> designed{{"Label", {8, 8, 120, 20}},
                                       {"Check", {8, 32, 120, 24}},
                                       {"Button", {140, 8, 100, 30}},
                                       {"Group", {140, 44, 150, 50}},
                                       {"Edit", {8, 60, 120, 21}}};
  Win32Form& form = MakeForm({.caption = "about", .clientWidth = 300, .clientHeight = 100});
  form.AddLabel("Label", {.text = "Hi", .bounds = designed[0].bounds});
  form.AddCheckBox("Check", {.text = "On", .bounds = designed[1].bounds});
  form.AddButton("Button", {.text = "OK", .bounds = designed[2].bounds});
  form.AddGroupBox("Group", {.text = "Box", .bounds = designed[3].bounds});
  form.AddEdit("Edit", {.bounds = designed[4].bounds});
  form.Show();

  for (const int dpi : {form.Dpi(), form.Dpi() * 3 / 2}) {
    if (dpi != form.Dpi()) {
      RECT suggested{0, 0, MulDiv(300, dpi, 96), MulDiv(100, dpi, 96)};
      SendMessageA(form.Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&suggested));
    }
    EXPECT_EQ(ClientArea(form).right, MulDiv(300, dpi, 96)) << dpi;
    EXPECT_EQ(ClientArea(form).bottom, MulDiv(100, dpi, 96)) << dpi;
    for (const Designed& d : designed) {
      const RECT rect = ClientRectOf(form.ChildWindow(d.name));
      EXPECT_EQ(rect.left, MulDiv(d.bounds.left, dpi, 96)) << d.name << " " << dpi;
      EXPECT_EQ(rect.top, MulDiv(d.bounds.top, dpi, 96)) << d.name << " " << dpi;
      EXPECT_EQ(rect.right - rect.left, MulDiv(d.bounds.width, dpi, 96)) << d.name << " " << dpi;
      EXPECT_EQ(rect.bottom - rect.top, MulDiv(d.bounds.height, dpi, 96)) << d.name << " " << dpi;
    }
  }
}

// The keys as the program's message loop hands them on: the arrows stay among the form's own
// controls or among one group box's.
TEST_F(Win32WidgetsTest, TheArrowsStayWithinAGroup) {
  Win32Form& form = MakeEditorLikeForm();
  form.Show();
  WaitUntilActive(form.Window());
  struct Case {
    const char* from;
    WPARAM key;
    const char* to;
  };
  for (const Case c : {Case{"Check", VK_RIGHT, "Close"}, Case{"Close", VK_LEFT, "Check"},
                       Case{"New", VK_DOWN, "Files"}, Case{"Auto", VK_UP, "Files"}}) {
    SetFocus(form.ChildWindow(c.from));
    MSG key{form.ChildWindow(c.from), WM_KEYDOWN, c.key, 0};
    application_.ProcessMessage(key);
    EXPECT_EQ(GetFocus(), form.ChildWindow(c.to)) << c.from << " " << c.key;
  }
}

// The button that Enter would press shows the default frame; the default one answers as IDOK,
// which the dialog manager presses on Enter.
TEST_F(Win32WidgetsTest, TheDefaultFrameFollowsTheButtonThatEnterWouldPress) {
  Win32Form& form = MakeEditorLikeForm();
  form.AddEdit("Edit", {.bounds = {8, 96, 100, 21}, .tabOrder = 4});
  EXPECT_EQ(GetDlgCtrlID(form.ChildWindow("Close")), IDOK);
  EXPECT_NE(GetDlgCtrlID(form.ChildWindow("Help")), IDOK);
  form.Show();
  for (const auto& [focus, framed] :
       {std::pair{"Edit", "Close"}, std::pair{"Help", "Help"}, std::pair{"Auto", "Close"}}) {
    SetFocus(form.ChildWindow(focus));
    Pump();
    for (const char* name : {"Close", "Help", "Check", "New"}) {
      const LONG type = GetWindowLongA(form.ChildWindow(name), GWL_STYLE) & BS_TYPEMASK;
      EXPECT_EQ(type == BS_DEFPUSHBUTTON, std::string(name) == framed) << focus << " " << name;
    }
  }
}

// The colours a control draws, row by row, as it paints itself.
std::vector<COLORREF> Painted(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  const HDC screen = GetDC(control);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  const HGDIOBJ previous = SelectObject(dc, bitmap);
  SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(control, screen);
  return pixels;
}

// A link is drawn in the link colour, with a focus mark while the keyboard is on it.
TEST_F(Win32WidgetsTest, ALinkShowsTheFocusMarkInTheLinkColour) {
  Win32Form& form = MakeForm({.caption = " Trelik",
                              .clientWidth = 368,
                              .clientHeight = 71,
                              .border = FormBorder::kToolWindow});
  form.AddLabel("Options", {.text = "Options", .bounds = {144, 48, 36, 13}, .link = true});
  form.AddEdit("Edit", {.bounds = {8, 16, 257, 21}, .tabOrder = 0});
  form.Show();
  WaitUntilActive(form.Window());
  const HWND options = form.ChildWindow("Options");
  SetFocus(options);
  const std::vector<COLORREF> withFocus = Painted(options);
  SetFocus(form.ChildWindow("Edit"));
  const std::vector<COLORREF> withoutFocus = Painted(options);
  EXPECT_NE(withFocus, withoutFocus);
  const HDC probe = CreateCompatibleDC(nullptr);
  SendMessageA(form.Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(probe),
               reinterpret_cast<LPARAM>(options));
  const COLORREF linkColour = GetTextColor(probe);
  DeleteDC(probe);
  EXPECT_NE(std::ranges::count(withoutFocus, linkColour), 0);
}

// What a screen reader announces for a control, as Windows' accessibility layer reads it.
std::string AccessibleName(HWND control) {
  // The import library's IID_IAccessible is not the interface's identifier; the header's is.
  IAccessible* accessible = nullptr;
  const HRESULT found = AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&accessible));
  if (FAILED(found)) return "(no accessible object)";
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::string text;
  if (accessible->get_accName(self, &name) == S_OK && name != nullptr) {
    const std::wstring wide(name, SysStringLen(name));
    text.assign(wide.begin(), wide.end());  // the names read here are plain ASCII
  }
  SysFreeString(name);
  accessible->Release();
  return text;
}

// Entries selected and typed text in place, so that a name taken from them would show.
TEST_F(Win32WidgetsTest, ScreenReadersNameTheBoxesByTheirAccessibleNamesAndLinksByCaption) {
  Win32Form& form = MakeForm({.caption = "Trelik Editor", .clientWidth = 359, .clientHeight = 181});
  form.AddLabel("Link", {.text = "&Options", .bounds = {144, 148, 36, 13}, .link = true});
  Edit* edit = form.AddEdit(
      "Edit",
      {.bounds = {8, 8, 257, 21}, .tabOrder = 0, .accessibleName = "Name of the new project"});
  ComboBox* templates = form.AddComboBox(
      "Templates", {.bounds = {8, 40, 169, 21}, .tabOrder = 1, .accessibleName = "Templates"});
  ComboBox* files = form.AddComboBox(
      "Files",
      {.bounds = {8, 72, 169, 21}, .tabOrder = 2, .accessibleName = "Files of the template"});
  form.Show();
  edit->SetText("Site");
  templates->SetItems({"Web"});
  templates->SetSelectedIndex(0);
  files->SetItems({"index.htm"});
  files->SetSelectedIndex(0);
  // Windows' accessibility layer names an edit box or a drop-down list by the static text just
  // before it in the z-order; Wine's does so for edit boxes only and reads a list's entry.
  struct Case {
    const char* control;
    const char* name;
    bool labelled;    // by a hidden label just before it
    bool readByWine;  // what this test's accessibility layer reads, under Wine too
  };
  for (const Case c : {Case{"Edit", "Name of the new project", true, true},
                       Case{"Templates", "Templates", true, false},
                       Case{"Files", "Files of the template", true, false},
                       Case{"Link", "Options", false, true}}) {
    const HWND control = form.ChildWindow(c.control);
    if (c.labelled) {
      const HWND label = GetWindow(control, GW_HWNDPREV);
      EXPECT_EQ(ClassName(label), "Static") << c.control;
      EXPECT_EQ(WindowText(label), c.name) << c.control;
      EXPECT_FALSE(IsWindowVisible(label)) << c.control;
    }
    if (c.readByWine) {
      EXPECT_EQ(AccessibleName(control), c.name) << c.control;
    }
  }
}

TEST_F(Win32WidgetsTest, ALinkReportsClicksInItsOwnReadableColour) {
  Win32Form& form = MakeForm(
      {.caption = "about", .clientWidth = 293, .clientHeight = 171, .colour = FormColour::kMenu});
  Label* link = form.AddLabel(
      "Link", {.text = "https://trelik.example", .bounds = {72, 48, 119, 13}, .link = true});
  form.AddLabel("Plain", {.text = "Trelik 1.0", .bounds = {72, 16, 67, 13}, .bold = true});
  int clicks = 0;
  link->onClick = [&] { ++clicks; };
  const HWND linkWindow = form.ChildWindow("Link");
  SendMessageA(form.Window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(linkWindow), STN_CLICKED),
               reinterpret_cast<LPARAM>(linkWindow));
  EXPECT_EQ(clicks, 1);

  // What the form tells each label to draw with.
  const auto textColour = [&](const char* name) {
    const HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageA(form.Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(form.ChildWindow(name)));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
  };
  EXPECT_EQ(textColour("Plain"), RGB(1, 2, 3));
  const COLORREF linkColour = textColour("Link");
  const COLORREF face = GetSysColor(COLOR_MENU);
  EXPECT_NE(linkColour, RGB(1, 2, 3));
  // Far enough from the face colour to read: at least a third of the channels' full range.
  const int distance = std::abs(GetRValue(linkColour) - GetRValue(face)) +
                       std::abs(GetGValue(linkColour) - GetGValue(face)) +
                       std::abs(GetBValue(linkColour) - GetBValue(face));
  EXPECT_GT(distance, 255) << std::hex << linkColour;
  EXPECT_EQ(SendMessageA(form.Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(linkWindow),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
}

TEST_F(Win32WidgetsTest, ALinkCarriesItsTooltipAndTheAboutBoxTheProgramIcon) {
  Win32Form& form = MakeForm({.caption = "about", .clientWidth = 293, .clientHeight = 171});
  form.AddLabel("Link", {.text = "https://trelik.example/",
                         .bounds = {216, 152, 124, 13},
                         .link = true,
                         .tooltip = "Find more useful tools"});
  form.AddProgramIcon("Image1", {16, 16, 32, 32});
  form.Show();

  HWND tooltip = nullptr;
  for (HWND window = GetTopWindow(nullptr); window != nullptr;
       window = GetWindow(window, GW_HWNDNEXT)) {
    if (ClassName(window) == TOOLTIPS_CLASSA && GetWindow(window, GW_OWNER) == form.Window()) {
      tooltip = window;
    }
  }
  ASSERT_NE(tooltip, nullptr);
  EXPECT_NE(GetWindowLongA(tooltip, GWL_STYLE) & TTS_ALWAYSTIP, 0);
  char text[80] = {};
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = form.Window();
  tool.uId = reinterpret_cast<UINT_PTR>(form.ChildWindow("Link"));
  tool.lpszText = text;
  SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, "Find more useful tools");

  const auto icon =
      reinterpret_cast<HICON>(SendMessageA(form.ChildWindow("Image1"), STM_GETICON, 0, 0));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP bitmap{};
  GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, MulDiv(32, form.Dpi(), 96));
  EXPECT_EQ(bitmap.bmHeight, MulDiv(32, form.Dpi(), 96));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

TEST_F(Win32WidgetsTest, NoticesAreCentredPlainBoxesTitledTrelikAndErrorsShowTheStopIcon) {
  MessageBoxAnswerer answerer;
  application_.ShowMessage("same project exists !");
  application_.ShowError("Access denied");
  ASSERT_EQ(answerer.boxes.size(), 2u);
  EXPECT_EQ(answerer.boxes[0].text, "same project exists !");
  EXPECT_FALSE(answerer.boxes[0].hasIcon);
  EXPECT_NEAR(answerer.boxes[0].centre.x, WorkAreaCentre().x, 2);
  EXPECT_NEAR(answerer.boxes[0].centre.y, WorkAreaCentre().y, 2);
  EXPECT_EQ(answerer.boxes[1].text, "Access denied.");
  EXPECT_TRUE(answerer.boxes[1].hasIcon);
}

TEST_F(Win32WidgetsTest, ClosingTheMainFormRunsItsHandlerOnceAndEndsTheLoop) {
  Win32Form& form = MakeForm({.caption = " Trelik",
                              .clientWidth = 368,
                              .clientHeight = 71,
                              .border = FormBorder::kToolWindow,
                              .isMainForm = true});
  int closes = 0;
  form.onClose = [&] {
    // A second request while closing; one, so that a failure cannot loop.
    if (++closes == 1) PostMessageA(form.Window(), WM_CLOSE, 0, 0);
  };
  form.onShow = [&] { PostMessageA(form.Window(), WM_CLOSE, 0, 0); };
  application_.Run(form);  // returns when the quit message arrives
  EXPECT_EQ(closes, 1);
  Pump();
  EXPECT_EQ(closes, 1);
}

// The session's end is reported on the error stream of the test's own process, which ends.
TEST_F(Win32WidgetsTest, EndingTheSessionEndsTheProgramAtOnceWithoutTheCloseHandler) {
  EXPECT_EXIT(
      {
        Win32Form& form = MakeForm(
            {.caption = " Trelik", .clientWidth = 368, .clientHeight = 71, .isMainForm = true});
        bool closed = false;
        form.onClose = [&] { closed = true; };
        application_.onSessionEnd = [&] {
          std::fprintf(stderr, "windows %s, close handler %s\n",
                       IsWindow(form.Window()) ? "left" : "gone", closed ? "ran" : "not run");
          std::fflush(stderr);
        };
        form.Show();
        SendMessageA(static_cast<HWND>(application_.ApplicationWindow()), WM_ENDSESSION, TRUE, 0);
      },
      ::testing::ExitedWithCode(0), "windows gone, close handler not run");
}

TEST_F(Win32WidgetsTest, AModalFormDisablesTheOthersUntilItIsClosed) {
  Win32Form& owner = MakeEditorLikeForm();
  Win32Form& modal = MakeForm({.caption = "about", .clientWidth = 293, .clientHeight = 171});
  owner.Show();
  WaitUntilActive(owner.Window());
  bool ownerEnabledMeanwhile = true;
  int shows = 0;
  modal.onShow = [&] {
    ++shows;
    ownerEnabledMeanwhile = IsWindowEnabled(owner.Window()) != FALSE;
    modal.Show();                     // already shown: only brought to the front
    WaitUntilActive(modal.Window());  // as a user, who closes it once it is there
    PostMessageA(modal.Window(), WM_CLOSE, 0, 0);
  };
  modal.ShowModal();
  EXPECT_EQ(shows, 1);
  EXPECT_FALSE(ownerEnabledMeanwhile);
  EXPECT_FALSE(modal.Visible());
  EXPECT_TRUE(IsWindowEnabled(owner.Window()));
  WaitUntilActive(owner.Window());
  EXPECT_EQ(GetActiveWindow(), owner.Window());
}

HWND ShownProgressWindow() {
  const HWND window = FindWindowW(L"TrelikProgress", nullptr);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

// A copy's progress window shows only once the copy has taken a while, belongs to the copy's
// window and keeps it from input, stops the copy on Cancel, and goes with the copy's end.
TEST_F(Win32WidgetsTest, TheCopyProgressWindowShowsLateStopsTheCopyOnCancelAndGoesAtTheEnd) {
  Win32Form& owner = MakeEditorLikeForm();
  owner.Show();
  WaitUntilActive(owner.Window());
  ProgressWindow quick(CopyProgress(), owner.Window());
  EXPECT_TRUE(quick.Update(0, 100));
  EXPECT_EQ(ShownProgressWindow(), nullptr);  // too soon

  ProgressWindowArgs args = CopyProgress();
  args.showAfterMs = 0;
  ProgressWindow progress(args, owner.Window());
  EXPECT_TRUE(progress.Update(0, 100));
  const HWND window = ShownProgressWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindow(window, GW_OWNER), owner.Window());
  EXPECT_FALSE(IsWindowEnabled(owner.Window()));
  SendMessageW(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_FALSE(progress.Update(50, 100));
  EXPECT_FALSE(progress.Update(100, 100));
  EXPECT_EQ(ShownProgressWindow(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner.Window()));
}

TEST_F(Win32WidgetsTest, AFormIsCentredAtItsFirstShowingAndThenStaysWhereItWasLeft) {
  Win32Form& form = MakeEditorLikeForm();
  form.Show();
  RECT frame{};
  GetWindowRect(form.Window(), &frame);
  EXPECT_NEAR((frame.left + frame.right) / 2, WorkAreaCentre().x, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, WorkAreaCentre().y, 1);
  SetWindowPos(form.Window(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  form.Close();
  EXPECT_FALSE(form.Visible());
  form.Show();
  GetWindowRect(form.Window(), &frame);
  EXPECT_EQ(frame.left, 40);
  EXPECT_EQ(frame.top, 30);
}

TEST_F(Win32WidgetsTest, EnteringAListRunsItsHandlerButTheWindowComingBackDoesNot) {
  Win32Form& editor = MakeEditorLikeForm();
  Win32Form& other = MakeForm({.caption = "about", .clientWidth = 293, .clientHeight = 171});
  other.AddButton("Close", {.text = "Close", .bounds = {112, 112, 75, 25}, .isDefault = true});
  int enters = 0;
  files_->onEnter = [&] { ++enters; };
  editor.Show();
  WaitUntilActive(editor.Window());
  files_->SetFocus();
  EXPECT_EQ(enters, 1);
  other.Show();
  WaitUntilActive(other.Window());
  EXPECT_EQ(GetActiveWindow(), other.Window());
  SetActiveWindow(editor.Window());
  EXPECT_EQ(GetFocus(), editor.ChildWindow("Files"));
  EXPECT_EQ(enters, 1);
}

// The user's hands on the Win32 windows, for the widget suite: keys go through the program's
// own message loop.
class Win32Driver final : public testing::WidgetDriver {
 public:
  ~Win32Driver() override {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  Application& App() override { return application_; }
  void ShowActive(Form& form) override {
    form.Show();
    WaitUntilActive(static_cast<HWND>(form.Handle()));
  }
  void Press(Form& form, const std::string& control, testing::Key key) override {
    SetFocus(Child(form, control));
    Press(form, key);
  }
  void Press(Form&, testing::Key key) override {
    if (key == testing::Key::kF1) {
      Press(VK_F1);  // WM_HELP comes only of a key in the system's input queue
      return;
    }
    static const std::map<testing::Key, WPARAM> keys = {
        {testing::Key::kEnter, VK_RETURN}, {testing::Key::kEscape, VK_ESCAPE},
        {testing::Key::kSpace, VK_SPACE},  {testing::Key::kTab, VK_TAB},
        {testing::Key::kDown, VK_DOWN},    {testing::Key::kF4, VK_F4}};
    const HWND focus = GetFocus();
    // The pointer below a list the key opens, where the list's highlight does not follow it.
    if (key == testing::Key::kF4) {
      RECT frame{};
      GetWindowRect(GetAncestor(focus, GA_ROOT), &frame);
      SetCursorPos(frame.left + 30, frame.bottom - 5);
    }
    MSG down{focus, WM_KEYDOWN, keys.at(key), 0};
    application_.ProcessMessage(down);
    MSG up{focus, WM_KEYUP, keys.at(key), 0};
    application_.ProcessMessage(up);
    Pump();
  }
  // As the system translates Alt and the letter, through the program's message loop.
  void PressAccessKey(Form& form, const std::string& control, char letter) override {
    SetFocus(Child(form, control));
    MSG key{GetFocus(), WM_SYSCHAR, static_cast<WPARAM>(letter), 1 << 29};
    application_.ProcessMessage(key);
    Pump();
  }
  bool HasFocus(Form& form, const std::string& control) override {
    return GetFocus() == Child(form, control);
  }
  void Type(Form&, const std::string& text) override {
    for (const char c : text) {
      MSG typed{GetFocus(), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0};
      application_.ProcessMessage(typed);
    }
  }
  // The main window stays on screen until the loop sees the quit message it posted.
  bool Ended(Form&) override {
    MSG quit;
    return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
  }
  // Windows' screen readers read the text that follows a box in the dialog with it.
  std::string Description(Form& form, const std::string& control) override {
    return WindowText(GetWindow(Child(form, control), GW_HWNDNEXT));
  }
  std::optional<DroppedList> Drop(Form& form, const std::string& control) override {
    const HWND box = Child(form, control);
    SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(box, &info);
    RECT list{};
    GetClientRect(info.hwndList, &list);
    const HDC dc = GetDC(info.hwndList);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)));
    LONG longest = 0;
    for (const auto& item : dynamic_cast<Win32Form&>(form).Find<ComboBox>(control).Items()) {
      SIZE size{};
      GetTextExtentPoint32A(dc, item.c_str(), static_cast<int>(item.size()), &size);
      longest = std::max(longest, size.cx);
    }
    SelectObject(dc, previous);
    ReleaseDC(info.hwndList, dc);
    SendMessageA(box, CB_SHOWDROPDOWN, FALSE, 0);
    const auto rowHeight = static_cast<LONG>(SendMessageA(box, CB_GETITEMHEIGHT, 0, 0));
    return DroppedList{.rows = static_cast<int>(list.bottom / rowHeight),
                       .longestWhole = list.right >= longest};
  }
  bool RunUntil(const std::function<bool()>& done) override {
    for (int tries = 0; tries < 300 && !done(); ++tries) {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) application_.ProcessMessage(message);
      Sleep(10);
    }
    return done();
  }
  void WhenActive(Form& form, std::function<void()> step) override {
    whenActive_ = std::make_unique<testing::WhenReady>(
        [&form] { return GetActiveWindow() == static_cast<HWND>(form.Handle()); }, std::move(step));
  }
  std::vector<std::string> Answering(const std::vector<Answer>& answers,
                                     const std::function<void()>& act) override {
    static const std::map<Answer, int> buttons = {
        {Answer::kYes, IDYES}, {Answer::kNo, IDNO}, {Answer::kCancel, IDCANCEL}};
    std::vector<int> pressed;
    for (const Answer answer : answers) pressed.push_back(buttons.at(answer));
    MessageBoxAnswerer answerer(pressed);
    act();
    std::vector<std::string> texts;
    boxOwners.clear();
    for (const auto& box : answerer.boxes) {
      texts.push_back(box.text);
      boxOwners.push_back(box.owner);
    }
    return texts;
  }

 private:
  static HWND Child(Form& form, const std::string& name) {
    return dynamic_cast<Win32Form&>(form).ChildWindow(name);
  }

  static void Press(WORD key) {
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = key;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
  }

  Win32Application application_;
  std::unique_ptr<testing::WhenReady> whenActive_;
};

}  // namespace
}  // namespace trelik

namespace trelik::testing {
namespace {

const WidgetBackend kWin32 = {"Win32", [] { return std::make_unique<Win32Driver>(); }};

INSTANTIATE_TEST_SUITE_P(Win32, WidgetConformance, ::testing::Values(kWin32), BackendName);
INSTANTIATE_TEST_SUITE_P(Win32, ProgramStories, ::testing::Values(kWin32), BackendName);

// Every caption of every window of the program is drawn whole in its box, at the font the
// system gave.
TEST_P(ProgramStories, EveryCaptionFitsItsBox) {
  Start("");
  for (Form* form : {&Main(), &Editor(), &About()}) {
    driver_->ShowActive(*form);
    std::vector<HWND> children;
    EnumChildWindows(
        static_cast<HWND>(form->Handle()),
        [](HWND child, LPARAM list) {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    int captions = 0;
    for (const HWND child : children) {
      if (!IsWindowVisible(child) || WindowText(child).empty() || ClassName(child) == "Edit") {
        continue;
      }
      const LONG type = GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK;
      const bool checkBox =
          ClassName(child) == "Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX);
      RECT box{};
      GetClientRect(child, &box);
      EXPECT_LE(MeasuredText(child).cx + (checkBox ? GetSystemMetrics(SM_CXMENUCHECK) : 0),
                box.right)
          << WindowText(child);
      ++captions;
    }
    EXPECT_GE(captions, 3);
  }
}

}  // namespace
}  // namespace trelik::testing
