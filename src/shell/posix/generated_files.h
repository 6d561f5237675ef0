#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trelik {

// Where Trelik writes the desktop's files: the XDG data folder, and the templates folders its
// launcher templates may be in.
struct GeneratedPlaces {
  std::string dataHome;
  std::vector<std::string> templatesFolders;
};

// Whether a file that generated.list names is one that Trelik wrote, and so may replace or
// remove: it bears a name that Trelik gives, in the folder where it gives that name (the MIME
// package, the desktop entries, the Dolphin links and their launcher templates, the launcher
// templates of a templates folder, the icon), and `contents` are still what Trelik writes there
// (its header line, the launcher template's one byte, a PNG image). A line added to the list by
// hand, or a file the user has rewritten since, is not.
bool IsGeneratedFile(std::string_view path, std::string_view contents,
                     const GeneratedPlaces& places);

}  // namespace trelik
