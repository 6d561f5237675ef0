#include "ui/qt/qt_shell_windows.h"

#include <QFileDialog>
#include <QProgressDialog>

#include "ui/widgets.h"

namespace trelik {
namespace {

// The bar counts in thousandths, so sizes beyond int range need no special care.
constexpr int kSteps = 1000;

}  // namespace

bool PickFolderWithQt(const std::string& title, std::string& folder) {
  const QString chosen = QFileDialog::getExistingDirectory(nullptr, QString::fromStdString(title),
                                                           QString(), QFileDialog::ShowDirsOnly);
  folder = chosen.toStdString();
  return !folder.empty();
}

CopyProgressWindow::CopyProgressWindow() = default;
CopyProgressWindow::~CopyProgressWindow() = default;

void CopyProgressWindow::Update(std::uint64_t done, std::uint64_t total) {
  if (!dialog_) {
    dialog_ = std::make_unique<QProgressDialog>();
    dialog_->setWindowTitle(Application::kTitle);
    dialog_->setLabelText(QProgressDialog::tr("Copying…"));
    dialog_->setCancelButton(nullptr);
    dialog_->setRange(0, kSteps);
    dialog_->setMinimumDuration(500);
    dialog_->setWindowModality(Qt::ApplicationModal);
  }
  const int step = total == 0 ? kSteps : static_cast<int>(done * kSteps / total);
  dialog_->setValue(step);  // a modal progress window repaints from here
  if (done >= total) dialog_.reset();
}

}  // namespace trelik
