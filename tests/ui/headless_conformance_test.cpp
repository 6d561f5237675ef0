// The headless backend, on which the windows' own tests run, against the widget suite.
#include <memory>

#include "ui/headless/headless_widgets.h"
#include "ui/widget_conformance.h"

namespace trelik::testing {
namespace {

class HeadlessDriver final : public WidgetDriver {
 public:
  Application& App() override { return application_; }
  void ShowActive(Form& form) override { form.Show(); }
  void Press(Form& form, const std::string& control, Key key) override {
    Headless(form).Find<Control>(control).SetFocus();
    if (key == Key::kDown) {
      auto& list = Headless(form).Find<HeadlessComboBox>(control);
      list.Choose(list.SelectedIndex() + 1);
      return;
    }
    Press(form, key);
  }
  void Press(Form& form, Key key) override {
    HeadlessForm& headless = Headless(form);
    switch (key) {
      case Key::kEnter:
        headless.PressEnter();
        break;
      case Key::kEscape:
        headless.PressEscape();
        break;
      case Key::kSpace:
        headless.PressSpace();
        break;
      case Key::kTab:
        headless.PressTab();
        break;
      case Key::kDown:
        break;
    }
  }
  bool HasFocus(Form& form, const std::string& control) override {
    return Headless(form).FocusedControl() == control;
  }
  std::vector<std::string> AnsweringBoxes(const std::function<void()>& act) override {
    const std::size_t before = application_.Messages().size();
    act();
    std::vector<std::string> texts;
    for (std::size_t i = before; i < application_.Messages().size(); ++i) {
      texts.push_back(application_.Messages()[i].text);
    }
    return texts;
  }

 private:
  static HeadlessForm& Headless(Form& form) { return dynamic_cast<HeadlessForm&>(form); }

  HeadlessApplication application_;
};

INSTANTIATE_TEST_SUITE_P(Headless, WidgetConformance,
                         ::testing::Values(WidgetBackend{
                             "Headless", [] { return std::make_unique<HeadlessDriver>(); }}),
                         BackendName);

}  // namespace
}  // namespace trelik::testing
