#include "pile_columns.h"

#include <QRegularExpression>
#include <cmath>

#include "numfmt.h"

namespace hasorin {

const std::array<PileColumn, kPileColumns>& PileColumns() {
  static const std::array<PileColumn, kPileColumns> columns = {{
      {"杭径Ｄ(m)", 1, 3, 0.1, 3.0, false, 0, "0.100"},
      {"板厚ｔ(mm)", 3, 1, 0, 999.9, false, 0, "0"},
      {"⊿ｔ(mm)", 2, 1, 0, 99.9, false, 0, "0"},
      {"Ａ(cm2)", 5, 2, 0.01, 99999.99, true, 0, "0.01"},
      {"Ｉ(cm4)", 8, 0, 1, 99999999, true, 9, "1"},
      {"Ｚ(cm3)", 8, 0, 1, 99999999, true, 9, "1"},
      {"ｈ(m)", 2, 2, 0, 99.99, false, 0, "0"},
      {"Ｌ(m)", 3, 2, 0.01, 99.99, false, 0, "0"},
      {"Ｘ(m)", 3, 3, -999.999, 999.999, false, 0, "0"},
      {"Ｙ(m)", 3, 3, -999.999, 999.999, false, 0, "0"},
      {"Ｚ(m)", 3, 3, -999.999, 999.999, false, 0, "0"},
      {"φ(°)", 2, 1, 0, 89.9, false, 0, "0"},
      {"ψ(°)", 4, 1, -359.9, 359.9, false, 0, "0"},
      {"Ｋv(kN/m)", 8, 0, 0, 99999999, true, 9, "0"},
  }};
  return columns;
}

std::string PileDisplayPattern(int column, bool grouping) {
  const PileColumn& c = PileColumns()[size_t(column)];
  std::string integer;
  for (int k = c.intDigits - 1; k >= 0; --k) {
    integer += k == 0 ? '0' : '#';
    if (grouping && c.grouping && k > 0 && k % 3 == 0) integer += ',';
  }
  if (c.decDigits == 0) return integer;
  return integer + "." + std::string(size_t(c.decDigits), '0');
}

QString PileDisplayText(int column, const PileCell& cell) {
  if (!cell) return QString();
  return QString::fromStdString(FormatNumber(*cell, PileDisplayPattern(column, true)));
}

QString PileCopyText(int column, const PileCell& cell) {
  if (!cell) return QString();
  return QString::fromStdString(FormatNumber(*cell, PileDisplayPattern(column, false)));
}

QString PileEditText(const PileCell& cell) {
  if (!cell) return QString();
  return QString::fromStdString(FormatGeneral(*cell));
}

QString PileRangeHint(int column) {
  const PileColumn& c = PileColumns()[size_t(column)];
  return QStringLiteral("入力範囲：") + QString::fromStdString(FormatGeneral(c.lower)) +
         QStringLiteral("～") + QString::fromStdString(FormatGeneral(c.upper));
}

PileRow PileDefaultRow() {
  PileRow row;
  for (int c = 0; c < kPileColumns; ++c) row[size_t(c)] = LeadingNumber(PileColumns()[size_t(c)].defaultText);
  return row;
}

PileEntry ParsePileEntry(int column, const QString& text) {
  // Full-width digits, signs and blanks come in from Japanese spreadsheets.
  QString s = text.normalized(QString::NormalizationForm_KC).trimmed();
  s.replace(QChar(0x2212), QLatin1Char('-'));
  if (s.isEmpty()) return {};

  static const QRegularExpression number(
      QStringLiteral(R"(^[+-]?(\d{1,3}(?:,\d{3})+|\d*)(?:\.(\d*))?(?:[eE]([+-]?\d{1,3}))?$)"));
  QRegularExpressionMatch m = number.match(s);
  if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(2).isEmpty()))
    return {PileEntryError::NotNumber, {}};
  s.remove(QLatin1Char(','));
  bool ok = false;
  double value = s.toDouble(&ok);
  if (!ok || !std::isfinite(value)) return {PileEntryError::NotNumber, {}};
  if (value == 0) value = 0;  // "-0" is plain 0

  const PileColumn& c = PileColumns()[size_t(column)];
  if (value < c.lower || value > c.upper) return {PileEntryError::OutOfRange, {}};

  bool decimalsOk;
  if (m.captured(3).isEmpty()) {
    QString fraction = m.captured(2);
    while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
    decimalsOk = fraction.size() <= c.decDigits;
  } else {
    double scaled = value * std::pow(10.0, c.decDigits);
    decimalsOk = std::fabs(scaled - std::round(scaled)) <= 1e-9 * std::max(1.0, std::fabs(scaled));
  }
  if (!decimalsOk) return {PileEntryError::TooManyDecimals, {}};
  return {PileEntryError::None, value};
}

QString PileRefusalText(int column, PileEntryError error) {
  QString text = PileRangeHint(column);
  if (error == PileEntryError::TooManyDecimals) {
    int decimals = PileColumns()[size_t(column)].decDigits;
    text += decimals == 0 ? QStringLiteral("（整数のみ）")
                          : QStringLiteral("（小数点以下%1桁まで）").arg(decimals);
  }
  return text;
}

}  // namespace hasorin
