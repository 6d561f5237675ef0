#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>

#include "library/template_list.h"
#include "support/unreadable_file.h"
#include "ui/program_fixture.h"
#include "ui/site_address.h"

namespace trelik {
namespace {

namespace fs = std::filesystem;
using testing::ProgramFixture;
using testing::ReadFileBytes;
using testing::WriteFileBytes;
using List = std::vector<std::string>;

// The editor shown from the main window, with folders to pick in "picks/".
class EditorTest : public ProgramFixture {
 protected:
  void SetUp() override {
    Start("");
    MainWindow().Find<HeadlessLabel>("Label1").Click();
    ASSERT_TRUE(Editor().Visible());
  }

  TForm2& Form2() { return windows_->Form2(); }

  // A folder the user may pick, holding index.htm, a hidden file and a subfolder.
  std::string PickableFolder(const std::string& name) {
    const std::string folder = root_ / "picks" + Sep() + name;
    fs::create_directories(folder + Sep() + "img");
    WriteFileBytes(folder + Sep() + "index.htm", "<html>");
    WriteFileBytes(folder + Sep() + ".hidden", "");
    return folder;
  }

  void AddTemplate(const std::string& folder) {
    shell_.pickedFolder = folder;
    Editor().Find<HeadlessButton>("Button4").Click();
  }

  bool Registered(const std::string& key) {
    const OpenedKey opened(registry_, registry_.OpenKey(RegistryKey::kRoot, key));
    return static_cast<bool>(opened);
  }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : application_.Messages()) texts.push_back(message.text);
    return texts;
  }

  std::string Store(const std::string& name) { return dataFolder_ + "projects" + Sep() + name; }
};

TEST_F(EditorTest, NewProjectCopiesRegistersAndSelectsTheTemplate) {
  AddTemplate(PickableFolder("My Site"));
  EXPECT_EQ(shell_.browseTitles, List{"Select a Folder"});
  EXPECT_EQ(Form2().ComboBox1->Items(), (List{"My Site"}));
  EXPECT_EQ(Form2().ComboBox1->SelectedIndex(), 0);
  EXPECT_TRUE(fs::exists(Store("My Site") + Sep() + "index.htm"));
  EXPECT_TRUE(fs::exists(Store("My Site") + Sep() + ".hidden"));
  EXPECT_TRUE(Registered(".trelik_My Site\\ShellNew"));
  EXPECT_TRUE(application_.Messages().empty());
  // Listed at once, as a script's addition is.
  EXPECT_EQ(ReadFileBytes(dataFolder_ + "projects.lib"), "My Site\r\n");
  Editor().Close();
  EXPECT_FALSE(Editor().Visible());
  EXPECT_EQ(ReadFileBytes(dataFolder_ + "projects.lib"), "My Site\r\n");
}

// The link turns the editor to a library elsewhere, saving the list shown to its own first; a
// library folder that is away is named once, and leaves New Project disabled.
TEST_F(EditorTest, TheLibraryFolderLinkShowsTheLibraryThere) {
  AddTemplate(PickableFolder("Site"));
  const std::string shared = root_ / "shared";
  fs::create_directories(shared);
  WriteFileBytes(shared + Sep() + "projects.lib", "Team\r\n");
  shell_.pickedFolder = shared;
  Editor().Find<HeadlessLabel>("Label4").Click();
  EXPECT_EQ(Form2().ComboBox1->Items(), List{"Team"});
  EXPECT_EQ(ReadFileBytes(dataFolder_ + "projects.lib"), "Site\r\n");
  Editor().Close();
  fs::remove_all(shared);
  MainWindow().Find<HeadlessLabel>("Label1").Click();
  EXPECT_TRUE(Form2().ComboBox1->Items().empty());
  EXPECT_FALSE(Form2().Button4->Enabled());
  ASSERT_EQ(MessageTexts().size(), 2u) << MessageTexts()[0];
  EXPECT_EQ(MessageTexts()[1].rfind("The template library \"" + shared + "\" is not there", 0), 0u);
}

TEST_F(EditorTest, AFolderNamedLikeATemplateInAnotherCaseIsRefused) {
  AddTemplate(PickableFolder("Web2"));
  AddTemplate(PickableFolder("WEB2"));
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_EQ(MessageTexts()[0].rfind("same project exists !\n", 0), 0u);
  EXPECT_FALSE(application_.Messages()[0].isError);
  EXPECT_EQ(Form2().ComboBox1->Items(), List{"Web2"});
  // Nothing was copied: the store holds the fixture's "Web" and the first "Web2" alone.
  EXPECT_EQ(std::distance(fs::directory_iterator(dataFolder_ + "projects"), {}), 2);
}

