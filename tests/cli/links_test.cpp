// The command line loads Qt Core and no GUI library: a script that checks or
// calculates a file does not pay for fonts, windows, printing or the workbook
// library (with its libcrypto).
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

namespace {

TEST(CliLinks, NeedsNoGuiLibrary) {
#ifndef __linux__
  GTEST_SKIP() << "the loader's list is read with ldd";
#else
  QProcess ldd;
  ldd.start("ldd", {HASORIN_CLI});
  ASSERT_TRUE(ldd.waitForFinished(30000));
  const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
  ASSERT_TRUE(libraries.contains("libQt6Core")) << libraries.toStdString();
  for (const char* gui : {"libQt6Gui", "libQt6Widgets", "libQt6PrintSupport", "libQt6DBus", "libGL",
                          "libEGL", "libX11", "libxcb", "libfontconfig", "libfreetype",
                          // loaded only when a workbook is written
                          "libxlsxwriter", "libcrypto", "libminizip"})
    EXPECT_FALSE(libraries.contains(gui)) << gui << "\n" << libraries.toStdString();
#endif
}

}  // namespace
