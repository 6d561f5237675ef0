#include <gtest/gtest.h>

#include <filesystem>

#include "ui/program_fixture.h"
#include "ui/site_address.h"

namespace trelik {
namespace {

namespace fs = std::filesystem;
using testing::ProgramFixture;
using testing::ReadFileBytes;

class MainWindowTest : public ProgramFixture {
 protected:
  std::optional<std::string> DefaultValue(const std::string& key) {
    const OpenedKey opened(registry_, registry_.OpenKey(RegistryKey::kRoot, key));
    if (!opened) return std::nullopt;
    return registry_.ReadString(opened.Get(), "");
  }
};

TEST_F(MainWindowTest, StartedWithoutArgumentCreatesNothing) {
  Start("");
  EXPECT_EQ(program_->ProjectName, "");
  EXPECT_EQ(program_->AppDir, dataFolder_);
  ASSERT_NE(program_->Settings, nullptr);
  EXPECT_EQ(program_->Settings->Path(), dataFolder_ + "trelik.ini");
  EXPECT_EQ(DefaultValue(".trelik"), "Trelik");  // the base type is registered at every start
  EXPECT_TRUE(MainWindow().Visible());
  EXPECT_FALSE(Editor().Visible());
  EXPECT_FALSE(About().Visible());
  EXPECT_TRUE(windows_->Form1.CheckBox1->Checked());
  EXPECT_EQ(MainWindow().FocusedControl(), "Edit1");

  windows_->Form1.Edit1->SetText("Site\\home");
  MainWindow().Find<HeadlessButton>("Button1").Click();
  EXPECT_TRUE(application_.Ended());
  EXPECT_TRUE(fs::exists(launcher_));
  EXPECT_FALSE(fs::exists(launcherFolder_ + "Web"));
  EXPECT_TRUE(shell_.opened.empty());
  EXPECT_TRUE(application_.Messages().empty());
}

TEST_F(MainWindowTest, TheNameBoxHintsAtTheNameFormsOrAtTheLauncher) {
  const std::pair<std::string, std::string> cases[] = {
      {launcher_, "Folder\\File for the new Web project"},
      {"", "Open a launcher from the New menu to create a project"},
  };
  for (const auto& [launcher, cue] : cases) {
    Start(launcher);
    EXPECT_EQ(MainWindow().Find<HeadlessEdit>("Edit1").CueText(), cue);
  }
}

TEST_F(MainWindowTest, OnlyAStartThatChangedTheFileTypesTellsTheShell) {
  Start("");
  EXPECT_EQ(shell_.notifications, 1);
  Start("");
  EXPECT_EQ(shell_.notifications, 1);
}

TEST_F(MainWindowTest, TheCheckBoxShowsTheTemplatesStoredChoice) {
  struct Case {
    const char* stored;  // null: no [autoopen] entry
    bool checked;
  };
  for (const Case c : {Case{nullptr, false}, Case{"1", true}, Case{"0", false}}) {
    fs::remove(dataFolder_ + "trelik.ini");
    if (c.stored) TIniFile(dataFolder_ + "trelik.ini").WriteText("autoopen", "Web", c.stored);
    Start(launcher_);
    EXPECT_EQ(program_->ProjectName, "Web");
    EXPECT_EQ(windows_->Form1.CheckBox1->Checked(), c.checked) << (c.stored ? c.stored : "none");
  }
}

TEST_F(MainWindowTest, ARefusedRegistrationIsShownAndStartUpGoesOn) {
  registry_.RefuseAllChanges();
  Start(launcher_);
  ASSERT_EQ(application_.Messages().size(), 1u);
  EXPECT_TRUE(application_.Messages()[0].isError);
  EXPECT_EQ(application_.Messages()[0].text, "Failed to set data for ''");
  EXPECT_EQ(program_->AppDir, dataFolder_);
  EXPECT_NE(program_->Settings, nullptr);
  EXPECT_TRUE(MainWindow().Visible());
}

TEST_F(MainWindowTest, ADamagedFileTypeStoreIsReportedAndStartUpGoesOn) {
  openingFails = "The file-type store is damaged";
  Start(launcher_);
  ASSERT_EQ(application_.Messages().size(), 1u);
  EXPECT_EQ(application_.Messages()[0].text, "The file-type store is damaged.");
  EXPECT_NE(program_->Settings, nullptr);
  EXPECT_TRUE(MainWindow().Visible());
}

TEST_F(MainWindowTest, EnterAndTheCloseBoxCreateTheProjectLikeCreate) {
  for (const bool byEnter : {true, false}) {
    fs::remove_all(launcherFolder_);
    fs::create_directories(launcherFolder_);
    testing::WriteFileBytes(launcher_, "");
    TIniFile(dataFolder_ + "trelik.ini").WriteText("mainfile", "Web", "index.htm");
    Start(launcher_);
    windows_->Form1.Edit1->SetText("Site\\home");
    if (byEnter) {
      MainWindow().PressEnter();
    } else {
      MainWindow().Close();
    }
    EXPECT_TRUE(application_.Ended());
    EXPECT_TRUE(fs::exists(launcherFolder_ + "Site" + Sep() + "home.htm"));
    EXPECT_FALSE(fs::exists(launcher_));
  }
}

TEST_F(MainWindowTest, ControlsAsDesigned) {
  Start("");
  const HeadlessForm& form = MainWindow();
  EXPECT_EQ(form.Args().caption, " Trelik");
  EXPECT_EQ(form.Args().clientWidth, 368);
  EXPECT_EQ(form.Args().clientHeight, 71);
  EXPECT_EQ(form.Args().border, FormBorder::kToolWindow);
  struct Expected {
    std::string name, text;
    int left, top, width, height, tabOrder;
  };
  const Expected expected[] = {
      {"Label1", "Options", 144, 48, 36, 13, -1},
      {"Label2", "Check Version", 200, 48, 69, 13, -1},
      {"Label3", "About", 328, 48, 28, 13, -1},
      {"Label4", "Help", 288, 48, 22, 13, -1},
      {"Button1", "Create", 286, 16, 75, 25, 0},
      {"CheckBox1", "Auto Open the Project", 8, 48, 135, 17, 1},
      {"Edit1", "", 8, 16, 257, 21, 2},
  };
  ASSERT_EQ(form.Controls().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const auto& control = form.Controls()[i];
    const auto& e = expected[i];
    EXPECT_EQ(control.name, e.name);
    EXPECT_EQ(control.planned.caption, e.text) << e.name;
    EXPECT_EQ(control.planned.bounds, (Bounds{e.left, e.top, e.width, e.height})) << e.name;
    EXPECT_EQ(control.planned.tabOrder.value_or(-1), e.tabOrder) << e.name;
    EXPECT_EQ(control.planned.link, e.name.starts_with("Label")) << e.name;
    EXPECT_EQ(control.isDefault, e.name == "Button1") << e.name;
  }
}

// A control paints its whole box: one reaching into another's cuts what that one shows.
TEST_F(MainWindowTest, NoControlReachesIntoAnother) {
  Start("");
  const auto& controls = MainWindow().Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const Bounds& a = controls[i].planned.bounds;
      const Bounds& b = controls[j].planned.bounds;
      const bool overlap = a.left < b.left + b.width && b.left < a.left + a.width &&
                           a.top < b.top + b.height && b.top < a.top + a.height;
      EXPECT_FALSE(overlap) << controls[i].name << " and " << controls[j].name;
    }
  }
}

