#pragma once

#include <QElapsedTimer>
#include <cstdint>
#include <memory>
#include <string>

#include "ui/progress_window_args.h"

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

// The desktop's files being brought up to date for the file types: it only shows how far.
ProgressWindowArgs DesktopUpdateProgress();

// A progress window for work that takes more than a moment; quick work shows none. While it
// shows, it keeps the program's windows drawn and takes their input.
class ProgressWindow {
 public:
  explicit ProgressWindow(ProgressWindowArgs args);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Told `done` of `total`; (total, total) ends the work and closes the window. False once the
  // user pressed Cancel.
  bool Update(std::uint64_t done, std::uint64_t total);

 private:
  void MakeDialog();

  ProgressWindowArgs args_;
  QElapsedTimer started_;  // since the work's first report
  std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace trelik
