#pragma once

#include <memory>
#include <optional>
#include <string>

#include "shell/file_type_registration.h"
#include "ui/program.h"
#include "ui/widgets.h"

namespace trelik {

// The main window: asks for the new project's name and whether its main file is opened
// afterwards; closing it by any route creates the project and ends the program.
class TForm1 {
 public:
  explicit TForm1(Program& program);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  Form& Window() { return *form_; }

  // File types and the template copy, offered to the editor as well.
  void RegisterFileType(const std::string& Extension, const std::string& TypeName,
                        bool WithShellNew);
  void UnregisterFileType(const std::string& ExtensionSuffix, const std::string& TypeSuffix);
  CopyResult CopyFolder(const std::string& Source, const std::string& DestDir);

  void FormCreate();
  void FormShow();
  void FormClose();
  void FormDestroy();
  void Button1Click();
  void Label1Click();
  void Label2Click();
  void Label3Click();
  void Label4Click();

  Label* Label1;
  Label* Label2;
  Label* Label3;
  Label* Label4;
  PushButton* Button1;
  CheckBox* CheckBox1;
  Edit* Edit1;

 private:
  trelik::RegistrationContext RegistrationContext(Registry& registry) const;

  Program& program_;
  std::unique_ptr<Form> form_;
};

}  // namespace trelik
