#pragma once
// The previewer's command line:
//   Preview /INI="<work folder>" <print file>    the window (as the print menu starts it)
//   Preview --pdf OUT.pdf <print file>           the PDF only, without a window
//   Preview --pdf OUT.pdf --figures-required ... as hasorin-cli asks: every figure must be read
// One argument is one path, taken as given; "--" ends the options, and only
// the first argument may be the /INI= work folder.
#include <QString>
#include <QStringList>
#include <string>

namespace hasorin::preview {

struct PreviewArgs {
  std::string iniFolder;  // empty: nothing remembered
  std::string printFile;
  std::string pdfOut;     // non-empty: headless PDF output
  bool figuresRequired = false;  // --figures-required: a figure that cannot be read fails the PDF
  bool help = false;
  QString error;          // non-empty: the command line is wrong
};

// `args` without the program name.
PreviewArgs ParsePreviewArgs(const QStringList& args);

QString PreviewUsage();

}  // namespace hasorin::preview
