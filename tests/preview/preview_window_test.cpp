// The previewer window: page commands and keys, the page display, the
// heading panel, zoom, PDF saving and the remembered settings.
#include <QAction>
#include <QLabel>
#include <QPrinter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "fake_ui.h"
#include "preview_test_support.h"
#include "preview_window.h"
#include "profile.h"

namespace hasorin::preview {

class PreviewWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<hasorin::testing::FakeUi> ui_;

  // Three chapters over 5 pages: 1 + 2 + 2 (a page holds at most 130 lines).
  PrintDocument Document() {
    QString text = QStringLiteral("?R11. 計算条件\n  ?R2(1) 杭\n");
    for (int i = 0; i < 30; ++i) text += QStringLiteral("本文 %1\n").arg(i);
    text += QStringLiteral("\f?R12. 杭頭\n");
    for (int i = 0; i < 150; ++i) text += QStringLiteral("行 %1\n").arg(i);
    text += QStringLiteral("\f?R13. 応力\n  ?R2(1) SKK400\n");
    for (int i = 0; i < 140; ++i) text += QStringLiteral("応力 %1\n").arg(i);
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return ParsePrintBytes(EncodeCp932(text));
  }

  static void Press(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(w, Qt::Key(key), mods);
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    ui_ = std::make_unique<hasorin::testing::FakeUi>();
  }
  void cleanup() {
    ui_.reset();
    dir_.reset();
  }

