#include "library/ini_file.h"

#include "common/system_error.h"
#include "library/file_access.h"
#include "library/flag_conversion.h"

namespace trelik {

bool TIniFile::ReadFlag(std::string_view section, std::string_view key, bool defaultValue) const {
  return FlagFromText(ReadText(section, key, ""), defaultValue);
}

std::optional<std::string> TIniFile::ReadProblem() const {
  const FileRead read = ReadWholeFile(path_);
  if (!read.failure || IsMissingFile(read.failure)) return std::nullopt;
  return SystemErrorText(read.failure);
}

void TIniFile::WriteFlag(std::string_view section, std::string_view key, bool value) {
  WriteText(section, key, value ? "1" : "0");
}

}  // namespace trelik
