// Command 7 of the main window: the numbering settings editor exchanging its
// values with section "Chapter" of the settings file (never the project), and
// the headings of a report generated afterwards, down to the PDF.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "cp932.h"
#include "engine.h"
#include "example_projects.h"
#include "fake_ui.h"
#include "inp_renban.h"
#include "menu_main.h"
#include "pdf_output.h"
#include "print_job.h"
#include "renban_steps.h"
#include "settings.h"

using namespace hasorin;

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Section "Chapter" of the settings file as stored, from its header to the next one.
QByteArray ChapterBytes() {
  const QByteArray all = ReadBytes(QString::fromStdString(SettingsFilePath()));
  const qsizetype start = all.indexOf("[Chapter]");
  if (start < 0) return {};
  const qsizetype end = all.indexOf("\r\n[", start);
  return all.mid(start, end < 0 ? -1 : end - start);
}

std::string Chapter(const char* key) {
  return CPrivateProfile().GetValueString(SettingsFilePath(), "Chapter", key);
}

// The engine's four vertical piles, an unchanged project.
void SmallProject() {
  TheProject() = testing::Vertical4();
  TheProject().ProjectModified = false;
}

}  // namespace

class NumberingCommandTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  testing::FakeUi* ui_ = nullptr;
  std::unique_ptr<frmMenuMain> w_;

  // Presses command 7 and runs `action` on the editor it opens.
  void WithEditor(std::function<void(frmInpRenban&)> action) {
    bool ran = false;
    QTimer::singleShot(0, this, [&] {
      auto* editor = qobject_cast<frmInpRenban*>(QApplication::activeModalWidget());
      QVERIFY(editor);
      ran = true;
      action(*editor);
      if (editor->isVisible()) editor->reject();  // a failed check must not hang the test
    });
    QTest::mouseClick(w_->cmdMenu(7), Qt::LeftButton);
    QVERIFY(ran);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    QVERIFY(QDir(dir_.path()).mkpath("program"));
    InitProgramPaths(dir_.filePath("program").toStdString(), dir_.filePath("appdata").toStdString(),
                     "hasorin");
    QApplication::setQuitOnLastWindowClosed(false);
  }
  void init() {
    QFile::remove(QString::fromStdString(SettingsFilePath()));
    ui_ = new testing::FakeUi;
    TheProject() = Project();
    w_ = std::make_unique<frmMenuMain>();
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
  }
  void cleanup() {
    w_.reset();
    delete ui_;
    ui_ = nullptr;
  }

  void emptySettingsOpenAsNoneAndOkWritesZeros() {
    SmallProject();
    const Project before = TheProject();
    WithEditor([](frmInpRenban& e) {
      QCOMPARE(e.windowTitle(), QString("連番条件設定"));
      QVERIFY(!e.cmdHelp()->isEnabled());
      QCOMPARE(e.TabStrip1->currentIndex(), 0);
      QCOMPARE(e.optMethod->checkedButton()->text(), QString("なし"));
      QCOMPARE(e.numInit->text(), QString("0"));
      for (QComboBox* list : e.cboStyle) QCOMPARE(list->currentIndex(), -1);
      for (NumberField* f : e.numMargin) QCOMPARE(f->text(), QString("0"));
      QTest::mouseClick(e.cmdOk(), Qt::LeftButton);
      QCOMPARE(e.UsrTag, QString("OK"));
    });
    for (const char* key : {"Method", "Init", "Style1", "Style2", "Style3", "Style4", "Margin1",
                            "Margin2", "Margin3", "Margin4"})
      QCOMPARE(Chapter(key), std::string("0"));
    // The numbering belongs to the installation: the project is as it was, not even marked.
    QVERIFY(TheProject() == before);
  }

  void cancelAndCloseBoxLeaveTheSectionAlone() {
    QFile ini(QString::fromStdString(SettingsFilePath()));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Chapter]\r\nMethod = 2\r\n; by hand\r\nStyle1=08\r\nMargin2=3\r\n\r\n[InpRenban]\r\nTop=0\r\n");
    ini.close();
    const QByteArray before = ChapterBytes();
    QVERIFY(before.startsWith("[Chapter]\r\nMethod = 2\r\n"));
    for (bool closeBox : {false, true}) {
      WithEditor([closeBox](frmInpRenban& e) {
        testing::ClickOption(e.optMethod->button(3));
        testing::TypeInto(e.numInit, "9");
        testing::ClickTab(e, 1);
        QVERIFY(testing::Choose(e.cboStyle[2], 4));
        closeBox ? (void)e.close() : QTest::mouseClick(e.cmdCancel(), Qt::LeftButton);
      });
      QCOMPARE(ChapterBytes(), before);
    }
  }

  void writeFailureIsReported() {
    const QString path = QString::fromStdString(SettingsFilePath());
    QVERIFY(QDir().mkdir(path));  // a folder where the settings file should be
    WithEditor([](frmInpRenban& e) {
      QTest::mouseClick(e.cmdOk(), Qt::LeftButton);
      QVERIFY(!e.isVisible());
    });
    QDir().rmdir(path);
    QCOMPARE(ui_->messages.size(), size_t(1));
    QCOMPARE(ui_->messages[0].text,
             "連番条件を設定ﾌｧｲﾙに書き込めませんでした。\n\n" + path);
    QCOMPARE(ui_->messages[0].icon, MsgIcon::Critical);
  }

  void reportShowsTheNewNumbering() {
    SmallProject();
    WithEditor([](frmInpRenban& e) {
      testing::ClickOption(e.optMethod->button(1));
      testing::TypeInto(e.numInit, "18");
      testing::ClickTab(e, 1);
      QVERIFY(testing::Choose(e.cboStyle[0], 7));  // ①,②,③,...⑳
      QVERIFY(testing::Choose(e.cboStyle[1], 1));  // (1),(2),(3) ...(99)
      QTest::mouseClick(e.cmdOk(), Qt::LeftButton);
    });
    QCOMPARE(Chapter("Init"), std::string("18"));

    QCOMPARE(engine::CalcPileGroup(), 0);
    PrintJobOptions options;
    options.folder = dir_.filePath("print").toStdString();
    QVERIFY(QDir().mkpath(QString::fromStdString(options.folder)));
    options.formatPath = HASORIN_SOURCE_DIR "/data/Zrn.FMT";
    options.programFolder = HASORIN_SOURCE_DIR "/data";
    PrintJob job(TheProject(), engine::TheResults(), options);
    QVERIFY(job.Generate());
    QVERIFY(job.Combine({true, true, true}));
    const QByteArray bytes = ReadBytes(QString::fromStdString(job.CombinedFile()));
    const QString text = QString::fromStdString(
        Cp932ToUtf8(std::string_view(bytes.constData(), size_t(bytes.size()))).value_or("<bad>"));
    QStringList chapters, sections;
    for (const QString& line : text.split("\r\n")) {
      const QString l = line.startsWith('\f') ? line.mid(1) : line;
      if (l.startsWith("?R1")) chapters << l;
      if (l.startsWith("?R2") && sections.size() < 2) sections << l;
    }
    // The first chapter takes the initial value; the next run on from it.
    QCOMPARE(chapters, QStringList({"?R1⑱ 計算条件", "?R1⑲ 計算結果（杭頭変位および杭頭作用力）",
                                    "?R1⑳ 計算結果(杭応力度照査)"}));
    QCOMPARE(sections, QStringList({"?R2(1) 設計条件", "?R2(2) 杭体および杭配置"}));

    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext is not installed");
    const QString pdf = dir_.filePath("report.pdf");
    QString error;
    QVERIFY2(preview::PrintFileToPdf(job.CombinedFile(), pdf.toStdString(), error), qPrintable(error));
    QProcess pdftotext;
    pdftotext.start("pdftotext", {pdf, "-"});
    QVERIFY(pdftotext.waitForFinished(60000));
    const QString shown = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const char* heading : {"⑱ 計算条件", "⑲ 計算結果（杭頭変位および杭頭作用力）", "⑳ 計算結果(杭応力度照査)"})
      QVERIFY2(shown.contains(QString::fromUtf8(heading)), heading);
  }
};

QTEST_MAIN(NumberingCommandTest)
#include "numbering_command_test.moc"
