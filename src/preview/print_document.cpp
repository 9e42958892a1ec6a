#include "print_document.h"

#include <QFile>
#include <QFileInfo>

#include "cp932.h"

namespace hasorin::preview {
namespace {

// One line's bytes decoded where the whole file is not valid CP932: every
// character that cannot be decoded becomes '?', keeping its columns.
QString DecodeLenient(QByteArrayView bytes, bool& hadError) {
  QString out;
  out.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size();) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (IsCp932LeadByte(b) && i + 1 < bytes.size()) {
      if (auto two = DecodeCp932(bytes.sliced(i, 2)); two && two->size() == 1) {
        out += *two;
      } else {
        out += QStringLiteral("??");
        hadError = true;
      }
      i += 2;
      continue;
    }
    if (b < 0x80) {
      out += QChar(b);
    } else if (b >= 0xA1 && b <= 0xDF) {
      out += QChar(char16_t(0xFF61 + (b - 0xA1)));  // half-width katakana
    } else {
      out += QLatin1Char('?');
      hadError = true;
    }
    ++i;
  }
  return out;
}

// Control characters other than the form feed have no glyph: print a blank.
void BlankControls(QString& text) {
  for (QChar& c : text) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char(' ');
  }
}

qsizetype LeadingBlanks(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && text[i] == QLatin1Char(' ')) ++i;
  return i;
}

// "?FG;000;000;<path>": the path after the third ';'. Empty when malformed.
QString FigurePath(const QString& rest) {
  qsizetype pos = 0;
  for (int k = 0; k < 3; ++k) {
    pos = rest.indexOf(QLatin1Char(';'), pos);
    if (pos < 0) return {};
    ++pos;
  }
  QString path = rest.mid(pos).trimmed();
  if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
    path = path.mid(1, path.size() - 2);
  return path;
}

void AddLine(PrintDocument& doc, QString text, bool pageBreak) {
  BlankControls(text);
  PrintLine line;
  line.pageBreakBefore = pageBreak;
  const qsizetype lead = LeadingBlanks(text);
  const QStringView mark = QStringView(text).mid(lead, 3);
  if (mark == u"?R1" || mark == u"?R2") {
    line.kind = mark == u"?R1" ? LineKind::Heading1 : LineKind::Heading2;
    text.remove(lead, 3);
  } else if (mark == u"?FG") {
    const QString path = FigurePath(text.mid(lead));
    if (path.isEmpty()) {
      // Shown as written, so the reader sees which figure line is wrong.
      line.text = QStringLiteral("（図の指定が正しくありません：%1）").arg(text.mid(lead).trimmed());
      doc.lines.push_back(std::move(line));
      return;
    }
    line.kind = LineKind::Figure;
    line.figure = int(doc.figures.size());
    FigureRef ref;
    ref.sheetPath = path.toStdString();
    doc.figures.push_back(std::move(ref));
    doc.lines.push_back(std::move(line));
    return;
  }
  line.text = std::move(text);
  doc.lines.push_back(std::move(line));
}

}  // namespace

PrintDocument ParsePrintBytes(QByteArrayView bytes) {
  PrintDocument doc;
  // Line ends and form feeds are single bytes that never occur inside a
  // double-byte character, so the file can be decoded as a whole and split
  // afterwards; only a file with bad sequences is decoded line by line.
  std::optional<QString> whole = DecodeCp932(bytes);
  bool hadError = false;
  auto lineText = [&](qsizetype from, qsizetype to) {
    if (whole) return whole->mid(from, to - from);
    return DecodeLenient(bytes.sliced(from, to - from), hadError);
  };

  // Walk the text (decoded or raw) splitting at CR LF, lone CR or LF, and form feeds.
  const qsizetype n = whole ? whole->size() : bytes.size();
  auto at = [&](qsizetype i) -> char16_t {
    return whole ? (*whole)[i].unicode() : char16_t(static_cast<unsigned char>(bytes[i]));
  };
  bool pendingBreak = false;
  qsizetype start = 0;
  for (qsizetype i = 0; i <= n; ++i) {
    const bool end = i == n;
    const char16_t c = end ? 0 : at(i);
    if (!end && c != u'\r' && c != u'\n' && c != u'\f') continue;
    if (i > start || (!end && c != u'\f')) {
      AddLine(doc, lineText(start, i), pendingBreak);
      pendingBreak = false;
    }
    if (end) break;
    if (c == u'\f') {
      pendingBreak = true;
    } else if (c == u'\r' && i + 1 < n && at(i + 1) == u'\n') {
      ++i;
    }
    start = i + 1;
  }
  if (hadError)
    doc.warnings << QStringLiteral("印刷ﾌｧｲﾙに Shift_JIS として読めない文字があります（? で表示します）。");
  return doc;
}

bool LoadPrintFile(const std::string& path, PrintDocument& doc, QString& error,
                   const LoadOptions& options) {
  const QString qpath = QString::fromStdString(path);
  QFile file(qpath);
  // Only an ordinary file: reading a device or a pipe might never end.
  if (path.empty() || !QFileInfo(qpath).isFile() || !file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("印刷ﾌｧｲﾙを開けません：%1").arg(qpath);
    return false;
  }
  if (file.size() > kMaxPrintFileBytes) {
    error = QStringLiteral("印刷ﾌｧｲﾙが大きすぎます：%1").arg(qpath);
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    error = QStringLiteral("印刷ﾌｧｲﾙを読み込めません：%1").arg(qpath);
    return false;
  }
  doc = ParsePrintBytes(bytes);
  doc.path = path;
  if (doc.lines.empty()) {
    // Say so on the page rather than show a blank sheet.
    PrintLine note;
    note.text = QStringLiteral("（印刷ﾌｧｲﾙに内容がありません：%1）").arg(qpath);
    doc.lines.push_back(note);
    doc.warnings << note.text;
  }
  if (options.loadFigures && !doc.figures.empty()) {
    const auto styles = LoadFigureStyles(options.definitionFolder);
    for (FigureRef& ref : doc.figures) {
      auto figure = std::make_shared<LoadedFigure>(LoadFigure(ref.sheetPath, styles));
      ref.notes = figure->problems;
      if (figure->sheetRead) ref.figure = std::move(figure);
    }
    for (const FigureRef& ref : doc.figures) {
      if (options.figuresRequired && !ref.notes.isEmpty()) {
        error = ref.notes.join(QLatin1Char('\n'));
        return false;
      }
      doc.warnings << ref.notes;
    }
    doc.warnings.removeDuplicates();
  }
  return true;
}

}  // namespace hasorin::preview
