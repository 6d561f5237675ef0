#include "ui/program_fixture.h"

#include <filesystem>

#include "common/error.h"

namespace trelik::testing {

ProgramFixture::ProgramFixture()
    : dataFolder_(root_ / "data" + Sep()),
      launcherFolder_(root_ / "My Projects" + Sep()),
      launcher_(launcherFolder_ + "New.trelik_Web") {
  const std::string web = dataFolder_ + "projects" + Sep() + "Web" + Sep();
  std::filesystem::create_directories(web);
  WriteFileBytes(web + "index.htm", "<html>");
  std::filesystem::create_directories(launcherFolder_);
  WriteFileBytes(launcher_, "");
}

std::shared_ptr<Registry> ProgramFixture::OpenRegistry() {
  ++registryOpenings;
  if (!openingFails.empty()) throw Error(openingFails);
  return std::shared_ptr<Registry>(&registry_, [](Registry*) {});  // not owned
}

void ProgramFixture::Start(const std::string& launcherPath, bool editorOnly,
                           const std::string& templateFolder) {
  windows_.reset();  // a run before this one ends first
  program_ = std::make_unique<Program>(Program{.application = application_,
                                               .shell = shell_,
                                               .openRegistry = [this] { return OpenRegistry(); },
                                               .executablePath = root_ / "bin" + Sep() + "trelik",
                                               .launcherPath = launcherPath,
                                               .editorOnly = editorOnly,
                                               .templateFolder = templateFolder,
                                               .dataFolder = dataFolder_,
                                               .helpFile = root_ / "help" + Sep() + "index.html"});
  windows_ = std::make_unique<TrelikWindows>(*program_);
  application_.Run(editorOnly ? windows_->Form2().Window() : windows_->Form1.Window());
}

}  // namespace trelik::testing
