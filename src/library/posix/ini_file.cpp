#include "library/ini_file.h"

#include "common/error.h"
#include "library/file_access.h"
#include "library/ini_text.h"

namespace trelik {
namespace {

// A missing or unreadable file reads as empty, like a missing section.
IniText LoadIni(const std::string& path) { return IniText(ReadWholeFile(path).bytes); }

// For a write the old content must be known: an existing file that cannot be read is never
// replaced by one holding only the new key.
IniText LoadIniForWrite(const std::string& path) {
  FileRead contents = ReadWholeFile(path);
  if (contents.failure && !IsMissingFile(contents.failure)) {
    throw Error("Unable to write to " + path);
  }
  return IniText(std::move(contents.bytes));
}

bool StoreIni(const std::string& path, const IniText& ini) {
  return !ReplaceFileAtomically(path, ini.Text());
}

}  // namespace

std::string TIniFile::ReadText(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
  return LoadIni(path_).Read(section, key, defaultValue);
}

IniSection TIniFile::ReadSection(std::string_view section) const {
  return LoadIni(path_).Section(section);
}

void TIniFile::WriteText(std::string_view section, std::string_view key, std::string_view value) {
  IniText ini = LoadIniForWrite(path_);
  ini.Write(section, key, value);
  if (!StoreIni(path_, ini)) throw Error("Unable to write to " + path_);
}

void TIniFile::RemoveKey(std::string_view section, std::string_view key) {
  IniText ini = LoadIni(path_);  // an unreadable file has no key to remove
  if (ini.Remove(section, key)) StoreIni(path_, ini);
}

// Every write above has already replaced the file on disk; nothing is held back to flush.
void TIniFile::FlushSettings() noexcept {}

}  // namespace trelik
