// The real windows on the Win32 backend (under Wine with a virtual display), used in-process as
// a user would use them: keys go through the program's message loop to the focused control,
// message boxes are answered as they come.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "shell/memory_registry.h"
#include "support/fake_shell.h"
#include "support/temp_folder.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_test_support.h"
#include "ui/win32/win32_widgets.h"

namespace trelik::testing {
namespace {

namespace fs = std::filesystem;

// Runs `step` once, from within whatever message loop runs next (a modal window's own), as
// soon as `ready` holds; a bounded wait.
class WhenReady {
 public:
  WhenReady(std::function<bool()> ready, std::function<void()> step)
      : ready_(std::move(ready)), step_(std::move(step)) {
    instance_ = this;
    timer_ = SetTimer(nullptr, 0, 20, &Tick);
  }
  ~WhenReady() {
    KillTimer(nullptr, timer_);
    instance_ = nullptr;
  }
  WhenReady(const WhenReady&) = delete;
  WhenReady& operator=(const WhenReady&) = delete;

  bool done = false;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (instance_ == nullptr || instance_->done || !instance_->ready_()) return;
    instance_->done = true;
    instance_->step_();
  }

  static inline WhenReady* instance_ = nullptr;
  std::function<bool()> ready_;
  std::function<void()> step_;
  UINT_PTR timer_ = 0;
};

class Win32ProgramTest : public ::testing::Test {
 protected:
  Win32ProgramTest() {
    fs::create_directories(dataFolder_ + "projects\\Web");
    WriteFileBytes(dataFolder_ + "projects\\Web\\index.htm", "<html>");
    WriteFileBytes(dataFolder_ + "projects.lib", "Web\r\n");
    fs::create_directories(projects_);
  }
  ~Win32ProgramTest() override {
    windows_.reset();
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  // Starts the program on `launcher` with its main window shown and active.
  void Start(const std::string& launcher) {
    program_ = std::make_unique<Program>(
        Program{.application = application_,
                .shell = shell_,
                .openRegistry = [] { return std::make_shared<MemoryRegistry>(); },
                .executablePath = root_ / "trelik.exe",
                .launcherPath = launcher,
                .dataFolder = dataFolder_,
                .helpFile = root_ / "trelik.chm"});
    windows_ = std::make_unique<TrelikWindows>(*program_);
    Show(windows_->Form1.Window());
  }

  static HWND Window(Form& form) { return static_cast<HWND>(form.Handle()); }
  static HWND Child(Form& form, const std::string& name) {
    return dynamic_cast<Win32Form&>(form).ChildWindow(name);
  }
  static void Show(Form& form) {
    form.Show();
    WaitUntilActive(Window(form));
  }

  // A key pressed where the focus is, through the program's loop.
  void Key(WPARAM key) {
    const HWND focus = GetFocus();
    for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
      MSG pressed{focus, message, key, 0};
      application_.ProcessMessage(pressed);
    }
    Pump();
  }
  void Type(const std::string& text) {
    for (const char c : text) {
      MSG typed{GetFocus(), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0};
      application_.ProcessMessage(typed);
    }
  }
  // Reaches the control and presses the key there, as a user tabbing to it would.
  void Press(Form& form, const std::string& control, WPARAM key) {
    SetFocus(Child(form, control));
    Key(key);
  }
  std::string Focused(Form& form) {
    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Button1", "CheckBox1",
                             "Edit1", "ComboBox1", "ComboBox2"}) {
      if (GetFocus() == Child(form, name)) return name;
    }
    return "?";
  }
  // F1 becomes WM_HELP only through the system's input queue: pressed as a user presses it,
  // then the loop runs until the help was asked for, a bounded wait.
  void PressF1() {
    const std::size_t before = shell_.opened.size();
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_F1;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    for (int tries = 0; tries < 100 && shell_.opened.size() == before; ++tries) {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) application_.ProcessMessage(message);
      Sleep(10);
    }
  }
  static bool Ended() {
    MSG quit;
    return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
  }

  TempFolder root_;
  std::string dataFolder_ = root_ / "data\\";
  std::string projects_ = root_ / "My Projects\\";
  Win32Application application_;
  FakeShell shell_;
  MessageBoxAnswerer answerer_;
  std::unique_ptr<Program> program_;
  std::unique_ptr<TrelikWindows> windows_;
};

