#include "library/template_name.h"

#include "common/blank.h"
#include "common/file_name_rules.h"

namespace trelik {

std::optional<std::string> TemplateNameProblem(std::string_view name,
                                               const PathSeparators& separators) {
  if (name.empty()) return "the folder has no name";
  // The launcher's extension starts at the last dot, so a dot would cut the name short.
  if (name.find('.') != std::string_view::npos) return "the name holds a dot";
  if (IsBlank(name.front()) || IsBlank(name.back())) {
    return "the name begins or ends with a blank";
  }
  if (name.find('=') != std::string_view::npos) return "the name holds \"=\"";
  if (name.front() == ';' || name.front() == '[') {
    return std::string("the name begins with \"").append(1, name.front()).append("\"");
  }
  if (auto problem = FileNameProblem(name, separators)) {
    return "the name cannot be a file name: " + *problem;
  }
  // Desktop file-type patterns would read these as wildcards.
  if (separators.joiner == '/' && name.find_first_of("*?[]") != std::string_view::npos) {
    return "the name holds one of the characters * ? [ ]";
  }
  return std::nullopt;
}

}  // namespace trelik
