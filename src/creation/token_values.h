#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/path_parts.h"
#include "creation/tokens.h"

namespace trelik {

struct LocalTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;
  int hour = 0;
  int minute = 0;
};

// The local date and time now.
LocalTime CurrentLocalTime();

// "date" (YYYY-MM-DD), "year" and "time" (HH-MM: no colon, so that it can stand in a file name).
TokenValues TimeTokens(const LocalTime& now);

// What a project's names are when its tokens are filled.
struct ProjectNames {
  std::string templateName;
  std::string folder;                    // the name the project's folder arrives under
  std::optional<std::string> typedFile;  // the typed file part, when it names the main file
  std::string mainFile;                  // the recorded main file, its own tokens unfilled
};

// The values that fill one project's tokens. The user's name is asked of the system only for a
// text that holds its token: on Windows the asking loads a library.
class ProjectTokens {
 public:
  ProjectTokens(TokenValues known, std::function<std::string()> userName);

  // The values to fill `text` with.
  const TokenValues& For(std::string_view text);
  // The values to fill every one of `texts` with.
  const TokenValues& ForAll(const std::vector<std::string>& texts);

 private:
  friend ProjectTokens TokensFor(const ProjectNames&, const LocalTime&,
                                 std::function<std::string()>, const PathSeparators&);
  TokenValues values_;
  std::function<std::string()> userName_;
};

// Every token of a project: the time tokens, "template", "folder", "user", and "file": the
// typed file part, else the main file's filled name without its extension (unless the main
// file's name holds that token itself).
ProjectTokens TokensFor(const ProjectNames& names, const LocalTime& now,
                        std::function<std::string()> userName, const PathSeparators& separators);

}  // namespace trelik
