// The baseline for start-up time and memory: the least a Qt 6 program asking for a name needs,
// one line edit and one push button in a dialog, built with the same flags as Trelik.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle("Minimal Qt dialog");
  dialog.setFixedSize(368, 71);
  QLineEdit edit(&dialog);
  edit.setGeometry(8, 16, 257, 21);
  QPushButton button("Create", &dialog);
  button.setGeometry(286, 16, 75, 25);
  button.setDefault(true);
  QObject::connect(&button, &QPushButton::clicked, &dialog, &QDialog::accept);
  dialog.show();
  return QApplication::exec();
}
