#pragma once

#include <memory>
#include <string>

#include "ui/widgets.h"

namespace trelik {

// The Qt 6 Widgets backend: each form is a fixed-size dialog with absolutely placed controls,
// in the desktop's own font and style. A QApplication must exist before this object.
class QtApplication final : public Application {
 public:
  QtApplication();

  std::unique_ptr<Form> CreateForm(const FormArgs& args) override;
  using Application::AskQuestion;
  using Application::ShowMessage;
  void ShowMessage(const Form* owner, const std::string& text) override;
  bool AskQuestion(const Form* owner, const std::string& text) override;
  Answer AskYesNoCancel(const Form* owner, const std::string& text) override;
  void ShowError(const std::string& message) override;
  void Run(Form& mainForm) override;
};

}  // namespace trelik
