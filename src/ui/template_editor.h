#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "templates/template_library.h"
#include "ui/program.h"
#include "ui/program_actions.h"
#include "ui/widgets.h"

namespace trelik {

// The template editor: keeps the template list and shows the library, through which it adds and
// deletes templates and records each template's main file. Its buttons lead to the three actions
// outside the program.
class TForm2 {
 public:
  TForm2(Program& program, ProgramActions& actions);
  TForm2(const TForm2&) = delete;
  TForm2& operator=(const TForm2&) = delete;

  Form& Window() { return *form_; }

  void FormShow();
  bool FormCloseQuery();
  // Gives the listed templates their missing file types, once the window has been drawn.
  void RegisterListedTemplates();
  void FormClose();
  void Button1Click();
  void Button4Click();
  // Makes the folder the program was started for a template, once the window has been drawn.
  void MakeTemplateFromFolder();
  void Button5Click();
  void ComboBox1Change();
  void ComboBox2Enter();
  void Button6Click();
  // The web-site, version-check and help actions.
  void Label3Click();
  // Lets the user pick the library's folder, and shows the library there.
  void Label4Click();
  void Button3Click();
  void helpClick();

  Label* Label3;        // the maker's home page
  PushButton* Button1;  // "Close"
  PushButton* help;
  PushButton* Button3;  // "Check Version"
  GroupBox* GroupBox1;  // "Projects List"
  CheckBox* CheckBox1;  // "Auto Open"
  ComboBox* ComboBox1;  // the templates
  PushButton* Button4;  // "New Project"
  PushButton* Button5;  // "Delete"
  PushButton* Button6;  // "Main File"
  ComboBox* ComboBox2;  // the files of the selected template
  CheckBox* CheckBox2;  // "Fill in names inside files"
  Label* Label4;        // "Library folder…"
  Label* Label5;        // why the library cannot be changed; empty when it can

 private:
  // The library in the program's data folder, through the program's settings and shell.
  TemplateLibrary Library() const;
  std::string SelectedTemplate() const;
  // What "New Project" does with a folder it is given: the template is added under `name` (the
  // folder's own when empty) with `recorded`, listed and selected. Its name, or nullopt when none
  // was added.
  std::optional<std::string> AddTemplate(const std::string& folder, const std::string& name,
                                         const TemplateLibrary::Recorded& recorded);
  // Lists the templates in the file manager's order, `selected` chosen when it is among them.
  void ListTemplates(const std::vector<std::string>& names, const std::string& selected);
  void SelectTemplate(const std::string& name);  // none for no name or one not listed
  // What "Main File" would record for the template shown; nullopt while no file is chosen.
  std::optional<TemplateLibrary::Recorded> Chosen() const;
  // Before the template shown is left, asks whether to record what the user chose for it but
  // did not record: true when the user may go on, false when they chose to stay.
  bool SettleChoices();
  // Saves the list shown, unless the library cannot be changed or the list was not read whole.
  void SaveList();
  // Fills the file list with the template's entries, `selected` chosen when it is among them.
  void ListTemplateFiles(const std::string& name, const std::string& selected);

  Program& program_;
  ProgramActions& actions_;
  std::unique_ptr<Form> form_;
  // The template whose folder and recorded choices the file list and check boxes show.
  std::string shown_;
  // Cleared when the list file could not be read whole: saving would then lose its other lines.
  bool listLoadedInFull_ = true;
  // The list as read when the editor was shown or last saved, against which others' changes
  // are merged.
  std::vector<std::string> listed_;
  // Set while the library is read-only or missing: nothing of it is changed or saved.
  bool unchangeable_ = false;
  bool missingLibraryNamed_ = false;
  // Set when this showing read the list, until its templates are registered.
  bool listShown_ = false;
  // Listed templates without a folder in the store are named once a run, not at every showing.
  bool missingFoldersNamed_ = false;
};

}  // namespace trelik
