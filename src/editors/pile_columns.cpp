#include "pile_columns.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

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

QString PileWidestText(int column) {
  const PileColumn& c = PileColumns()[size_t(column)];
  QString widest;
  std::vector<double> samples{c.lower, c.upper};
  // A, I and Z are computed as well as typed: room for a tenfold value or
  // its negative, as a thin pipe's section can give.
  if (column == kColA || column == kColI || column == kColZ) samples.push_back(-10 * c.upper);
  for (double v : samples) {
    const QString text = PileDisplayText(column, v);
    if (text.size() > widest.size()) widest = text;
  }
  return widest;
}

QString PileShownText(int column, const PileCell& cell) {
  QString text = PileDisplayText(column, cell);
  const qsizetype room = PileWidestText(column).size();
  if (text.size() > room) text = QString(room, QLatin1Char('#'));
  return text;
}

bool PileInRange(int column, const PileCell& cell) {
  const PileColumn& c = PileColumns()[size_t(column)];
  return !cell || (*cell >= c.lower && *cell <= c.upper);
}

int PileSectionOutOfRange(const PileRow& row) {
  for (int c : {kColA, kColI, kColZ})
    if (!PileInRange(c, row[size_t(c)])) return c;
  return -1;
}

QString PileOutOfRangeHint(int row, int column, double value) {
  const PileColumn& c = PileColumns()[size_t(column)];
  const bool above = value > c.upper;
  return QStringLiteral("%1行 %2 の値 %3 は%4 %5 を%6")
      .arg(row + 1)
      .arg(QString::fromUtf8(c.header))
      .arg(PileDisplayText(column, value))
      .arg(above ? QStringLiteral("上限") : QStringLiteral("下限"))
      .arg(QString::fromStdString(FormatGeneral(above ? c.upper : c.lower)))
      .arg(above ? QStringLiteral("超えています") : QStringLiteral("下回っています"));
}

QString PileCellRefusalText(int row, int column, const QString& text, PileEntryError error) {
  return QStringLiteral("%1行 %2：「%3」 %4")
      .arg(row + 1)
      .arg(QString::fromUtf8(PileColumns()[size_t(column)].header))
      .arg(text)
      .arg(PileRefusalText(column, error));
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

namespace {

// A number as typed or pasted: sign, digits with optional "1,234" grouping,
// optional fraction and exponent. `plain` is the text without grouping, for
// the conversion; `decimals` counts the fraction's digits up to its last
// non-zero one.
struct NumberText {
  std::string plain;
  int decimals = 0;
  bool exponent = false;
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::optional<NumberText> ReadNumberText(QStringView s) {
  NumberText n;
  qsizetype i = 0;
  const qsizetype size = s.size();
  if (i < size && (s[i] == u'+' || s[i] == u'-')) n.plain += char(s[i++].unicode());
  // Integer part; grouping commas must sit every three digits.
  int digits = 0, group = 0;
  bool grouped = false;
  for (; i < size; ++i) {
    const char16_t c = s[i].unicode();
    if (IsDigit(c)) {
      n.plain += char(c);
      ++digits;
      ++group;
    } else if (c == u',') {
      if (group == 0 || (grouped ? group != 3 : group > 3)) return std::nullopt;
      grouped = true;
      group = 0;
    } else {
      break;
    }
  }
  if (grouped && group != 3) return std::nullopt;
  int fraction = 0;
  if (i < size && s[i] == u'.') {
    n.plain += '.';
    for (++i; i < size && IsDigit(s[i].unicode()); ++i) {
      n.plain += char(s[i].unicode());
      ++fraction;
      if (s[i] != u'0') n.decimals = fraction;
    }
  }
  if (digits + fraction == 0) return std::nullopt;
  if (i < size && (s[i] == u'e' || s[i] == u'E')) {
    n.exponent = true;
    n.plain += 'e';
    ++i;
    if (i < size && (s[i] == u'+' || s[i] == u'-')) n.plain += char(s[i++].unicode());
    int expDigits = 0;
    for (; i < size && IsDigit(s[i].unicode()); ++i, ++expDigits) n.plain += char(s[i].unicode());
    if (expDigits == 0 || expDigits > 3) return std::nullopt;
  }
  if (i != size) return std::nullopt;
  return n;
}

}  // namespace

PileEntry ParsePileEntry(int column, const QString& text) {
  QString s = text;
  // Full-width digits, signs and blanks come in from Japanese spreadsheets.
  const bool ascii = std::all_of(s.cbegin(), s.cend(), [](QChar c) { return c.unicode() < 0x80; });
  if (!ascii) {
    s = s.normalized(QString::NormalizationForm_KC);
    s.replace(QChar(0x2212), QLatin1Char('-'));
  }
  const QStringView trimmed = QStringView(s).trimmed();
  if (trimmed.isEmpty()) return {};

  const std::optional<NumberText> number = ReadNumberText(trimmed);
  if (!number) return {PileEntryError::NotNumber, {}};
  double value = 0;
  const char* first = number->plain.data();
  const char* last = first + number->plain.size();
  if (*first == '+') ++first;  // from_chars takes no plus sign
  auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || !std::isfinite(value))
    return {PileEntryError::NotNumber, {}};
  if (value == 0) value = 0;  // "-0" is plain 0

  const PileColumn& c = PileColumns()[size_t(column)];
  if (value < c.lower || value > c.upper) return {PileEntryError::OutOfRange, {}};

  bool decimalsOk = number->decimals <= c.decDigits;
  if (number->exponent) {
    const double scaled = value * std::pow(10.0, c.decDigits);
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
