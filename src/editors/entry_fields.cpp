#include "entry_fields.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QKeyEvent>
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

void EntryField::focusOutEvent(QFocusEvent* event) {
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
  UpdateValidator();
  ShowValue();
}

void NumberField::UpdateValidator() {
  // Neither the digits before nor after the point are limited by the
  // patterns: a value that does not fit its field is typed and then refused
  // by the range check, with the range shown.
  QString re = lower_ < 0 ? "-?" : "";
  re += "[0-9]{0,15}(\\.[0-9]{0,15})?";
  delete validator();
  setValidator(new QRegularExpressionValidator(QRegularExpression("^" + re + "$"), this));
}

void NumberField::setValue(std::optional<double> value) {
  if (value && !std::isfinite(*value)) value.reset();
  bool changed = value != value_;
  value_ = value;
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
