#include "ui/qt/qt_shell_windows.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <utility>

#include "common/error.h"
#include "library/ini_file.h"
#include "ui/widgets.h"

namespace trelik {
namespace {

// The bar counts in thousandths, so sizes beyond int range need no special care.
constexpr int kSteps = 1000;

// Where the picker keeps the folder chosen last, apart from the templates' own sections.
constexpr const char* kPickerSection = "folderpicker";
constexpr const char* kLastFolderKey = "last";

}  // namespace

bool QtFolderPicker::Pick(const std::string& title, std::string& folder) {
  TIniFile settings(settingsPath_);
  QString start = QString::fromStdString(settings.ReadText(kPickerSection, kLastFolderKey, ""));
  if (start.isEmpty() || !QFileInfo(start).isDir()) start = QDir::homePath();
  const QString chosen = QFileDialog::getExistingDirectory(nullptr, QString::fromStdString(title),
                                                           start, QFileDialog::ShowDirsOnly);
  folder = chosen.toStdString();
  if (folder.empty()) return false;
  try {
    settings.WriteText(kPickerSection, kLastFolderKey, folder);
  } catch (const Error&) {
    // Only the next start folder is lost; the pick itself stands.
  }
  return true;
}

ProgressWindowArgs DesktopUpdateProgress() {
  return {.text = "Bringing the file types and the New menu up to date…", .showAfterMs = 1000};
}

ProgressWindow::ProgressWindow(ProgressWindowArgs args) : args_(std::move(args)) {}
ProgressWindow::~ProgressWindow() = default;

bool ProgressWindow::Update(std::uint64_t done, std::uint64_t total) {
  if (!dialog_) {
    dialog_ = std::make_unique<QProgressDialog>();
    dialog_->setWindowTitle(Application::kTitle);
    dialog_->setLabelText(QString::fromStdString(args_.text));
    if (!args_.cancellable) dialog_->setCancelButton(nullptr);
    dialog_->setRange(0, kSteps);
    dialog_->setMinimumDuration(args_.showAfterMs);
    dialog_->setWindowModality(Qt::ApplicationModal);
    // The work ends at its next report, not at once: the window stays until it has.
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
  }
  const int step = total == 0 ? kSteps : static_cast<int>(done * kSteps / total);
  dialog_->setValue(step);  // a modal progress window repaints and hears Cancel from here
  const bool goOn = !dialog_->wasCanceled();
  if (done >= total) dialog_.reset();
  return goOn;
}

}  // namespace trelik