TEST_F(EditorTest, ALargeFolderIsCopiedOnlyWhenTheUserSaysYes) {
  const std::string folder = PickableFolder("Big");
  for (int file = 0; file < 1000; ++file) WriteFileBytes(folder + Sep() + std::to_string(file), "");
  AddTemplate(folder);
  ASSERT_EQ(application_.Messages().size(), 1u);
  EXPECT_TRUE(application_.Messages()[0].isQuestion);
  EXPECT_EQ(application_.Messages()[0].text.find("\"" + folder + "\" is large: 1,003 files"), 0u);
  EXPECT_FALSE(fs::exists(Store("Big")));
  application_.answerYes = true;
  AddTemplate(folder);
  EXPECT_EQ(Form2().ComboBox1->Items(), List{"Big"});
  EXPECT_TRUE(fs::exists(Store("Big") + Sep() + "999"));
}

TEST_F(EditorTest, ACancelledPickerOrAFailedCopyListsNothing) {
  AddTemplate("");
  EXPECT_TRUE(application_.Messages().empty());
  shell_.copyFailure = "Permission denied";
  AddTemplate(PickableFolder("Site"));
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_NE(MessageTexts()[0].find("could not be copied"), std::string::npos);
  EXPECT_TRUE(Form2().ComboBox1->Items().empty());
}

TEST_F(EditorTest, DeleteRemovesTheSelectedTemplateOnceTheUserSaysYes) {
  AddTemplate(PickableFolder("Site"));
  Editor().Find<HeadlessButton>("Button5").Click();  // No, the question's default
  EXPECT_EQ(Form2().ComboBox1->Items(), List{"Site"});
  application_.answerYes = true;
  Editor().Find<HeadlessButton>("Button5").Click();
  EXPECT_EQ(MessageTexts(), List(2, "Remove \"Site\" from the templates? Its folder stays in " +
                                        dataFolder_ + "projects."));
  EXPECT_TRUE(Form2().ComboBox1->Items().empty());
  EXPECT_FALSE(Registered(".trelik_Site"));
  EXPECT_TRUE(Registered(".trelik"));  // the base type stays
}

TEST_F(EditorTest, WithoutSelectionDeleteMainFileAndTheFileListDoNothing) {
  Editor().Find<HeadlessButton>("Button5").Click();
  Editor().Find<HeadlessButton>("Button6").Click();
  Editor().Find<HeadlessComboBox>("ComboBox2").SetFocus();
  EXPECT_TRUE(Form2().ComboBox2->Items().empty());
  EXPECT_FALSE(fs::exists(program_->Settings->Path()));
  EXPECT_TRUE(application_.Messages().empty());
}

TEST_F(EditorTest, EnteringTheFileListListsTheTopLevelOnce) {
  AddTemplate(PickableFolder("Site"));
  auto& files = Editor().Find<HeadlessComboBox>("ComboBox2");
  files.SetFocus();
  Editor().Find<HeadlessButton>("Button1").SetFocus();
  files.SetFocus();
  List listed = files.Items();
  std::ranges::sort(listed);
  EXPECT_EQ(listed, (List{".hidden", "img" + Sep(), "index.htm"}));
  EXPECT_EQ(files.SelectedIndex(), ComboBox::kNone);
}

TEST_F(EditorTest, MainFileRecordsTheFileAndTheAutoOpenAndFillChoices) {
  AddTemplate(PickableFolder("Site"));
  auto& files = Editor().Find<HeadlessComboBox>("ComboBox2");
  files.SetFocus();
  const List items = files.Items();
  files.SetSelectedIndex(static_cast<int>(std::ranges::find(items, "index.htm") - items.begin()));
  Form2().CheckBox2->SetChecked(true);
  Editor().Find<HeadlessButton>("Button6").Click();
  EXPECT_EQ(program_->Settings->ReadText("mainfile", "Site", ""), "index.htm");
  EXPECT_EQ(program_->Settings->ReadText("autoopen", "Site", ""), "0");
  EXPECT_EQ(program_->Settings->ReadText("fill", "Site", ""), "1");
  files.SetItems({"two\nlines.htm"});  // the library refuses it, and the user is told why
  files.SetSelectedIndex(0);
  Editor().Find<HeadlessButton>("Button6").Click();
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_NE(MessageTexts()[0].find("cannot be the main file"), std::string::npos);
}

