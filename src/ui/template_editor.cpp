#include "ui/template_editor.h"

#include <algorithm>

#include "common/error.h"
#include "common/file_name_rules.h"
#include "common/path_parts.h"
#include "library/library_files.h"
#include "library/settings_sections.h"
#include "library/template_list.h"
#include "library/template_name.h"
#include "library/template_source.h"
#include "shell/type_names.h"
#include "ui/file_list_order.h"
#include "ui/site_address.h"

namespace trelik {

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
  Button1 = form_->AddButton(
      "Button1", {.text = "Close", .bounds = {24, 120, 81, 25}, .tabOrder = 0, .isDefault = true});
  help = form_->AddButton("help", {.text = "Help", .bounds = {256, 120, 81, 25}, .tabOrder = 1});
  Button3 = form_->AddButton(
      "Button3", {.text = "Check Version", .bounds = {136, 120, 97, 25}, .tabOrder = 2});
  GroupBox1 = form_->AddGroupBox(
      "GroupBox1", {.text = "Projects List", .bounds = {8, 8, 345, 81}, .tabOrder = 3});
  CheckBox1 = form_->AddCheckBox(
      "CheckBox1",
      {.text = "Auto Open", .bounds = {264, 48, 73, 17}, .tabOrder = 0, .parent = GroupBox1});
  ComboBox1 = form_->AddComboBox("ComboBox1", {.bounds = {8, 16, 169, 21},
                                               .tabOrder = 1,
                                               .parent = GroupBox1,
                                               .accessibleName = "Templates"});
  Button4 = form_->AddButton(
      "Button4",
      {.text = "New Project", .bounds = {182, 16, 75, 25}, .tabOrder = 2, .parent = GroupBox1});
  Button5 = form_->AddButton(
      "Button5",
      {.text = "Delete", .bounds = {262, 16, 75, 25}, .tabOrder = 3, .parent = GroupBox1});
  Button6 = form_->AddButton(
      "Button6",
      {.text = "Main File", .bounds = {182, 40, 75, 25}, .tabOrder = 4, .parent = GroupBox1});
  ComboBox2 = form_->AddComboBox("ComboBox2", {.bounds = {8, 40, 169, 21},
                                               .tabOrder = 5,
                                               .parent = GroupBox1,
                                               .accessibleName = "Files of the template"});
  // In the free band between the group and the buttons, so that the window keeps its size and
  // every other control its place.
  CheckBox2 = form_->AddCheckBox(
      "CheckBox2",
      {.text = "Fill in names inside files", .bounds = {16, 96, 241, 17}, .tabOrder = 4});

  Label3->onClick = [this] { Label3Click(); };
  Button1->onClick = [this] { Button1Click(); };
  help->onClick = [this] { helpClick(); };
  Button3->onClick = [this] { Button3Click(); };
  Button4->onClick = [this] { Button4Click(); };
  Button5->onClick = [this] { Button5Click(); };
  Button6->onClick = [this] { Button6Click(); };
  ComboBox1->onChange = [this] { ComboBox1Change(); };
  ComboBox2->onEnter = [this] { ComboBox2Enter(); };
  form_->onShow = [this] { FormShow(); };
  form_->onClose = [this] { FormClose(); };
  form_->onHelp = [this] { actions_.OpenHelp(); };

  program_.Form2 = this;
}

std::string TForm2::ListFilePath() const { return program_.AppDir + kTemplateListFile; }

std::string TForm2::StoreFolder() const {
  return program_.AppDir + kTemplateStoreFolder + PlatformSeparators().joiner;
}

std::string TForm2::SelectedTemplate() const {
  const int selected = ComboBox1->SelectedIndex();
  return selected == ComboBox::kNone ? std::string() : ComboBox1->Items()[selected];
}

bool TForm2::StoreHolds(const std::string& name) const {
  const std::string path = StoreFolder() + name;
  return program_.shell.IsExistingFile(path) || program_.shell.IsExistingFolder(path);
}

bool TForm2::StoreFolderExists(const std::string& name) const {
  return program_.shell.IsExistingFolder(StoreFolder() + name);
}

