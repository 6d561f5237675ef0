#include "ui/about_window.h"

#include "common/new_menu.h"
#include "ui/site_address.h"

namespace trelik {
namespace {

std::string WithoutFinalSlash(std::string address) {
  if (address.ends_with('/')) address.pop_back();
  return address;
}

}  // namespace

Tabout::Tabout(Program& program, ProgramActions& actions)
    : actions_(actions),
      form_(program.application.CreateForm({.caption = "about",
                                            .clientWidth = 293,
                                            .clientHeight = 171,
                                            .border = FormBorder::kDialog,
                                            .colour = FormColour::kMenu,
                                            .escapeCloses = true})) {
  Image1 = form_->AddProgramIcon("Image1", {16, 16, 32, 32});
  Label1 =
      form_->AddLabel("Label1", {.text = "Trelik 1.0", .bounds = {72, 16, 67, 13}, .bold = true});
  Label2 = form_->AddLabel(
      "Label2",
      {.text = WithoutFinalSlash(HomePageAddress()), .bounds = {72, 48, 119, 13}, .link = true});
  Label3 = form_->AddLabel("Label3", {.text = "Set up Projects from " + std::string(NewMenuName()),
                                      .bounds = {72, 32, 198, 13}});
  Button1 = form_->AddButton(
      "Button1", {.text = "Close", .bounds = {112, 112, 75, 25}, .tabOrder = 0, .isDefault = true});

  Label2->onClick = [this] { Label2Click(); };
  Button1->onClick = [this] { Button1Click(); };
  form_->onHelp = [this] { actions_.OpenHelpAt(*form_, "index.html"); };
}

void Tabout::Label2Click() { actions_.OpenWebSite(*form_); }

void Tabout::Button1Click() { form_->Close(); }

}  // namespace trelik
