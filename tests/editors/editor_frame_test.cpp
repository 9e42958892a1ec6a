// The editor frame and entry fields as the user meets them in the conditions
// and loads editors: range checks on leaving a field, moving with the keys,
// OK / Cancel / close box, remembered position, title limits.
#include <QApplication>
#include <QButtonGroup>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "fake_ui.h"
#include "inp_gairyoku.h"
#include "inp_jyoken.h"
#include "settings.h"
#include "window_position.h"

using namespace hasorin;

class EditorFrameTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  testing::FakeUi* ui_ = nullptr;

  static void Show(QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
  }
  // Replaces the field's text by typing, then presses `key` to leave it.
  static void TypeAndLeave(EntryField* field, const QString& text, Qt::Key key = Qt::Key_Tab) {
    field->setFocus();
    field->selectAll();
    if (text.isEmpty()) QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, key);
  }
  static long Setting(const char* section, const char* key) {
    return CPrivateProfile().GetValueLong(SettingsFilePath(), section, key);
  }
  // Types like a keyboard would, one character (or surrogate pair) at a time.
  static void Type(QWidget* field, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      qsizetype len = text.at(i).isHighSurrogate() ? 2 : 1;
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, len));
      QApplication::sendEvent(field, &press);
      i += len - 1;
    }
  }
  // Makes the next range message behave like a real message box: it takes
  // the focus away from the editor and gives it back when it closes.
  // `whileShown` runs while the box has the focus.
  void TakeFocusOnMessage(QWidget& editor, std::function<void()> whileShown) {
    ui_->onMessage = [&editor, whileShown] {
      QDialog box(&editor);
      (new QHBoxLayout(&box))->addWidget(new QPushButton("OK"));
      box.show();
      box.activateWindow();
      QVERIFY(QTest::qWaitFor([&box] { return QApplication::activeWindow() == &box; }));
      whileShown();
      box.close();
      editor.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&editor));
    };
  }
  // A click as the window system delivers it: to the window, which passes it
  // on to the control under the pointer.
  static void Click(QWidget* w) {
    QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {},
                      w->mapTo(w->window(), w->rect().center()));
  }
  // Puts the field in edit by clicking it and selecting its text, as a user does.
  static void ClickAndType(QLineEdit* field, const QString& text) {
    Click(field);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
  }
  // The conditions and the loads editor; a test row shows the one it names.
  struct BothEditors {
    frmInpJyoken conditions;
    frmInpGairyoku loads;
    EditorFrame& Shown(bool wantLoads) {
      EditorFrame& editor = wantLoads ? static_cast<EditorFrame&>(loads) : conditions;
      Show(editor);
      return editor;
    }
  };
  static void Store(const char* section, long top, long left) {
    CPrivateProfile().SetValueString(SettingsFilePath(), section, "Top", std::to_string(top));
    CPrivateProfile().SetValueString(SettingsFilePath(), section, "Left", std::to_string(left));
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    QVERIFY(QDir(dir_.path()).mkpath("program"));
    InitProgramPaths(dir_.filePath("program").toStdString(), dir_.filePath("appdata").toStdString(),
                     "hasorin");
  }
  void init() {
    QFile::remove(QString::fromStdString(SettingsFilePath()));
    ui_ = new testing::FakeUi;
  }
  void cleanup() {
    delete ui_;
    ui_ = nullptr;
  }

  void rangeCheckOnLeaving_data() {
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");  // empty: accepted
    const QString ep = "入力範囲：100,000 ～ 99,999,999";
    const QString loads = "入力範囲：-99,999,999.99 ～ 99,999,999.99";
    QTest::newRow("Ep below") << false << "numEp" << "49999" << ep;
    QTest::newRow("Ep lower limit") << false << "numEp" << "100000" << "";
    QTest::newRow("Ep upper limit") << false << "numEp" << "99999999" << "";
    QTest::newRow("Ep above") << false << "numEp" << "100000000" << ep;
    QTest::newRow("Ep empty") << false << "numEp" << "" << "";
    QTest::newRow("kh lower limit") << false << "numKh" << "1" << "";
    QTest::newRow("kh zero") << false << "numKh" << "0" << "入力範囲：1 ～ 99,999,999";
    QTest::newRow("alpha 3, shown as typed") << false << "numAlpha" << "3" << "入力範囲：0.00 ～ 2.00";
    QTest::newRow("Ep above, no grouping") << false << "numEp" << "123456789" << ep;
    QTest::newRow("alpha 2.00") << false << "numAlpha" << "2.00" << "";
    QTest::newRow("alpha 2.01") << false << "numAlpha" << "2.01" << "入力範囲：0.00 ～ 2.00";
    QTest::newRow("alpha 0") << false << "numAlpha" << "0" << "";
    QTest::newRow("Xo lower limit") << true << "numXo" << "-99999999.99" << "";
    QTest::newRow("Xo below") << true << "numXo" << "-100000000" << loads;
    QTest::newRow("Mzo above") << true << "numMzo" << "100000000" << loads;
    QTest::newRow("Mzo only a sign") << true << "numMzo" << "-" << "";
  }
  void rangeCheckOnLeaving() {
    QFETCH(bool, loads);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    BothEditors both;
    EditorFrame& editor = both.Shown(loads);
    auto* f = editor.findChild<NumberField*>(field);
    QVERIFY(f);
    QString textWhileShown;
    TakeFocusOnMessage(editor, [&] { textWhileShown = f->text(); });
    TypeAndLeave(f, typed);
    if (message.isEmpty()) {
      QVERIFY(ui_->messages.empty());
      QCOMPARE(ui_->beeps, 0);
      QVERIFY(!f->hasFocus());
    } else {
      QCOMPARE(ui_->beeps, 1);
      QCOMPARE(int(ui_->messages.size()), 1);
      QCOMPARE(ui_->messages[0].text, message);
      QCOMPARE(ui_->messages[0].icon, MsgIcon::Information);
      QCOMPARE(ui_->messages[0].buttons, MsgButtons::Ok);
      QVERIFY(f->hasFocus());
      // The value stays as typed, behind the message and after it.
      QCOMPARE(textWhileShown, typed);
      QCOMPARE(f->text(), typed);
    }
  }

  // A field takes no more decimals than it shows; what it holds is what it shows.
  void decimalsBeyondThePatternAreRefused_data() {
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");  // after leaving the field
    QTest::addColumn<double>("stored");
    QTest::newRow("alpha") << false << "numAlpha" << "1.234" << "1.23" << 1.23;
    QTest::newRow("Ep takes no point") << false << "numEp" << "200000.5" << "2,000,005" << 2000005.0;
    QTest::newRow("kh takes no point") << false << "numKh" << "3000.9" << "30,009" << 30009.0;
    QTest::newRow("Xo") << true << "numXo" << "12.345" << "12.34" << 12.34;
    QTest::newRow("Yo") << true << "numYo" << "-0.019" << "-0.01" << -0.01;
    QTest::newRow("Mzo") << true << "numMzo" << "1234.5678" << "1,234.56" << 1234.56;
  }
  void decimalsBeyondThePatternAreRefused() {
    QFETCH(bool, loads);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(double, stored);
    BothEditors both;
    auto* f = both.Shown(loads).findChild<NumberField*>(field);
    ClickAndType(f, typed);
    QTest::keyClick(f, Qt::Key_Tab);
    QCOMPARE(f->text(), shown);
    QCOMPARE(f->value(), std::optional<double>(stored));
    // A value handed in with more decimals is held as it is shown as well.
    f->setValue(stored + 0.004);
    QCOMPARE(f->value(), std::optional<double>(stored));
  }

  // While a value is refused, a click on another control does nothing there:
  // the message comes first and the control is left as it was.
  void clickElsewhereDoesNotActWhileRefused_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("option button") << "option";
    QTest::newRow("check box") << "check";
    QTest::newRow("list") << "list";
  }
  void clickElsewhereDoesNotActWhileRefused() {
    QFETCH(QString, target);
    frmInpJyoken editor;
    // A check box and a list, as other editors on the same frame have them.
    auto* check = new QCheckBox(QStringLiteral("印刷"), editor.Body());
    auto* list = new QComboBox(editor.Body());
    list->addItems({"1", "2"});
    editor.Body()->layout()->addWidget(check);
    editor.Body()->layout()->addWidget(list);
    Show(editor);
    const int optionBefore = editor.optTop->checkedId();
    ClickAndType(editor.numEp, "5");
    Click(target == "option" ? static_cast<QWidget*>(editor.optTop->button(1))
          : target == "check" ? static_cast<QWidget*>(check)
                              : list);
    QTest::qWait(20);
    QCOMPARE(int(ui_->messages.size()), 1);
    QVERIFY(editor.numEp->hasFocus());
    QCOMPARE(editor.numEp->text(), QString("5"));
    QCOMPARE(editor.optTop->checkedId(), optionBefore);
    QVERIFY(!check->isChecked());
    QVERIFY(!list->view()->isVisible());
    // Once the value is mended the same click acts.
    ClickAndType(editor.numEp, "300000");
    Click(editor.optTop->button(1));
    QCOMPARE(editor.optTop->checkedId(), 1);
    QCOMPARE(int(ui_->messages.size()), 1);
  }

  void keysMoveInTabOrder() {
    frmInpJyoken editor;
    Show(editor);
    editor.numEp->setFocus();
    QTest::keyClick(editor.numEp, Qt::Key_Return);
    QVERIFY(editor.numKh->hasFocus());
    QTest::keyClick(editor.numKh, Qt::Key_Up);
    QVERIFY(editor.numEp->hasFocus());
    QTest::keyClick(editor.numEp, Qt::Key_Up);
    QVERIFY(editor.txtTitle->hasFocus());
    QTest::keyClick(editor.txtTitle, Qt::Key_Down);
    QVERIFY(editor.numEp->hasFocus());
    // Enter on an option button moves on as well instead of closing the dialog.
    editor.optKv->button(1)->setFocus();
    QTest::keyClick(editor.optKv->button(1), Qt::Key_Return);
    QVERIFY(editor.isVisible());
    QVERIFY(editor.numAlpha->hasFocus());
    // A refused value does not move on with Enter either.
    TypeAndLeave(editor.numAlpha, "3", Qt::Key_Enter);
    QVERIFY(editor.numAlpha->hasFocus());
    QCOMPARE(ui_->beeps, 1);
  }

  void tabOrderFollowsTheColumn() {
    frmInpJyoken editor;
    Show(editor);
    editor.optBottom->button(2)->setChecked(true);
    editor.txtTitle->setFocus();
    QStringList order{"txtTitle"};
    for (int i = 0; i < 9; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order << QApplication::focusWidget()->objectName();
    }
    // Tabbing into an option group lands on its selected button; Help is disabled.
    QCOMPARE(order, QStringList({"txtTitle", "numEp", "numKh", "optTop0", "optBottom2", "optKv0",
                                 "numAlpha", "cmdOk", "cmdCancel", "txtTitle"}));
    QStringList back;
    for (int i = 0; i < 5; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
      back << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(back, QStringList({"cmdCancel", "cmdOk", "numAlpha", "optKv0", "optBottom2"}));
  }

  void clickingAwayFromBadValueComesBack() {
    frmInpJyoken editor;
    Show(editor);
    editor.numEp->setFocus();
    editor.numEp->selectAll();
    QTest::keyClicks(editor.numEp, "50000");
    QTest::mouseClick(editor.numKh, Qt::LeftButton);
    QTRY_VERIFY(editor.numEp->hasFocus());
    QCOMPARE(int(ui_->messages.size()), 1);
    QCOMPARE(ui_->messages[0].text, QString("入力範囲：100,000 ～ 99,999,999"));
    QCOMPARE(editor.numEp->value(), std::optional<double>(50000));
  }

  void okChecksFieldsBeforeHandingOver() {
    frmInpJyoken editor;
    int saves = 0;
    connect(&editor, &EditorFrame::SaveData, this, [&](bool&) { ++saves; });
    Show(editor);
    editor.numKh->setValue(0);  // out of range, but never left by the user
    editor.cmdOk()->click();
    QCOMPARE(saves, 0);
    QVERIFY(editor.isVisible());
    QVERIFY(editor.numKh->hasFocus());
    QCOMPARE(int(ui_->messages.size()), 1);

    editor.numKh->setValue(30000);
    editor.cmdOk()->click();
    QCOMPARE(saves, 1);
    QVERIFY(!editor.isVisible());
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QCOMPARE(editor.UsrTag, QString("OK"));
  }

  void refusedSaveKeepsWindowOpen() {
    frmInpGairyoku editor;
    connect(&editor, &EditorFrame::SaveData, this, [](bool& cancel) { cancel = true; });
    Show(editor);
    editor.cmdOk()->click();
    QVERIFY(editor.isVisible());
    QCOMPARE(editor.UsrTag, QString("OK"));
  }

  void cancelAndEscapeNeedNoValidValue() {
    for (bool escape : {false, true}) {
      frmInpJyoken editor;
      Show(editor);
      editor.numEp->setFocus();
      editor.numEp->selectAll();
      QTest::keyClicks(editor.numEp, "5");
      if (escape) {
        QTest::keyClick(editor.numEp, Qt::Key_Escape);
      } else {
        QTest::mouseClick(editor.cmdCancel(), Qt::LeftButton);
        QCoreApplication::processEvents();
      }
      QVERIFY(!editor.isVisible());
      QCOMPARE(editor.UsrTag, QString("ｷｬﾝｾﾙ"));
      QVERIFY(ui_->messages.empty());
    }
  }

  void closeBoxKeepsTagAndRemembersPosition() {
    frmInpJyoken editor;
    editor.UsrTag = "before";
    Show(editor);
    editor.move(150, 120);
    editor.close();
    QVERIFY(!editor.isVisible());
    QCOMPARE(editor.UsrTag, QString("before"));
    // The client area's position: the one a restore places the window at.
    QCOMPARE(Setting("InpJyoken", "Top"), PixelsToTwips(&editor, editor.geometry().y(), Qt::Vertical));
    QCOMPARE(Setting("InpJyoken", "Left"), PixelsToTwips(&editor, editor.geometry().x(), Qt::Horizontal));
    QVERIFY(Setting("InpJyoken", "Top") > 0);
  }

  void storedPositionIsRestored_data() {
    QTest::addColumn<long>("top");
    QTest::addColumn<long>("left");
    QTest::addColumn<bool>("centredTop");
    QTest::addColumn<bool>("centredLeft");
    QTest::newRow("never stored") << 0L << 0L << true << true;
    QTest::newRow("top edge") << 1L << 1L << false << false;
    QTest::newRow("stored") << 1500L << 3000L << false << false;
    QTest::newRow("negative") << -600L << 3000L << true << false;
    QTest::newRow("below the screen") << 10000000L << 3000L << true << false;
    QTest::newRow("right of the screen") << 1500L << 10000000L << false << true;
  }
  void storedPositionIsRestored() {
    QFETCH(long, top);
    QFETCH(long, left);
    QFETCH(bool, centredTop);
    QFETCH(bool, centredLeft);
    Store("InpGairyoku", top, left);
    frmInpGairyoku editor;
    editor.Load();
    const QRect screen = editor.screen()->availableGeometry();
    const int centreY = screen.y() + std::max(0, (screen.height() - editor.frameGeometry().height()) / 2);
    const int centreX = screen.x() + std::max(0, (screen.width() - editor.frameGeometry().width()) / 2);
    QCOMPARE(editor.geometry().y(), centredTop ? centreY : TwipsToPixels(&editor, top, Qt::Vertical));
    QCOMPARE(editor.geometry().x(), centredLeft ? centreX : TwipsToPixels(&editor, left, Qt::Horizontal));
    // Shown and closed, it stores what it was placed at (offscreen windows
    // have a thin frame, which must not count).
    if (centredTop || centredLeft || top < 1000) return;
    Show(editor);
    QTest::mouseClick(editor.cmdCancel(), Qt::LeftButton);
    QCOMPARE(Setting("InpGairyoku", "Top"), top);
    QCOMPARE(Setting("InpGairyoku", "Left"), left);
  }

  void captionAndHelpFromOpener() {
    frmInpJyoken plain;
    plain.Load();
    QCOMPARE(plain.windowTitle(), QString("計算条件の入力"));
    QVERIFY(!plain.cmdHelp()->isEnabled());
    QCOMPARE(plain.cmdOk()->text(), QString("OK(&O)"));
    QCOMPARE(plain.cmdCancel()->text(), QString("ｷｬﾝｾﾙ(&C)"));
    QCOMPARE(plain.cmdHelp()->text(), QString("ﾍﾙﾌﾟ(&H)"));

    frmInpGairyoku named;
    named.UsrCaption = "外力";
    named.UsrHelpFile = "hasorin.chm";
    named.UsrHelpContextID = 12;
    named.Load();
    QCOMPARE(named.windowTitle(), QString("外力"));
    QVERIFY(named.cmdHelp()->isEnabled());
    named.cmdHelp()->click();
    QCOMPARE(int(ui_->processes.size()), 1);
    QVERIFY(ui_->processes[0].arguments.contains("hasorin.chm"));
  }

  void loadsEditorShowsNoUnitTextBesideTheFields() {
    frmInpGairyoku editor;
    Show(editor);
    for (QLabel* label : editor.findChildren<QLabel*>())
      QVERIFY2(!label->isVisible() || label->text().isEmpty(), qPrintable(label->text()));
  }

  void loadStepsRunOnceInOrder() {
    Store("InpJyoken", 1500, 1500);
    frmInpJyoken editor;
    editor.UsrCaption = "条件";
    QStringList seen;
    connect(&editor, &EditorFrame::LoadData, this, [&] {
      seen << editor.windowTitle() << QString::number(editor.geometry().y());
    });
    Show(editor);
    editor.hide();
    editor.show();
    QCOMPARE(seen, QStringList({"条件", QString::number(TwipsToPixels(&editor, 1500, Qt::Vertical))}));
  }

  void numberFieldShowsPatterns() {
    frmInpJyoken editor;
    Show(editor);
    editor.numEp->setValue(1234567);
    editor.txtTitle->setFocus();
    QCOMPARE(editor.numEp->text(), QString("1,234,567"));
    editor.numEp->setFocus();
    QCOMPARE(editor.numEp->text(), QString("1234567"));
    editor.numAlpha->setValue(1);
    QCOMPARE(editor.numAlpha->text(), QString("1.00"));
    editor.numEp->setValue(std::nullopt);
    QCOMPARE(editor.numEp->text(), QString());
    QVERIFY(editor.numEp->InRange());
    // Letters and a second point never get in.
    editor.numEp->selectAll();
    QTest::keyClicks(editor.numEp, "12a.3.4");
    QCOMPARE(editor.numEp->text(), QString("1234"));  // and no point where no decimals are shown
    QCOMPARE(editor.numEp->value(), std::optional<double>(1234));
    editor.numAlpha->selectAll();
    QTest::keyClicks(editor.numAlpha, "1.2.5");
    QCOMPARE(editor.numAlpha->text(), QString("1.25"));
    // No minus sign where the lower limit is not negative.
    editor.numEp->selectAll();
    QTest::keyClicks(editor.numEp, "-5");
    QCOMPARE(editor.numEp->text(), QString("5"));
  }

  void titleLimitCountsPrintColumns() {
    frmInpJyoken editor;
    Show(editor);
    TextField* title = editor.txtTitle;
    auto typed = [&](const QString& text) {
      title->setFocus();
      title->selectAll();
      QTest::keyClick(title, Qt::Key_Delete);
      Type(title, text);
      return title->text();
    };
    QCOMPARE(typed(QString(45, 'a')), QString(40, 'a'));
    QCOMPARE(typed(QString(25, QChar(u'杭'))), QString(20, QChar(u'杭')));
    QCOMPARE(typed(QString(41, QChar(u'ｱ'))), QString(40, QChar(u'ｱ')));
    QCOMPARE(typed(QString(39, 'a') + "杭"), QString(39, 'a'));
    // A character the CP932 input file cannot hold is refused; the rest stays.
    QCOMPARE(typed(QString::fromUtf8("杭\xF0\x9F\x98\x80" "基礎")), QString("杭基礎"));
  }
};

QTEST_MAIN(EditorFrameTest)
#include "editor_frame_test.moc"
