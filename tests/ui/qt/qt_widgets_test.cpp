// The Qt backend under Qt's offscreen platform: what a user would see and do, checked on the
// real widgets found by their object names.
#include "ui/qt/qt_widgets.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <string>
#include <vector>

#include "common/error.h"
#include "support/temp_folder.h"
#include "ui/listed_names.h"
#include "ui/qt/qt_shell_windows.h"

namespace trelik {
namespace {

class QtWidgetsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qt_widgets_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own statics are gone before it, and its teardown crashes.
    new QApplication(argc, argv);
  }

  template <typename T>
  static T* Widget(Form& form, const char* name) {
    return static_cast<QWidget*>(form.Handle())->findChild<T*>(name);
  }

  QtApplication application_;
};

TEST_F(QtWidgetsTest, LinksGetTheLinkColourAndReportClicks) {
  auto form = application_.CreateForm(
      {.caption = "about", .clientWidth = 293, .clientHeight = 171, .colour = FormColour::kMenu});
  Label* link = form->AddLabel(
      "Label2", {.text = "https://trelik.example", .bounds = {72, 48, 119, 13}, .link = true});
  form->AddLabel("Label3", {.text = "plain", .bounds = {72, 32, 198, 13}});
  int clicks = 0;
  link->onClick = [&] { ++clicks; };
  form->Show();
  auto* linkWidget = Widget<QLabel>(*form, "Label2");
  auto* plainWidget = Widget<QLabel>(*form, "Label3");
  ASSERT_NE(linkWidget, nullptr);
  const auto drawnIn = [](QLabel* label) {
    return label->palette().color(label->foregroundRole());
  };
  EXPECT_EQ(drawnIn(linkWidget), linkWidget->palette().color(QPalette::Link));
  EXPECT_NE(drawnIn(plainWidget), drawnIn(linkWidget));
  EXPECT_EQ(linkWidget->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(linkWidget, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
}

TEST_F(QtWidgetsTest, ALinkKeepsItsColourInAModalWindow) {
  auto form = application_.CreateForm(
      {.caption = "about", .clientWidth = 293, .clientHeight = 171, .colour = FormColour::kMenu});
  form->AddLabel("Label2",
                 {.text = "https://trelik.example", .bounds = {72, 48, 119, 13}, .link = true});
  QColor shown;
  QTimer::singleShot(0, [&] {
    auto* label = Widget<QLabel>(*form, "Label2");
    shown = label->palette().color(label->foregroundRole());
    static_cast<QDialog*>(form->Handle())->close();
  });
  form->ShowModal();
  EXPECT_EQ(shown, QApplication::palette().color(QPalette::Link));
  EXPECT_FALSE(form->Visible());
}

TEST_F(QtWidgetsTest, EnterPressesTheDefaultButtonAndEscapeDoesNothing) {
  auto form = application_.CreateForm(
      {.caption = "Trelik Editor", .clientWidth = 359, .clientHeight = 181});
  PushButton* close = form->AddButton(
      "Button1", {.text = "Close", .bounds = {24, 120, 81, 25}, .tabOrder = 0, .isDefault = true});
  form->AddEdit("Edit1", {.bounds = {8, 16, 257, 21}, .tabOrder = 1});
  int presses = 0;
  close->onClick = [&] { ++presses; };
  form->Show();
  auto* edit = Widget<QLineEdit>(*form, "Edit1");
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(presses, 1);
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_TRUE(form->Visible());
}

TEST_F(QtWidgetsTest, ASecondaryWindowStaysOpenWhenItsCloseHandlerFails) {
  auto form = application_.CreateForm(
      {.caption = "Trelik Editor", .clientWidth = 359, .clientHeight = 181});
  bool fail = true;
  form->onClose = [&] {
    if (fail) throw Error("Stream write error");
  };
  int shows = 0;
  form->onShow = [&] { ++shows; };
  form->Show();
  form->Show();  // already shown: only brought to the front
  EXPECT_EQ(shows, 1);
  // The error box is modal: answer it as a user would.
  QTimer::singleShot(0, [] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->isVisible() && top->windowTitle() == "Trelik") {
        QTest::keyClick(top, Qt::Key_Return);
      }
    }
  });
  form->Close();
  EXPECT_TRUE(form->Visible());
  fail = false;
  form->Close();
  EXPECT_FALSE(form->Visible());
}

TEST_F(QtWidgetsTest, TheLayoutGrowsToTheFontAndTheListReportsTheFocus) {
  auto form = application_.CreateForm({.caption = " Trelik",
                                       .clientWidth = 368,
                                       .clientHeight = 71,
                                       .border = FormBorder::kToolWindow,
                                       .isMainForm = true});
  form->AddCheckBox("CheckBox1", {.text = "Auto Open the Project",
                                  .bounds = {8, 48, 137, 17},
                                  .tabOrder = 0,
                                  .checked = true});
  ComboBox* list = form->AddComboBox("ComboBox2", {.bounds = {8, 16, 169, 21}, .tabOrder = 1});
  int entered = 0;
  list->onEnter = [&] { ++entered; };
  form->Show();
  auto* box = Widget<QCheckBox>(*form, "CheckBox1");
  EXPECT_GE(box->width(), box->sizeHint().width());  // the caption is never clipped
  QWidget* window = static_cast<QWidget*>(form->Handle());
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  Widget<QComboBox>(*form, "ComboBox2")->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(entered, 1);

  list->SetItems({"Web", "web site"});
  EXPECT_EQ(list->SelectedIndex(), ComboBox::kNone);
  EXPECT_EQ(list->FindExact("WEB"), 0);
  EXPECT_EQ(list->FindExact("web"), 0);
  EXPECT_EQ(list->FindExact("we"), ComboBox::kNone);
}

