#include "entry_fields.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <QPainter>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionFrame>
#include <cmath>

#include "cp932.h"
#include "numfmt.h"

namespace hasorin {
namespace {

constexpr int kCaptionPadding = 6;

// Keeps a title within the CP932 byte limit and drops characters that the
// input file could not hold.
class Cp932TextValidator : public QValidator {
 public:
  Cp932TextValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}

  State validate(QString& input, int& pos) const override {
    QString kept;
    int bytes = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
      qsizetype len = input.at(i).isHighSurrogate() && i + 1 < input.size() ? 2 : 1;
      QString ch = input.mid(i, len);
      bool lossless = true;
      int size = int(EncodeCp932(ch, &lossless).size());
      if (lossless && (maxBytes_ <= 0 || bytes + size <= maxBytes_)) {
        kept += ch;
        bytes += size;
      } else if (i < pos) {
        pos -= int(len);
      }
      i += len - 1;
    }
    if (kept.size() != input.size()) {
      input = kept;
      pos = std::min<int>(pos, int(input.size()));
    }
    return Acceptable;
  }

 private:
  int maxBytes_;
};

// The control a click on `w` would give the focus to, as Qt chooses it: the
// nearest enabled widget up to the window that takes focus by clicking.
QWidget* ClickFocusTarget(QWidget* w) {
  for (; w; w = w->parentWidget()) {
    QWidget* f = w;
    while (f->focusProxy()) f = f->focusProxy();
    if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus &&
        (f->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus)
      return f;
    if (w->isWindow()) break;
  }
  return nullptr;
}

// Decimals a number pattern shows: the digit places after its point.
int PatternDecimals(const std::string& pattern) {
  const size_t point = pattern.find('.');
  if (point == std::string::npos) return 0;
  int n = 0;
  for (size_t i = point + 1; i < pattern.size() && (pattern[i] == '0' || pattern[i] == '#'); ++i) ++n;
  return n;
}

}  // namespace

// ---------------------------------------------------------------- EntryField

EntryField::EntryField(QWidget* parent) : QLineEdit(parent) {}

void EntryField::setCaption(const QString& caption) {
  caption_ = caption;
  UpdateMargins();
}

void EntryField::setCaptionWidth(int pixels) {
  captionWidth_ = pixels;
  UpdateMargins();
}

int EntryField::captionWidth() const {
  if (caption_.isEmpty()) return 0;
  if (captionWidth_ > 0) return captionWidth_;
  return fontMetrics().horizontalAdvance(caption_) + 2 * kCaptionPadding;
}

void EntryField::UpdateMargins() {
  setTextMargins(caption_.isEmpty() ? 0 : captionWidth() + 3, 0, 0, 0);
  updateGeometry();
  update();
}

void EntryField::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
    UpdateMargins();
}

void EntryField::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  if (caption_.isEmpty()) return;
  QStyleOptionFrame option;
  initStyleOption(&option);
  int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  QRect area(frame, frame, captionWidth(), height() - 2 * frame);
  QPainter painter(this);
  painter.fillRect(area, palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawLine(area.topRight(), area.bottomRight());
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::WindowText));
  painter.drawText(area.adjusted(kCaptionPadding, 0, -kCaptionPadding / 2, 0),
                   Qt::AlignLeft | Qt::AlignVCenter, caption_);
}

bool EntryField::RequestLeave() {
  if (validating_) return false;
  QPointer<EntryField> self(this);
  validating_ = true;
  bool keepFocus = false;
  emit Validate(keepFocus);
  if (self) validating_ = false;
  return !keepFocus;
}

bool EntryField::focusNextPrevChild(bool next) {
  if (!RequestLeave()) return true;
  return QLineEdit::focusNextPrevChild(next);
}

void EntryField::keyPressEvent(QKeyEvent* event) {
  const auto mods = event->modifiers() & ~Qt::KeypadModifier;
  if (mods == Qt::NoModifier) {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Down:
        focusNextPrevChild(true);
        event->accept();
        return;
      case Qt::Key_Up:
        focusNextPrevChild(false);
        event->accept();
        return;
      default:
        break;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void EntryField::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  qApp->installEventFilter(this);
}

bool EntryField::eventFilter(QObject* watched, QEvent* event) {
  // The window sees a click before the control under it: Qt moves the focus
  // on the way from the window to the control, too late to refuse it there.
  const QEvent::Type type = event->type();
  if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && hasFocus() &&
      watched == window()->windowHandle()) {
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    QWidget* under = window()->childAt(at);
    QWidget* target = under ? ClickFocusTarget(under) : nullptr;
    if (target && target != this) {
      const QVariant causes = target->property(kCausesValidation);
      if ((!causes.isValid() || causes.toBool()) && !RequestLeave()) {
        if (isVisible() && !hasFocus()) setFocus(Qt::OtherFocusReason);
        selectAll();
        return true;
      }
    }
  }
  return QLineEdit::eventFilter(watched, event);
}

