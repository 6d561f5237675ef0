#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/startup.h"
#include "common/path_parts.h"
#include "shell/memory_registry.h"
#include "support/fake_shell.h"
#include "support/refusing_registry.h"
#include "support/temp_folder.h"
#include "ui/headless/headless_widgets.h"

namespace trelik::testing {

// A whole program on the headless backend: a data folder with the template "Web", a launcher
// folder whose path holds a blank, a fake shell over the real files and an in-memory registry.
class ProgramFixture : public ::testing::Test {
 protected:
  ProgramFixture();

  static std::string Sep() { return std::string(1, PlatformSeparators().joiner); }

  // Runs start-up as the program does, with `launcherPath` as the first argument; with
  // `editorOnly`, as started for the editor alone, and on `templateFolder` as the file managers
  // start it.
  void Start(const std::string& launcherPath, bool editorOnly = false,
             const std::string& templateFolder = {});

  HeadlessForm& MainWindow() { return Headless(windows_->Form1.Window()); }
  HeadlessForm& Editor() { return Headless(windows_->Form2().Window()); }
  HeadlessForm& About() { return Headless(windows_->about().Window()); }
  // The fixture's one registry, or the failure `openingFails` asks for.
  std::shared_ptr<Registry> OpenRegistry();

  static HeadlessForm& Headless(Form& form) { return dynamic_cast<HeadlessForm&>(form); }

  TempFolder root_;
  std::string dataFolder_;
  std::string launcherFolder_;
  std::string launcher_;
  HeadlessApplication application_;
  FakeShell shell_;
  RefusingRegistry registry_;
  std::string openingFails;  // when set, opening the registry throws this message
  int registryOpenings = 0;
  std::unique_ptr<Program> program_;
  std::unique_ptr<TrelikWindows> windows_;
};

}  // namespace trelik::testing
