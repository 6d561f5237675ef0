#include "library/ini_file.h"

#include "library/flag_conversion.h"

namespace trelik {

bool TIniFile::ReadFlag(std::string_view section, std::string_view key, bool defaultValue) const {
  return FlagFromText(ReadText(section, key, ""), defaultValue);
}

void TIniFile::WriteFlag(std::string_view section, std::string_view key, bool value) {
  WriteText(section, key, value ? "1" : "0");
}

}  // namespace trelik
