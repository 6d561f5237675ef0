// Gives a fresh home a template library of a chosen size, the way the editor builds one: a
// folder per template in the store, its file type registered through the platform's file-type
// store, the template list and the settings (on Linux, the desktop files generated from the
// store too).
//
// Usage: template_setup TRELIK_EXECUTABLE COUNT [--types-missing] (on Linux HOME and
// XDG_DATA_HOME name the home; trelik.exe keeps its library beside itself). The first template
// is "Web"; the others are "Site 1", "Site 2", ... With --types-missing no file type is
// registered, as in a library restored from a backup: the editor's first start then registers
// them all.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/error.h"
#include "library/template_list.h"
#include "template_registration.h"

namespace {

namespace fs = std::filesystem;

void MakeTemplateFolder(const fs::path& folder) {
  fs::create_directories(folder / "images");
  std::ofstream(folder / "index.htm") << "<!DOCTYPE html>\n<title>New site</title>\n";
  std::ofstream(folder / "style.css") << "body { margin: 0; }\n";
}

}  // namespace

int main(int argc, char** argv) {
  const bool typesMissing = argc == 4 && std::string(argv[3]) == "--types-missing";
  if ((argc != 3 && !typesMissing) || std::atoi(argv[2]) < 1) {
    std::fprintf(stderr, "usage: template_setup TRELIK_EXECUTABLE COUNT [--types-missing]\n");
    return 2;
  }
  const std::string executable = argv[1];
  const int count = std::atoi(argv[2]);
  const std::string dataFolder = trelik::bench::LibraryFolder(executable);

  std::vector<std::string> names{"Web"};
  for (int i = 1; i < count; ++i) names.push_back("Site " + std::to_string(i));
  try {
    fs::create_directories(dataFolder);
    // The settings as the editor leaves them, written at once: key by key, a library of
    // 100,000 templates would take hours to set up.
    std::string mainFiles = "[mainfile]\r\n";
    std::string autoOpen = "[autoopen]\r\n";
    for (const auto& name : names) {
      MakeTemplateFolder(fs::path(dataFolder) / "projects" / name);
      mainFiles += name + "=index.htm\r\n";
      autoOpen += name + "=0\r\n";
    }
    std::ofstream(dataFolder + "trelik.ini", std::ios::binary) << mainFiles << autoOpen;
    trelik::SaveTemplateList(dataFolder + "projects.lib", names);
    if (typesMissing) return 0;
    if (const std::string failure = trelik::bench::RegisterTemplateTypes(executable, names);
        !failure.empty()) {
      std::fprintf(stderr, "template_setup: %s\n", failure.c_str());
      return 1;
    }
  } catch (const trelik::Error& error) {
    std::fprintf(stderr, "template_setup: %s\n", error.what());
    return 1;
  }
  return 0;
}
