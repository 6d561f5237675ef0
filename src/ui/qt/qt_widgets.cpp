#include "ui/qt/qt_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <optional>
#include <vector>

#include "common/ascii_case.h"
#include "common/error.h"
#include "ui/layout_plan.h"

namespace trelik {
namespace {

QString ToQt(const std::string& text) { return QString::fromStdString(text); }

// The layout was drawn with an 8-point font at 96 pixels per inch; the desktop's font family at
// that size keeps every caption inside its box.
QFont DesignFont() {
  QFont font = QApplication::font();
  font.setPixelSize(11);
  return font;
}

class QtForm;

// The dialog behind a form: routes closing, Escape and F1 to the form.
class FormDialog final : public QDialog {
 public:
  explicit FormDialog(QtForm& form) : form_(form) {}

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QtForm& form_;
};

class QtLabel final : public Label {
 public:
  void Attach(QLabel* label) { label_ = label; }
  void SetFocus() override { label_->setFocus(); }

 private:
  QLabel* label_ = nullptr;
};

// A label that reports clicks, for text links; the keyboard reaches it too, and then Enter or
// Space acts as a click.
class ClickableLabel final : public QLabel {
 public:
  ClickableLabel(QWidget* parent, std::function<void()> onClick)
      : QLabel(parent), onClick_(std::move(onClick)) {
    setFocusPolicy(Qt::TabFocus);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
      event->accept();
      onClick_();
      return;
    }
    QLabel::keyPressEvent(event);
  }
  void paintEvent(QPaintEvent* event) override {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
  }
  // A label passes presses on to its parent unless it takes them, and then hears no release.
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) event->accept();
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
      onClick_();
    }
  }

 private:
  std::function<void()> onClick_;
};

class QtButton final : public PushButton {
 public:
  explicit QtButton(QPushButton* button) : button_(button) {}
  void SetFocus() override { button_->setFocus(); }

 private:
  QPushButton* button_;
};

class QtCheckBox final : public CheckBox {
 public:
  explicit QtCheckBox(QCheckBox* box) : box_(box) {}
  void SetFocus() override { box_->setFocus(); }
  bool Checked() const override { return box_->isChecked(); }
  void SetChecked(bool checked) override { box_->setChecked(checked); }

 private:
  QCheckBox* box_;
};

class QtEdit final : public Edit {
 public:
  explicit QtEdit(QLineEdit* edit) : edit_(edit) {}
  void SetFocus() override { edit_->setFocus(); }
  std::string Text() const override { return edit_->text().toStdString(); }
  void SetText(const std::string& text) override { edit_->setText(ToQt(text)); }
  void SetCueText(const std::string& text) override { edit_->setPlaceholderText(ToQt(text)); }

 private:
  QLineEdit* edit_;
};

// A drop-down list that tells when it receives the focus, as the user reaches it.
class FocusReportingComboBox final : public QComboBox {
 public:
  FocusReportingComboBox(QWidget* parent, std::function<void()> onFocus)
      : QComboBox(parent), onFocus_(std::move(onFocus)) {}

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QComboBox::focusInEvent(event);
    // The focus coming back from the list's own popup is no new visit.
    if (event->reason() != Qt::PopupFocusReason) onFocus_();
  }

 private:
  std::function<void()> onFocus_;
};

// Names may hold bytes that are not UTF-8 (they come from the file system): each entry keeps its
// exact bytes as item data, and its shown text is only derived from them.
constexpr int kBytesRole = Qt::UserRole;

std::optional<QString> StrictUtf8(const std::string& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (decoder.hasError()) return std::nullopt;
  return text;
}

// Equal regardless of letter case: ASCII letters in any bytes, all letters in valid UTF-8 text.
bool SameName(const std::string& a, const std::string& b) {
  if (EqualIgnoringAsciiCase(a, b)) return true;
  const auto textA = StrictUtf8(a);
  const auto textB = StrictUtf8(b);
  return textA && textB && textA->compare(*textB, Qt::CaseInsensitive) == 0;
}

