#include "preview_args.h"

namespace hasorin::preview {
namespace {

QString Unquote(QString text) {
  if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
    return text.mid(1, text.size() - 2);
  return text;
}

}  // namespace

PreviewArgs ParsePreviewArgs(const QStringList& args) {
  PreviewArgs out;
  QStringList files;
  bool optionsEnded = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (optionsEnded) {
      files << arg;
    } else if (i == 0 && arg.startsWith(QStringLiteral("/INI="), Qt::CaseInsensitive)) {
      // Only the first argument: a print file may well be named "/INI=...".
      QString value = arg.mid(5);
      // A quoted folder that reached us split at its blanks: join it again.
      if (value.startsWith(QLatin1Char('"')) && (value.size() == 1 || !value.endsWith(QLatin1Char('"')))) {
        while (i + 1 < args.size() && !value.endsWith(QLatin1Char('"'))) value += QLatin1Char(' ') + args[++i];
      }
      out.iniFolder = Unquote(value).toStdString();
    } else if (arg == QStringLiteral("--")) {
      optionsEnded = true;
    } else if (arg == QStringLiteral("--pdf")) {
      if (i + 1 >= args.size()) {
        out.error = QStringLiteral("--pdf の後に出力するPDFﾌｧｲﾙ名を指定してください。");
        return out;
      }
      out.pdfOut = args[++i].toStdString();
    } else if (arg == QStringLiteral("--figures-required")) {
      out.figuresRequired = true;
    } else if (arg.startsWith(QStringLiteral("--pdf="))) {
      out.pdfOut = arg.mid(6).toStdString();
    } else if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h") || arg == QStringLiteral("/?")) {
      out.help = true;
    } else if (arg.startsWith(QStringLiteral("--"))) {
      out.error = QStringLiteral("不明なｵﾌﾟｼｮﾝです：%1（\"--\" で始まる印刷ﾌｧｲﾙ名は -- の後に指定します）").arg(arg);
      return out;
    } else {
      files << arg;
    }
  }
  // One argument is one path, exactly as given.
  if (files.size() > 1) {
    out.error = QStringLiteral("印刷ﾌｧｲﾙはひとつだけ指定してください：%1").arg(files.join(QStringLiteral(" / ")));
    return out;
  }
  if (!files.isEmpty()) out.printFile = files.front().toStdString();
  if (out.printFile.empty() && !out.help) out.error = QStringLiteral("印刷ﾌｧｲﾙを指定してください。");
  return out;
}

QString PreviewUsage() {
  return QStringLiteral(
      "使い方: Preview [/INI=\"<作業ﾌｫﾙﾀﾞ>\"] <印刷ﾌｧｲﾙ>\n"
      "        Preview --pdf <出力PDF> [--figures-required] [--] <印刷ﾌｧｲﾙ>\n");
}

}  // namespace hasorin::preview
