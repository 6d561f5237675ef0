// The Qt backend under Qt's offscreen platform: what a user would see and do, checked on the
// real widgets found by their object names.
#include "ui/qt/qt_widgets.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/error.h"
#include "support/temp_folder.h"
#include "ui/qt/qt_shell_windows.h"
#include "ui/site_address.h"
#include "ui/widget_conformance.h"

namespace trelik {
namespace {

void StartQt() {
  if (QApplication::instance() != nullptr) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "qt_widgets_test";
  static char* argv[] = {name, nullptr};
  // Never destroyed: at exit Qt's own statics are gone before it, and its teardown crashes.
  new QApplication(argc, argv);
}

class QtWidgetsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartQt(); }

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
  auto* linkWidget = Widget<QWidget>(*form, "Label2");
  auto* plainWidget = Widget<QWidget>(*form, "Label3");
  ASSERT_NE(linkWidget, nullptr);
  const auto drawnIn = [](QWidget* label) {
    return label->palette().color(label->foregroundRole());
  };
  EXPECT_EQ(drawnIn(linkWidget), linkWidget->palette().color(QPalette::Link));
  EXPECT_NE(drawnIn(plainWidget), drawnIn(linkWidget));
  EXPECT_EQ(linkWidget->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(linkWidget, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
}

// A hidden window makes no widgets until the program uses one of its controls, and then keeps
// what its declaration and the program set, a describing label's description included.
TEST_F(QtWidgetsTest, AHiddenFormMakesItsWidgetsAtTheirFirstUse) {
  const auto before = QApplication::allWidgets().size();
  auto form =
      application_.CreateForm({.caption = "editor", .clientWidth = 200, .clientHeight = 80});
  Edit* edit = form->AddEdit("Edit", {.bounds = {8, 8, 100, 21}});
  form->AddLabel("Hint", {.text = "hint", .bounds = {8, 32, 100, 13}, .describes = edit});
  CheckBox* check = form->AddCheckBox("Check", {.text = "C", .bounds = {8, 50, 60, 17}});
  EXPECT_EQ(QApplication::allWidgets().size(), before + 1);  // the window alone
  check->SetChecked(true);
  EXPECT_TRUE(Widget<QCheckBox>(*form, "Check")->isChecked());
  EXPECT_EQ(Widget<QLineEdit>(*form, "Edit")->accessibleDescription(), "hint");
}

TEST_F(QtWidgetsTest, ALinkKeepsItsColourInAModalWindow) {
  auto form = application_.CreateForm(
      {.caption = "about", .clientWidth = 293, .clientHeight = 171, .colour = FormColour::kMenu});
  form->AddLabel("Label2",
                 {.text = "https://trelik.example", .bounds = {72, 48, 119, 13}, .link = true});
  QColor shown;
  QTimer::singleShot(0, [&] {
    auto* label = Widget<QWidget>(*form, "Label2");
    shown = label->palette().color(label->foregroundRole());
    static_cast<QDialog*>(form->Handle())->close();
  });
  form->ShowModal();
  EXPECT_EQ(shown, QApplication::palette().color(QPalette::Link));
  EXPECT_FALSE(form->Visible());
}

TEST_F(QtWidgetsTest, TheLayoutGrowsToTheFontAndListsShowValidNamesAsText) {
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
  form->Show();
  auto* box = Widget<QCheckBox>(*form, "CheckBox1");
  EXPECT_GE(box->width(), box->sizeHint().width());  // the caption is never clipped
  list->SetItems({"Caf\xC3\xA9 \xE2\x82\xAC"});
  EXPECT_EQ(Widget<QComboBox>(*form, "ComboBox2")->itemText(0), QString("Caf\u00E9 \u20AC"));
}

int ProgressWindows() {
  int count = 0;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (qobject_cast<QProgressDialog*>(top) != nullptr) ++count;
  }
  return count;
}

// Work that ends before a progress window would show makes none: the desktop check of every
// start reports its progress.
TEST_F(QtWidgetsTest, QuickWorkMakesNoProgressWindow) {
  ProgressWindow progress(DesktopUpdateProgress());
  progress.Update(0, 3);
  progress.Update(2, 3);
  EXPECT_EQ(ProgressWindows(), 0);
  progress.Update(3, 3);
  EXPECT_EQ(ProgressWindows(), 0);
}

// Windows told to show at once, as every progress window does once its work has taken a moment.
ProgressWindowArgs ShownAtOnce(ProgressWindowArgs args) {
  args.showAfterMs = 0;
  return args;
}

TEST_F(QtWidgetsTest, TheCopyProgressWindowLivesAsLongAsTheCopy) {
  ProgressWindow progress(ShownAtOnce(CopyProgress()));
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
  ProgressWindow progress(ShownAtOnce(CopyProgress()));
  EXPECT_TRUE(progress.Update(0, 100));
  QProgressDialog* dialog = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (auto* found = qobject_cast<QProgressDialog*>(top)) dialog = found;
  }
  ASSERT_NE(dialog, nullptr);
  dialog->show();
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

// The user's hands on Qt's widgets, for the widget suite.
class QtDriver final : public testing::WidgetDriver {
 public:
  Application& App() override { return application_; }
  void ShowActive(Form& form) override {
    form.Show();
    auto* window = static_cast<QWidget*>(form.Handle());
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
  }
  void Press(Form& form, const std::string& control, testing::Key key) override {
    ShowActive(form);  // a message box may have taken the keyboard
    QWidget* child = Child(form, control);
    child->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(child, QtKey(key));
  }
  void Press(Form& form, testing::Key key) override {
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClick(focused != nullptr ? focused : static_cast<QWidget*>(form.Handle()),
                    QtKey(key));
  }
  // A button pressed by its key shows itself pressed for a moment before it acts.
  void PressAccessKey(Form& form, const std::string& control, char letter) override {
    ShowActive(form);
    QWidget* child = Child(form, control);
    child->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(child, letter, Qt::AltModifier);
    const auto buttons = static_cast<QWidget*>(form.Handle())->findChildren<QAbstractButton*>();
    EXPECT_TRUE(QTest::qWaitFor([&] {
      return std::ranges::none_of(buttons, [](QAbstractButton* b) { return b->isDown(); });
    }));
  }
  bool HasFocus(Form& form, const std::string& control) override {
    return QApplication::focusWidget() == Child(form, control);
  }
  void Type(Form&, const std::string& text) override {
    QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(text));
  }
  bool Ended(Form& mainForm) override { return !mainForm.Visible(); }
  std::string Description(Form& form, const std::string& control) override {
    return QAccessible::queryAccessibleInterface(Child(form, control))
        ->text(QAccessible::Description)
        .toStdString();
  }
  std::optional<DroppedList> Drop(Form& form, const std::string& control) override {
    auto* box = qobject_cast<QComboBox*>(Child(form, control));
    box->showPopup();
    QAbstractItemView* list = box->view();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    int longest = 0;
    for (int i = 0; i < box->count(); ++i) {
      longest = std::max(longest, list->fontMetrics().horizontalAdvance(box->itemText(i)));
    }
    const DroppedList dropped{.rows = list->viewport()->height() / list->sizeHintForRow(0),
                              .longestWhole = list->viewport()->width() >= longest};
    box->hidePopup();
    return dropped;
  }
  bool RunUntil(const std::function<bool()>& done) override { return QTest::qWaitFor(done, 5000); }
  void WhenActive(Form& form, std::function<void()> step) override {
    auto* window = static_cast<QWidget*>(form.Handle());
    whenActive_ = std::make_unique<QTimer>();
    QObject::connect(whenActive_.get(), &QTimer::timeout, [this, window, step] {
      if (!window->isActiveWindow()) return;
      whenActive_->stop();
      step();
    });
    whenActive_->start(10);
  }
  std::vector<std::string> Answering(const std::vector<Answer>& answers,
                                     const std::function<void()>& act) override {
    static const std::map<Answer, QMessageBox::StandardButton> buttons = {
        {Answer::kYes, QMessageBox::Yes},
        {Answer::kNo, QMessageBox::No},
        {Answer::kCancel, QMessageBox::Cancel}};
    std::vector<std::string> texts;
    boxOwners.clear();
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(top);
        if (box == nullptr || !box->isVisible()) continue;
        QAbstractButton* pressed = box->defaultButton();
        if (texts.size() < answers.size()) {
          if (QAbstractButton* chosen = box->button(buttons.at(answers[texts.size()]))) {
            pressed = chosen;
          }
        }
        texts.push_back(box->text().toStdString());
        const QWindow* window = box->windowHandle();
        const bool plainDialog =
            box->windowType() == Qt::Dialog &&
            !(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        QWidget* owner = box->parentWidget();
        boxOwners.push_back(plainDialog && owner != nullptr && window != nullptr &&
                                    window->transientParent() == owner->windowHandle()
                                ? owner
                                : nullptr);
        if (pressed != nullptr) {
          pressed->click();
        } else {
          box->done(QMessageBox::Ok);
        }
      }
    });
    answerer.start(10);
    act();
    return texts;
  }

 private:
  static Qt::Key QtKey(testing::Key key) {
    static const std::map<testing::Key, Qt::Key> keys = {
        {testing::Key::kEnter, Qt::Key_Return}, {testing::Key::kEscape, Qt::Key_Escape},
        {testing::Key::kSpace, Qt::Key_Space},  {testing::Key::kTab, Qt::Key_Tab},
        {testing::Key::kDown, Qt::Key_Down},    {testing::Key::kF1, Qt::Key_F1},
        {testing::Key::kF4, Qt::Key_F4}};
    return keys.at(key);
  }
  static QWidget* Child(Form& form, const std::string& name) {
    return static_cast<QWidget*>(form.Handle())->findChild<QWidget*>(QString::fromStdString(name));
  }

  QtApplication application_;
  std::unique_ptr<QTimer> whenActive_;
};

}  // namespace
}  // namespace trelik