TEST_F(MainWindowTest, LinksLeadToTheEditorTheAboutWindowAndTheShell) {
  Start("");
  HeadlessForm& form = MainWindow();
  const NativeWindow editor = Editor().Handle();

  form.Find<HeadlessLabel>("Label2").Click();
  form.Find<HeadlessLabel>("Label4").Click();
  ASSERT_EQ(shell_.opened.size(), 2u);
  EXPECT_EQ(shell_.opened[0].verb, "open");
  EXPECT_EQ(shell_.opened[0].target, VersionCheckAddress());
  EXPECT_EQ(shell_.opened[0].show, ShowCommand::kShow);
  EXPECT_EQ(shell_.opened[0].owner, editor);
  EXPECT_EQ(shell_.opened[1].verb, "");
  EXPECT_EQ(shell_.opened[1].target, program_->helpFile);
  EXPECT_EQ(shell_.opened[1].show, ShowCommand::kShowMaximized);
  EXPECT_EQ(shell_.opened[1].owner, editor);
  EXPECT_FALSE(Editor().Visible());  // the actions work before the editor was ever shown

  bool aboutWasModal = false;
  application_.onModal = [&](HeadlessForm& shown) {
    aboutWasModal = &shown == &About() && shown.Visible();
  };
  form.Find<HeadlessLabel>("Label3").Click();
  EXPECT_TRUE(aboutWasModal);
  EXPECT_FALSE(About().Visible());

  form.Find<HeadlessLabel>("Label1").Click();
  EXPECT_TRUE(Editor().Visible());
  EXPECT_TRUE(form.Visible());  // no link closes the main window
  EXPECT_FALSE(application_.Ended());
}

TEST_F(MainWindowTest, ClosingWhileTheEditorIsOpenSkipsTheEditorsCloseHandler) {
  Start("");
  MainWindow().Find<HeadlessLabel>("Label1").Click();
  windows_->Form2.ComboBox1->AddItem("Unsaved");
  MainWindow().Close();
  windows_.reset();
  EXPECT_TRUE(application_.Ended());
  EXPECT_FALSE(fs::exists(dataFolder_ + "projects.lib"));
  EXPECT_EQ(program_->Settings, nullptr);  // freed with the main window
}

// Started for the editor alone, the program shows only the editor and ends when it closes; the
// main window's close handler, which would create the project, never runs.
TEST_F(MainWindowTest, TheEditorAloneEndsTheProgramWithoutCreatingAnything) {
  Start(launcher_, true);
  EXPECT_EQ(DefaultValue(".trelik"), "Trelik");
  EXPECT_TRUE(Editor().Visible());
  EXPECT_FALSE(MainWindow().Visible());
  windows_->Form2.ComboBox1->AddItem("Web");
  Editor().Close();
  EXPECT_TRUE(application_.Ended());
  EXPECT_EQ(ReadFileBytes(dataFolder_ + "projects.lib"), "Web\r\n");
  EXPECT_TRUE(fs::exists(launcher_));
  EXPECT_FALSE(fs::exists(launcherFolder_ + "Web"));
  windows_.reset();
  EXPECT_EQ(program_->Settings, nullptr);
}

}  // namespace
}  // namespace trelik
