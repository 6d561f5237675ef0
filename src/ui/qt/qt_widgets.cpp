#include "ui/qt/qt_widgets.h"

#include <QAbstractButton>
#include <QAbstractItemView>
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
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "common/error.h"
#include "ui/layout_plan.h"

namespace trelik {
namespace {

QString ToQt(const std::string& text) { return QString::fromStdString(text); }

QFont Bold(QFont font) {
  font.setBold(true);
  return font;
}

// The layout was drawn with an 8-point font at 96 pixels per inch; the desktop's font family at
// that size keeps every caption inside its box.
QFont DesignFont() {
  QFont font = QApplication::font();
  font.setPixelSize(kDesignFontHeight);
  return font;
}

class QtForm;

// The form that makes its controls' widgets when one of them is first needed.
class WidgetSource {
 public:
  virtual void MakeWidgets() const = 0;

 protected:
  ~WidgetSource() = default;
};

// The dialog behind a form: routes closing, Escape, F1 and its drawing to the form.
class FormDialog final : public QDialog {
 public:
  explicit FormDialog(QtForm& form) : form_(form) {}

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QtForm& form_;
};

// A control's native widget, which takes the focus for it. Whatever the program asks of the
// control first has the form make its widgets.
template <typename Interface, typename Widget = QWidget>
class QtControl : public Interface {
 public:
  explicit QtControl(const WidgetSource& form) : form_(form) {}
  void Attach(Widget* widget) { widget_ = widget; }
  void SetFocus() override { Native()->setFocus(); }
  void SetEnabled(bool enabled) override { Native()->setEnabled(enabled); }
  bool Enabled() const override { return Native()->isEnabled(); }

 protected:
  Widget* Native() const {
    form_.MakeWidgets();
    return widget_;
  }

 private:
  const WidgetSource& form_;
  Widget* widget_ = nullptr;
};

class QtCheckBox final : public QtControl<CheckBox, QCheckBox> {
 public:
  using QtControl::QtControl;
  bool Checked() const override { return Native()->isChecked(); }
  void SetChecked(bool checked) override { Native()->setChecked(checked); }
};

// A text link: drawn as a label is, in the link colour, and reached by the keyboard, where Enter
// or Space acts as a click, as does its access key. It is a button rather than a QLabel: a label
// that takes the focus lays its text out as a rich-text document, which cost every start a
// millisecond and more for the main window's four links.
class TextLink final : public QAbstractButton {
 public:
  TextLink(QWidget* parent, std::function<void()> onClick)
      : QAbstractButton(parent), onClick_(std::move(onClick)) {
    setFocusPolicy(Qt::TabFocus);
    setForegroundRole(QPalette::Link);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, [this] { onClick_(); });
  }

  QSize sizeHint() const override { return fontMetrics().size(Qt::TextShowMnemonic, text()); }

 protected:
  // The access key acts at once, as a click does; a button would wait for its pressed look.
  bool event(QEvent* event) override {
    if (event->type() != QEvent::Shortcut) return QAbstractButton::event(event);
    setFocus(Qt::ShortcutFocusReason);
    onClick_();
    return true;
  }
  void keyPressEvent(QKeyEvent* event) override {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      event->accept();
      onClick_();
      return;
    }
    QAbstractButton::keyPressEvent(event);
  }
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    const bool underline = style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this) != 0;
    painter.drawItemText(rect(),
                         Qt::AlignLeft | Qt::AlignVCenter |
                             (underline ? Qt::TextShowMnemonic : Qt::TextHideMnemonic),
                         palette(), isEnabled(), text(), foregroundRole());
    if (!hasFocus()) return;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
  }

 private:
  std::function<void()> onClick_;
};

// Text that may change: one line, cut short with an ellipsis where it does not fit, and the
// description of the control it describes, if any.
class OneLineLabel final : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawText(contentsRect(), static_cast<int>(alignment()),
                     fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width()));
  }
};

class QtLabel final : public QtControl<Label, QLabel> {
 public:
  using QtControl::QtControl;
  std::string Text() const override { return Native()->text().toStdString(); }
  void SetText(const std::string& text) override {
    Native()->setText(ToQt(text));
    Describe();
  }
  // The control whose description this label's text is, once both widgets are made.
  void Describes(QWidget* described) { described_ = described; }

 private:
  void Describe() {
    if (described_ != nullptr) described_->setAccessibleDescription(Native()->text());
  }

  QWidget* described_ = nullptr;
};

class QtLink final : public QtControl<Label, TextLink> {
 public:
  using QtControl::QtControl;
  std::string Text() const override { return Native()->text().toStdString(); }
  void SetText(const std::string& text) override { Native()->setText(ToQt(text)); }
};