class QtComboBox final : public ComboBox {
 public:
  void Attach(QComboBox* box) { box_ = box; }
  void SetFocus() override { box_->setFocus(); }
  std::vector<std::string> Items() const override {
    std::vector<std::string> items;
    for (int i = 0; i < box_->count(); ++i) items.push_back(Bytes(i));
    return items;
  }
  void SetItems(const std::vector<std::string>& items) override {
    box_->clear();
    for (const auto& item : items) AddItem(item);
    box_->setCurrentIndex(-1);
  }
  void AddItem(const std::string& item) override {
    // Invalid sequences are shown as replacement characters.
    box_->addItem(ToQt(item), QByteArray(item.data(), static_cast<qsizetype>(item.size())));
  }
  void RemoveItem(int index) override {
    box_->removeItem(index);
    box_->setCurrentIndex(-1);
  }
  int SelectedIndex() const override { return box_->currentIndex(); }
  void SetSelectedIndex(int index) override { box_->setCurrentIndex(index); }
  int FindExact(const std::string& text) const override {
    for (int i = 0; i < box_->count(); ++i) {
      if (SameName(Bytes(i), text)) return i;
    }
    return kNone;
  }

 private:
  std::string Bytes(int index) const {
    return box_->itemData(index, kBytesRole).toByteArray().toStdString();
  }

  QComboBox* box_ = nullptr;
};

class QtGroupBox final : public GroupBox {
 public:
  QtGroupBox(QGroupBox* box, std::size_t index) : box_(box), index_(index) {}
  void SetFocus() override { box_->setFocus(); }
  QGroupBox* Widget() const { return box_; }
  std::size_t Index() const { return index_; }  // among the form's declared controls

 private:
  QGroupBox* box_;
  std::size_t index_;
};

class QtPassive final : public Control {
 public:
  explicit QtPassive(QWidget* widget) : widget_(widget) {}
  void SetFocus() override { widget_->setFocus(); }

 private:
  QWidget* widget_;
};

