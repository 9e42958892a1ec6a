// The print menu as the user meets it: the reports generated on opening, the
// check buttons, preview with the exact previewer command line (work and
// temporary folders with blanks, quotes and option-like names), the combined
// file for each choice, and every temporary file gone after closing.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include "fake_ui.h"
#include "menu_print.h"
#include "previewer_command.h"
#include "profile.h"
#include "report_fixture.h"
#include "settings.h"

using namespace hasorin;
using hasorin::testing::FakeUi;

namespace {

// Folder names a command line split at blanks or quotes would get wrong.
using Choice = std::array<bool, 3>;

const QString kOddName = QStringLiteral("作業 \"ﾌｫﾙﾀﾞ\" -x /INI=y");

std::string Bytes(const std::string& path) { return ReadFileBytes(path).value_or("<missing>"); }

}  // namespace

class MenuPrintTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::unique_ptr<FakeUi> ui_;
  hasorin::testing::Job job_{12};

  QString Folder(const QString& name) const { return dir_.filePath(name); }
  std::string TempFolder() const { return Folder("temp/" + kOddName).toStdString(); }
  std::string ProgramData() const { return Folder("program").toStdString(); }

  std::unique_ptr<frmMenuPrint> Open() {
    PrintJobOptions options;
    options.folder = TempFolder();
    auto w = std::make_unique<frmMenuPrint>(job_.project, *job_.results, options);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) qWarning("window not exposed");
    return w;
  }
  QStringList TempFiles() const { return QDir(QString::fromStdString(TempFolder())).entryList(QDir::Files); }
  void WriteFormat(const std::string& bytes) { WriteFileBytes(JoinPath(ProgramData(), "Zrn.FMT"), bytes); }
  void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  void Choose(frmMenuPrint& w, Choice chosen) {
    for (int k = 0; k < 3; ++k) {
      // On the box itself: a check box wider than its text takes no click beside the text.
      QCheckBox* box = w.chkPrintItem(k);
      if (box->isChecked() != chosen[size_t(k)]) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    QVERIFY(QDir().mkpath(QString::fromStdString(TempFolder())));
    QVERIFY(QDir().mkpath(QString::fromStdString(ProgramData())));
    InitProgramPaths(ProgramData(), Folder("appdata/" + kOddName).toStdString(), "hasorin");
    QApplication::setQuitOnLastWindowClosed(false);
  }
  void init() {
    ui_ = std::make_unique<FakeUi>();
    QFile::remove(QString::fromStdString(SettingsFilePath()));
    WriteFormat(Bytes(JoinPath(ProgramFolder(), "Zrn.FMT")));
  }
  void cleanup() { ui_.reset(); }

  void openingGeneratesEveryReport() {
    CPrivateProfile().SetValueString(SettingsFilePath(), "MenuPrint", "1", "1");
    auto w = Open();
    QCOMPARE(w->windowTitle(), QStringLiteral("検討結果の印刷"));
    const char* texts[] = {"計算条件", "計算結果（杭頭変位および杭頭作用力）", "計算結果(杭応力度照査)"};
    for (int k = 0; k < 3; ++k) {
      QCOMPARE(w->chkPrintItem(k)->text(), QString::fromUtf8(texts[k]));
      QCOMPARE(w->chkPrintItem(k)->isChecked(), k == 1);
      QVERIFY(w->Job().ReportOk(k));
    }
    QCOMPARE(w->cmdCheck(0)->text(), QStringLiteral("全項目選択"));
    QCOMPARE(w->cmdCheck(1)->text(), QStringLiteral("全項目選択解除"));
    QCOMPARE(w->cmdCheck(2)->text(), QStringLiteral("全項目選択反転"));
    QVERIFY(ui_->messages.empty());
    QVERIFY(w->cmdPreview()->isEnabled());
    // Three reports, the combined file, and the figure's drawing and sheet.
    QCOMPARE(TempFiles().size(), 6);
  }

  void checkButtons() {
    auto w = Open();
    Choose(*w, {false, true, false});
    Click(w->cmdCheck(2));  // invert
    QCOMPARE(w->chkPrintItem(0)->isChecked(), true);
    QCOMPARE(w->chkPrintItem(1)->isChecked(), false);
    QCOMPARE(w->chkPrintItem(2)->isChecked(), true);
    Click(w->cmdCheck(1));
    for (int k = 0; k < 3; ++k) QVERIFY(!w->chkPrintItem(k)->isChecked());
    Click(w->cmdCheck(0));
    for (int k = 0; k < 3; ++k) QVERIFY(w->chkPrintItem(k)->isChecked());
  }

  void previewStartsThePreviewerWithoutWaiting_data() {
    QTest::addColumn<Choice>("chosen");
    QTest::newRow("stress check only") << Choice{false, false, true};
    QTest::newRow("all three") << Choice{true, true, true};
    QTest::newRow("conditions and stresses") << Choice{true, false, true};
  }
  void previewStartsThePreviewerWithoutWaiting() {
    QFETCH(Choice, chosen);
    auto w = Open();
    Choose(*w, chosen);
    std::string expected;
    for (int k = 0; k < 3; ++k) {
      if (!chosen[size_t(k)]) continue;
      if (!expected.empty()) expected += '\f';
      expected += Bytes(w->Job().ReportFile(k));
    }
    for (int press = 1; press <= 2; ++press) {
      Click(w->cmdPreview());
      QCOMPARE(int(ui_->processes.size()), press);
      const testing::RecordedProcess& p = ui_->processes.back();
      QCOMPARE(p.program, QDir::toNativeSeparators(QString::fromStdString(JoinPath(ProgramFolder(), "Preview"))));
      const QString work = QString::fromStdString(WorkFolder());
      QVERIFY(work.contains(kOddName));
      QCOMPARE(p.arguments,
               QStringList({"/INI=\"" + work + "\"", QString::fromStdString(w->Job().CombinedFile())}));
      QCOMPARE(p.wait, false);
      // Rebuilt from the reports of the opening each time, not appended to.
      QVERIFY(Bytes(w->Job().CombinedFile()) == expected);
    }
    QVERIFY(w->isVisible());
    QVERIFY(ui_->messages.empty());
  }

  void nothingCheckedStartsNothing() {
    auto w = Open();
    Choose(*w, {false, false, false});
    Click(w->cmdPreview());
    QCOMPARE(ui_->beeps, 1);
    QCOMPARE(int(ui_->messages.size()), 1);
    QCOMPARE(ui_->messages[0].text, QStringLiteral("印刷項目はひとつ以上選択して下さい。"));
    QCOMPARE(ui_->messages[0].title, QStringLiteral("検討結果の印刷"));
    QCOMPARE(ui_->messages[0].icon, MsgIcon::Information);
    QVERIFY(ui_->processes.empty());
  }

  void aPreviewerThatCannotStartIsTold() {
    ui_->processStarts = false;
    auto w = Open();
    Choose(*w, {true, false, false});
    Click(w->cmdPreview());
    QCOMPARE(int(ui_->messages.size()), 1);
    QVERIFY(ui_->messages[0].text.contains(ui_->processes.at(0).program));
    QCOMPARE(ui_->messages[0].icon, MsgIcon::Critical);
    QVERIFY(w->isVisible());
  }

  void aCombinedFileThatCannotBeWrittenStartsNothing() {
    auto w = Open();
    const QString combined = QString::fromStdString(w->Job().CombinedFile());
    QVERIFY(QFile::remove(combined));
    QVERIFY(QDir().mkdir(combined));  // a folder where the file must go
    Choose(*w, {true, true, true});
    Click(w->cmdPreview());
    QVERIFY(ui_->processes.empty());
    QCOMPARE(int(ui_->messages.size()), 1);
    QVERIFY(ui_->messages[0].text.startsWith(QStringLiteral("印刷ﾌｧｲﾙを作成できませんでした。")));
    QVERIFY(QDir().rmdir(combined));
  }

  void closingDeletesEveryTemporaryFileAndKeepsTheChoice() {
    auto w = Open();
    Choose(*w, {true, false, true});
    Click(w->cmdPreview());
    QVERIFY(!TempFiles().isEmpty());
    Click(w->cmdClose());
    QVERIFY(!w->isVisible());
    QCOMPARE(TempFiles(), QStringList());
    CPrivateProfile profile;
    for (auto [key, value] : {std::pair{"0", "1"}, {"1", "0"}, {"2", "1"}}) {
      QCOMPARE(profile.GetValueString(SettingsFilePath(), "MenuPrint", key), std::string(value));
    }
    QVERIFY(!profile.GetValueString(SettingsFilePath(), "MenuPrint", "Top").empty());
  }

  void damagedFormatFileFailsEveryReportAndLeavesNothing() {
    WriteFormat("broken\r\n");
    auto w = Open();
    QCOMPARE(int(ui_->messages.size()), 1);
    const testing::RecordedMessage& m = ui_->messages[0];
    QCOMPARE(m.title, QStringLiteral("Hasorin"));
    QCOMPARE(m.icon, MsgIcon::Critical);
    QCOMPARE(m.text, QStringLiteral("･『計算条件』の印刷ﾌｧｲﾙ生成ｴﾗｰ\n"
                                    "･『計算結果(杭頭変位および杭頭作用力)』の印刷ﾌｧｲﾙ生成ｴﾗｰ\n"
                                    "･『計算結果(杭応力度照査)』の印刷ﾌｧｲﾙ生成ｴﾗｰ\n"));
    QVERIFY(!w->cmdPreview()->isEnabled());
    QTest::keyClick(w.get(), Qt::Key_Escape);
    QVERIFY(!w->isVisible());
    QCOMPARE(TempFiles(), QStringList());
  }
};

QTEST_MAIN(MenuPrintTest)
#include "menu_print_test.moc"