// Alt with a letter is an access key, or nothing, as in a Windows edit box: never typed text.
class NameEdit final : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier) &&
        !event->text().isEmpty()) {
      event->ignore();
      return;
    }
    QLineEdit::keyPressEvent(event);
  }
};

class QtEdit final : public QtControl<Edit, QLineEdit> {
 public:
  using QtControl::QtControl;
  std::string Text() const override { return Native()->text().toStdString(); }
  void SetText(const std::string& text) override { Native()->setText(ToQt(text)); }
  void SetCueText(const std::string& text) override { Native()->setPlaceholderText(ToQt(text)); }
};

// A drop-down list that tells when it receives the focus, as the user reaches it. It opens at
// least kDroppedRows entries high and as wide as its longest entry, within the screen; Qt's
// own search by typing already finds an entry by its first letters.
class FocusReportingComboBox final : public QComboBox {
 public:
  FocusReportingComboBox(QWidget* parent, std::function<void()> onFocus)
      : QComboBox(parent), onFocus_(std::move(onFocus)) {
    setMaxVisibleItems(ComboBox::kDroppedRows);
  }

  void showPopup() override {
    QAbstractItemView* list = view();
    int wide = list->sizeHintForColumn(0) + 2 * list->frameWidth() +
               style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    if (const QScreen* shown = screen()) wide = std::min(wide, shown->availableGeometry().width());
    list->setMinimumWidth(wide);
    QComboBox::showPopup();
  }

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QComboBox::focusInEvent(event);
    // The focus coming back from the list's own popup is no new visit.
    if (event->reason() != Qt::PopupFocusReason) onFocus_();
  }

 private:
  std::function<void()> onFocus_;
};

// Invalid sequences in an entry are shown as replacement characters.
class QtComboBox final : public QtControl<ComboBox, QComboBox> {
 public:
  using QtControl::QtControl;
  int SelectedIndex() const override { return Native()->currentIndex(); }
  void SetSelectedIndex(int index) override { Native()->setCurrentIndex(index); }

 private:
  bool AddNative(const std::string& item) override {
    Native()->addItem(ToQt(item));
    return true;
  }
  void RemoveNative(int index) override { Native()->removeItem(index); }
  void ClearNative() override { Native()->clear(); }
};

class QtForm final : public Form, public WidgetSource {
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

  // A hidden window's widgets cost nothing until it is shown or the program asks for one of its
  // controls or its window: a window the user never opens never makes them.
  void MakeWidgets() const override {
    if (widgetsMade_) return;
    widgetsMade_ = true;
    for (std::size_t index = 0; index < makers_.size(); ++index) MakeWidget(index);
  }

  void Show() override {
    if (dialog_->isVisible()) {
      dialog_->raise();
      dialog_->activateWindow();
      return;
    }
    Prepare();
    dialog_->setModal(false);
    drawingAwaited_ = true;
    dialog_->show();
    application_.Dispatch(onShow);
  }

  // The first drawing after a showing: onShown runs once it has reached the screen.
  void HandlePainted() {
    if (!std::exchange(drawingAwaited_, false) || !onShown) return;
    QTimer::singleShot(0, dialog_.get(), [this] { application_.Dispatch(onShown); });
  }

  void ShowModal() override {
    Prepare();
    dialog_->setModal(true);
    dialog_->exec();
  }

  void Close() override { dialog_->close(); }
  bool Visible() const override { return dialog_->isVisible(); }
  NativeWindow Handle() const override {
    MakeWidgets();
    return dialog_.get();
  }

  // Whether the window may go: when it did not say no, the main window always, others when their
  // handler succeeded.
  bool HandleClose() {
    if (!application_.MayClose(*this)) return false;
    const bool handled = application_.Dispatch(onClose);
    if (args_.isMainForm) QCoreApplication::quit();
    return handled || args_.isMainForm;
  }

  void HandleHelp() {
    if (onHelp) application_.Dispatch(onHelp);
  }
  // Whether Escape closes the window; the window's own Escape handler runs first, if any.
  bool HandleEscape() {
    if (onEscape) application_.Dispatch(onEscape);
    return !onEscape && args_.escapeCloses;
  }

