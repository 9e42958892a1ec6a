// The editors under a real window manager, which frames windows and moves
// the focus to a real message box: opening and closing an editor again and
// again leaves its stored Top and Left where they were, and a refused value
// keeps its text and stops a click elsewhere. Run by with_window_manager.sh
// (Xvfb and openbox); without a display and a window manager it skips.
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTemporaryDir>
#include <QTest>

#include "fake_ui.h"
#include "inp_gairyoku.h"
#include "inp_jyoken.h"
#include "inp_kui.h"
#include "settings.h"

using namespace hasorin;

class EditorWmTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  static long Setting(const char* section, const char* key) {
    return CPrivateProfile().GetValueLong(SettingsFilePath(), section, key);
  }

  // Shows the editor as the main window does, waits for the window manager
  // to frame and place it, and closes it with Cancel.
  template <class Editor>
  static bool OpenAndCancel() {
    Editor editor;
    editor.show();
    if (!QTest::qWaitForWindowExposed(&editor)) return false;
    QTest::qWait(150);  // the frame arrives after the first expose
    QTest::mouseClick(editor.cmdCancel(), Qt::LeftButton);
    return !editor.isVisible();
  }

 private slots:
  void initTestCase() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
      QSKIP("needs an X display (run under xvfb-run with openbox)");
    QWidget probe;
    probe.resize(200, 100);
    probe.show();
    if (!QTest::qWaitForWindowExposed(&probe)) QSKIP("the X display shows no windows");
    QTest::qWait(300);
    if (probe.frameGeometry() == probe.geometry())
      QSKIP("no window manager framing windows on this display (start openbox)");
    QVERIFY(dir_.isValid());
    QVERIFY(QDir(dir_.path()).mkpath("program"));
    InitProgramPaths(dir_.filePath("program").toStdString(), dir_.filePath("appdata").toStdString(),
                     "hasorin");
  }

  void tenOpenCloseCyclesKeepThePosition_data() {
    QTest::addColumn<QString>("section");
    QTest::newRow("conditions") << "InpJyoken";
    QTest::newRow("loads") << "InpGairyoku";
    QTest::newRow("piles") << "InpKui";
  }
  void tenOpenCloseCyclesKeepThePosition() {
    QFETCH(QString, section);
    testing::FakeUi ui;
    const std::string s = section.toStdString();
    CPrivateProfile().SetValueString(SettingsFilePath(), s, "Top", "1500");
    CPrivateProfile().SetValueString(SettingsFilePath(), s, "Left", "1800");
    // A pile editor small enough that the window manager need not move it onto the screen.
    CPrivateProfile().SetValueString(SettingsFilePath(), s, "Width", "9000");
    CPrivateProfile().SetValueString(SettingsFilePath(), s, "Height", "6000");
    std::vector<std::pair<long, long>> seen;
    for (int i = 0; i < 10; ++i) {
      bool closed = s == "InpJyoken"     ? OpenAndCancel<frmInpJyoken>()
                    : s == "InpGairyoku" ? OpenAndCancel<frmInpGairyoku>()
                                         : OpenAndCancel<frmInpKui>();
      QVERIFY(closed);
      seen.emplace_back(Setting(s.c_str(), "Top"), Setting(s.c_str(), "Left"));
    }
    for (const auto& [top, left] : seen) {
      QCOMPARE(top, seen.front().first);
      QCOMPARE(left, seen.front().second);
    }
    // And the first cycle kept what was stored before it.
    QCOMPARE(seen.front().first, 1500L);
    QCOMPARE(seen.front().second, 1800L);
  }

  // The desktop's own message box, not a stand-in.
  void refusedValueUnderARealMessageBox() {
    frmInpJyoken editor;
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    auto click = [&editor](QWidget* w) {
      QTest::mouseClick(editor.windowHandle(), Qt::LeftButton, {}, w->mapTo(&editor, w->rect().center()));
    };
    click(editor.numEp);
    QTest::keyClick(editor.numEp, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor.numEp, "5");
    QStringList boxTexts, shown;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        boxTexts << box->text();
        shown << editor.numEp->text();
        box->accept();
      }
    });
    closer.start(300);
    click(editor.optTop->button(1));  // "ヒンジ"
    QTRY_VERIFY(QApplication::activeModalWidget() == &editor);  // the box has closed
    QTRY_VERIFY(editor.numEp->hasFocus());
    QCOMPARE(boxTexts, QStringList{"入力範囲：100,000 ～ 99,999,999"});
    QCOMPARE(shown, QStringList{"5"});
    QCOMPARE(editor.numEp->text(), QString("5"));
    QVERIFY(!editor.optTop->button(1)->isChecked());
  }
};

QTEST_MAIN(EditorWmTest)
#include "editor_wm_test.moc"
