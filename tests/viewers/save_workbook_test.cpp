// "Excelに保存..." in both result windows: the entry of the context menu, the
// save dialog through the platform seam, the workbook read back, and a file
// that cannot be written.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "example_projects.h"
#include "fake_ui.h"
#include "open_viewers.h"
#include "res_out_pxpypz.h"
#include "res_out_stress.h"
#include "result_grid.h"
#include "save_workbook.h"
#include "settings.h"
#include "xlsx_read.h"

using namespace hasorin;

namespace {

// Right-clicks a cell and picks the menu's last entry with the keys.
void SaveFromContextMenu(ResultGrid* g) {
  const QPoint at = g->visualRect(g->model()->index(1, 1)).center();
  QTimer::singleShot(0, [] {
    QWidget* popup = QApplication::activePopupWidget();
    if (!popup) return;
    QTest::keyClick(popup, Qt::Key_Up);  // from the top to the last entry
    QTest::keyClick(popup, Qt::Key_Return);
  });
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, g->viewport()->mapToGlobal(at));
  QApplication::sendEvent(g->viewport(), &event);
}

}  // namespace

class SaveWorkbookTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  Project project_ = testing::Inclined4();
  engine::CalcResults results_;

  // Filled, with the entry, and shown as the main window shows it.
  void Show(ResultFrame& window) {
    window.Load();
    AddSaveWorkbookEntry(window, project_, results_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    InitProgramPaths(dir_.path().toStdString(), dir_.filePath("appdata").toStdString(), "hasorin");
    project_.CurrentFilePath = dir_.filePath("inclined4.zrn").toStdString();
    QCOMPARE(engine::CalcPileGroup(project_, results_), 0);
  }

  void bothWindowsSaveTheWorkbookOfTheRun() {
    testing::FakeUi ui;
    const QString forces = dir_.filePath("forces.xlsx"), stress = dir_.filePath("stress.xlsx");
    ui.saveAnswers = {forces, stress};
    frmResOutPxPyPz head;
    ConnectViewer(head, results_);
    Show(head);
    SaveFromContextMenu(head.vaSpread1);
    frmResOutStress check;
    ConnectViewer(check, project_, results_);
    Show(check);
    SaveFromContextMenu(check.vaSpread1[0]);

    QCOMPARE(ui.saveDialogs.size(), size_t(2));
    QCOMPARE(ui.saveDialogs[0].title, QStringLiteral("Excelに保存"));
    QCOMPARE(ui.saveDialogs[0].fileName, QStringLiteral("inclined4.xlsx"));
    QCOMPARE(ui.saveDialogs[0].startFolder, dir_.path());
    QVERIFY(ui.messages.empty());
    for (const QString& path : {forces, stress}) {
      testing::Workbook w = testing::ReadWorkbook(path);
      QCOMPARE(w.sheets.size(), size_t(5));
      QCOMPARE(w.sheets[2], std::string("杭頭作用力"));
      QCOMPARE(std::stod(w.cells[2]["C2"]), results_.Py[1]);  // Ｐy of pile 1
      QCOMPARE(std::stod(w.cells[4]["E5"]), results_.CheckRatio[1][4]);  // κ SKK490 of pile 4
    }
  }

  void aFileThatCannotBeWrittenIsReported() {
    testing::FakeUi ui;
    ui.saveAnswers = {dir_.filePath("missing/forces.xlsx")};
    frmResOutPxPyPz head;
    ConnectViewer(head, results_);
    Show(head);
    SaveFromContextMenu(head.vaSpread1);
    QCOMPARE(ui.messages.size(), size_t(1));
    QCOMPARE(ui.messages[0].icon, MsgIcon::Critical);
    QVERIFY(ui.messages[0].text.startsWith(QStringLiteral("Excelﾌｧｲﾙを保存できません：")));
    QVERIFY(!QFile::exists(dir_.filePath("missing/forces.xlsx")));
  }

  void cancellingTheDialogWritesNothing() {
    testing::FakeUi ui;  // answers every dialog with cancel
    const auto before = QDir(dir_.path()).entryList();
    frmResOutPxPyPz head;
    ConnectViewer(head, results_);
    Show(head);
    SaveFromContextMenu(head.vaSpread1);
    QCOMPARE(ui.saveDialogs.size(), size_t(1));
    QVERIFY(ui.messages.empty());
    QCOMPARE(QDir(dir_.path()).entryList(), before);
  }
};

QTEST_MAIN(SaveWorkbookTest)
#include "save_workbook_test.moc"