 private:
  std::unique_ptr<Control> Create(const DeclaredControl& declared) override {
    const PlannedControl& planned = declared.planned;
    const QString caption = ToQt(planned.caption);
    const QString marked = ToQt(declared.MarkedCaption());
    switch (planned.kind) {
      case ControlKind::kLabel:
        return MakeLabel(declared);
      case ControlKind::kButton: {
        const bool isDefault = declared.isDefault;
        return Defer(std::make_unique<QtControl<PushButton>>(*this),
                     [this, marked, isDefault](QWidget* parent, PushButton& button) {
                       auto* widget = new QPushButton(marked, parent);
                       widget->setDefault(isDefault);
                       QObject::connect(widget, &QPushButton::clicked,
                                        [this, &button] { application_.Dispatch(button.onClick); });
                       return widget;
                     });
      }
      case ControlKind::kCheckBox: {
        const bool checked = declared.checked;
        return Defer(std::make_unique<QtCheckBox>(*this),
                     [marked, checked](QWidget* parent, auto&) {
                       auto* widget = new QCheckBox(marked, parent);
                       widget->setChecked(checked);
                       return widget;
                     });
      }
      case ControlKind::kEdit: {
        const QString name = ToQt(declared.accessibleName);
        return Defer(std::make_unique<QtEdit>(*this), [this, name](QWidget* parent, Edit& edit) {
          auto* widget = new NameEdit(parent);
          widget->setAccessibleName(name);
          QObject::connect(widget, &QLineEdit::textChanged,
                           [this, &edit] { application_.Dispatch(edit.onChange); });
          return widget;
        });
      }
      case ControlKind::kComboBox: {
        const QString name = ToQt(declared.accessibleName);
        return Defer(std::make_unique<QtComboBox>(*this),
                     [this, name](QWidget* parent, ComboBox& box) {
                       auto* widget = new FocusReportingComboBox(
                           parent, [this, &box] { application_.Dispatch(box.onEnter); });
                       widget->setEditable(false);
                       widget->setAccessibleName(name);
                       QObject::connect(widget, &QComboBox::activated,
                                        [this, &box] { application_.Dispatch(box.onChange); });
                       return widget;
                     });
      }
      case ControlKind::kGroupBox:
        return Defer(std::make_unique<QtControl<GroupBox>>(*this),
                     [caption](QWidget* parent, auto&) { return new QGroupBox(caption, parent); });
      case ControlKind::kPicture: {
        const Bounds size = planned.bounds;
        return Defer(std::make_unique<QtControl<Control>>(*this), [size](QWidget* parent, auto&) {
          auto* widget = new QLabel(parent);
          widget->setPixmap(QApplication::windowIcon().pixmap(size.width, size.height));
          return widget;
        });
      }
    }
    return nullptr;
  }

  std::unique_ptr<Control> MakeLabel(const DeclaredControl& declared) {
    const std::size_t describes = declared.describes;
    const bool link = declared.planned.link;
    const bool bold = declared.bold;
    // A link shows its access key marked; a plain label its text as it stands.
    const QString text = ToQt(link ? declared.MarkedCaption() : declared.planned.caption);
    const QString tooltip = ToQt(declared.tooltip);
    if (link) {
      return Defer(std::make_unique<QtLink>(*this), [=, this](QWidget* parent, QtLink& label) {
        auto* widget =
            new TextLink(parent, [this, &label] { application_.Dispatch(label.onClick); });
        widget->setText(text);
        if (bold) widget->setFont(Bold(widget->font()));
        if (!tooltip.isEmpty()) widget->setToolTip(tooltip);
        return widget;
      });
    }
    return Defer(std::make_unique<QtLabel>(*this), [=, this](QWidget* parent, QtLabel& label) {
      QLabel* widget = describes != kNoGroup ? new OneLineLabel(parent) : new QLabel(parent);
      widget->setText(text);
      if (describes != kNoGroup) {
        label.Describes(widgets_[describes]);
        widgets_[describes]->setAccessibleDescription(text);
      }
      if (bold) widget->setFont(Bold(widget->font()));
      if (!tooltip.isEmpty()) widget->setToolTip(tooltip);
      return widget;
    });
  }

  // Keeps how to make the widget of the control just declared, and makes it at once when the
  // form's widgets are already made. `make` sets what the declaration says; what the program
  // sets later goes to the widget itself.
  template <typename T, typename Make>
  std::unique_ptr<Control> Defer(std::unique_ptr<T> control, Make make) {
    makers_.push_back([control = control.get(), make = std::move(make)](QWidget* parent) {
      auto* widget = make(parent, *control);
      control->Attach(widget);
      return static_cast<QWidget*>(widget);
    });
    if (widgetsMade_) MakeWidget(makers_.size() - 1);
    return control;
  }

  // Shown at its designed place until the first showing fits the whole form to the font.
  void MakeWidget(std::size_t index) const {
    const DeclaredControl& declared = Controls()[index];
    const std::size_t group = declared.planned.group;
    QWidget* widget = makers_[index](group == kNoGroup ? dialog_.get() : widgets_[group]);
    widget->setObjectName(ToQt(declared.name));
    const Bounds& b = declared.planned.bounds;
    widget->setGeometry(b.left, b.top, b.width, b.height);
    widgets_.push_back(widget);
  }

