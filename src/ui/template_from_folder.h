#pragma once

#include <optional>
#include <string>
#include <vector>

#include "templates/template_library.h"
#include "ui/widgets.h"

namespace trelik {

// What the user chose for a folder that becomes a template from the file manager: the
// template's name and what the editor records for it.
struct TemplateFromFolder {
  std::string name;
  TemplateLibrary::Recorded recorded;
};

// Asks, in a window of its own, for the template's name (`folderName` offered), its main file
// among `files` and its two options; nullopt when cancelled.
std::optional<TemplateFromFolder> AskTemplateFromFolder(Application& application,
                                                        const std::string& folderName,
                                                        const std::vector<std::string>& files);

}  // namespace trelik
