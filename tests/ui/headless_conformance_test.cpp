// The headless backend, on which the windows' own tests run, against the widget suite.
#include <map>
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
    Press(form, key);
  }
  void Press(Form& form, Key key) override {
    HeadlessForm& headless = Headless(form);
    if (key == Key::kDown || key == Key::kF4) {
      auto& list = headless.Find<HeadlessComboBox>(headless.FocusedControl());
      if (key == Key::kF4) return list.Open();
      if (list.Dropped()) return list.Highlight(list.Highlighted() + 1);
      list.Choose(list.SelectedIndex() + 1);
      return;
    }
    const std::map<Key, void (HeadlessForm::*)()> keys = {
        {Key::kEnter, &HeadlessForm::PressEnter},
        {Key::kEscape, &HeadlessForm::PressEscape},
        {Key::kSpace, &HeadlessForm::PressSpace},
        {Key::kTab, &HeadlessForm::PressTab},
        {Key::kF1, &HeadlessForm::PressF1}};
    (headless.*keys.at(key))();
  }
  void PressAccessKey(Form& form, const std::string& control, char letter) override {
    Headless(form).Find<Control>(control).SetFocus();
    Headless(form).PressAccessKey(letter);
  }
  void Type(Form& form, const std::string& text) override {
    auto& focused = Headless(form).Find<Control>(Headless(form).FocusedControl());
    if (auto* list = dynamic_cast<HeadlessComboBox*>(&focused)) return list->Type(text);
    auto& edit = dynamic_cast<HeadlessEdit&>(focused);
    for (const char c : text) edit.SetText(edit.Text() + c);
  }
  bool Ended(Form&) override { return application_.Ended(); }
  // Draws nothing.
  std::optional<DroppedList> Drop(Form&, const std::string&) override { return std::nullopt; }
  std::string Description(Form& form, const std::string& control) override {
    const auto& controls = form.Controls();
    for (const auto& label : controls) {
      if (label.describes < controls.size() && controls[label.describes].name == control) {
        return form.Find<Label>(label.name).Text();
      }
    }
    return {};
  }
  bool RunUntil(const std::function<bool()>& done) override { return done(); }
  void WhenActive(Form&, std::function<void()> step) override {
    application_.onModal = [step](HeadlessForm&) { step(); };
  }
  bool HasFocus(Form& form, const std::string& control) override {
    return Headless(form).FocusedControl() == control;
  }
  std::vector<std::string> Answering(const std::vector<Answer>& answers,
                                     const std::function<void()>& act) override {
    const std::size_t before = application_.Messages().size();
    application_.answers.assign(answers.begin(), answers.end());
    act();
    std::vector<std::string> texts;
    boxOwners.clear();
    for (std::size_t i = before; i < application_.Messages().size(); ++i) {
      const auto& message = application_.Messages()[i];
      texts.push_back(message.text);
      boxOwners.push_back(message.owner != nullptr ? message.owner->Handle() : nullptr);
    }
    return texts;
  }

 private:
  static HeadlessForm& Headless(Form& form) { return dynamic_cast<HeadlessForm&>(form); }

  HeadlessApplication application_;
};

const WidgetBackend kHeadless = {"Headless", [] { return std::make_unique<HeadlessDriver>(); }};

INSTANTIATE_TEST_SUITE_P(Headless, WidgetConformance, ::testing::Values(kHeadless), BackendName);
INSTANTIATE_TEST_SUITE_P(Headless, ProgramStories, ::testing::Values(kHeadless), BackendName);

}  // namespace
}  // namespace trelik::testing
