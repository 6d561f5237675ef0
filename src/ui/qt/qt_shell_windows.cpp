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

// The window is made only once the work has gone on for as long as it waits before showing: most
// work ends sooner, and the window's widgets would cost every start of the program, whose
// desktop check reports its progress too.
bool ProgressWindow::Update(std::uint64_t done, std::uint64_t total) {
  const bool finished = done >= total;
  if (!started_.isValid()) started_.start();
  if (!dialog_ && !finished && started_.elapsed() >= args_.showAfterMs) MakeDialog();
  bool goOn = true;
  if (dialog_) {
    dialog_->setValue(total == 0 ? kSteps : static_cast<int>(done * kSteps / total));
    goOn = !dialog_->wasCanceled();  // a modal progress window repaints and hears Cancel here
  }
  if (finished) {
    dialog_.reset();
    started_.invalidate();
  }
  return goOn;
}

void ProgressWindow::MakeDialog() {
  dialog_ = std::make_unique<QProgressDialog>();
  dialog_->setWindowTitle(Application::kTitle);
  dialog_->setLabelText(QString::fromStdString(args_.text));
  if (!args_.cancellable) dialog_->setCancelButton(nullptr);
  dialog_->setRange(0, kSteps);
  // Its time to wait is over: it shows at the first progress it is told.
  dialog_->setMinimumDuration(0);
  dialog_->setWindowModality(Qt::ApplicationModal);
  // The work ends at its next report, not at once: the window stays until it has.
  dialog_->setAutoReset(false);
  dialog_->setAutoClose(false);
}

}  // namespace trelik
