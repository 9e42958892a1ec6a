// The profile window as the user meets it: opened from the pile-head
// window's context menu, the conditioning in that window's status bar,
// another pile chosen from the keyboard, saving as PDF, SVG and PNG, printing.
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "example_projects.h"
#include "fake_ui.h"
#include "open_profile.h"
#include "open_viewers.h"
#include "res_out_profile.h"
#include "res_out_pxpypz.h"
#include "result_grid.h"

using namespace hasorin;
using hasorin::testing::FakeUi;

namespace {

struct Run {
  Project project;
  std::unique_ptr<engine::CalcResults> results = std::make_unique<engine::CalcResults>();
  explicit Run(Project p) : project(std::move(p)) { engine::CalcPileGroup(project, *results); }
};

void RightClickKey(ResultGrid* g, int row, Qt::Key key) {
  const QPoint at = g->visualRect(g->model()->index(row, 0)).center();
  QTimer::singleShot(0, [key] {
    if (QWidget* popup = QApplication::activePopupWidget()) QTest::keyClick(popup, key);
  });
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, g->viewport()->mapToGlobal(at));
  QApplication::sendEvent(g->viewport(), &event);
}

// Runs `then` once a modal window of type T is active (polled, since it opens
// inside another window's event loop).
template <class T, class F>
void WhenModal(QObject* context, F then, int triesLeft = 200) {
  QTimer::singleShot(20, context, [=] {
    if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget()))
      then(w);
    else if (triesLeft > 0)
      WhenModal<T>(context, then, triesLeft - 1);
  });
}

QByteArray Head(const QString& path, int n) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

}  // namespace

class ProfileTest : public QObject {
  Q_OBJECT

 private slots:
  void pileHeadWindowShowsConditioningAndOpensTheProfileOfTheChosenPile() {
    FakeUi ui;
    Run run(testing::Inclined4());
    static bool installed = false;
    if (!installed) InstallProfileCommands(run.project, *run.results);
    installed = true;
    QString status, title;
    int pile = 0;
    WhenModal<frmResOutPxPyPz>(this, [&](frmResOutPxPyPz* heads) {
      if (auto* panel = heads->StatusBar1->findChild<QLabel*>("StatusPanel2")) status = panel->text();
      WhenModal<frmResOutProfile>(this, [&](frmResOutProfile* profile) {
        title = profile->windowTitle();
        pile = profile->Sheet().pile;
        QTest::keyClick(profile, Qt::Key_Escape);
      });
      RightClickKey(heads->vaSpread1, 2, Qt::Key_D);  // pile 3
      heads->cmdClose()->click();
    });
    OpenPileHeadViewer(nullptr, *run.results);
    QCOMPARE(status, QString("剛性マトリクスの条件数：1.87E+00"));
    QCOMPARE(title, QString("杭体断面力分布"));
    QCOMPARE(pile, 3);
  }

  void nearMechanismIsShownInRedWithTheWarning() {
    Run run(testing::NearMechanism());
    frmResOutPxPyPz heads;
    ConnectViewer(heads, *run.results);
    ExtendPileHeadWindow(heads, run.project, *run.results);
    heads.show();
    auto* panel = heads.StatusBar1->findChild<QLabel*>("StatusPanel2");
    QVERIFY(panel);
    QVERIFY(panel->text().contains("不安定構造に近い"));
    QVERIFY(panel->text().contains("x軸回りの回転"));
    QCOMPARE(panel->palette().color(QPalette::WindowText), QColor(0xc0, 0, 0));
  }

  void choosesAnotherPileSavesAndPrints() {
    FakeUi ui;
    Run run(testing::Inclined4());
    frmResOutProfile window;
    QObject::connect(&window, &ResultFrame::LoadData, &window, [&] {
      window.SetSource(
          4, [&](int i) { return MakeProfileSheet(run.project, *run.results, i); }, 1);
    });
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.Sheet().pile, 1);
    // The pile list has the focus when the window opens.
    QCOMPARE(QApplication::focusWidget(), window.cboPile);
    QTest::keyClick(window.cboPile, Qt::Key_Down);
    QCOMPARE(window.Sheet().pile, 2);
    QCOMPARE(window.Sheet().profile.points.front().Px, run.results->Px[2]);
    QVERIFY(window.Sheet().profile.ground.found);

    QTemporaryDir dir;
    const struct {
      const char* name;
      QByteArray magic;
    } files[] = {{"p.pdf", "%PDF"}, {"p.svg", "<?xml"}, {"p.png", "\x89PNG"}};
    for (const auto& f : files) {
      const QString path = dir.filePath(f.name);
      ui.saveAnswers.push_back(path);
      QTest::mouseClick(window.cmdSave, Qt::LeftButton);
      QCOMPARE(ui.saveDialogs.size(), size_t(&f - files + 1));
      QCOMPARE(Head(path, f.magic.size()), f.magic);
    }
    QCOMPARE(ui.saveDialogs.back().fileName, QString("杭No2_断面力分布.pdf"));
    QVERIFY(ui.messages.empty());

    // A folder that does not exist: the user is told, nothing is lost.
    ui.saveAnswers.push_back(dir.filePath("missing/p.pdf"));
    QTest::mouseClick(window.cmdSave, Qt::LeftButton);
    QCOMPARE(ui.messages.size(), size_t(1));
    QVERIFY(ui.messages[0].text.contains("保存できませんでした"));
    QCOMPARE(ui.messages[0].icon, MsgIcon::Critical);

    // Printing to the printer the dialog returns; here a PDF file.
    const QString printed = dir.filePath("printed.pdf");
    frmResOutProfile::ChoosePrinter() = [&](QWidget*, QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(printed);
      return true;
    };
    QTest::mouseClick(window.cmdPrint, Qt::LeftButton);
    QCOMPARE(Head(printed, 4), QByteArray("%PDF"));
    QCOMPARE(ui.messages.size(), size_t(1));
  }

  void aPileWithoutResultsDrawsNothingAndCannotBeSaved() {
    FakeUi ui;
    Run run(testing::Inclined4());
    run.results->solved = false;  // as after a failed solve
    frmResOutProfile window;
    window.SetSource(
        4, [&](int i) { return MakeProfileSheet(run.project, *run.results, i); }, 9);
    window.show();
    QCOMPARE(window.Sheet().pile, 4);  // clamped to the table
    QVERIFY(window.Sheet().profile.points.empty());
    QVERIFY(!window.cmdSave->isEnabled());
    QVERIFY(!window.cmdPrint->isEnabled());
    window.grab();  // paints the empty sheet without a fault
  }
};

QTEST_MAIN(ProfileTest)
#include "profile_test.moc"
