#pragma once

#include <cstdint>
#include <memory>
#include <string>

class QProgressDialog;

namespace trelik {

// The folder picker of the Linux build: the desktop's own folder dialog. It starts in the folder
// chosen last time, kept in the settings file at `settingsPath`, else in the home folder.
class QtFolderPicker {
 public:
  explicit QtFolderPicker(std::string settingsPath) : settingsPath_(std::move(settingsPath)) {}

  // True with `folder` set to the chosen path (no trailing slash) unless the user cancelled.
  bool Pick(const std::string& title, std::string& folder);

 private:
  std::string settingsPath_;
};

// A progress window for a folder copy that takes more than a moment, with a Cancel button; a
// quick copy shows none.
class CopyProgressWindow {
 public:
  CopyProgressWindow();
  ~CopyProgressWindow();
  CopyProgressWindow(const CopyProgressWindow&) = delete;
  CopyProgressWindow& operator=(const CopyProgressWindow&) = delete;

  // Told `done` of `total` bytes; (total, total) ends the copy and closes the window. False
  // once the user pressed Cancel.
  bool Update(std::uint64_t done, std::uint64_t total);

 private:
  std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace trelik