// A library restored from a backup or laid out by hand has its templates but no file types:
// each listed template whose folder is in the store gets its file type, and those without a
// folder are named. Lines that the editor could never have added (an empty one, say) are no
// templates. The list itself stays as it is.
void TForm2::RegisterListedTemplates(const std::vector<std::string>& templates) {
  std::vector<std::string> registrable;
  std::string withoutFolder;
  for (const auto& name : templates) {
    if (TemplateNameProblem(name, PlatformSeparators())) continue;
    if (StoreFolderExists(name)) {
      registrable.push_back(name);
    } else {
      withoutFolder.append("\n").append(name);
    }
  }
  if (!withoutFolder.empty() && !missingFoldersNamed_) {
    missingFoldersNamed_ = true;
    program_.application.ShowMessage(
        "These listed templates have no folder in the template store \"" + StoreFolder() +
        "\", so the New menu does not offer them:" + withoutFolder);
  }
  for (const auto& name : registrable) {
    if (!actions_.IsTemplateRegistered(name)) {
      actions_.RegisterFileType(TemplateExtension(name), TemplateTypeName(name), true);
    }
  }
}

void TForm2::FormShow() {
  const std::string path = ListFilePath();
  std::vector<std::string> templates;
  try {
    listLoadedInFull_ = LoadTemplateListIfAny(path, templates);
  } catch (const Error& error) {
    listLoadedInFull_ = false;
    throw Error(std::string(error.what()) +
                "\nThe template list is left as it is and is not saved when the editor closes");
  }
  ComboBox1->SetItems(templates);
  if (!listLoadedInFull_) {
    program_.application.ShowMessage(
        "\"" + path +
        "\" holds a NUL byte: only the templates before it are shown, and the file "
        "is left as it is.");
  }
  RegisterListedTemplates(templates);
}

void TForm2::FormClose() {
  const std::string path = ListFilePath();
  if (listLoadedInFull_) {
    SaveTemplateList(path, ComboBox1->Items());
    return;
  }
  program_.application.ShowMessage("The template list was not saved: \"" + path +
                                   "\" could not be loaded in full and is left as it is.");
}

void TForm2::Button1Click() { form_->Close(); }

void TForm2::Button4Click() {
  std::string folder;
  if (!program_.shell.BrowseForFolder("Select a Folder", folder)) return;
  if (const auto refusal = TemplateFolderRefusal(folder, program_.userFolders(), StoreFolder())) {
    program_.application.ShowMessage("\"" + folder + "\" cannot be added as a template: " +
                                     *refusal + ".\nPick the folder of one project.");
    return;
  }
  const std::string name = FileNamePart(folder, PlatformSeparators());
  if (ComboBox1->FindExact(name) != ComboBox::kNone) {
    program_.application.ShowMessage("same project exists !");
    return;
  }
  // Only a folder whose name survives as an extension, a settings key and a folder name, and
  // which is not in the store yet, can become a template; otherwise nothing is added.
  if (const auto problem = TemplateNameProblem(name, PlatformSeparators())) {
    program_.application.ShowMessage("\"" + folder +
                                     "\" cannot be added as a template: " + *problem + ".");
    return;
  }
  const std::string storeFolder = StoreFolder();
  if (StoreHolds(name)) {
    program_.application.ShowMessage("The template store already holds \"" + name +
                                     "\". Move that folder away first, or pick another folder.");
    return;
  }
  // Counted where links are resolved, since a picked link to a folder is copied as that folder.
  const TreeSize size = MeasureTree(ComparablePath(folder));
  if (IsLargeTree(size) && !program_.application.AskQuestion(LargeTreeQuestion(folder, size))) {
    return;
  }
  const CopyResult copy = actions_.CopyFolder(folder, storeFolder);
  if (copy.cancelled) return;  // the user stopped it, and nothing was added
  if (!copy.arrivedAt) {
    std::string text = "\"" + folder + "\" could not be copied into the template store.";
    if (!copy.failure.empty()) text.append("\n").append(copy.failure);
    program_.application.ShowMessage(text);
    return;
  }
  // Added whole or not at all: the copy and the file type are taken back when either fails, and
  // the name joins the list only at the end.
  if (FileNamePart(*copy.arrivedAt, PlatformSeparators()) != name) {
    static_cast<void>(program_.shell.RemoveFolder(*copy.arrivedAt));
    program_.application.ShowMessage("The template store already holds \"" + name +
                                     "\". Move that folder away first, or pick another folder.");
    return;
  }
  try {
    actions_.RegisterFileType(TemplateExtension(name), TemplateTypeName(name), true);
  } catch (const Error& error) {
    actions_.UnregisterFileType(name, name);
    static_cast<void>(program_.shell.RemoveFolder(*copy.arrivedAt));
    throw Error(std::string(error.what()) + "\n\"" + name + "\" was not added");
  }
  ComboBox1->AddItem(name);
  ComboBox1->SetSelectedIndex(static_cast<int>(ComboBox1->Items().size()) - 1);
  ComboBox1Change();
}

