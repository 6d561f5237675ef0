#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

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
  EXPECT_EQ(application_.FormsMade(), 1);  // the editor and the about window wait for their use
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

// Without a launcher the line below the name says so, as the name box has no room for it.
TEST_F(MainWindowTest, TheNameBoxHintsAtTheNameFormsOrTheLineBelowAtTheLauncher) {
  struct Case {
    std::string launcher, cue, hint;
  };
  for (const auto& c : {Case{launcher_, "Folder\\File for the new Web project",
                             "Makes the folder \"Web\", in " +
                                 LastComponent(launcherFolder_, PlatformSeparators())},
                        Case{"", "", "Create makes nothing: open a launcher from the New menu"}}) {
    Start(c.launcher);
    EXPECT_EQ(MainWindow().Find<HeadlessEdit>("Edit1").CueText(), c.cue);
    EXPECT_EQ(windows_->Form1.Label5->Text(), c.hint);
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

// Enter is one of the program's stories; the close box creates the project just the same.
TEST_F(MainWindowTest, TheCloseBoxCreatesTheProjectLikeCreate) {
  TIniFile(dataFolder_ + "trelik.ini").WriteText("mainfile", "Web", "index.htm");
  Start(launcher_);
  windows_->Form1.Edit1->SetText("Site\\home");
  MainWindow().Close();
  EXPECT_TRUE(application_.Ended());
  EXPECT_TRUE(fs::exists(launcherFolder_ + "Site" + Sep() + "home.htm"));
  EXPECT_FALSE(fs::exists(launcher_));
}

// How far two boxes reach into each other: the lesser of the depths across and down.
int Overlap(const Bounds& a, const Bounds& b) {
  const int across = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
  const int down = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
  return std::max(0, std::min(across, down));
}

bool Inside(const Bounds& inner, int width, int height) {
  return inner.left >= 0 && inner.top >= 0 && inner.left + inner.width <= width &&
         inner.top + inner.height <= height;
}

// What every window's design keeps, whatever its captions and places: each control lies inside
// its window or its group box and clear of the others there (a control paints its whole box;
// stacked buttons may share a frame line, as the editor's do);
// there is one default button; the keyboard reaches every control that takes input
// once, by its parent's order with no two alike, then the links in reading order, and comes
// round. Whether the captions fit their boxes only a real font can tell: the backends' program
// tests check that.
TEST_F(MainWindowTest, EveryWindowKeepsTheRulesOfItsDesign) {
  Start("");
  for (HeadlessForm* form : {&MainWindow(), &Editor(), &About()}) {
    SCOPED_TRACE(form->Args().caption);
    const auto& controls = form->Controls();
    std::vector<std::string> inputs;
    std::vector<const DeclaredControl*> links;
    for (const auto& c : controls) {
      const PlannedControl& p = c.planned;
      const bool inGroup = p.group != kNoGroup;
      const Bounds& parent = inGroup ? controls[p.group].planned.bounds : Bounds{};
      EXPECT_TRUE(Inside(p.bounds, inGroup ? parent.width : form->Args().clientWidth,
                         inGroup ? parent.height : form->Args().clientHeight))
          << c.name;
      for (const auto& other : controls) {
        const PlannedControl& q = other.planned;
        if (&other < &c && q.group == p.group) {
          const bool buttons = p.kind == ControlKind::kButton && q.kind == ControlKind::kButton;
          EXPECT_LE(Overlap(p.bounds, q.bounds), buttons ? 1 : 0)
              << c.name << " and " << other.name;
          EXPECT_TRUE(!p.tabOrder || p.tabOrder != q.tabOrder) << c.name << other.name;
        }
      }
      if (p.link) links.push_back(&c);
      if (p.kind != ControlKind::kLabel && p.kind != ControlKind::kGroupBox &&
          p.kind != ControlKind::kPicture) {
        inputs.push_back(c.name);
      }
    }
    std::ranges::stable_sort(links, {}, [](const auto* link) {
      return std::pair{link->planned.bounds.top, link->planned.bounds.left};
    });

    const auto isDefault = [](const auto& c) { return c.isDefault; };
    ASSERT_EQ(std::ranges::count_if(controls, isDefault), 1);
    std::vector<PlannedControl> planned;
    for (const auto& c : controls) planned.push_back(c.planned);
    // A group box passes the focus on to its first control.
    const std::vector<std::size_t> chain = TabChain(planned);
    const std::string first = controls[*std::ranges::find_if(chain, [&](std::size_t i) {
                                return planned[i].kind != ControlKind::kGroupBox;
                              })].name;
    form->Find<Control>(first).SetFocus();
    std::vector<std::string> reached;
    for (std::size_t i = 0; i < inputs.size() + links.size(); ++i) {
      reached.push_back(form->FocusedControl());
      form->PressTab();
    }
    EXPECT_EQ(form->FocusedControl(), first);
    std::vector<std::string> reachedLinks(reached.begin() + inputs.size(), reached.end());
    std::vector<std::string> linkNames;
    for (const auto* link : links) linkNames.push_back(link->name);
    EXPECT_EQ(reachedLinks, linkNames);
    reached.resize(inputs.size());
    std::ranges::sort(reached);
    std::ranges::sort(inputs);
    EXPECT_EQ(reached, inputs);
  }
}

// "Options" and "About" are followed in the program's stories.
TEST_F(MainWindowTest, TheLinksToTheShellWorkBeforeTheEditorWasShown) {
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
  EXPECT_TRUE(form.Visible());       // no link closes the main window
}

TEST_F(MainWindowTest, ClosingWhileTheEditorIsOpenSkipsTheEditorsCloseHandler) {
  Start("");
  MainWindow().Find<HeadlessLabel>("Label1").Click();
  windows_->Form2().ComboBox1->AddItem("Unsaved");
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
  windows_->Form2().ComboBox1->AddItem("Web");
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