// Declared out of creation order, so that only the tab chain the form sets gives this order.
TEST_F(QtWidgetsTest, TabMovesTheFocusInTheDeclaredOrderWithEachGroupAfterItsBox) {
  auto form = application_.CreateForm(
      {.caption = "Trelik Editor", .clientWidth = 359, .clientHeight = 181});
  form->AddEdit("Edit", {.bounds = {8, 150, 100, 21}, .tabOrder = 1});
  form->AddButton("Close", {.text = "Close", .bounds = {120, 150, 75, 25}, .tabOrder = 2});
  GroupBox* group = form->AddGroupBox(
      "Group", {.text = "Projects List", .bounds = {8, 8, 345, 81}, .tabOrder = 0});
  form->AddCheckBox(
      "Check", {.text = "Auto Open", .bounds = {8, 48, 73, 17}, .tabOrder = 1, .parent = group});
  form->AddComboBox("List", {.bounds = {8, 16, 169, 21}, .tabOrder = 0, .parent = group});
  form->Show();
  QWidget* window = static_cast<QWidget*>(form->Handle());
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));

  Widget<QWidget>(*form, "List")->setFocus(Qt::OtherFocusReason);
  std::vector<std::string> visited;
  for (int i = 0; i < 4; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget()->objectName().toStdString());
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"Check", "Edit", "Close", "List"}));
}

TEST_F(QtWidgetsTest, ListsKeepEveryNameByteForByteAndShowValidTextAsText) {
  auto form = application_.CreateForm(
      {.caption = "Trelik Editor", .clientWidth = 359, .clientHeight = 181});
  ComboBox* list = form->AddComboBox("ComboBox1", {.bounds = {8, 16, 169, 21}});
  testing::ExpectListKeepsNamesByteForByte(*list);
  list->SetItems({"Caf\xC3\xA9 \xE2\x82\xAC"});
  EXPECT_EQ(Widget<QComboBox>(*form, "ComboBox1")->itemText(0), QString("Caf\u00E9 \u20AC"));
}

int ProgressWindows() {
  int count = 0;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (qobject_cast<QProgressDialog*>(top) != nullptr) ++count;
  }
  return count;
}

TEST_F(QtWidgetsTest, TheCopyProgressWindowLivesAsLongAsTheCopy) {
  CopyProgressWindow progress;
  progress.Update(0, 1 << 20);
  EXPECT_EQ(ProgressWindows(), 1);
  progress.Update(1 << 19, 1 << 20);
  EXPECT_EQ(ProgressWindows(), 1);
  progress.Update(1 << 20, 1 << 20);
  EXPECT_EQ(ProgressWindows(), 0);
  progress.Update(0, 0);  // an empty template is done at once
  EXPECT_EQ(ProgressWindows(), 0);
}

// Cancel asks the copy to stop at its next report; the window stays until the copy has ended.
TEST_F(QtWidgetsTest, CancelInTheProgressWindowStopsTheCopy) {
  CopyProgressWindow progress;
  EXPECT_TRUE(progress.Update(0, 100));
  QProgressDialog* dialog = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (auto* found = qobject_cast<QProgressDialog*>(top)) dialog = found;
  }
  ASSERT_NE(dialog, nullptr);
  dialog->show();  // as it shows itself once the copy has taken a moment
  QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
  EXPECT_FALSE(progress.Update(50, 100));
  EXPECT_EQ(ProgressWindows(), 1);
  progress.Update(100, 100);
  EXPECT_EQ(ProgressWindows(), 0);
}

// The picker starts where the user picked last time, else in the home folder; a cancelled pick
// changes nothing.
TEST_F(QtWidgetsTest, TheFolderPickerStartsInTheFolderChosenLastTime) {
  testing::TempFolder root;
  const std::string picked = root / "picked";
  std::filesystem::create_directories(picked);
  QtFolderPicker picker(root / "trelik.ini");
  struct Step {
    QString pick;  // empty: the user cancels
    QString startsIn;
  };
  const Step steps[] = {{QString::fromStdString(picked), QDir::homePath()},
                        {QString(), QString::fromStdString(picked)},
                        {QDir::homePath(), QString::fromStdString(picked)},
                        {QString(), QDir::homePath()}};
  for (const Step& step : steps) {
    QString startedIn;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      startedIn = dialog->directory().absolutePath();
      if (step.pick.isEmpty()) {
        dialog->reject();
      } else {
        dialog->selectFile(step.pick);
        static_cast<QDialog*>(dialog)->accept();  // the file dialog hides its own
      }
    });
    std::string folder;
    EXPECT_EQ(picker.Pick("Select a Folder", folder), !step.pick.isEmpty());
    EXPECT_EQ(startedIn, step.startsIn);
    if (!step.pick.isEmpty()) {
      EXPECT_EQ(QString::fromStdString(folder), step.pick);
    }
  }
}

}  // namespace
}  // namespace trelik
