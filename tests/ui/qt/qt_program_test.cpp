// The real windows on the Qt backend under Qt's offscreen platform, used in-process as a user
// would use them: keys go to the widget that has the focus, clicks to widgets found by name.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "shell/memory_registry.h"
#include "support/fake_shell.h"
#include "support/temp_folder.h"
#include "ui/qt/qt_widgets.h"
#include "ui/site_address.h"

namespace trelik::testing {
namespace {

class QtProgramTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qt_program_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own statics are gone before it, and its teardown crashes.
    new QApplication(argc, argv);
  }

  QtProgramTest() {
    std::filesystem::create_directories(dataFolder_ + "projects/Web");
    WriteFileBytes(dataFolder_ + "projects/Web/index.htm", "<html>");
    WriteFileBytes(dataFolder_ + "projects.lib", "Web\r\n");
    std::filesystem::create_directories(projects_);
    // A message box would wait for a user: each one is read and answered.
    QObject::connect(&answerer_, &QTimer::timeout, [this] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(top); box != nullptr && box->isVisible()) {
          messages_.push_back(box->text().toStdString());
          box->accept();
        }
      }
    });
    answerer_.start(20);
  }

  // Starts the program on `launcher` and runs `drive` once its main window is up; returns when
  // the main window has closed, which `drive` leaves to the caller's last step or to this.
  void RunProgram(const std::string& launcher, const std::function<void()>& drive) {
    Program program{.application = application_,
                    .shell = shell_,
                    .openRegistry = [this] { return std::make_shared<MemoryRegistry>(); },
                    .executablePath = root_ / "trelik",
                    .launcherPath = launcher,
                    .dataFolder = dataFolder_,
                    .helpFile = root_ / "index.html"};
    TrelikWindows windows(program);
    windows_ = &windows;
    QTimer::singleShot(0, [&] {
      drive();
      if (Window(windows.Form1)->isVisible()) Window(windows.Form1)->close();
    });
    application_.Run(windows.Form1.Window());
    windows_ = nullptr;
  }

  template <typename WindowClass>
  static QWidget* Window(WindowClass& window) {
    return static_cast<QWidget*>(window.Window().Handle());
  }

  template <typename T, typename WindowClass>
  static T* Find(WindowClass& window, const char* name) {
    return Window(window)->template findChild<T*>(name);
  }

  static bool WaitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 5000);
  }

  TempFolder root_;
  std::string dataFolder_ = root_ / "data/";
  std::string projects_ = root_ / "My Projects/";
  QtApplication application_;
  FakeShell shell_;
  TrelikWindows* windows_ = nullptr;
  QTimer answerer_;
  std::vector<std::string> messages_;
};

TEST_F(QtProgramTest, TheTypedNameAndEnterMakeTheProject) {
  const std::string launcher = projects_ + "New.trelik_Web";
  WriteFileBytes(launcher, "");
  WriteFileBytes(dataFolder_ + "trelik.ini", "[mainfile]\nWeb=index.htm\n[autoopen]\nWeb=1\n");
  RunProgram(launcher, [this] {
    ASSERT_TRUE(WaitFor([this] { return Window(windows_->Form1)->isActiveWindow(); }));
    // The name box has the focus from the start, and Enter presses "Create".
    QTest::keyClicks(QApplication::focusWidget(), "Site\\home");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  });

  EXPECT_TRUE(std::filesystem::is_regular_file(projects_ + "Site/home.htm"));
  EXPECT_FALSE(std::filesystem::exists(launcher));
  ASSERT_EQ(shell_.opened.size(), 1u);
  EXPECT_EQ(shell_.opened[0].target, projects_ + "Site/home.htm");
  EXPECT_TRUE(messages_.empty()) << messages_.front();
}