TEST_F(Win32ProgramTest, TheTypedNameAndEnterMakeTheProjectAndEndTheProgram) {
  const std::string launcher = projects_ + "New.trelik_Web";
  WriteFileBytes(launcher, "");
  WriteFileBytes(dataFolder_ + "trelik.ini",
                 "[mainfile]\r\nWeb=index.htm\r\n[autoopen]\r\nWeb=1\r\n");
  Start(launcher);
  Form& main = windows_->Form1.Window();
  ASSERT_EQ(Focused(main), "Edit1");  // the name box has the focus from the start
  Type("Site\\home");
  Key(VK_RETURN);  // presses "Create"

  EXPECT_TRUE(Ended());
  EXPECT_TRUE(fs::is_regular_file(projects_ + "Site\\home.htm"));
  EXPECT_FALSE(fs::exists(launcher));
  ASSERT_EQ(shell_.opened.size(), 1u);
  EXPECT_EQ(shell_.opened[0].target, projects_ + "Site\\home.htm");
  EXPECT_TRUE(answerer_.boxes.empty()) << answerer_.boxes.front().text;
}

TEST_F(Win32ProgramTest, TheKeyboardReachesTheLinksF1HelpsAndEscapeClosesOnlyTheEditor) {
  Start("");
  Form& main = windows_->Form1.Window();
  // After the last of the designed stops, the name box, the links in reading order.
  std::vector<std::string> reached;
  for (int i = 0; i < 7; ++i) {
    Key(VK_TAB);
    reached.push_back(Focused(main));
  }
  EXPECT_EQ(reached, (std::vector<std::string>{"Label1", "Label2", "Label4", "Label3", "Button1",
                                               "CheckBox1", "Edit1"}));
  Key(VK_ESCAPE);
  EXPECT_TRUE(main.Visible());
  PressF1();

  Press(main, "Label1", VK_RETURN);  // "Options"
  Form& editor = windows_->Form2.Window();
  WaitUntilActive(Window(editor));
  ASSERT_TRUE(editor.Visible());
  PressF1();
  Key(VK_ESCAPE);
  EXPECT_FALSE(editor.Visible());
  EXPECT_TRUE(main.Visible());
  EXPECT_FALSE(Ended());
  EXPECT_EQ(ReadFileBytes(dataFolder_ + "projects.lib"), "Web\r\n");  // saved as it closed
  ASSERT_EQ(shell_.opened.size(), 2u);
  for (const auto& opened : shell_.opened) EXPECT_EQ(opened.target, program_->helpFile);
  EXPECT_TRUE(answerer_.boxes.empty()) << answerer_.boxes.front().text;
}

TEST_F(Win32ProgramTest, TheEditorRecordsTheMainFileAndTheAboutWindowClosesWithEnter) {
  Start("");
  Press(windows_->Form1.Window(), "Label1", VK_RETURN);  // "Options"
  Form& editor = windows_->Form2.Window();
  WaitUntilActive(Window(editor));

  Press(editor, "ComboBox1", VK_DOWN);
  ASSERT_EQ(windows_->Form2.ComboBox1->SelectedIndex(), 0);
  EXPECT_EQ(windows_->Form2.ComboBox2->Items().size(), 1u);  // listed once the template is chosen
  // From the template list, Tab passes "New Project", "Delete" and "Main File" to reach the
  // file list.
  for (int i = 0; i < 4; ++i) Key(VK_TAB);
  ASSERT_EQ(Focused(editor), "ComboBox2");
  Key(VK_DOWN);
  Press(editor, "Button6", VK_SPACE);  // "Main File"
  Press(editor, "Button1", VK_SPACE);  // "Close"
  EXPECT_FALSE(editor.Visible());

  Form& about = windows_->about.Window();
  const WhenReady closeAbout([&] { return GetActiveWindow() == Window(about); },
                             [&] { Key(VK_RETURN); });   // its default button
  Press(windows_->Form1.Window(), "Label3", VK_RETURN);  // "About", shown modally till closed
  EXPECT_TRUE(closeAbout.done);
  EXPECT_FALSE(about.Visible());

  const std::string settings = ReadFileBytes(dataFolder_ + "trelik.ini");
  EXPECT_NE(settings.find("Web=index.htm"), std::string::npos) << settings;
  EXPECT_EQ(ReadFileBytes(dataFolder_ + "projects.lib"), "Web\r\n");
  EXPECT_TRUE(answerer_.boxes.empty()) << answerer_.boxes.front().text;
}

// Every caption of every window is drawn whole in its box, at the font the system gave.
TEST_F(Win32ProgramTest, EveryCaptionFitsItsBox) {
  Start("");
  for (Form* form :
       {&windows_->Form1.Window(), &windows_->Form2.Window(), &windows_->about.Window()}) {
    Show(*form);
    std::vector<HWND> children;
    EnumChildWindows(
        Window(*form),
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
