#include "ui/main_window.h"

#include <utility>

#include "creation/launcher_name.h"
#include "creation/project_creation.h"
#include "library/library_files.h"
#include "library/library_folder.h"
#include "library/settings_sections.h"
#include "ui/about_window.h"
#include "ui/template_editor.h"

namespace trelik {

TForm1::TForm1(Program& program, ProgramActions& actions)
    : program_(program),
      actions_(actions),
      form_(program.application.CreateForm({.caption = " Trelik",
                                            .clientWidth = 368,
                                            .clientHeight = 87,
                                            .border = FormBorder::kToolWindow,
                                            .colour = FormColour::kButtonFace,
                                            .isMainForm = !program.editorOnly})) {
  Label1 =
      form_->AddLabel("Label1", {.text = "&Options", .bounds = {144, 48, 36, 13}, .link = true});
  Label2 = form_->AddLabel("Label2",
                           {.text = "Check &Version", .bounds = {200, 48, 69, 13}, .link = true});
  Label3 = form_->AddLabel("Label3", {.text = "A&bout", .bounds = {328, 48, 28, 13}, .link = true});
  Label4 = form_->AddLabel("Label4", {.text = "&Help", .bounds = {288, 48, 22, 13}, .link = true});
  Button1 = form_->AddButton(
      "Button1",
      {.text = "&Create", .bounds = {286, 16, 75, 25}, .tabOrder = 2, .isDefault = true});
  // One pixel short of "Options", with room to spare at every scale: a box reaching into the
  // link would paint over its first letter.
  CheckBox1 = form_->AddCheckBox("CheckBox1", {.text = "&Auto Open the Project",
                                               .bounds = {8, 48, 135, 17},
                                               .tabOrder = 1,
                                               .checked = true});
  Edit1 = form_->AddEdit(
      "Edit1",
      {.bounds = {8, 16, 257, 21}, .tabOrder = 0, .accessibleName = "Name of the new project"});
  Label5 = form_->AddLabel("Label5", {.bounds = {8, 68, 352, 13}, .describes = Edit1});

  Label1->onClick = [this] { Label1Click(); };
  Label2->onClick = [this] { Label2Click(); };
  Label3->onClick = [this] { Label3Click(); };
  Label4->onClick = [this] { Label4Click(); };
  Button1->onClick = [this] { Button1Click(); };
  form_->onShow = [this] { FormShow(); };
  form_->onClose = [this] { FormClose(); };
  form_->onEscape = [this] { FormEscape(); };
  Edit1->onChange = [this] { Edit1Change(); };
  form_->onHelp = [this] { actions_.OpenHelpAt(*form_, "index.html#create"); };

  program_.Form1 = this;
  FormCreate();
}

TForm1::~TForm1() { FormDestroy(); }

void TForm1::FormCreate() {
  program_.ProjectName = ExtractProjectName(program_.launcherPath, PlatformSeparators());
  // The name forms are hinted where they are used.
  if (!program_.ProjectName.empty()) {
    Edit1->SetCueText("Folder\\File for the new " + program_.ProjectName + " project");
  }
  // A refused registration is reported, and the program still gets its data folder and
  // settings: everything after start-up needs them. It reads the whole file-type store, so it
  // waits until this window has reached the screen, when this window is the first one shown.
  if (program_.editorOnly) {
    RegisterOwnType();
  } else {
    form_->onShown = [this, pending = true]() mutable {
      if (!std::exchange(pending, false)) return;
      CopyAhead();
      RegisterOwnType();
    };
  }
  program_.AppDir = program_.dataFolder;
  program_.Settings = std::make_unique<TIniFile>(program_.AppDir + kSettingsFile);
}

void TForm1::RegisterOwnType() {
  program_.application.Dispatch([this] { actions_.RegisterFileType(".trelik", "Trelik", false); });
}

// The template is copied while the name is typed, so that Create has only the copy's finishing
// left. Not before the window is on the screen: the copy must not hold it back.
void TForm1::CopyAhead() {
  if (!planInput_) return;
  program_.shell.PrepareCopy(TemplateFolder(LibraryFolder(*program_.Settings, program_.AppDir),
                                            planInput_->templateName, PlatformSeparators()),
                             planInput_->destination);
}

void TForm1::FormShow() {
  if (!program_.ProjectName.empty()) {
    CheckBox1->SetChecked(
        program_.Settings->ReadFlag(kAutoOpenSection, program_.ProjectName, false));
    // Read once: typing then costs no reading of the disk.
    planInput_ = LauncherPlanInput(program_.launcherPath, Services());
  }
  Edit1Change();
  Edit1->SetFocus();
}

void TForm1::Edit1Change() {
  if (!planInput_) {
    Label5->SetText("Create makes nothing: open a launcher from the New menu");
    return;
  }
  planInput_->typedName = Edit1->Text();
  Label5->SetText(DescribePlan(PlanCreation(*planInput_), PlatformSeparators()));
}

CreationServices TForm1::Services() {
  return {program_.shell, *program_.Settings,
          [this](const std::string& text) { program_.application.ShowMessage(form_.get(), text); },
          PlatformSeparators()};
}

void TForm1::FormClose() {
  if (!leaving_) {
    const CreationRequest request{program_.launcherPath,
                                  LibraryFolder(*program_.Settings, program_.AppDir), Edit1->Text(),
                                  CheckBox1->Checked(), form_->Handle()};
    program_.ProjectName = CreateProject(request, Services());
  }
  // Whatever was copied ahead and not taken by a creation goes with the window.
  program_.shell.DiscardPreparedCopy();
}

void TForm1::FormEscape() {
  leaving_ = true;
  form_->Close();
}

void TForm1::FormDestroy() { program_.Settings.reset(); }

void TForm1::Button1Click() { form_->Close(); }

void TForm1::Label1Click() { program_.Form2().Window().Show(); }

void TForm1::Label2Click() { actions_.CheckVersion(*form_); }

void TForm1::Label3Click() { program_.about().Window().ShowModal(); }

void TForm1::Label4Click() { actions_.OpenHelp(*form_); }

}  // namespace trelik