TEST_F(QtProgramTest, TheKeyboardReachesTheLinksF1HelpsAndEscapeClosesOnlyTheEditor) {
  RunProgram("", [this] {
    QWidget* main = Window(windows_->Form1);
    ASSERT_TRUE(WaitFor([main] { return main->isActiveWindow(); }));
    // After the last of the designed stops, the name box, the links in reading order.
    std::vector<std::string> reached;
    for (int i = 0; i < 7; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      reached.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    EXPECT_EQ(reached, (std::vector<std::string>{"Label1", "Label2", "Label4", "Label3", "Button1",
                                                 "CheckBox1", "Edit1"}));
    QTest::keyClick(main, Qt::Key_Escape);
    EXPECT_TRUE(main->isVisible());
    QTest::keyClick(main, Qt::Key_F1);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Find<QLabel>(windows_->Form1, "Label1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // "Options"
    QWidget* editor = Window(windows_->Form2);
    ASSERT_TRUE(WaitFor([editor] { return editor->isActiveWindow(); }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(WaitFor([editor] { return !editor->isVisible(); }));
  });
  ASSERT_EQ(shell_.opened.size(), 2u);
  for (const auto& opened : shell_.opened) EXPECT_EQ(opened.target, root_ / "index.html");
  EXPECT_EQ(ReadFileBytes(dataFolder_ + "projects.lib"), "Web\r\n");  // saved as the editor closed
}

// What a screen reader announces for each control that shows no caption of its own, and for
// the links.
TEST_F(QtProgramTest, ControlsAndLinksHaveAccessibleNames) {
  RunProgram("", [this] {
    const auto name = [](QWidget* widget) {
      return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).toStdString();
    };
    EXPECT_EQ(name(Find<QLineEdit>(windows_->Form1, "Edit1")), "Name of the new project");
    EXPECT_EQ(name(Find<QLabel>(windows_->Form1, "Label1")), "Options");
    EXPECT_EQ(name(Find<QComboBox>(windows_->Form2, "ComboBox1")), "Templates");
    EXPECT_EQ(name(Find<QComboBox>(windows_->Form2, "ComboBox2")), "Files of the template");
    EXPECT_EQ(name(Find<QLabel>(windows_->about, "Label2")) + "/", HomePageAddress());
  });
}

TEST_F(QtProgramTest, TheEditorRecordsTheMainFileAndTheAboutWindowClosesWithEnter) {
  RunProgram("", [this] {
    QTest::mouseClick(Find<QLabel>(windows_->Form1, "Label1"), Qt::LeftButton);  // "Options"
    QWidget* editor = Window(windows_->Form2);
    ASSERT_TRUE(WaitFor([editor] { return editor->isActiveWindow(); }));

    auto* templates = Find<QComboBox>(windows_->Form2, "ComboBox1");
    templates->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(templates, Qt::Key_Down);
    ASSERT_EQ(templates->currentText(), "Web");
    auto* files = Find<QComboBox>(windows_->Form2, "ComboBox2");
    EXPECT_EQ(files->count(), 1);  // listed as soon as the template is chosen
    // From the template list, Tab passes "New Project", "Delete" and "Main File" to reach the
    // file list, which is filled as it gets the focus.
    for (int i = 0; i < 4; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), files);
    QTest::keyClick(files, Qt::Key_Down);
    ASSERT_EQ(files->currentText(), "index.htm");
    QTest::mouseClick(Find<QPushButton>(windows_->Form2, "Button6"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(windows_->Form2, "Button1"), Qt::LeftButton);  // "Close"
    EXPECT_TRUE(WaitFor([editor] { return !editor->isVisible(); }));

    bool aboutClosed = false;
    QTimer::singleShot(0, [this, &aboutClosed] {
      QWidget* about = Window(windows_->about);
      if (!WaitFor([about] { return about->isActiveWindow(); })) return;
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // its default button
      aboutClosed = WaitFor([about] { return !about->isVisible(); });
    });
    QTest::mouseClick(Find<QLabel>(windows_->Form1, "Label3"), Qt::LeftButton);  // "About"
    EXPECT_TRUE(aboutClosed);
  });
  const std::string settings = ReadFileBytes(dataFolder_ + "trelik.ini");
  EXPECT_NE(settings.find("Web=index.htm"), std::string::npos) << settings;
  EXPECT_NE(settings.find("Web=0"), std::string::npos) << settings;
  EXPECT_EQ(ReadFileBytes(dataFolder_ + "projects.lib"), "Web\r\n");
  EXPECT_TRUE(messages_.empty()) << messages_.front();
}

}  // namespace
}  // namespace trelik::testing
