// The program's windows used as a user uses them, on every backend: the same stories run on the
// headless windows here and on the real Qt and Win32 windows in their own test programs.
#include <filesystem>
#include <string>
#include <vector>

#include "common/path_parts.h"
#include "shell/memory_registry.h"
#include "ui/widget_conformance.h"

namespace trelik::testing {

namespace fs = std::filesystem;

namespace {

std::string Sep() { return std::string(1, PlatformSeparators().joiner); }

}  // namespace

ProgramStories::ProgramStories()
    : dataFolder_(root_ / "data" + Sep()), projects_(root_ / "My Projects" + Sep()) {
  fs::create_directories(dataFolder_ + "projects" + Sep() + "Web");
  WriteFileBytes(dataFolder_ + "projects" + Sep() + "Web" + Sep() + "index.htm", "<html>");
  WriteFileBytes(dataFolder_ + "projects.lib", "Web\r\n");
  fs::create_directories(projects_);
}

ProgramStories::~ProgramStories() { windows_.reset(); }

void ProgramStories::Start(const std::string& launcher) {
  program_ = std::make_unique<Program>(
      Program{.application = driver_->App(),
              .shell = shell_,
              .openRegistry = [] { return std::make_shared<MemoryRegistry>(); },
              .executablePath = root_ / "trelik",
              .launcherPath = launcher,
              .dataFolder = dataFolder_,
              .helpFile = root_ / "help.html"});
  windows_ = std::make_unique<TrelikWindows>(*program_);
  driver_->ShowActive(Main());
}

namespace {

TEST_P(ProgramStories, TheTypedNameAndEnterMakeTheProject) {
  const std::string launcher = projects_ + "New.trelik_Web";
  WriteFileBytes(launcher, "");
  WriteFileBytes(dataFolder_ + "trelik.ini",
                 "[mainfile]\r\nWeb=index.htm\r\n[autoopen]\r\nWeb=1\r\n");
  std::vector<std::string> boxes = driver_->AnsweringBoxes([&] {
    Start(launcher);
    ASSERT_TRUE(driver_->HasFocus(Main(), "Edit1"));  // the name box has it from the start
    // The template is copied ahead, from the window's first drawing, into the launcher's folder.
    EXPECT_TRUE(driver_->RunUntil([&] { return !shell_.preparedCopy.empty(); }));
    driver_->Type(Main(), "Site\\home");
    // The line below the box says what Create will make, and screen readers read it with the box.
    const std::string hint = "Makes the folder \"Site\" with \"home.htm\", in My Projects";
    EXPECT_EQ(windows_->Form1.Label5->Text(), hint);
    EXPECT_EQ(driver_->Description(Main(), "Edit1"), hint);
    driver_->Press(Main(), Key::kEnter);  // presses "Create"
  });
  EXPECT_TRUE(fs::is_regular_file(projects_ + "Site" + Sep() + "home.htm"));
  EXPECT_FALSE(fs::exists(launcher));
  ASSERT_EQ(shell_.opened.size(), 1u);
  EXPECT_EQ(shell_.opened[0].target, projects_ + "Site" + Sep() + "home.htm");
  EXPECT_EQ(shell_.adoptedCopies, 1);  // the copy that Create made was the one made ahead
  EXPECT_EQ(boxes, std::vector<std::string>{});
}

// Escape closes the editor; in the main window it leaves without making anything, and the
// launcher stays for another try.
TEST_P(ProgramStories, TheKeyboardReachesTheLinksF1HelpsAndEscapeLeavesWithoutCreating) {
  const std::string launcher = projects_ + "New.trelik_Web";
  WriteFileBytes(launcher, "");
  const std::vector<std::string> boxes = driver_->AnsweringBoxes([&] {
    Start(launcher);
    // From the name box, the check box and "Create", then the links in reading order.
    const std::vector<std::string> expected = {"CheckBox1", "Button1", "Label1", "Label2",
                                               "Label4",    "Label3",  "Edit1"};
    std::vector<std::string> reached;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      driver_->Press(Main(), Key::kTab);
      reached.push_back(Focused(Main(), expected));
    }
    EXPECT_EQ(reached, expected);
    driver_->Press(Main(), Key::kF1);
    EXPECT_TRUE(driver_->RunUntil([&] { return shell_.opened.size() == 1; }));

    driver_->Press(Main(), "Label1", Key::kEnter);  // "Options"
    driver_->ShowActive(Editor());
    driver_->Press(Editor(), Key::kF1);
    EXPECT_TRUE(driver_->RunUntil([&] { return shell_.opened.size() == 2; }));
    driver_->Press(Editor(), Key::kEscape);
    EXPECT_FALSE(Editor().Visible());
    EXPECT_TRUE(Main().Visible());
    EXPECT_EQ(shell_.preparedCopy, dataFolder_ + "projects" + Sep() + "Web -> " + projects_);
    driver_->Press(Main(), Key::kEscape);
  });
  EXPECT_EQ(shell_.preparedCopy, "");  // the copy made ahead went with the window
  EXPECT_TRUE(driver_->Ended(Main()));
  EXPECT_TRUE(fs::exists(launcher));
  EXPECT_FALSE(fs::exists(projects_ + "Web"));
  // Each window's own page of the help.
  ASSERT_EQ(shell_.opened.size(), 2u);
  EXPECT_EQ(shell_.opened[0].target, program_->helpFile + "::/index.html#create");
  EXPECT_EQ(shell_.opened[1].target, program_->helpFile + "::/index.html#add");
  EXPECT_EQ(ReadFileBytes(dataFolder_ + "projects.lib"), "Web\r\n");  // saved as it closed
  EXPECT_EQ(boxes, std::vector<std::string>{});
}

// What cannot be opened is said in a notice of the window it was asked in, naming the address.
TEST_P(ProgramStories, ALinkThatCannotBeOpenedIsSaidInTheWindow) {
  shell_.openFailure = std::make_error_code(std::errc::no_such_file_or_directory);
  const std::vector<std::string> boxes = driver_->AnsweringBoxes([&] {
    Start("");
    driver_->Press(Main(), "Label2", Key::kEnter);  // "Check Version"
  });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(
      boxes[0].rfind("The web page \"" + shell_.opened.at(0).target + "\" cannot be opened: ", 0),
      0u)
      << boxes[0];
  EXPECT_NE(boxes[0].find(".\nCopy the address into a web browser."), std::string::npos);
  EXPECT_EQ(driver_->boxOwners, std::vector<NativeWindow>{Main().Handle()});
}

TEST_P(ProgramStories, TheEditorRecordsTheMainFileAndTheAboutWindowClosesWithEnter) {
  bool aboutWasActive = false;
  const std::vector<std::string> boxes = driver_->AnsweringBoxes([&] {
    Start("");
    driver_->Press(Main(), "Label1", Key::kEnter);  // "Options"
    driver_->ShowActive(Editor());
    EXPECT_TRUE(driver_->HasFocus(Editor(), "ComboBox1"));  // the template list comes first
    driver_->Press(Editor(), "ComboBox1", Key::kDown);
    ASSERT_EQ(windows_->Form2().ComboBox1->SelectedIndex(), 0);
    EXPECT_EQ(windows_->Form2().ComboBox2->Items().size(), 1u);  // listed as the template is chosen
    // From the template list, Tab passes "New Project" and "Delete" to reach the file list.
    for (int i = 0; i < 3; ++i) driver_->Press(Editor(), Key::kTab);
    ASSERT_TRUE(driver_->HasFocus(Editor(), "ComboBox2"));
    driver_->Press(Editor(), Key::kDown);
    driver_->Press(Editor(), "Button6", Key::kSpace);  // "Main File"
    driver_->Press(Editor(), "Button1", Key::kSpace);  // "Close"
    EXPECT_FALSE(Editor().Visible());

    driver_->WhenActive(About(), [&] {
      aboutWasActive = true;
      driver_->Press(About(), Key::kEnter);  // its default button
    });
    driver_->Press(Main(), "Label3", Key::kEnter);  // "About", shown modally till closed
  });
  EXPECT_TRUE(aboutWasActive);
  EXPECT_FALSE(About().Visible());
  const std::string settings = ReadFileBytes(dataFolder_ + "trelik.ini");
  EXPECT_NE(settings.find("Web=index.htm"), std::string::npos) << settings;
  EXPECT_EQ(ReadFileBytes(dataFolder_ + "projects.lib"), "Web\r\n");
  EXPECT_EQ(boxes, std::vector<std::string>{});
}

// The editor lists the templates in the file manager's order, and asks before a choice "Main
// File" has not recorded is lost, and before a template is removed.
TEST_P(ProgramStories, TheEditorAsksBeforeAChoiceOrATemplateIsLost) {
  for (const char* name : {"blog", "Api"}) {
    fs::create_directories(dataFolder_ + "projects" + Sep() + name);
    WriteFileBytes(dataFolder_ + "projects" + Sep() + name + Sep() + "a.htm", "");
  }
  WriteFileBytes(dataFolder_ + "projects.lib", "Web\r\nblog\r\nApi\r\n");
  std::vector<std::string> boxes;
  const auto press = [&](const char* control, Key key, std::vector<Answer> answers = {}) {
    for (auto& text : driver_->Answering(answers, [&] { driver_->Press(Editor(), control, key); }))
      boxes.push_back(text);
  };
  Start("");
  driver_->Press(Main(), "Label1", Key::kEnter);  // "Options"
  driver_->ShowActive(Editor());
  TForm2& editor = windows_->Form2();
  EXPECT_EQ(editor.ComboBox1->Items(), (std::vector<std::string>{"Api", "blog", "Web"}));
  press("ComboBox1", Key::kDown);                    // "Api"
  press("ComboBox2", Key::kDown);                    // its "a.htm"
  press("Button1", Key::kSpace, {Answer::kCancel});  // "Close"
  EXPECT_TRUE(Editor().Visible());
  press("ComboBox1", Key::kDown, {Answer::kNo});  // "blog"
  press("ComboBox2", Key::kDown);
  press("ComboBox1", Key::kDown, {Answer::kCancel});
  EXPECT_EQ(editor.ComboBox1->SelectedIndex(), 1);  // still "blog"
  press("Button1", Key::kSpace, {Answer::kYes});
  EXPECT_FALSE(Editor().Visible());

  driver_->Press(Main(), "Label1", Key::kEnter);
  driver_->ShowActive(Editor());
  for (int i = 0; i < 3; ++i) press("ComboBox1", Key::kDown);  // "Web", nothing left unsaved
  press("Button5", Key::kSpace, {Answer::kNo});                // "Delete"
  EXPECT_EQ(editor.ComboBox1->Items().size(), 3u);
  press("Button5", Key::kSpace, {Answer::kYes});
  press("Button1", Key::kSpace);
  const std::string save = "Save the main file and options of ";
  const std::string remove =
      "Remove \"Web\" from the templates? Its folder stays in " + dataFolder_ + "projects.";
  EXPECT_EQ(boxes,
            (std::vector<std::string>{save + "\"Api\"?", save + "\"Api\"?", save + "\"blog\"?",
                                      save + "\"blog\"?", remove, remove}));
  const std::string settings = ReadFileBytes(dataFolder_ + "trelik.ini");
  EXPECT_NE(settings.find("blog=a.htm"), std::string::npos) << settings;
  EXPECT_EQ(settings.find("Api="), std::string::npos) << settings;
  EXPECT_EQ(ReadFileBytes(dataFolder_ + "projects.lib"), "Api\r\nblog\r\n");
}

}  // namespace
}  // namespace trelik::testing
