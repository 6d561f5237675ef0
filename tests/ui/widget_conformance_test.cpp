// What the windows rely on from every widget backend, checked through the widget interface on
// each: the headless one here, Qt and Win32 in their own test programs.
#include "ui/widget_conformance.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/error.h"

namespace trelik::testing {

Form& WidgetConformance::MakeForm(const FormArgs& args) {
  forms_.push_back(driver_->App().CreateForm(args));
  return *forms_.back();
}

Form& WidgetConformance::MakeEditorLikeForm() {
  Form& form = MakeForm({.caption = "Trelik Editor", .clientWidth = 359, .clientHeight = 181});
  const auto record = [this](const char* name) {
    return [this, name] { pressed_.push_back(name); };
  };
  form.AddButton("Close",
                 {.text = "&Close", .bounds = {24, 120, 81, 25}, .tabOrder = 0, .isDefault = true})
      ->onClick = record("Close");
  form.AddButton("Help", {.text = "&Help", .bounds = {256, 120, 81, 25}, .tabOrder = 1})->onClick =
      record("Help");
  form.AddButton("Check", {.text = "Check &Version", .bounds = {136, 120, 97, 25}, .tabOrder = 2})
      ->onClick = record("Check");
  GroupBox* group = form.AddGroupBox(
      "Group", {.text = "Projects List", .bounds = {8, 8, 345, 81}, .tabOrder = 3});
  form.AddCheckBox(
      "Auto", {.text = "&Auto Open", .bounds = {264, 48, 73, 17}, .tabOrder = 0, .parent = group});
  templates_ =
      form.AddComboBox("Templates", {.bounds = {8, 16, 169, 21}, .tabOrder = 1, .parent = group});
  form.AddButton(
          "New",
          {.text = "&New Project", .bounds = {182, 16, 75, 25}, .tabOrder = 2, .parent = group})
      ->onClick = record("New");
  files_ = form.AddComboBox("Files", {.bounds = {8, 40, 169, 21}, .tabOrder = 5, .parent = group});
  form.AddEdit("Edit", {.bounds = {8, 92, 100, 21}, .tabOrder = 4});
  form.AddLabel("About", {.text = "A&bout", .bounds = {300, 160, 28, 13}, .link = true})->onClick =
      record("About");
  form.AddLabel("Options", {.text = "&Options", .bounds = {144, 160, 36, 13}, .link = true})
      ->onClick = record("Options");
  return form;
}

std::string WidgetConformance::Focused(Form& form, const std::vector<std::string>& names) {
  const auto found =
      std::ranges::find_if(names, [&](const auto& name) { return driver_->HasFocus(form, name); });
  return found == names.end() ? "?" : *found;
}

namespace {

const std::vector<std::string> kStops = {"Close", "Help",  "Check", "Auto",    "Templates",
                                         "New",   "Files", "Edit",  "Options", "About"};

// The focus walks the form's stops by tab order, each group box's own after it, then the links
// in reading order, and comes round.
TEST_P(WidgetConformance, TabWalksTheStopsGroupByGroupThenTheLinksAndComesRound) {
  Form& form = MakeEditorLikeForm();
  driver_->ShowActive(form);
  driver_->Press(form, "About", Key::kTab);
  std::vector<std::string> reached = {Focused(form, kStops)};
  for (std::size_t i = 1; i < kStops.size(); ++i) {
    driver_->Press(form, Key::kTab);
    reached.push_back(Focused(form, kStops));
  }
  EXPECT_EQ(reached, kStops);
}

// Enter presses the focused button or link, else the default button; Space presses the focused
// button or link; Escape does nothing in a window not made to close by it.
TEST_P(WidgetConformance, EnterAndSpacePressWhatHasTheFocusOrTheDefaultButton) {
  Form& form = MakeEditorLikeForm();
  int closes = 0;
  form.onClose = [&] { ++closes; };
  driver_->ShowActive(form);
  struct Case {
    const char* focus;
    Key key;
    std::vector<std::string> pressed;
  };
  for (const Case& c :
       {Case{"Edit", Key::kEnter, {"Close"}}, Case{"Auto", Key::kEnter, {"Close"}},
        Case{"Help", Key::kEnter, {"Help"}}, Case{"New", Key::kSpace, {"New"}},
        Case{"Options", Key::kEnter, {"Options"}}, Case{"About", Key::kSpace, {"About"}},
        Case{"Edit", Key::kEscape, {}}, Case{"Help", Key::kEscape, {}}}) {
    SCOPED_TRACE(c.focus);
    pressed_.clear();
    driver_->Press(form, c.focus, c.key);
    EXPECT_EQ(pressed_, c.pressed);
  }
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(closes, 0);
}

// Typing in an edit box, and setting its text, run its change handler; a label's text can
// change, and a label that describes a control is its description for screen readers. Escape
// runs the window's own Escape handler where it has one, and closes nothing.
TEST_P(WidgetConformance, TextChangesAreHeardAndADescribingLabelDescribesItsControl) {
  Form& form = MakeEditorLikeForm();
  Edit& edit = form.Find<Edit>("Edit");
  Label* hint = form.AddLabel("Hint", {.bounds = {8, 150, 100, 13}, .describes = &edit});
  edit.onChange = [&] { hint->SetText(hint->Text() + "|" + edit.Text()); };
  form.onEscape = [&] { pressed_.push_back("Escape"); };
  form.onClose = [&] { pressed_.push_back("close"); };
  driver_->ShowActive(form);
  driver_->Press(form, "Edit", Key::kEscape);
  driver_->Type(form, "ab");
  edit.SetText("Site, and more than fits in the line");
  EXPECT_EQ(hint->Text(), "|a|ab|Site, and more than fits in the line");
  EXPECT_EQ(driver_->Description(form, "Edit"), hint->Text());
  EXPECT_EQ(pressed_, std::vector<std::string>{"Escape"});
}

// A handler's error is shown in the error box, and the window goes on; a secondary window whose
// close handler fails stays open.
TEST_P(WidgetConformance, AFailingHandlerShowsTheErrorBoxAndTheWindowGoesOn) {
  Form& form = MakeEditorLikeForm();
  bool fail = true;
  form.onClose = [&] {
    if (fail) throw Error("Cannot create file \"x\". Access denied");
  };
  int shows = 0;
  form.onShow = [&] { ++shows; };
  form.AddButton("Failing", {.text = "Fail", .bounds = {24, 150, 81, 25}, .tabOrder = 6})->onClick =
      [] { throw Error("Stream write error"); };
  driver_->ShowActive(form);
  form.Show();  // already shown: only brought to the front
  EXPECT_EQ(shows, 1);

  EXPECT_EQ(driver_->AnsweringBoxes([&] { driver_->Press(form, "Failing", Key::kSpace); }),
            std::vector<std::string>{"Stream write error."});
  EXPECT_EQ(driver_->AnsweringBoxes([&] { form.Close(); }),
            std::vector<std::string>{"Cannot create file \"x\". Access denied."});
  EXPECT_TRUE(form.Visible());
  driver_->Press(form, "Edit", Key::kEnter);
  EXPECT_EQ(pressed_, std::vector<std::string>{"Close"});

  fail = false;
  EXPECT_EQ(driver_->AnsweringBoxes([&] { form.Close(); }), std::vector<std::string>{});
  EXPECT_FALSE(form.Visible());
}

// A notice or question shown for a window belongs to it, even while another window is in front:
// window managers centre it on that window and keep it above it.
TEST_P(WidgetConformance, ABoxBelongsToTheWindowItIsShownFor) {
  Form& editor = MakeEditorLikeForm();
  Form& other = MakeForm({.caption = "Other", .clientWidth = 200, .clientHeight = 80});
  driver_->ShowActive(editor);
  driver_->ShowActive(other);
  driver_->AnsweringBoxes([&] {
    driver_->App().ShowMessage(&editor, "same project exists !");
    driver_->App().AskQuestion(&other, "Go on?");
  });
  EXPECT_EQ(driver_->boxOwners, (std::vector<NativeWindow>{editor.Handle(), other.Handle()}));
}

// A window may refuse to close: the three-way question, owned by it, gives the button pressed,
// the default one Yes, and Cancel keeps the window open without running its close handler.
TEST_P(WidgetConformance, AWindowThatAsksBeforeClosingStaysOpenOnCancel) {
  Form& form = MakeEditorLikeForm();
  int closes = 0;
  std::vector<Answer> answered;
  form.onClose = [&] { ++closes; };
  form.onCloseQuery = [&] {
    answered.push_back(driver_->App().AskYesNoCancel(&form, "Save?"));
    return answered.back() != Answer::kCancel;
  };
  driver_->ShowActive(form);
  EXPECT_EQ(driver_->Answering({Answer::kCancel}, [&] { form.Close(); }),
            std::vector<std::string>{"Save?"});
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(closes, 0);
  driver_->Answering({Answer::kNo}, [&] { form.Close(); });
  EXPECT_FALSE(form.Visible());
  driver_->ShowActive(form);
  driver_->AnsweringBoxes([&] { form.Close(); });
  EXPECT_EQ(answered, (std::vector<Answer>{Answer::kCancel, Answer::kNo, Answer::kYes}));
  EXPECT_EQ(closes, 2);
}

// A long list opens at least 20 entries high and as wide as its longest entry, and typing the
// first letters of an entry chooses it as the user's choice.
TEST_P(WidgetConformance, AListOpensTwentyRowsHighAndWideAndFindsWhatIsTyped) {
  Form& form = MakeEditorLikeForm();
  driver_->ShowActive(form);
  std::vector<std::string> names = {"Api", "A template name much longer than the list box is wide",
                                    "Web", "web2", "Wiki"};
  for (int i = 10; i < 40; ++i) names.push_back("Site " + std::to_string(i));
  templates_->SetItems(names);
  if (const auto dropped = driver_->Drop(form, "Templates")) {
    EXPECT_GE(dropped->rows, 20);
    EXPECT_TRUE(dropped->longestWhole);
  }
  int changes = 0;
  templates_->onChange = [&] { ++changes; };
  templates_->SetSelectedIndex(0);
  templates_->SetFocus();
  driver_->Type(form, "wI");
  EXPECT_EQ(templates_->SelectedIndex(), 4);
  EXPECT_EQ(changes, 2);  // "Web", then "Wiki"
}

// Names come from files and folders, so they may hold any byte but NUL. Every backend's lists
// must hand each one back exactly, whatever they can show of it, and find it by a spelling
// that differs in letter case only.
TEST_P(WidgetConformance, ListsKeepEveryNameByteForByteAndFindItRegardlessOfLetterCase) {
  struct Name {
    std::string bytes;
    std::string otherCase;
  };
  const std::vector<Name> kNames = {
      {"Caf\xC3\xA9 \xE2\x82\xAC", "CAF\xC3\x89 \xE2\x82\xAC"},  // valid UTF-8
      {"\xCE\xA9mega", "\xCF\x89MEGA"},                          // Greek, valid UTF-8
      {"Caf\xE9", "cAF\xE9"},                                    // Latin-1
      {"\x80", "\x80"},                                          // lone continuation byte
      {"\x81", "\x81"},                          // shown like the one above, yet another name
      {"Web\xE2\x82", "WEB\xE2\x82"},            // truncated sequence
      {"a\tb\x01\x1F\x7F", "A\tB\x01\x1F\x7F"},  // control characters
      {"\xC0\xAF", "\xC0\xAF"},                  // overlong encoding of '/'
      {"\xFF\xFEz", "\xFF\xFEZ"},
  };
  MakeEditorLikeForm();
  std::vector<std::string> names;
  for (const auto& name : kNames) names.push_back(name.bytes);
  templates_->SetItems({names.begin(), names.begin() + 3});
  for (auto name = names.begin() + 3; name != names.end(); ++name) templates_->AddItem(*name);
  EXPECT_EQ(templates_->Items(), names);
  EXPECT_EQ(templates_->SelectedIndex(), ComboBox::kNone);
  for (int i = 0; i < static_cast<int>(names.size()); ++i) {
    templates_->SetSelectedIndex(i);
    EXPECT_EQ(templates_->Items()[templates_->SelectedIndex()], names[i]) << i;
    EXPECT_EQ(templates_->FindExact(kNames[i].bytes), i) << i;
    EXPECT_EQ(templates_->FindExact(kNames[i].otherCase), i) << i;
  }
  // Not a name's other spelling: a part of it, more than it, the same letters accented.
  for (const char* other : {"Caf", "Caf\xC3\xA9 \xE2\x82\xAC!", "Cafe \xE2\x82\xAC", "\xCE\xA9"}) {
    EXPECT_EQ(templates_->FindExact(other), ComboBox::kNone) << other;
  }
  templates_->RemoveItem(0);
  EXPECT_EQ(templates_->Items(), (std::vector<std::string>{names.begin() + 1, names.end()}));
  EXPECT_EQ(templates_->SelectedIndex(), ComboBox::kNone);
}

// Only the user's choice runs the change handler; each arrival of the focus runs the list's
// entry handler once.
TEST_P(WidgetConformance, ChoosingOrEnteringAListRunsItsHandlersButCodeDoesNot) {
  Form& form = MakeEditorLikeForm();
  driver_->ShowActive(form);
  templates_->SetItems({"Web", "docs", "Api"});
  int changes = 0;
  int enters = 0;
  templates_->onChange = [&] { ++changes; };
  templates_->onEnter = [&] { ++enters; };
  templates_->SetSelectedIndex(0);
  templates_->AddItem("Blog");
  templates_->RemoveItem(3);
  EXPECT_EQ(changes, 0);

  driver_->Press(form, "Auto", Key::kTab);
  EXPECT_EQ(enters, 1);
  templates_->SetSelectedIndex(0);
  driver_->Press(form, "Templates", Key::kDown);  // the closed list steps to the next entry
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(templates_->SelectedIndex(), 1);
  EXPECT_EQ(enters, 1);
  files_->SetFocus();
  templates_->SetFocus();
  EXPECT_EQ(enters, 2);
}

// Alt and a control's access key press it wherever the focus is, and flip a check box; a letter
// that is no control's key does nothing, and is never typed into the focused box.
TEST_P(WidgetConformance, AltAndAnAccessKeyPressTheirControlWhereverTheFocusIs) {
  Form& form = MakeEditorLikeForm();
  const CheckBox& box = form.Find<CheckBox>("Auto");
  driver_->ShowActive(form);
  struct Case {
    const char* focus;
    char letter;
    std::vector<std::string> pressed;
    bool checked;
  };
  for (const Case& c :
       {Case{"Edit", 'n', {"New"}, false}, Case{"Templates", 'V', {"Check"}, false},
        Case{"Edit", 'o', {"Options"}, false}, Case{"Close", 'b', {"About"}, false},
        Case{"Edit", 'a', {}, true}, Case{"Edit", 'z', {}, true}, Case{"Check", 'a', {}, false}}) {
    SCOPED_TRACE(std::string(c.focus) + " Alt+" + c.letter);
    pressed_.clear();
    driver_->PressAccessKey(form, c.focus, c.letter);
    EXPECT_EQ(pressed_, c.pressed);
    EXPECT_EQ(box.Checked(), c.checked);
  }
  EXPECT_EQ(form.Find<Edit>("Edit").Text(), "");
  EXPECT_EQ(form.Info("Check").planned.caption, "Check Version");  // what the layout measures
}

// A disabled button is passed over by Tab and deaf to its access key until enabled again.
TEST_P(WidgetConformance, ADisabledButtonIsPassedOverUntilEnabledAgain) {
  Form& form = MakeEditorLikeForm();
  PushButton& help = form.Find<PushButton>("Help");
  driver_->ShowActive(form);
  help.SetEnabled(false);
  EXPECT_FALSE(help.Enabled());
  driver_->Press(form, "Close", Key::kTab);
  EXPECT_EQ(Focused(form, kStops), "Check");
  driver_->PressAccessKey(form, "Edit", 'h');
  EXPECT_EQ(pressed_, std::vector<std::string>{});
  help.SetEnabled(true);
  EXPECT_TRUE(help.Enabled());
  driver_->PressAccessKey(form, "Edit", 'h');
  EXPECT_EQ(pressed_, std::vector<std::string>{"Help"});
}

// Enter in an open list chooses the highlighted entry and closes the list; only the next Enter
// presses the default button.
TEST_P(WidgetConformance, EnterInAnOpenListChoosesTheEntryInsteadOfPressingTheDefaultButton) {
  Form& form = MakeEditorLikeForm();
  driver_->ShowActive(form);
  templates_->SetItems({"Web", "docs", "Api"});
  templates_->SetSelectedIndex(0);
  int changes = 0;
  templates_->onChange = [&] { ++changes; };
  driver_->Press(form, "Templates", Key::kF4);
  driver_->Press(form, Key::kDown);
  driver_->Press(form, Key::kEnter);
  EXPECT_EQ(templates_->SelectedIndex(), 1);
  EXPECT_GE(changes, 1);
  EXPECT_EQ(pressed_, std::vector<std::string>{});
  EXPECT_TRUE(driver_->HasFocus(form, "Templates"));
  driver_->Press(form, Key::kEnter);
  EXPECT_EQ(pressed_, std::vector<std::string>{"Close"});
}

// Work left for after the showing runs once per showing, from the event loop, with the window on
// the screen; showing a window already shown starts none.
TEST_P(WidgetConformance, ShownRunsOnceAfterEachShowing) {
  Form& form = MakeEditorLikeForm();
  std::vector<std::string> events;
  form.onShow = [&] { events.push_back("show"); };
  form.onShown = [&] { events.push_back(form.Visible() ? "shown" : "shown while hidden"); };
  for (std::size_t showing = 1; showing <= 2; ++showing) {
    form.Show();
    form.Show();
    EXPECT_TRUE(driver_->RunUntil([&] { return events.size() == 2 * showing; }));
    form.Close();
  }
  EXPECT_EQ(events, (std::vector<std::string>{"show", "shown", "show", "shown"}));
}

}  // namespace
}  // namespace trelik::testing
