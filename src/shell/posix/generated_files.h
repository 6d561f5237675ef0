#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trelik {

// Where Trelik writes the desktop's files: the XDG data folder, the templates folders its
// launcher templates may be in, and the XDG config folder, in the user's home.
struct GeneratedPlaces {
  std::string dataHome;
  std::vector<std::string> templatesFolders;
  std::string configHome;
  std::string home;
};

// Whether a file that generated.list names is one that Trelik wrote, and so may replace or
// remove: it bears a name that Trelik gives, in the folder where it gives that name (the MIME
// package, the desktop entries, the Dolphin links and their launcher templates, the launcher
// templates of a templates folder, the icon), and `contents` are still what Trelik writes there
// (its header line, the launcher template's one byte, a PNG image). A line added to the list by
// hand, or a file the user has rewritten since, is not.
bool IsGeneratedFile(std::string_view path, std::string_view contents,
                     const GeneratedPlaces& places);

// generated.list also records each folder that Trelik made for its files, as the folder's path
// and this mark, so that the folder can go with them when it is left empty.
inline constexpr char kFolderMark = '/';

// Whether a folder that generated.list names is one Trelik may have made: a folder in the home
// on the way to a folder where Trelik writes. A line added to the list by hand names another.
bool IsGeneratedFolder(std::string_view folder, const GeneratedPlaces& places);

// The files that the desktop's tools build in a folder of Trelik's from the files in it
// (update-mime-database in dataHome/mime, update-desktop-database in dataHome/applications):
// they go with the folder once nothing else is left in it.
std::vector<std::string_view> ToolCachesIn(std::string_view folder, const GeneratedPlaces& places);

}  // namespace trelik
