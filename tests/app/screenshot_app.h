#pragma once
// The look of the screenshot tools: Qt's Japanese texts and the application
// font the desktop uses. Returns the output folder (argv[1], created), or
// the current folder.
#include <QApplication>
#include <QDir>
#include <QFont>

#include "ui.h"

namespace hasorin::testing {

inline QString PrepareScreenshots(QApplication& app, int argc, char* argv[]) {
  InstallQtJapaneseTranslation(app);
  QFont font;
  font.setFamilies({"IPAPGothic", "IPAGothic"});
  font.setPointSize(10);
  QApplication::setFont(font);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  QDir().mkpath(out);
  return out;
}

}  // namespace hasorin::testing