// The file list follows the chosen template, so that "Main File" never records one template's
// entry under another; it shows the recorded main file and Auto Open state, files first, in the
// file manager's order.
TEST_F(EditorTest, ChoosingATemplateShowsItsFilesAndWhatIsRecordedForIt) {
  const std::string first = PickableFolder("First");
  WriteFileBytes(first + Sep() + "page10.htm", "");
  WriteFileBytes(first + Sep() + "Page2.htm", "");
  AddTemplate(first);
  auto& files = Editor().Find<HeadlessComboBox>("ComboBox2");
  files.SetSelectedIndex(1);
  Editor().Find<HeadlessButton>("Button6").Click();  // "index.htm", no Auto Open
  Form2().CheckBox1->SetChecked(true);
  Form2().CheckBox2->SetChecked(true);
  AddTemplate(PickableFolder("Second"));
  EXPECT_EQ(files.SelectedIndex(), ComboBox::kNone);
  EXPECT_FALSE(Form2().CheckBox1->Checked());
  EXPECT_FALSE(Form2().CheckBox2->Checked());
  Editor().Find<HeadlessButton>("Button6").Click();
  EXPECT_EQ(program_->Settings->ReadText("mainfile", "Second", "none"), "none");

  program_->Settings->WriteFlag("autoopen", "First", true);
  program_->Settings->WriteFlag("fill", "First", true);
  Editor().Find<HeadlessComboBox>("ComboBox1").Choose(0);
  EXPECT_EQ(files.Items(),
            (List{".hidden", "index.htm", "Page2.htm", "page10.htm", "img" + Sep()}));
  EXPECT_EQ(files.SelectedIndex(), 1);
  EXPECT_TRUE(Form2().CheckBox1->Checked());
  EXPECT_TRUE(Form2().CheckBox2->Checked());
  Editor().Find<HeadlessButton>("Button1").SetFocus();
  files.SetFocus();  // listed anew, the selection kept
  EXPECT_EQ(files.SelectedIndex(), 1);
  EXPECT_EQ(program_->Settings->ReadText("mainfile", "First", ""), "index.htm");
}

// A choice "Main File" has not recorded is asked about when the user leaves the template, by
// choosing another or by closing: Yes records it, No drops it, Cancel stays with the template.
TEST_F(EditorTest, AChoiceNotRecordedIsAskedAboutBeforeItIsLeft) {
  AddTemplate(PickableFolder("Site"));
  AddTemplate(PickableFolder("Blog"));
  Editor().Find<HeadlessComboBox>("ComboBox1").Choose(1);  // "Site": .hidden, index.htm, img/
  Form2().ComboBox2->SetSelectedIndex(1);
  Form2().Button6Click();
  const std::string question = "Save the main file and options of \"Site\"?";
  enum class Leave { kChoose, kClose };
  struct Case {
    const char* name;
    int file;  // the entry chosen, or none
    bool autoOpen, fill;
    Leave leave;
    std::deque<Answer> answers;
    bool asked;
    std::string recorded;  // Site's main file and flags afterwards
    bool stays;            // still on Site, the editor shown
  };
  const Case cases[] = {
      {"as recorded", 1, false, false, Leave::kClose, {}, false, "index.htm00", false},
      {"no file chosen",
       ComboBox::kNone,
       true,
       true,
       Leave::kChoose,
       {},
       false,
       "index.htm00",
       false},
      {"a folder chosen", 2, true, false, Leave::kClose, {}, false, "index.htm00", false},
      {"Auto Open, No", 1, true, false, Leave::kChoose, {Answer::kNo}, true, "index.htm00", false},
      {"another file, Cancel",
       0,
       false,
       false,
       Leave::kChoose,
       {Answer::kCancel},
       true,
       "index.htm00",
       true},
      {"fill, Cancel", 1, false, true, Leave::kClose, {Answer::kCancel}, true, "index.htm00", true},
      {"another file and fill, Yes",
       0,
       false,
       true,
       Leave::kClose,
       {Answer::kYes},
       true,
       ".hidden01",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!Editor().Visible()) MainWindow().Find<HeadlessLabel>("Label1").Click();
    Editor().Find<HeadlessComboBox>("ComboBox1").Choose(1);
    Form2().ComboBox2->SetSelectedIndex(c.file);
    Form2().CheckBox1->SetChecked(c.autoOpen);
    Form2().CheckBox2->SetChecked(c.fill);
    const std::size_t before = application_.Messages().size();
    application_.answers = c.answers;
    if (c.leave == Leave::kChoose) {
      Editor().Find<HeadlessComboBox>("ComboBox1").Choose(0);
    } else {
      Editor().Close();
    }
    EXPECT_EQ(MessageTexts().size() - before, c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_EQ(MessageTexts().back(), question);
    }
    const auto read = [&](const char* section) {
      return program_->Settings->ReadText(section, "Site", "");
    };
    EXPECT_EQ(read("mainfile") + read("autoopen") + read("fill"), c.recorded);
    EXPECT_EQ(Editor().Visible() && Form2().ComboBox1->SelectedIndex() == 1, c.stays);
  }
}

