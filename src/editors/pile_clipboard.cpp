#include "pile_clipboard.h"

namespace hasorin {

PileTextBlock SplitTabText(const QString& text) {
  PileTextBlock block;
  if (text.isEmpty()) return block;
  QString normal = text;
  normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  if (normal.endsWith(QLatin1Char('\n'))) normal.chop(1);
  const QStringList lines = normal.split(QLatin1Char('\n'));
  block.reserve(size_t(lines.size()));
  for (const QString& line : lines) block.push_back(line.split(QLatin1Char('\t')));
  return block;
}

QString JoinTabText(const PileTextBlock& block) {
  QString text;
  for (const QStringList& row : block) {
    text += row.join(QLatin1Char('\t'));
    text += QStringLiteral("\r\n");
  }
  return text;
}

}  // namespace hasorin
