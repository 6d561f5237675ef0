// Figures for what users feel: how long the steps around creating a project take. Prints one
// line per measurement; nothing here asserts anything.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "common/path_parts.h"
#include "creation/creation_plan.h"
#include "creation/entered_name.h"
#include "creation/project_creation.h"
#include "library/ini_file.h"
#include "library/template_list.h"
#include "shell_factory.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void Report(const char* what, int repetitions, const std::function<void()>& work) {
  const auto start = Clock::now();
  for (int i = 0; i < repetitions; ++i) work();
  const std::chrono::duration<double, std::micro> elapsed = Clock::now() - start;
  std::printf("%-52s %12.1f us per run (%d runs)\n", what, elapsed.count() / repetitions,
              repetitions);
}

std::string Folder(const fs::path& path) { return (path / "").string(); }

}  // namespace

int main() {
  const fs::path root = fs::temp_directory_path() / "trelik-bench";
  fs::remove_all(root);
  fs::create_directories(root);
  const std::string sep(1, trelik::PlatformSeparators().joiner);

  Report("classify a typed name", 100000,
         [] { trelik::ClassifyEnteredName("  My Site\\index page  "); });

  trelik::TIniFile settings(Folder(root) + "trelik.ini");
  for (int i = 0; i < 200; ++i) {
    settings.WriteText("mainfile", "Template " + std::to_string(i), "index.htm");
  }
  Report("write one key into a settings file of 200 keys", 200,
         [&] { settings.WriteText("mainfile", "Template 100", "main.htm"); });
  Report("read one flag from a settings file of 200 keys", 2000,
         [&] { settings.ReadFlag("autoopen", "Template 199", false); });

  const std::vector<std::string> names(5000, "A template with a long name");
  const std::string listFile = Folder(root) + "projects.lib";
  Report("save a template list of 5000 names", 50,
         [&] { trelik::SaveTemplateList(listFile, names); });
  std::vector<std::string> loaded;
  Report("load a template list of 5000 names", 50,
         [&] { trelik::LoadTemplateList(listFile, loaded); });

  // A web-site template of 2000 small files in 20 folders, 16 MB in all.
  const fs::path tree = root / "template" / "Web";
  const std::string block(8192, 'x');
  for (int folder = 0; folder < 20; ++folder) {
    fs::create_directories(tree / ("part" + std::to_string(folder)));
    for (int file = 0; file < 100; ++file) {
      std::ofstream(tree / ("part" + std::to_string(folder)) / ("f" + std::to_string(file)))
          << block;
    }
  }
  auto shell = trelik::bench::MakePlatformShell();
  int copies = 0;
  Report("copy a template of 2000 files (16 MB)", 5, [&] {
    const fs::path destination = root / ("copies" + std::to_string(copies++));
    static_cast<void>(shell->CopyFolder(nullptr, tree.string(), Folder(destination)));
  });

  // The main window's hint: the launcher's folder is listed once as the window opens, then each
  // key plans the creation and describes it. The typed folder name is taken, so every name the
  // plan tries is looked up in the listing.
  const fs::path documents = root / "Documents";
  for (int i = 0; i < 2000; ++i)
    fs::create_directories(documents / ("Project " + std::to_string(i)));
  std::ofstream(documents / "New.trelik_Web") << "\n";
  const trelik::CreationServices services{*shell, settings, [](const std::string&) {},
                                          trelik::PlatformSeparators()};
  trelik::PlanInput input;
  Report("list the launcher's folder of 2000 entries", 50, [&] {
    input = trelik::LauncherPlanInput((documents / "New.trelik_Web").string(), services);
  });
  input.typedName = "Project 1999" + sep;
  Report("say what Create will make of one typed name there", 2000,
         [&] { trelik::DescribePlan(trelik::PlanCreation(input), trelik::PlatformSeparators()); });
  fs::remove_all(root);
  return 0;
}