void TForm2::Button5Click() {
  const int selected = ComboBox1->SelectedIndex();
  if (selected == ComboBox::kNone) return;
  const std::string name = ComboBox1->Items()[selected];
  actions_.UnregisterFileType(name, name);
  program_.Settings->RemoveKey(kMainFileSection, name);
  program_.Settings->RemoveKey(kAutoOpenSection, name);
  program_.Settings->RemoveKey(kFillSection, name);
  ComboBox1->RemoveItem(selected);
}

// What is recorded for the chosen template shows at once: its main file as the file list's
// entry and its Auto Open state.
void TForm2::ComboBox1Change() {
  const std::string name = SelectedTemplate();
  if (name.empty()) return;
  ListTemplateFiles(name, program_.Settings->ReadText(kMainFileSection, name, ""));
  CheckBox1->SetChecked(program_.Settings->ReadFlag(kAutoOpenSection, name, false));
  CheckBox2->SetChecked(program_.Settings->ReadFlag(kFillSection, name, false));
}

// Listed anew at every visit, keeping the entry the user chose.
void TForm2::ComboBox2Enter() {
  const std::string name = SelectedTemplate();
  if (name.empty()) return;
  const int chosen = ComboBox2->SelectedIndex();
  ListTemplateFiles(name, chosen == ComboBox::kNone
                              ? program_.Settings->ReadText(kMainFileSection, name, "")
                              : ComboBox2->Items()[chosen]);
}

void TForm2::ListTemplateFiles(const std::string& name, const std::string& selected) {
  const std::string folder = StoreFolder() + name + PlatformSeparators().joiner;
  std::vector<ListedEntry> entries;
  for (auto& entry : program_.shell.ListFolder(folder + "*.*")) {
    if (entry == "." || entry == "..") continue;
    const bool isFolder = !program_.shell.IsExistingFile(folder + entry);
    entries.push_back({std::move(entry), isFolder});
  }
  const std::vector<std::string> names = FileListOrder(std::move(entries));
  ComboBox2->SetItems(names);
  const auto found = std::find(names.begin(), names.end(), selected);
  if (!selected.empty() && found != names.end()) {
    ComboBox2->SetSelectedIndex(static_cast<int>(found - names.begin()));
  }
}

void TForm2::Button6Click() {
  const int file = ComboBox2->SelectedIndex();
  if (ComboBox1->SelectedIndex() == ComboBox::kNone || file == ComboBox::kNone) return;
  const std::string name = SelectedTemplate();
  const std::string mainFile = ComboBox2->Items()[file];
  // Only a plain name inside the template can be acted on, and a line break would break the
  // settings file.
  if (const auto problem = FileNameProblem(mainFile, PlatformSeparators())) {
    program_.application.ShowMessage("\"" + mainFile + "\" cannot be the main file: " + *problem +
                                     ".");
    return;
  }
  program_.Settings->WriteText(kMainFileSection, name, mainFile);
  program_.Settings->WriteFlag(kAutoOpenSection, name, CheckBox1->Checked());
  program_.Settings->WriteFlag(kFillSection, name, CheckBox2->Checked());
}

void TForm2::Label3Click() { actions_.OpenWebSite(); }

void TForm2::Button3Click() { actions_.CheckVersion(); }

void TForm2::helpClick() { actions_.OpenHelp(); }

}  // namespace trelik
