#pragma once
// Single-line entry fields of the editors. Both kinds draw their caption
// inside the field, left of the value; Enter and Down move to the next field
// in tab order and Up to the previous one; before the focus leaves for
// another control of the same window they raise Validate, whose handler can
// keep the focus in the field (the editor frame connects its range check).
#include <QLineEdit>
#include <QRadioButton>
#include <optional>
#include <string>

namespace hasorin {

class EntryField : public QLineEdit {
  Q_OBJECT
 public:
  explicit EntryField(QWidget* parent = nullptr);

  void setCaption(const QString& caption);
  QString caption() const { return caption_; }
  // Width of the caption area in pixels; 0 fits the caption text. Editors give
  // the fields of one column the same width so that the values line up.
  void setCaptionWidth(int pixels);
  int captionWidth() const;

  // Raises Validate; true when the focus may leave the field.
  bool RequestLeave();

  // Buttons with this property set to false (Cancel, Help) take the focus
  // without validating the field that had it.
  static constexpr const char* kCausesValidation = "causesValidation";

 signals:
  // Raised when the focus is about to leave for another control of the same
  // window; setting keepFocus to true refuses the move.
  void Validate(bool& keepFocus);

 protected:
  bool focusNextPrevChild(bool next) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  // While the field has the focus: a click on another control of the window
  // is validated before that control sees it, and swallowed when refused.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void UpdateMargins();
  void CheckAfterLeave();

  QString caption_;
  int captionWidth_ = 0;
  bool validating_ = false;
};

// A number field: a real value or no value, lower and upper limits, a display
// pattern (shown while the field does not have the focus) and an edit pattern,
// both in the language of FormatNumber.
class NumberField : public EntryField {
  Q_OBJECT
 public:
  explicit NumberField(QWidget* parent = nullptr);

  void setRange(double lower, double upper);
  double lower() const { return lower_; }
  double upper() const { return upper_; }
  void setPatterns(std::string display, std::string edit);
  const std::string& displayPattern() const { return display_; }
  const std::string& editPattern() const { return edit_; }

  // The value as typed; nullopt while the field is empty (or holds only a sign).
  // It never has more decimals than the patterns show: extra digits are
  // refused as they are typed, and a value set here is rounded as it is shown.
  std::optional<double> value() const { return value_; }
  void setValue(std::optional<double> value);
  int decimals() const { return decimals_; }
  // True when the field is empty or its value lies within the limits
  // (the limits themselves included).
  bool InRange() const;
  // "入力範囲：" + lower + " ～ " + upper, each in the display pattern.
  QString RangeText() const;

 signals:
  void ValueChanged();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void ShowValue();
  void OnTextEdited(const QString& text);
  void UpdateValidator();

  double lower_ = 0, upper_ = 0;
  std::string display_ = "0", edit_ = "0";
  int decimals_ = 0;
  std::optional<double> value_;
  // The text is the user's own: it is shown exactly as typed (a refused value
  // included) until the field is left with a value that passes.
  bool typed_ = false;
};

// A text field whose length is limited in CP932 bytes, that is print columns:
// a full-width character counts two, a half-width one. Characters that the
// input file (CP932) cannot hold are refused as they are typed.
class TextField : public EntryField {
  Q_OBJECT
 public:
  explicit TextField(QWidget* parent = nullptr);
  // 0: no limit.
  void setMaxBytes(int bytes);
  int maxBytes() const { return maxBytes_; }

 private:
  int maxBytes_ = 0;
};

// A button of an option group. Tabbing into the group lands on its selected
// button, as users of option groups expect, rather than on the first one.
class OptionButton : public QRadioButton {
  Q_OBJECT
 public:
  using QRadioButton::QRadioButton;

 protected:
  void focusInEvent(QFocusEvent* event) override;
};

}  // namespace hasorin