namespace trelik::testing {
namespace {

const WidgetBackend kQt = {"Qt", [] {
                             StartQt();
                             return std::make_unique<QtDriver>();
                           }};

INSTANTIATE_TEST_SUITE_P(Qt, WidgetConformance, ::testing::Values(kQt), BackendName);
INSTANTIATE_TEST_SUITE_P(Qt, ProgramStories, ::testing::Values(kQt), BackendName);

// What a screen reader announces for each control of the program's windows that shows no
// caption of its own, and for the links.
TEST_P(ProgramStories, ControlsAndLinksHaveAccessibleNames) {
  Start("");
  const auto name = [](Form& form, const char* control) {
    QWidget* widget = static_cast<QWidget*>(form.Handle())->findChild<QWidget*>(control);
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).toStdString();
  };
  EXPECT_EQ(name(Main(), "Edit1"), "Name of the new project");
  EXPECT_EQ(name(Main(), "Label1"), "Options");  // its access key's mark is not read out
  EXPECT_EQ(name(Main(), "Button1"), "Create");
  EXPECT_EQ(name(Editor(), "CheckBox2"), "Fill in names inside files");
  EXPECT_EQ(name(Editor(), "ComboBox1"), "Templates");
  EXPECT_EQ(name(Editor(), "ComboBox2"), "Files of the template");
  EXPECT_EQ(name(About(), "Label2") + "/", HomePageAddress());
}

}  // namespace
}  // namespace trelik::testing
