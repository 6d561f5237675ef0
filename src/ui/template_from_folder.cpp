#include "ui/template_from_folder.h"

#include <algorithm>

#include "common/folder_action.h"

namespace trelik {

std::optional<TemplateFromFolder> AskTemplateFromFolder(Application& application,
                                                        const std::string& folderName,
                                                        const std::vector<std::string>& files) {
  const auto form = application.CreateForm({.caption = std::string(kFolderActionLabel),
                                            .clientWidth = 305,
                                            .clientHeight = 145,
                                            .border = FormBorder::kDialog,
                                            .colour = FormColour::kButtonFace,
                                            .escapeCloses = true});
  Edit* name = form->AddEdit(
      "Name", {.bounds = {80, 8, 217, 21}, .tabOrder = 0, .accessibleName = "Template name"});
  form->AddLabel("NameLabel", {.text = "Name:", .bounds = {8, 12, 64, 13}, .describes = name});
  ComboBox* mainFile = form->AddComboBox(
      "MainFile", {.bounds = {80, 36, 217, 21}, .tabOrder = 1, .accessibleName = "Main file"});
  form->AddLabel("MainFileLabel",
                 {.text = "Main file:", .bounds = {8, 40, 64, 13}, .describes = mainFile});
  CheckBox* autoOpen = form->AddCheckBox(
      "AutoOpen", {.text = "&Auto Open", .bounds = {80, 64, 217, 17}, .tabOrder = 2});
  CheckBox* fill = form->AddCheckBox(
      "Fill", {.text = "&Fill in names inside files", .bounds = {80, 86, 217, 17}, .tabOrder = 3});
  PushButton* ok = form->AddButton(
      "OK", {.text = "OK", .bounds = {141, 112, 75, 25}, .tabOrder = 4, .isDefault = true});
  PushButton* cancel =
      form->AddButton("Cancel", {.text = "Cancel", .bounds = {222, 112, 75, 25}, .tabOrder = 5});

  name->SetText(folderName);
  mainFile->SetItems(files);
  // Offered: the first file that is not hidden, as a main file hardly is.
  const auto offered =
      std::ranges::find_if(files, [](const std::string& file) { return !file.starts_with('.'); });
  if (offered != files.end()) mainFile->SetSelectedIndex(static_cast<int>(offered - files.begin()));
  bool accepted = false;
  ok->onClick = [&] {
    accepted = true;
    form->Close();
  };
  cancel->onClick = [&form] { form->Close(); };
  form->ShowModal();
  if (!accepted) return std::nullopt;
  const int chosen = mainFile->SelectedIndex();
  return TemplateFromFolder{
      .name = name->Text(),
      .recorded = {.mainFile = chosen == ComboBox::kNone ? std::string() : files[chosen],
                   .autoOpen = autoOpen->Checked(),
                   .fill = fill->Checked()}};
}

}  // namespace trelik
