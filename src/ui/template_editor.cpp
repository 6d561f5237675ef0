#include "ui/template_editor.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "common/error.h"
#include "common/notice.h"
#include "common/path_parts.h"
#include "library/library_folder.h"
#include "library/settings_sections.h"
#include "library/template_list.h"
#include "library/template_source.h"
#include "library/user_folders.h"
#include "templates/library_notices.h"
#include "ui/file_list_order.h"
#include "ui/main_window.h"
#include "ui/site_address.h"
#include "ui/template_from_folder.h"

namespace trelik {
namespace {

// Why the editor's buttons that change the library are disabled.
constexpr const char* kReadOnlyLine =
    "Read-only library folder: templates can be used, not changed.";
constexpr const char* kMissingLine = "The library folder is not there: no template can be used.";

}  // namespace

TForm2::TForm2(Program& program, ProgramActions& actions)
    : program_(program),
      actions_(actions),
      form_(program.application.CreateForm({.caption = "Trelik Editor",
                                            .clientWidth = 359,
                                            .clientHeight = 181,
                                            .border = FormBorder::kDialog,
                                            .colour = FormColour::kButtonFace,
                                            .isMainForm = program.editorOnly,
                                            .escapeCloses = true})) {
  Label3 = form_->AddLabel("Label3", {.text = HomePageAddress(),
                                      .bounds = {216, 152, 124, 13},
                                      .link = true,
                                      .tooltip = "Find more useful tools"});
  // The keyboard starts in the template list: the group's controls in reading order, then the
  // option below it and the buttons from left to right.
  Button1 = form_->AddButton(
      "Button1", {.text = "&Close", .bounds = {24, 120, 81, 25}, .tabOrder = 2, .isDefault = true});
  help = form_->AddButton("help", {.text = "&Help", .bounds = {256, 120, 81, 25}, .tabOrder = 4});
  Button3 = form_->AddButton(
      "Button3", {.text = "Check &Version", .bounds = {136, 120, 97, 25}, .tabOrder = 3});
  GroupBox1 = form_->AddGroupBox(
      "GroupBox1", {.text = "Projects List", .bounds = {8, 8, 345, 81}, .tabOrder = 0});
  CheckBox1 = form_->AddCheckBox(
      "CheckBox1",
      {.text = "&Auto Open", .bounds = {264, 48, 73, 17}, .tabOrder = 5, .parent = GroupBox1});
  ComboBox1 = form_->AddComboBox("ComboBox1", {.bounds = {8, 16, 169, 21},
                                               .tabOrder = 0,
                                               .parent = GroupBox1,
                                               .accessibleName = "Templates"});
  Button4 = form_->AddButton(
      "Button4",
      {.text = "&New Project", .bounds = {182, 16, 75, 25}, .tabOrder = 1, .parent = GroupBox1});
  Button5 = form_->AddButton(
      "Button5",
      {.text = "&Delete", .bounds = {262, 16, 75, 25}, .tabOrder = 2, .parent = GroupBox1});
  Button6 = form_->AddButton(
      "Button6",
      {.text = "&Main File", .bounds = {182, 40, 75, 25}, .tabOrder = 4, .parent = GroupBox1});
  ComboBox2 = form_->AddComboBox("ComboBox2", {.bounds = {8, 40, 169, 21},
                                               .tabOrder = 3,
                                               .parent = GroupBox1,
                                               .accessibleName = "Files of the template"});
  // In the free band between the group and the buttons, so that the window keeps its size and
  // every other control its place.
  CheckBox2 = form_->AddCheckBox(
      "CheckBox2",
      {.text = "&Fill in names inside files", .bounds = {16, 96, 241, 17}, .tabOrder = 1});
  // In the free corner below "Close" and the free line at the bottom, for the same reason.
  Label4 = form_->AddLabel("Label4", {.text = "&Library folder\u2026",
                                      .bounds = {24, 152, 120, 13},
                                      .link = true,
                                      .tooltip = "Keep the templates in a folder of your choice"});
  Label5 = form_->AddLabel("Label5", {.text = kReadOnlyLine, .bounds = {8, 166, 345, 13}});

  Label3->onClick = [this] { Label3Click(); };
  Label4->onClick = [this] { Label4Click(); };
  Button1->onClick = [this] { Button1Click(); };
  help->onClick = [this] { helpClick(); };
  Button3->onClick = [this] { Button3Click(); };
  Button4->onClick = [this] { Button4Click(); };
  Button5->onClick = [this] { Button5Click(); };
  Button6->onClick = [this] { Button6Click(); };
  ComboBox1->onChange = [this] { ComboBox1Change(); };
  ComboBox2->onEnter = [this] { ComboBox2Enter(); };
  form_->onShow = [this] { FormShow(); };
  form_->onShown = [this] {
    if (program_.offerFolderAction) program_.offerFolderAction();
    RegisterListedTemplates();
    MakeTemplateFromFolder();
  };
  form_->onCloseQuery = [this] { return FormCloseQuery(); };
  form_->onClose = [this] { FormClose(); };
  form_->onHelp = [this] { actions_.OpenHelpAt(*form_, "index.html#add"); };
}

TemplateLibrary TForm2::Library() const {
  return {
      LibraryFolder(*program_.Settings, program_.AppDir),
      *program_.Settings,
      program_.shell,
      program_.openRegistry,
      program_.executablePath,
      [this](const std::string& notice) { program_.application.ShowMessage(form_.get(), notice); }};
}

std::string TForm2::SelectedTemplate() const {
  const int selected = ComboBox1->SelectedIndex();
  return selected == ComboBox::kNone ? std::string() : ComboBox1->Items()[selected];
}

void TForm2::FormShow() {
  const TemplateLibrary library = Library();
  const std::string path = library.ListFilePath();
  const auto missing = library.MissingNotice();
  const auto refusal = missing ? missing : library.ChangeRefusal();
  unchangeable_ = refusal.has_value();
  for (Control* change : std::initializer_list<Control*>{Button4, Button5, Button6}) {
    change->SetEnabled(!unchangeable_);
  }
  Label5->SetText(missing ? kMissingLine : refusal ? kReadOnlyLine : "");
  std::vector<std::string> templates;
  if (missing) {
    // Named once a run: the share may stay away all day.
    if (!std::exchange(missingLibraryNamed_, true)) {
      program_.application.ShowMessage(form_.get(), *missing);
    }
    ListTemplates({}, "");
    listed_.clear();
    shown_.clear();
    return;
  }
  try {
    listLoadedInFull_ = LoadTemplateListIfAny(path, templates);
  } catch (const Error& error) {
    listLoadedInFull_ = false;
    throw Error(std::string(error.what()) +
                "\nThe template list is left as it is and is not saved when the editor closes");
  }
  ListTemplates(templates, "");
  listed_ = templates;
  shown_.clear();
  listShown_ = true;
  if (!listLoadedInFull_) {
    program_.application.ShowMessage(
        form_.get(), WithNextStep("\"" + path +
                                      "\" holds a NUL byte: only the templates before it are "
                                      "shown, and the file is left as it is.",
                                  kRepairTheList));
  }
}

// A library restored with hundreds of templates takes a moment; the user sees the window
// meanwhile. Only a list just read is registered, not one left from before a failed reading.
// Listed templates without a folder in the store are named once a run, not at every showing.
void TForm2::RegisterListedTemplates() {
  if (!std::exchange(listShown_, false)) return;
  Library().RegisterListed(ComboBox1->Items(), [this](const std::string& notice) {
    if (std::exchange(missingFoldersNamed_, true)) return;
    program_.application.ShowMessage(form_.get(), notice);
  });
}

void TForm2::ListTemplates(const std::vector<std::string>& names, const std::string& selected) {
  ComboBox1->SetItems(FileListOrder(names));
  SelectTemplate(selected);
}

void TForm2::SelectTemplate(const std::string& name) {
  const auto& items = ComboBox1->Items();
  const auto found = name.empty() ? items.end() : std::ranges::find(items, name);
  ComboBox1->SetSelectedIndex(found == items.end() ? ComboBox::kNone
                                                   : static_cast<int>(found - items.begin()));
}

std::optional<TemplateLibrary::Recorded> TForm2::Chosen() const {
  const int file = ComboBox2->SelectedIndex();
  // A folder is no main file: "Main File" records nothing for it.
  if (file == ComboBox::kNone || ComboBox2->Items()[file].ends_with(PlatformSeparators().joiner)) {
    return std::nullopt;
  }
  return TemplateLibrary::Recorded{.mainFile = ComboBox2->Items()[file],
                                   .autoOpen = CheckBox1->Checked(),
                                   .fill = CheckBox2->Checked()};
}

bool TForm2::SettleChoices() {
  const auto chosen = Chosen();
  TemplateLibrary library = Library();
  if (unchangeable_ || shown_.empty() || !chosen || *chosen == library.RecordedFor(shown_)) {
    return true;
  }
  const Answer answer = program_.application.AskYesNoCancel(
      form_.get(), "Save the main file and options of \"" + shown_ + "\"?");
  if (answer != Answer::kYes) return answer == Answer::kNo;
  const auto refusal = library.Record(shown_, *chosen);
  if (refusal) program_.application.ShowMessage(form_.get(), *refusal);
  return !refusal;
}

bool TForm2::FormCloseQuery() { return SettleChoices(); }

void TForm2::FormClose() { SaveList(); }

// What another program saved since the list was read is merged in, under the library's lock.
void TForm2::SaveList() {
  if (unchangeable_) return;
  TemplateLibrary library = Library();
  const std::string path = library.ListFilePath();
  if (listLoadedInFull_) {
    listed_ = library.SaveList(listed_, ComboBox1->Items());
    return;
  }
  program_.application.ShowMessage(
      form_.get(), WithNextStep("The template list was not saved: \"" + path +
                                    "\" could not be loaded in full and is left as it is.",
                                kRepairTheList));
}

void TForm2::Button1Click() { form_->Close(); }

void TForm2::Button4Click() {
  std::string folder;
  if (!program_.shell.BrowseForFolder("Select a Folder", folder)) return;
  if (AddTemplate(folder, {}, {})) ComboBox1Change();
}

std::optional<std::string> TForm2::AddTemplate(const std::string& folder, const std::string& name,
                                               const TemplateLibrary::Recorded& recorded) {
  TemplateLibrary library = Library();
  const auto listed = [this](const std::string& name) {
    return ComboBox1->FindExact(name) != ComboBox::kNone;
  };
  if (const auto refusal = library.AddRefusal(folder, program_.userFolders(), listed, name)) {
    program_.application.ShowMessage(form_.get(), *refusal);
    return std::nullopt;
  }
  TemplateLibrary::Addition added;
  if (const auto question = library.StoredFolderQuestion(folder, name)) {
    if (!program_.application.AskQuestion(form_.get(), *question)) return std::nullopt;
    added = library.AddStored(folder, name, recorded);
  } else {
    // Counted where links are resolved, since a picked link to a folder is copied as that folder.
    const TreeSize size = MeasureTree(ComparablePath(folder));
    if (IsLargeTree(size) &&
        !program_.application.AskQuestion(form_.get(), LargeTreeQuestion(folder, size))) {
      return std::nullopt;
    }
    added = library.Add(program_.Form1->Window().Handle(), folder, name, recorded);
  }
  if (!added.name) {
    if (!added.failure.empty()) program_.application.ShowMessage(form_.get(), added.failure);
    return std::nullopt;
  }
  std::vector<std::string> names = ComboBox1->Items();
  names.push_back(*added.name);
  ListTemplates(names, *added.name);
  return added.name;
}

// The file managers' "Make a Trelik template": the folder they name becomes a template as
// "New Project" makes one, under the name and with the choices the user gives for it.
void TForm2::MakeTemplateFromFolder() {
  const std::string folder = std::exchange(program_.templateFolder, {});
  if (folder.empty()) return;
  const PathSeparators& separators = PlatformSeparators();
  std::vector<ListedEntry> files;
  for (auto& entry : program_.shell.ListFolder(AsFolder(folder, separators) + "*.*")) {
    if (program_.shell.IsExistingFile(AsFolder(folder, separators) + entry)) {
      files.push_back({std::move(entry), false});
    }
  }
  const auto chosen = AskTemplateFromFolder(program_.application, FileNamePart(folder, separators),
                                            FileListOrder(std::move(files), separators.joiner));
  if (!chosen) return;
  if (AddTemplate(folder, chosen->name, chosen->recorded)) ComboBox1Change();
}

void TForm2::Button5Click() {
  const int selected = ComboBox1->SelectedIndex();
  if (selected == ComboBox::kNone) return;
  const std::string name = ComboBox1->Items()[selected];
  TemplateLibrary library = Library();
  if (!program_.application.AskQuestion(form_.get(), library.RemoveQuestion(name))) return;
  library.Remove(name);
  ComboBox1->RemoveItem(selected);
  shown_.clear();  // nothing is left to record for it
}

// What is recorded for the chosen template shows at once: its main file as the file list's
// entry and its Auto Open state. What the user chose for the template left is settled first;
// when they stay with it, it is chosen again.
void TForm2::ComboBox1Change() {
  const std::string name = SelectedTemplate();
  if (name == shown_) return;
  bool settled = false;
  try {
    settled = SettleChoices();
  } catch (const Error&) {
    SelectTemplate(shown_);
    throw;
  }
  if (!settled) {
    SelectTemplate(shown_);
    return;
  }
  shown_ = name;
  if (name.empty()) return;
  const TemplateLibrary::Recorded recorded = Library().RecordedFor(name);
  ListTemplateFiles(name, recorded.mainFile);
  CheckBox1->SetChecked(recorded.autoOpen);
  CheckBox2->SetChecked(recorded.fill);
}

// Listed anew at every visit, keeping the entry the user chose.
void TForm2::ComboBox2Enter() {
  const std::string name = SelectedTemplate();
  if (name.empty()) return;
  const int chosen = ComboBox2->SelectedIndex();
  ListTemplateFiles(name, chosen == ComboBox::kNone ? Library().RecordedFor(name).mainFile
                                                    : ComboBox2->Items()[chosen]);
}

void TForm2::ListTemplateFiles(const std::string& name, const std::string& selected) {
  const std::string folder = Library().StoreFolder() + name + PlatformSeparators().joiner;
  std::vector<ListedEntry> entries;
  for (auto& entry : program_.shell.ListFolder(folder + "*.*")) {
    if (entry == "." || entry == "..") continue;
    const bool isFolder = !program_.shell.IsExistingFile(folder + entry);
    entries.push_back({std::move(entry), isFolder});
  }
  const std::vector<std::string> names =
      FileListOrder(std::move(entries), PlatformSeparators().joiner);
  ComboBox2->SetItems(names);
  const auto found = std::find(names.begin(), names.end(), selected);
  if (!selected.empty() && found != names.end()) {
    ComboBox2->SetSelectedIndex(static_cast<int>(found - names.begin()));
  }
}

void TForm2::Button6Click() {
  const int file = ComboBox2->SelectedIndex();
  if (ComboBox1->SelectedIndex() == ComboBox::kNone || file == ComboBox::kNone) return;
  const auto refusal = Library().Record(SelectedTemplate(), {.mainFile = ComboBox2->Items()[file],
                                                             .autoOpen = CheckBox1->Checked(),
                                                             .fill = CheckBox2->Checked()});
  if (refusal) program_.application.ShowMessage(form_.get(), *refusal);
}

void TForm2::Label3Click() { actions_.OpenWebSite(*form_); }

// The list shown is saved to the library it came from before the editor turns to the other.
void TForm2::Label4Click() {
  if (!SettleChoices()) return;
  std::string folder;
  if (!program_.shell.BrowseForFolder("Select the Library Folder", folder)) return;
  SaveList();
  if (ComparablePath(folder) == ComparablePath(program_.AppDir)) {
    program_.Settings->RemoveKey(kLibrarySection, kLibraryFolderKey);
  } else {
    program_.Settings->WriteText(kLibrarySection, kLibraryFolderKey, folder);
  }
  missingLibraryNamed_ = false;
  FormShow();
  RegisterListedTemplates();
}

void TForm2::Button3Click() { actions_.CheckVersion(*form_); }

void TForm2::helpClick() { actions_.OpenHelp(*form_); }

}  // namespace trelik