TEST_F(EditorTest, ShowingReloadsWhatClosingSaved) {
  AddTemplate(PickableFolder("Site"));
  Editor().Close();
  SaveTemplateList(dataFolder_ + "projects.lib", {"Site", "", "Changed elsewhere"});
  MainWindow().Find<HeadlessLabel>("Label1").Click();
  // In the file manager's order.
  EXPECT_EQ(Form2().ComboBox1->Items(), (List{"", "Changed elsewhere", "Site"}));
  EXPECT_EQ(Form2().ComboBox1->SelectedIndex(), ComboBox::kNone);
  // Showing it again while shown keeps the unsaved list.
  Form2().ComboBox1->AddItem("Unsaved");
  MainWindow().Find<HeadlessLabel>("Label1").Click();
  EXPECT_EQ(Form2().ComboBox1->Items().back(), "Unsaved");
  // Listed templates without their folder are named at the first showing of a run alone.
  Editor().Close();
  MainWindow().Find<HeadlessLabel>("Label1").Click();
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_EQ(MessageTexts()[0].rfind("These listed templates have no folder", 0), 0u);
  EXPECT_NE(MessageTexts()[0].find("list.\nChanged elsewhere"), std::string::npos);
}

TEST_F(EditorTest, AListFileThatCannotBeWrittenKeepsTheEditorOpen) {
  AddTemplate(PickableFolder("Site"));
  fs::remove(dataFolder_ + "projects.lib");
  fs::create_directory(dataFolder_ + "projects.lib");  // a folder where the file should be
  Editor().Close();
  EXPECT_TRUE(Editor().Visible());
  ASSERT_EQ(application_.Messages().size(), 1u);
  EXPECT_TRUE(application_.Messages()[0].isError);
  EXPECT_EQ(application_.Messages()[0].text.rfind("Cannot open file \"", 0), 0u);
  EXPECT_EQ(application_.Messages()[0].text.back(), '.');  // the error box's full stop
  Editor().Close();                                        // every try shows the error again
  EXPECT_EQ(application_.Messages().size(), 2u);
  EXPECT_TRUE(Editor().Visible());
}

TEST_F(EditorTest, AnUnreadableListFileIsReportedAndTheListKept) {
  Form2().ComboBox1->AddItem("Kept");
  Editor().Close();
  fs::remove(dataFolder_ + "projects.lib");
  fs::create_directories(dataFolder_ + "projects.lib" + Sep() + "inner");
  MainWindow().Find<HeadlessLabel>("Label1").Click();
  EXPECT_TRUE(Editor().Visible());
  EXPECT_EQ(Form2().ComboBox1->Items(), List{"Kept"});
  ASSERT_EQ(application_.Messages().size(), 1u);  // a folder is no empty list
  EXPECT_TRUE(application_.Messages()[0].isError);
  EXPECT_EQ(MessageTexts()[0].rfind("Cannot open file \"", 0), 0u);
}

// Saving a list that was not loaded whole would drop the templates it could not show.
TEST_F(EditorTest, AListFileNotLoadedInFullIsLeftAsItIs) {
  const std::string path = dataFolder_ + "projects.lib";
  using std::string_literals::operator""s;
  const std::string held = "Web\r\nCaf\xE9\r\nBefore\r\n\0After\r\n"s;
  Editor().Close();
  WriteFileBytes(path, held);
  MainWindow().Find<HeadlessLabel>("Label1").Click();
  EXPECT_EQ(Form2().ComboBox1->Items(), (List{"Before", "Caf\xE9", "Web"}));
  ASSERT_EQ(MessageTexts().size(), 2u);
  EXPECT_NE(MessageTexts()[0].find("holds a NUL byte"), std::string::npos);
  EXPECT_EQ(MessageTexts()[1].rfind("These listed templates have no folder", 0), 0u);
  AddTemplate(PickableFolder("Site"));  // it could not be listed, so nothing of it stays
  EXPECT_FALSE(fs::exists(Store("Site")));
  Editor().Close();
  EXPECT_FALSE(Editor().Visible());
  EXPECT_EQ(ReadFileBytes(path), held);
  ASSERT_EQ(MessageTexts().size(), 4u);
  EXPECT_TRUE(MessageTexts()[2].ends_with("\"Site\" was not added.")) << MessageTexts()[2];
  EXPECT_EQ(MessageTexts()[3].rfind("The template list was not saved", 0), 0u);
}