  void pagesFollowKeysAndTheDisplayShowsThem() {
    PreviewWindow w(Document(), {});
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.View()->PageCount(), 5);
    QCOMPARE(w.PageLabel()->text(), QStringLiteral("1 / 5"));
    Press(w.View(), Qt::Key_PageDown);
    Press(w.View(), Qt::Key_PageDown);
    QCOMPARE(w.View()->CurrentPage(), 2);
    QCOMPARE(w.PageLabel()->text(), QStringLiteral("3 / 5"));
    Press(w.View(), Qt::Key_PageUp);
    QCOMPARE(w.View()->CurrentPage(), 1);
    Press(w.View(), Qt::Key_End);
    QCOMPARE(w.PageLabel()->text(), QStringLiteral("5 / 5"));
    Press(w.View(), Qt::Key_PageDown);  // stays on the last page
    QCOMPARE(w.View()->CurrentPage(), 4);
    Press(w.View(), Qt::Key_Home);
    QCOMPARE(w.View()->CurrentPage(), 0);
    Press(w.View(), Qt::Key_PageUp);
    QCOMPARE(w.View()->CurrentPage(), 0);
    // The keys also work while the heading panel has the focus.
    w.HeadingTree()->setFocus();
    Press(w.HeadingTree(), Qt::Key_End);
    QCOMPARE(w.View()->CurrentPage(), 4);
    // Esc closes.
    Press(w.View(), Qt::Key_Escape);
    QVERIFY(!w.isVisible());
  }

  void headingPanelListsChaptersAndSectionsAndJumps() {
    PreviewWindow w(Document(), {});
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTreeWidget* tree = w.HeadingTree();
    QCOMPARE(tree->topLevelItemCount(), 3);
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("1. 計算条件"));
    QCOMPARE(tree->topLevelItem(0)->childCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("(1) 杭"));
    QTreeWidgetItem* third = tree->topLevelItem(2);
    QCOMPARE(third->text(0), QStringLiteral("3. 応力"));
    const QRect r = tree->visualItemRect(third);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(w.View()->CurrentPage(), 3);
    QCOMPARE(w.PageLabel()->text(), QStringLiteral("4 / 5"));
  }

  void zoomCommands() {
    PreviewWindow w(Document(), {});
    w.resize(800, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PageView* v = w.View();
    QCOMPARE(v->Mode(), ZoomMode::FitWidth);
    const double fitWidth = v->Zoom();
    v->SetMode(ZoomMode::FitPage);
    QVERIFY(v->Zoom() < fitWidth);  // a tall page fits by its height
    v->ZoomIn();
    QCOMPARE(v->Mode(), ZoomMode::Factor);
    Press(v, Qt::Key_Minus, Qt::ControlModifier);
    Press(v, Qt::Key_Minus, Qt::ControlModifier);
    QVERIFY(v->Zoom() < fitWidth);
    for (int i = 0; i < 40; ++i) v->ZoomIn();
    QCOMPARE(v->Zoom(), PageView::kMaxZoom);
    for (int i = 0; i < 40; ++i) v->ZoomOut();
    QCOMPARE(v->Zoom(), PageView::kMinZoom);
    // Painting at the extremes works.
    QVERIFY(!v->viewport()->grab().isNull());
  }

  void savePdfGoesThroughTheFileDialog() {
    PreviewWindow w(Document(), {});
    // Cancelled: nothing written, nothing said.
    w.SavePdf();
    QCOMPARE(int(ui_->saveDialogs.size()), 1);
    QCOMPARE(ui_->saveDialogs[0].defaultSuffix, QStringLiteral("pdf"));
    QVERIFY(ui_->messages.empty());
    // Saved.
    const QString pdf = dir_->filePath(QStringLiteral("計算書.pdf"));
    ui_->saveAnswers.push_back(pdf);
    w.SavePdf();
    QVERIFY(QFile::exists(pdf));
    QVERIFY(ui_->messages.empty());
    // The next dialog starts in the folder used last.
    w.SavePdf();
    QCOMPARE(ui_->saveDialogs.back().startFolder, dir_->path());
    // A place that cannot be written: a critical message.
    ui_->saveAnswers.push_back(dir_->filePath(QStringLiteral("no/such/x.pdf")));
    w.SavePdf();
    QCOMPARE(int(ui_->messages.size()), 1);
    QCOMPARE(ui_->messages[0].icon, MsgIcon::Critical);
  }

  void printingToAPrinterHonoursThePageRange() {
    PreviewWindow w(Document(), {});
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir_->filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFileName(pdf);
    printer.setFromTo(2, 3);
    QVERIFY(w.PrintTo(printer));
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    // Two page objects.
    const QString pdfText = QString::fromLatin1(f.readAll());
    QCOMPARE(pdfText.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), 2);
  }

  void settingsAreRememberedInTheWorkFolder() {
    const std::string folder = dir_->filePath(QStringLiteral("work dir")).toStdString();
    {
      PreviewWindow w(Document(), folder);
      w.show();
      QVERIFY(QTest::qWaitForWindowExposed(&w));
      w.resize(640, 480);
      w.View()->SetZoom(1.5);
      w.close();
    }
    const std::string ini = folder + "/Preview.INI";
    QCOMPARE(GetPrivateProfileInt(ini, "Preview", "ZoomMode", -1), 2L);
    QCOMPARE(GetPrivateProfileInt(ini, "Preview", "Zoom", -1), 150L);
    QVERIFY(GetPrivateProfileInt(ini, "Preview", "Width", 0) > 0);
    PreviewWindow again(Document(), folder);
    QCOMPARE(again.View()->Mode(), ZoomMode::Factor);
    QCOMPARE(again.View()->Zoom(), 1.5);
    QCOMPARE(again.size(), QSize(640, 480));

    // Nonsense in the file falls back to defaults.
    WritePrivateProfileString(ini, "Preview", "ZoomMode", "7");
    WritePrivateProfileString(ini, "Preview", "Width", "-5");
    PreviewWindow third(Document(), folder);
    QCOMPARE(third.View()->Mode(), ZoomMode::FitWidth);

    // Sizes far beyond any screen are held to the screen.
    WritePrivateProfileString(ini, "Preview", "Width", "9223372036854775807");
    WritePrivateProfileString(ini, "Preview", "Height", "96000000000000000");
    PreviewWindow huge(Document(), folder);
    const QRect screen = huge.screen()->availableGeometry();
    QVERIFY(huge.width() <= std::max(300, screen.width()));
    QVERIFY(huge.height() <= std::max(200, screen.height()));
  }
};

}  // namespace hasorin::preview

QTEST_MAIN(hasorin::preview::PreviewWindowTest)
#include "preview_window_test.moc"
