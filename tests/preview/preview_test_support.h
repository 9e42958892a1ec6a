#pragma once
// Helpers of the previewer tests: CP932 files in a temporary folder, drawing
// and sheet files written by hand, and a QGuiApplication for font work.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <csignal>
#include <string>
#include <sys/resource.h>

#include "cp932.h"

namespace hasorin::preview::testing {

inline void EnsureGuiApp() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "preview_tests";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

struct ProcessResult {
  int exitCode = -1;  // -1: did not start or crashed
  QString out, err;
};

// How a program is run: environment additions ("NAME=value") and a limit on
// the size of any file it writes (SIGXFSZ ignored: the disk is "full").
struct RunOptions {
  QStringList environment;
  long long maxFileBytes = -1;
};

// Runs a program to its end (offscreen, so windowless Qt programs start anywhere).
inline ProcessResult RunProgram(const QString& program, const QStringList& args, const RunOptions& options = {}) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  for (const QString& entry : options.environment) env.insert(entry.section('=', 0, 0), entry.section('=', 1));
  p.setProcessEnvironment(env);
  if (options.maxFileBytes >= 0) {
    const rlim_t limit = rlim_t(options.maxFileBytes);
    p.setChildProcessModifier([limit] {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit r{limit, limit};
      setrlimit(RLIMIT_FSIZE, &r);
    });
  }
  p.start(program, args);
  p.waitForFinished(120000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
          QString::fromUtf8(p.readAllStandardError())};
}

// Writes UTF-8 `text` as CP932 with CR LF line ends ('\n' in text).
inline std::string WriteCp932(const QTemporaryDir& dir, const QString& name, const QString& text) {
  QString crlf = text;
  crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  const QString path = dir.filePath(name);
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(EncodeCp932(crlf));
  return path.toStdString();
}

// A 100 x 100 mm drawing: a frame of four lines (type 4), pile circles of
// radius 10 mm at (30, 30) and (70, 70) (type 3), pile numbers and a label.
inline QString SampleDrawing() {
  return QStringLiteral(
      "Hasorin\n杭配置図\n100.00, 100.00, 0.00,        0.00, 100.00, 100.00\n"
      "座標情報\n1, 0.000000, 0.000000\n2, 0.000000, 100.000000\n3, 100.000000, 100.000000\n"
      "4, 100.000000, 0.000000\n5, 30.000000, 30.000000\n6, 70.000000, 70.000000\n"
      "7, 50.000000, 0.000000\n8, 50.000000, 100.000000\nEND\n"
      "線分情報\n1, 1, 2, 4\n2, 2, 3, 4\n3, 3, 4, 4\n4, 4, 1, 4\n5, 7, 8, 4\nEND\n"
      "円情報\n1, 5, 10.000000, 3\n2, 6, 10.000000, 3\nEND\n"
      "文字情報\n1\n28.000000, 28.000000, 2, 3\n2\n68.000000, 68.000000, 2, 3\nEND\n");
}

// A sheet of the given size holding one drawing at an offset.
inline QString SampleSheet(const std::string& drawingPath, int width = 150, int height = 150, int ox = 25,
                           int oy = 25) {
  return QStringLiteral("杭配置図\n %1 , %2 \n%3\n %4 , %5 \nEND\n")
      .arg(width)
      .arg(height)
      .arg(QString::fromStdString(drawingPath))
      .arg(ox)
      .arg(oy);
}

// Dark pixels (any channel below 128) within a rectangle of an image.
inline int DarkPixels(const QImage& image, const QRect& rect) {
  int n = 0;
  const QRect r = rect.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y) {
    for (int x = r.left(); x <= r.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() < 128 || c.green() < 128 || c.blue() < 128) ++n;
    }
  }
  return n;
}

}  // namespace hasorin::preview::testing