TEST_F(EditorTest, AListFileThatCannotBeReadIsNeverOverwritten) {
  const std::string path = dataFolder_ + "projects.lib";
  Editor().Close();
  fs::remove(path);
  const testing::UnreadableFile unreadable(path);
  MainWindow().Find<HeadlessLabel>("Label1").Click();
  ASSERT_EQ(application_.Messages().size(), 1u);
  EXPECT_TRUE(application_.Messages()[0].isError);
  EXPECT_EQ(MessageTexts()[0].rfind("Cannot open file \"", 0), 0u);
  Editor().Close();
  EXPECT_FALSE(Editor().Visible());
  // A save would have replaced the file, or failed with an error box.
  ASSERT_EQ(application_.Messages().size(), 2u);
  EXPECT_FALSE(application_.Messages()[1].isError);
  EXPECT_EQ(MessageTexts()[1].rfind("The template list was not saved", 0), 0u);
}

TEST_F(EditorTest, TheThreeActionsReachTheShellFromEveryWindow) {
  const NativeWindow editor = Editor().Handle();
  Editor().Find<HeadlessLabel>("Label3").Click();
  Editor().Find<HeadlessButton>("Button3").Click();
  Editor().Find<HeadlessButton>("help").Click();
  application_.onModal = [](HeadlessForm& about) { about.Find<HeadlessLabel>("Label2").Click(); };
  MainWindow().Find<HeadlessLabel>("Label3").Click();
  struct Expected {
    std::string verb, target;
    ShowCommand show;
  };
  const Expected expected[] = {
      {"open", HomePageAddress(), ShowCommand::kShow},
      {"open", VersionCheckAddress(), ShowCommand::kShow},
      {"", program_->helpFile, ShowCommand::kShowMaximized},
      {"open", HomePageAddress(), ShowCommand::kShow},  // from the about window's link
  };
  ASSERT_EQ(shell_.opened.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(shell_.opened[i].verb, expected[i].verb) << i;
    EXPECT_EQ(shell_.opened[i].target, expected[i].target) << i;
    EXPECT_EQ(shell_.opened[i].show, expected[i].show) << i;
    EXPECT_EQ(shell_.opened[i].owner, editor) << i;
  }
  EXPECT_TRUE(HomePageAddress().starts_with("https://"));
  EXPECT_TRUE(VersionCheckAddress().ends_with("/products/trelik/vcheck.php?v=1.0"));
}

// The file managers' "Make a Trelik template" starts the editor alone on a folder: the user is
// asked for the name (the folder's offered), the main file among its files and the options, and
// the folder is added as "New Project" adds one, or not at all.
TEST_F(EditorTest, AFolderFromTheFileManagerBecomesATemplateUnderTheNameAndChoicesGiven) {
  struct Case {
    std::string name;  // typed over the folder's name; empty: cancelled
    List listed;
    std::string mainFile;
  };
  const std::string folder = PickableFolder("My Site");
  for (const Case& each :
       {Case{"", {}, ""}, Case{"Web", {}, ""}, Case{"Shop", {"Shop"}, "index.htm"}}) {
    SCOPED_TRACE(each.name);
    List offered;
    application_.onModal = [&](HeadlessForm& asked) {
      offered = asked.Find<HeadlessComboBox>("MainFile").Items();
      EXPECT_EQ(asked.Find<HeadlessEdit>("Name").Text(), "My Site");
      asked.Find<HeadlessEdit>("Name").SetText(each.name);
      asked.Find<HeadlessCheckBox>("AutoOpen").SetChecked(true);
      asked.Find<HeadlessButton>(each.name.empty() ? "Cancel" : "OK").Click();
    };
    Start("", true, folder);
    EXPECT_EQ(offered, (List{".hidden", "index.htm"}));
    EXPECT_EQ(Form2().ComboBox1->Items(), each.listed);
    const TemplateLibrary::Recorded recorded = {each.mainFile, !each.mainFile.empty(), false};
    EXPECT_EQ(TemplateLibrary(dataFolder_, *program_->Settings, shell_, {}, "").RecordedFor("Shop"),
              recorded);
    EXPECT_EQ(fs::exists(Store("Shop") + Sep() + "index.htm"), !each.listed.empty());
  }
}
}  // namespace
}  // namespace trelik