  // Labels and check boxes need their whole size hint (a check box's box included); buttons and
  // group boxes their caption and frame.
  TextExtent CaptionExtent(std::size_t index) const {
    const QWidget& widget = *widgets_[index];
    const QFontMetrics metrics(widget.font());
    const PlannedControl& planned = Controls()[index].planned;
    if (planned.kind == ControlKind::kLabel || planned.kind == ControlKind::kCheckBox) {
      return {widget.sizeHint().width(), metrics.height()};
    }
    return {metrics.horizontalAdvance(ToQt(planned.caption)) + CaptionMargin(planned.kind),
            metrics.height()};
  }

  // Qt scales to the screen by itself, so the plan is made at the design DPI.
  void FitToFont() {
    const LayoutPlan plan = PlanLayout(Planned(), args_.clientWidth, args_.clientHeight, kDesignDpi,
                                       [this](std::size_t index) { return CaptionExtent(index); });
    for (std::size_t i = 0; i < widgets_.size(); ++i) {
      Bounds b = plan.bounds[i];
      // A group's controls are the group box's children, placed relative to it.
      if (const std::size_t group = Controls()[i].planned.group; group != kNoGroup) {
        b.left -= plan.bounds[group].left;
        b.top -= plan.bounds[group].top;
      }
      widgets_[i]->setGeometry(b.left, b.top, b.width, b.height);
    }
    dialog_->setFixedSize(plan.clientWidth, plan.clientHeight);
  }

  // Centres the window at its first showing, fits it to the font and chains the tab order.
  void Prepare() {
    if (placed_) return;
    placed_ = true;
    MakeWidgets();
    QWidget* previous = nullptr;
    for (const KeyboardStop& stop : KeyboardOrder(Planned())) {
      if (!stop.reached) break;
      QWidget* widget = widgets_[stop.index];
      // As in a Windows dialog, the first stop has the focus until the window says otherwise.
      if (previous == nullptr) widget->setFocus();
      if (previous != nullptr) QWidget::setTabOrder(previous, widget);
      previous = widget;
    }
    FitToFont();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      dialog_->move(area.center() - dialog_->rect().center());
    }
  }

  QtApplication& application_;
  FormArgs args_;
  std::unique_ptr<FormDialog> dialog_;
  // How to make each declared control's widget, and the widgets made, at its index.
  std::vector<std::function<QWidget*(QWidget*)>> makers_;
  mutable std::vector<QWidget*> widgets_;
  mutable bool widgetsMade_ = false;
  bool placed_ = false;
  bool drawingAwaited_ = false;  // shown, and not drawn since
};

void FormDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    form_.HandleHelp();
    return;
  }
  // No button of ours is a cancel button: Escape closes only the windows made to close by it.
  if (event->key() == Qt::Key_Escape) {
    if (form_.HandleEscape()) close();
    return;
  }
  QDialog::keyPressEvent(event);
}

void FormDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  form_.HandlePainted();
}

void FormDialog::closeEvent(QCloseEvent* event) {
  if (form_.HandleClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

// The window a box belongs to: the given form while it is shown, else the program's active one.
QWidget* BoxOwner(const Form* owner) {
  if (owner != nullptr && owner->Visible()) return static_cast<QWidget*>(owner->Handle());
  return QApplication::activeWindow();
}

// Returns the button pressed. A dialog of its owner's: X11 window managers and Wayland
// compositors place it over that window, and offer it neither minimise nor maximise.
int ShowBox(QWidget* owner, QMessageBox::Icon icon, const std::string& text,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
            QMessageBox::StandardButton byDefault = QMessageBox::NoButton) {
  QMessageBox box(
      icon, Application::kTitle, ToQt(text), buttons, owner,
      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  box.setDefaultButton(byDefault);
  return box.exec();
}

}  // namespace

QtApplication::QtApplication() { QApplication::setQuitOnLastWindowClosed(false); }

std::unique_ptr<Form> QtApplication::CreateForm(const FormArgs& args) {
  return std::make_unique<QtForm>(*this, args);
}

void QtApplication::ShowMessage(const Form* owner, const std::string& text) {
  ShowBox(BoxOwner(owner), QMessageBox::NoIcon, text);
}

bool QtApplication::AskQuestion(const Form* owner, const std::string& text) {
  return ShowBox(BoxOwner(owner), QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                 QMessageBox::No) == QMessageBox::Yes;
}

Answer QtApplication::AskYesNoCancel(const Form* owner, const std::string& text) {
  switch (ShowBox(BoxOwner(owner), QMessageBox::Question, text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}

void QtApplication::ShowError(const std::string& message) {
  ShowBox(BoxOwner(nullptr), QMessageBox::Critical, FormatErrorBoxText(message));
}

void QtApplication::Run(Form& mainForm) {
  mainForm.Show();
  QApplication::exec();
}

}  // namespace trelik