void EntryField::focusOutEvent(QFocusEvent* event) {
  qApp->removeEventFilter(this);
  QLineEdit::focusOutEvent(event);
  // Keyboard moves were validated before the focus moved; a click or a
  // shortcut moves it first, so the check follows and may bring it back.
  if (event->reason() != Qt::MouseFocusReason && event->reason() != Qt::ShortcutFocusReason)
    return;
  QWidget* next = QApplication::focusWidget();
  if (!next || next->window() != window()) return;
  QVariant causes = next->property(kCausesValidation);
  if (causes.isValid() && !causes.toBool()) return;
  QMetaObject::invokeMethod(this, &EntryField::CheckAfterLeave, Qt::QueuedConnection);
}

void EntryField::CheckAfterLeave() {
  if (hasFocus() || !isVisible() || !isEnabled() || validating_) return;
  if (!window()->isActiveWindow() && QApplication::activeWindow()) return;
  if (!RequestLeave()) {
    setFocus(Qt::OtherFocusReason);
    selectAll();
  }
}

// --------------------------------------------------------------- NumberField

NumberField::NumberField(QWidget* parent) : EntryField(parent) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  connect(this, &QLineEdit::textEdited, this, &NumberField::OnTextEdited);
  UpdateValidator();
}

void NumberField::setRange(double lower, double upper) {
  lower_ = lower;
  upper_ = upper;
  UpdateValidator();
}

void NumberField::setPatterns(std::string display, std::string edit) {
  display_ = std::move(display);
  edit_ = std::move(edit);
  decimals_ = std::max(PatternDecimals(display_), PatternDecimals(edit_));
  UpdateValidator();
  ShowValue();
}

void NumberField::UpdateValidator() {
  // The digits after the point are those the field shows, so that what it
  // holds is what the user sees; a field without decimals takes no point.
  // The digits before it are not limited: a value too large for the field is
  // typed and then refused by the range check, with the range shown.
  QString re = lower_ < 0 ? "-?" : "";
  re += "[0-9]{0,15}";
  if (decimals_ > 0) re += QStringLiteral("(\\.[0-9]{0,%1})?").arg(decimals_);
  delete validator();
  setValidator(new QRegularExpressionValidator(QRegularExpression("^" + re + "$"), this));
}

void NumberField::setValue(std::optional<double> value) {
  if (value && !std::isfinite(*value)) value.reset();
  // Held as shown: rounded to the decimals of the patterns, as they round.
  if (value) {
    const std::string pattern = "0." + std::string(size_t(decimals_), '0');
    *value = QString::fromStdString(FormatNumber(*value, decimals_ > 0 ? pattern : "0")).toDouble();
  }
  bool changed = value != value_;
  value_ = value;
  typed_ = false;
  ShowValue();
  if (changed) emit ValueChanged();
}

bool NumberField::InRange() const {
  if (!value_) return true;
  return *value_ >= lower_ && *value_ <= upper_;
}

QString NumberField::RangeText() const {
  return QString::fromUtf8("入力範囲：" + FormatNumber(lower_, display_) + " ～ " +
                           FormatNumber(upper_, display_));
}

void NumberField::ShowValue() {
  if (typed_) return;
  if (!value_) {
    setText(QString());
    return;
  }
  setText(QString::fromStdString(FormatNumber(*value_, hasFocus() ? edit_ : display_)));
}

void NumberField::OnTextEdited(const QString& text) {
  QString t = text.trimmed();
  std::optional<double> value;
  bool ok = false;
  double v = t.toDouble(&ok);  // C locale: "." decimals, no grouping
  if (ok && std::isfinite(v)) value = v;
  typed_ = true;
  if (value != value_) {
    value_ = value;
    emit ValueChanged();
  }
}

void NumberField::focusInEvent(QFocusEvent* event) {
  EntryField::focusInEvent(event);
  ShowValue();
  if (event->reason() != Qt::MouseFocusReason) selectAll();
}

void NumberField::focusOutEvent(QFocusEvent* event) {
  EntryField::focusOutEvent(event);
  // A message box or another window taking the focus, or a value that is
  // refused, leaves the text as typed; a value that passes is shown formatted.
  const auto reason = event->reason();
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || !InRange()) return;
  typed_ = false;
  ShowValue();
}

// ----------------------------------------------------------------- TextField

TextField::TextField(QWidget* parent) : EntryField(parent) {
  setValidator(new Cp932TextValidator(0, this));
}

void TextField::setMaxBytes(int bytes) {
  maxBytes_ = bytes;
  delete validator();
  setValidator(new Cp932TextValidator(bytes, this));
}

// -------------------------------------------------------------- OptionButton

void OptionButton::focusInEvent(QFocusEvent* event) {
  QRadioButton::focusInEvent(event);
  if (event->reason() != Qt::TabFocusReason && event->reason() != Qt::BacktabFocusReason) return;
  QButtonGroup* options = group();
  QAbstractButton* selected = options ? options->checkedButton() : nullptr;
  if (selected && selected != this && selected->isEnabled()) selected->setFocus(event->reason());
}

}  // namespace hasorin
