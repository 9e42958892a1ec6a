#pragma once
// Reads back a workbook for tests: the zip entries (stored or deflated), the
// sheet names in order, and the cells of one sheet as "B2" -> text of <v>
// (numbers) or of the inline string.
#include <zlib.h>

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <map>
#include <string>
#include <vector>

namespace hasorin::testing {

inline unsigned Le(const QByteArray& b, qsizetype at, int bytes) {
  unsigned v = 0;
  for (int k = bytes - 1; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(b[at + k]);
  return v;
}

// Every entry of the zip file at `path`; empty when it is no zip file.
inline std::map<std::string, std::string> ReadZip(const QString& path) {
  std::map<std::string, std::string> entries;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return entries;
  const QByteArray z = file.readAll();
  const qsizetype end = z.lastIndexOf(QByteArray("PK\x05\x06", 4));
  if (end < 0) return entries;
  qsizetype at = Le(z, end + 16, 4);
  for (unsigned n = Le(z, end + 10, 2); n > 0 && at + 46 <= z.size(); --n) {
    const unsigned method = Le(z, at + 10, 2), packed = Le(z, at + 20, 4), size = Le(z, at + 24, 4);
    const unsigned nameLength = Le(z, at + 28, 2), extra = Le(z, at + 30, 2), comment = Le(z, at + 32, 2);
    const qsizetype local = Le(z, at + 42, 4);
    const std::string name = z.mid(at + 46, nameLength).toStdString();
    const qsizetype data = local + 30 + Le(z, local + 26, 2) + Le(z, local + 28, 2);
    std::string out(size, '\0');
    if (method == 0) {
      out = z.mid(data, size).toStdString();
    } else {
      z_stream s{};
      inflateInit2(&s, -15);
      s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(z.constData() + data));
      s.avail_in = packed;
      s.next_out = reinterpret_cast<Bytef*>(out.data());
      s.avail_out = size;
      inflate(&s, Z_FINISH);
      inflateEnd(&s);
    }
    entries[name] = std::move(out);
    at += 46 + nameLength + extra + comment;
  }
  return entries;
}

struct Workbook {
  std::vector<std::string> sheets;                              // names, in order
  std::vector<std::map<std::string, std::string>> cells;         // per sheet
  std::vector<std::map<std::string, std::string>> styles;        // cell -> style index
  std::map<std::string, std::string> zip;
};

inline Workbook ReadWorkbook(const QString& path) {
  Workbook w;
  w.zip = ReadZip(path);
  const QString book = QString::fromStdString(w.zip["xl/workbook.xml"]);
  static const QRegularExpression sheet("<sheet name=\"([^\"]*)\"");
  static const QRegularExpression cell("<c r=\"([A-Z]+[0-9]+)\"( s=\"([0-9]+)\")?[^>]*>(<v>([^<]*)</v>|<is><t>([^<]*)</t></is>)</c>");
  for (auto m = sheet.globalMatch(book); m.hasNext();) w.sheets.push_back(m.next().captured(1).toStdString());
  for (size_t k = 0; k < w.sheets.size(); ++k) {
    const QString xml = QString::fromStdString(w.zip["xl/worksheets/sheet" + std::to_string(k + 1) + ".xml"]);
    std::map<std::string, std::string> values, style;
    for (auto m = cell.globalMatch(xml); m.hasNext();) {
      const auto c = m.next();
      const std::string ref = c.captured(1).toStdString();
      values[ref] = (c.capturedLength(5) ? c.captured(5) : c.captured(6)).toStdString();
      style[ref] = c.captured(3).toStdString();
    }
    w.cells.push_back(std::move(values));
    w.styles.push_back(std::move(style));
  }
  return w;
}

// The number format code of a cell ("General" for the built-in 0, else the
// code the workbook defines).
inline std::string CellFormat(Workbook& w, size_t sheet, const std::string& ref) {
  const QString styles = QString::fromStdString(w.zip["xl/styles.xml"]);
  std::map<QString, QString> codes{{"0", "General"}, {"1", "0"}, {"2", "0.00"}};
  static const QRegularExpression numFmt("<numFmt numFmtId=\"([0-9]+)\" formatCode=\"([^\"]*)\"");
  for (auto m = numFmt.globalMatch(styles); m.hasNext();) {
    const auto c = m.next();
    codes[c.captured(1)] = c.captured(2).replace("&quot;", "\"");
  }
  const qsizetype xfs = styles.indexOf("<cellXfs");
  static const QRegularExpression xf("<xf numFmtId=\"([0-9]+)\"");
  std::vector<QString> byStyle;
  for (auto m = xf.globalMatch(styles, xfs); m.hasNext();) byStyle.push_back(m.next().captured(1));
  const std::string& s = w.styles[sheet][ref];
  const size_t index = s.empty() ? 0 : std::stoul(s);
  return index < byStyle.size() ? codes[byStyle[index]].toStdString() : "?";
}

}  // namespace hasorin::testing