class QtForm final : public Form {
 public:
  QtForm(QtApplication& application, const FormArgs& args)
      : application_(application), args_(args), dialog_(std::make_unique<FormDialog>(*this)) {
    dialog_->setWindowTitle(ToQt(args.caption));
    dialog_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint);
    dialog_->setFixedSize(args.clientWidth, args.clientHeight);
    dialog_->setFont(DesignFont());
    if (args.colour == FormColour::kMenu) dialog_->setBackgroundRole(QPalette::Base);
    dialog_->setAutoFillBackground(true);
  }

  Label* AddLabel(const std::string& name, const LabelArgs& args) override {
    auto control = std::make_unique<QtLabel>();
    Label* label = control.get();
    QLabel* widget =
        args.link ? new ClickableLabel(Parent(args.parent),
                                       [this, label] { application_.Dispatch(label->onClick); })
                  : new QLabel(Parent(args.parent));
    widget->setText(ToQt(args.text));
    if (args.bold) {
      QFont font = widget->font();
      font.setBold(true);
      widget->setFont(font);
    }
    if (args.link) {
      widget->setCursor(Qt::PointingHandCursor);
      QPalette palette = widget->palette();
      // Text on a window whose background role is Base is drawn in the Text role.
      palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
      palette.setColor(QPalette::Text, palette.color(QPalette::Link));
      widget->setPalette(palette);
    }
    if (!args.tooltip.empty()) widget->setToolTip(ToQt(args.tooltip));
    Place(widget, name,
          {.kind = ControlKind::kLabel,
           .caption = args.text,
           .bounds = args.bounds,
           .link = args.link},
          args.parent);
    control->Attach(widget);
    return Keep(std::move(control));
  }

  PushButton* AddButton(const std::string& name, const ButtonArgs& args) override {
    auto* widget = new QPushButton(ToQt(args.text), Parent(args.parent));
    widget->setDefault(args.isDefault);
    Place(widget, name,
          {.kind = ControlKind::kButton,
           .caption = args.text,
           .bounds = args.bounds,
           .tabOrder = args.tabOrder},
          args.parent);
    auto control = std::make_unique<QtButton>(widget);
    PushButton* button = control.get();
    QObject::connect(widget, &QPushButton::clicked,
                     [this, button] { application_.Dispatch(button->onClick); });
    return Keep(std::move(control));
  }

  CheckBox* AddCheckBox(const std::string& name, const CheckBoxArgs& args) override {
    auto* widget = new QCheckBox(ToQt(args.text), Parent(args.parent));
    widget->setChecked(args.checked);
    Place(widget, name,
          {.kind = ControlKind::kCheckBox,
           .caption = args.text,
           .bounds = args.bounds,
           .tabOrder = args.tabOrder},
          args.parent);
    return Keep(std::make_unique<QtCheckBox>(widget));
  }

  Edit* AddEdit(const std::string& name, const EditArgs& args) override {
    auto* widget = new QLineEdit(Parent(args.parent));
    widget->setAccessibleName(ToQt(args.accessibleName));
    Place(widget, name,
          {.kind = ControlKind::kEdit, .bounds = args.bounds, .tabOrder = args.tabOrder},
          args.parent);
    return Keep(std::make_unique<QtEdit>(widget));
  }

  ComboBox* AddComboBox(const std::string& name, const ComboBoxArgs& args) override {
    auto control = std::make_unique<QtComboBox>();
    ComboBox* box = control.get();
    auto* widget = new FocusReportingComboBox(Parent(args.parent),
                                              [this, box] { application_.Dispatch(box->onEnter); });
    widget->setEditable(false);
    widget->setAccessibleName(ToQt(args.accessibleName));
    QObject::connect(widget, &QComboBox::activated,
                     [this, box] { application_.Dispatch(box->onChange); });
    Place(widget, name,
          {.kind = ControlKind::kComboBox, .bounds = args.bounds, .tabOrder = args.tabOrder},
          args.parent);
    control->Attach(widget);
    return Keep(std::move(control));
  }

  GroupBox* AddGroupBox(const std::string& name, const GroupBoxArgs& args) override {
    auto* widget = new QGroupBox(ToQt(args.text), dialog_.get());
    const std::size_t index = planned_.size();
    Place(widget, name,
          {.kind = ControlKind::kGroupBox,
           .caption = args.text,
           .bounds = args.bounds,
           .tabOrder = args.tabOrder},
          nullptr);
    return Keep(std::make_unique<QtGroupBox>(widget, index));
  }

  Control* AddProgramIcon(const std::string& name, const Bounds& bounds) override {
    auto* widget = new QLabel(dialog_.get());
    widget->setPixmap(QApplication::windowIcon().pixmap(bounds.width, bounds.height));
    Place(widget, name, {.kind = ControlKind::kPicture, .bounds = bounds}, nullptr);
    return Keep(std::make_unique<QtPassive>(widget));
  }

  void Show() override {
    if (dialog_->isVisible()) {
      dialog_->raise();
      dialog_->activateWindow();
      return;
    }
    Prepare();
    dialog_->setModal(false);
    dialog_->show();
    application_.Dispatch(onShow);
  }

  void ShowModal() override {
    Prepare();
    dialog_->setModal(true);
    dialog_->exec();
  }

  void Close() override { dialog_->close(); }
  bool Visible() const override { return dialog_->isVisible(); }
  NativeWindow Handle() const override { return dialog_.get(); }

  // Whether the window may go: the main window always, others when their handler succeeded.
  bool HandleClose() {
    const bool handled = application_.Dispatch(onClose);
    if (args_.isMainForm) QCoreApplication::quit();
    return handled || args_.isMainForm;
  }

  void HandleHelp() {
    if (onHelp) application_.Dispatch(onHelp);
  }
  bool EscapeCloses() const { return args_.escapeCloses; }

 private:
  QWidget* Parent(GroupBox* parent) const {
    if (parent != nullptr) return static_cast<QtGroupBox*>(parent)->Widget();
    return dialog_.get();
  }

  // Shown at its designed place until the first showing fits the whole form to the font.
  void Place(QWidget* widget, const std::string& name, PlannedControl planned, GroupBox* parent) {
    widget->setObjectName(ToQt(name));
    const Bounds& b = planned.bounds;
    widget->setGeometry(b.left, b.top, b.width, b.height);
    if (parent != nullptr) planned.group = static_cast<QtGroupBox*>(parent)->Index();
    planned_.push_back(std::move(planned));
    widgets_.push_back(widget);
  }

  // Labels and check boxes need their whole size hint (a check box's box included); buttons and
  // group boxes their caption and frame.
  TextExtent CaptionExtent(std::size_t index) const {
    constexpr int kCaptionFrame = 12;
    const QWidget& widget = *widgets_[index];
    const QFontMetrics metrics(widget.font());
    const ControlKind kind = planned_[index].kind;
    if (kind == ControlKind::kLabel || kind == ControlKind::kCheckBox) {
      return {widget.sizeHint().width(), metrics.height()};
    }
    return {metrics.horizontalAdvance(ToQt(planned_[index].caption)) + kCaptionFrame,
            metrics.height()};
  }

  // Qt scales to the screen by itself, so the plan is made at the designed 96 pixels per inch.
  void FitToFont() {
    constexpr int kDesignDpi = 96;
    const LayoutPlan plan = PlanLayout(planned_, args_.clientWidth, args_.clientHeight, kDesignDpi,
                                       [this](std::size_t index) { return CaptionExtent(index); });
    for (std::size_t i = 0; i < widgets_.size(); ++i) {
      Bounds b = plan.bounds[i];
      // A group's controls are the group box's children, placed relative to it.
      if (const std::size_t group = planned_[i].group; group != kNoGroup) {
        b.left -= plan.bounds[group].left;
        b.top -= plan.bounds[group].top;
      }
      widgets_[i]->setGeometry(b.left, b.top, b.width, b.height);
    }
    dialog_->setFixedSize(plan.clientWidth, plan.clientHeight);
  }

  template <typename T>
  T* Keep(std::unique_ptr<T> control) {
    T* raw = control.get();
    controls_.push_back(std::move(control));
    return raw;
  }

  // Centres the window at its first showing, fits it to the font and chains the tab order.
  void Prepare() {
    if (placed_) return;
    placed_ = true;
    std::vector<std::size_t> chain = TabChain(planned_);
    const std::vector<std::size_t> links = LinkChain(planned_);
    chain.insert(chain.end(), links.begin(), links.end());
    for (std::size_t i = 1; i < chain.size(); ++i) {
      QWidget::setTabOrder(widgets_[chain[i - 1]], widgets_[chain[i]]);
    }
    // As in a Windows dialog, the first stop has the focus until the window says otherwise.
    if (!chain.empty()) widgets_[chain.front()]->setFocus();
    FitToFont();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      dialog_->move(area.center() - dialog_->rect().center());
    }
  }

  QtApplication& application_;
  FormArgs args_;
  std::unique_ptr<FormDialog> dialog_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<PlannedControl> planned_;  // each control's declaration, and its widget beside
  std::vector<QWidget*> widgets_;
  bool placed_ = false;
};

void FormDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    form_.HandleHelp();
    return;
  }
  // No button of ours is a cancel button: Escape closes only the windows made to close by it.
  if (event->key() == Qt::Key_Escape) {
    if (form_.EscapeCloses()) close();
    return;
  }
  QDialog::keyPressEvent(event);
}

void FormDialog::closeEvent(QCloseEvent* event) {
  if (form_.HandleClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

// Returns the button pressed.
int ShowBox(QMessageBox::Icon icon, const std::string& text,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
            QMessageBox::StandardButton byDefault = QMessageBox::NoButton) {
  QMessageBox box(icon, Application::kTitle, ToQt(text), buttons);
  box.setDefaultButton(byDefault);
  return box.exec();
}

}  // namespace

QtApplication::QtApplication() { QApplication::setQuitOnLastWindowClosed(false); }

std::unique_ptr<Form> QtApplication::CreateForm(const FormArgs& args) {
  return std::make_unique<QtForm>(*this, args);
}

void QtApplication::ShowMessage(const std::string& text) { ShowBox(QMessageBox::NoIcon, text); }

bool QtApplication::AskQuestion(const std::string& text) {
  return ShowBox(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                 QMessageBox::No) == QMessageBox::Yes;
}

void QtApplication::ShowError(const std::string& message) {
  ShowBox(QMessageBox::Critical, FormatErrorBoxText(message));
}

void QtApplication::Run(Form& mainForm) {
  mainForm.Show();
  QApplication::exec();
}

}  // namespace trelik
