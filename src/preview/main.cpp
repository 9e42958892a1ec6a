// Preview: shows, prints and saves as PDF the print files of the reports.
//   Preview /INI="<work folder>" <print file>
//   Preview --pdf OUT.pdf <print file>     (no window)
#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <memory>

#include "figure_renderer.h"
#include "pdf_output.h"
#include "preview_args.h"
#include "preview_window.h"
#include "ui.h"

namespace {

using namespace hasorin;
using namespace hasorin::preview;

enum Exit { kOk = 0, kUsage = 1, kReadFailed = 2, kWriteFailed = 3 };

void PrintError(const QString& text) {
  std::fputs(text.toUtf8().constData(), stderr);
  std::fputc('\n', stderr);
}

bool WantsHeadless(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray arg(argv[i]);
    if (arg == "--pdf" || arg.startsWith("--pdf=") || arg == "--help" || arg == "-h") return true;
  }
  return false;
}

int RunHeadless(const PreviewArgs& args) {
  if (args.help) {
    std::fputs(PreviewUsage().toUtf8().constData(), stdout);
    return kOk;
  }
  QString error;
  QStringList warnings;
  PrintDocument doc;
  LoadOptions load;
  load.figuresRequired = args.figuresRequired;
  if (!LoadPrintFile(args.printFile, doc, error, load)) {
    PrintError(error);
    return kReadFailed;
  }
  for (const QString& w : doc.warnings) PrintError(QStringLiteral("警告: ") + w);
  if (!WritePdf(doc, LayoutDocument(doc), QString::fromStdString(args.pdfOut), error)) {
    PrintError(error);
    return kWriteFailed;
  }
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  const bool headless = WantsHeadless(argc, argv);
  if (headless) {
    PrepareHeadlessGui();  // the PDF needs fonts but no screen
    QGuiApplication app(argc, argv);
    const PreviewArgs args = ParsePreviewArgs(app.arguments().mid(1));
    if (!args.error.isEmpty()) {
      PrintError(args.error + QLatin1Char('\n') + PreviewUsage());
      return kUsage;
    }
    return RunHeadless(args);
  }

  QApplication app(argc, argv);
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&qtTranslator);
  QFont uiFont(ResolveFontFamily(QString()));
  uiFont.setPointSize(10);
  app.setFont(uiFont);

  const QString caption = QStringLiteral("ﾌﾟﾚﾋﾞｭｰ");
  const PreviewArgs args = ParsePreviewArgs(app.arguments().mid(1));
  if (!args.error.isEmpty()) {
    Ui().ShowMessage(nullptr, args.error + QStringLiteral("\n\n") + PreviewUsage(), caption, MsgIcon::Critical,
                     MsgButtons::Ok);
    return kUsage;
  }
  PrintDocument doc;
  QString error;
  if (!LoadPrintFile(args.printFile, doc, error)) {
    Ui().ShowMessage(nullptr, error, caption, MsgIcon::Critical, MsgButtons::Ok);
    return kReadFailed;
  }
  PreviewWindow window(std::move(doc), args.iniFolder);
  window.show();
  return app.exec();
}
