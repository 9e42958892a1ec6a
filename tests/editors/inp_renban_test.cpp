// The numbering settings editor as the user meets it: the previews following
// the method and the margins, the range checks on every tab, tabs and OK that
// wait for a refused value, and stored values without a control.
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "fake_ui.h"
#include "inp_renban.h"
#include "renban_steps.h"
#include "settings.h"

using namespace hasorin;
using testing::ClickTab;

namespace {

// The preview as the window shows it, one entry per line (the last after the final line end).
QStringList Lines(const QPlainTextEdit* box) { return box->toPlainText().split('\n'); }
QStringList Preview(const QStringList& seven) { return seven + QStringList{""}; }

std::string Chapter(const char* key) {
  return CPrivateProfile().GetValueString(SettingsFilePath(), "Chapter", key);
}
void Store(const char* key, const char* value) {
  CPrivateProfile().SetValueString(SettingsFilePath(), "Chapter", key, value);
}
void TypeAndLeave(NumberField* field, const QString& text, Qt::Key key = Qt::Key_Tab) {
  testing::TypeInto(field, text);
  if (key != Qt::Key_unknown) QTest::keyClick(field, key);
}

// The editor with the main window's exchange, shown as the program shows it.
struct Opened {
  frmInpRenban editor;
  int saves = 0;
  Opened() {
    QObject::connect(&editor, &EditorFrame::LoadData, &editor,
                     [this] { editor.SetFields(LoadNumberingFields(SettingsFilePath())); });
    QObject::connect(&editor, &EditorFrame::SaveData, &editor, [this](bool&) {
      ++saves;
      SaveNumberingFields(editor.Fields(), SettingsFilePath());
    });
    editor.show();
    editor.activateWindow();
    if (!QTest::qWaitForWindowActive(&editor)) qWarning("editor not active");
  }
};

}  // namespace

class InpRenbanTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  testing::FakeUi* ui_ = nullptr;

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    InitProgramPaths(dir_.path().toStdString(), dir_.filePath("appdata").toStdString(), "hasorin");
  }
  void init() {
    QFile::remove(QString::fromStdString(SettingsFilePath()));
    ui_ = new testing::FakeUi;
  }
  void cleanup() { delete ui_; }

  void methodPreviewFollowsTheButtons_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("なし") << 0 << Preview({"○○○", "  ○○○", "    ○○○", "        ○○○", "", "○○○", "  ○○○"});
    QTest::newRow("alone") << 1 << Preview({"(章)○○○", "  (節)○○○", "    (項)○○○", "        (No)○○○",
                                            "", "(章)○○○", "  (節)○○○"});
    QTest::newRow("joined -") << 2 << Preview({"(章)○○○", "  (章)-(節)○○○", "    (章)-(節)-(項)○○○",
                                               "        (No)○○○", "", "(章)○○○", "  (章)-(節)○○○"});
    QTest::newRow("joined .") << 3 << Preview({"(章)○○○", "  (章).(節)○○○", "    (章).(節).(項)○○○",
                                               "        (No)○○○", "", "(章)○○○", "  (章).(節)○○○"});
  }
  void methodPreviewFollowsTheButtons() {
    QFETCH(int, method);
    QFETCH(QStringList, lines);
    Store("Method", method == 3 ? "0" : "3");  // start from another method
    Opened o;
    testing::ClickOption(o.editor.optMethod->button(method));
    QCOMPARE(Lines(o.editor.txtMethod), lines);
    QCOMPARE(MethodPreviewText(method), lines.join("\r\n"));
    // The margin preview waits for its tab; with margins 0, 2, 4, 8 it is the same text.
    QVERIFY(Lines(o.editor.txtMargin) != lines);
    ClickTab(o.editor, 2);
    for (int k = 0; k < 4; ++k) TypeAndLeave(o.editor.numMargin[size_t(k)], QString::number(k ? 1 << k : 0));
    QCOMPARE(Lines(o.editor.txtMargin), lines);
  }

  void marginPreviewFollowsEveryMargin() {
    Store("Method", "2");
    Opened o;
    ClickTab(o.editor, 2);
    // Rebuilt as each value is typed, before the field is left.
    TypeAndLeave(o.editor.numMargin[3], "10", Qt::Key_unknown);
    TypeAndLeave(o.editor.numMargin[1], "3", Qt::Key_unknown);
    TypeAndLeave(o.editor.numMargin[0], "1", Qt::Key_unknown);
    QCOMPARE(Lines(o.editor.txtMargin), Preview({" (章)○○○", "   (章)-(節)○○○", "(章)-(節)-(項)○○○",
                                                 "          (No)○○○", "", " (章)○○○", "   (章)-(節)○○○"}));
    // A value far beyond the limit, refused on leaving, does not blow up the preview.
    TypeAndLeave(o.editor.numMargin[2], "999999999999999", Qt::Key_unknown);
    QCOMPARE(Lines(o.editor.txtMargin)[2], QString(10, ' ') + "(章)-(節)-(項)○○○");
  }

  void rangeCheckOnEveryTab_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");  // empty: accepted
    QTest::newRow("init 99") << "numInit" << "99" << "";
    QTest::newRow("init 100") << "numInit" << "100" << "入力範囲：0 ～ 99";
    QTest::newRow("margin 10") << "numMargin3" << "10" << "";
    for (int k = 0; k < 4; ++k)
      QTest::addRow("margin %d 11", k) << QString("numMargin%1").arg(k) << "11" << "入力範囲：0 ～ 10";
  }
  void rangeCheckOnEveryTab() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Opened o;
    if (field != "numInit") ClickTab(o.editor, 2);
    auto* f = o.editor.findChild<NumberField*>(field);
    TypeAndLeave(f, typed, Qt::Key_Return);
    QCOMPARE(ui_->beeps, message.isEmpty() ? 0 : 1);
    QCOMPARE(f->hasFocus(), !message.isEmpty());
    if (message.isEmpty()) return;
    QCOMPARE(ui_->messages.size(), size_t(1));
    QCOMPARE(ui_->messages[0].text, message);
    QCOMPARE(f->text(), typed);
  }

  void anotherTabWaitsForARefusedValue() {
    Opened o;
    ClickTab(o.editor, 2);
    NumberField* margin = o.editor.numMargin[0];
    TypeAndLeave(margin, "11", Qt::Key_unknown);
    ClickTab(o.editor, 0);
    QCOMPARE(o.editor.TabStrip1->currentIndex(), 2);
    QVERIFY(margin->hasFocus());
    QTest::keyClick(margin, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(o.editor.TabStrip1->currentIndex(), 2);
    QCOMPARE(ui_->messages.size(), size_t(2));

    TypeAndLeave(margin, "5", Qt::Key_unknown);
    ClickTab(o.editor, 0);
    QCOMPARE(o.editor.TabStrip1->currentIndex(), 0);
    // Only the frame of the tab shown takes input.
    QVERIFY(o.editor.Frame[0]->isEnabled() && !o.editor.Frame[2]->isEnabled());
    QCOMPARE(ui_->messages.size(), size_t(2));
  }

  void okChecksTheTabsNotShown() {
    Store("Margin2", "50");
    Opened o;
    QTest::mouseClick(o.editor.cmdOk(), Qt::LeftButton);
    QCOMPARE(o.saves, 0);
    QCOMPARE(o.editor.TabStrip1->currentIndex(), 2);
    QVERIFY(o.editor.numMargin[1]->hasFocus());
    QCOMPARE(ui_->messages.size(), size_t(1));
    QCOMPARE(ui_->messages[0].text, QString("入力範囲：0 ～ 10"));
    TypeAndLeave(o.editor.numMargin[1], "4", Qt::Key_unknown);
    QTest::mouseClick(o.editor.cmdOk(), Qt::LeftButton);
    QCOMPARE(o.saves, 1);
    QCOMPARE(Chapter("Margin2"), "4");
  }

  void storedValuesAndValuesWithoutAControl() {
    for (auto [key, value] : {std::pair{"Method", "3"}, {"Init", "12"}, {"Style1", "8"}, {"Style2", "0"},
                              {"Style3", "10"}, {"Style4", "-1"}, {"Margin4", "6"}})
      Store(key, value);
    Opened o;
    QCOMPARE(o.editor.optMethod->checkedButton()->text(), QString("(章)．(節)…"));
    QCOMPARE(o.editor.numInit->text(), QString("12"));
    QCOMPARE(o.editor.cboStyle[0]->currentText(), QString("①,②,③,...⑳"));
    for (int k : {1, 2, 3}) QCOMPARE(o.editor.cboStyle[size_t(k)]->currentIndex(), -1);
    QCOMPARE(Lines(o.editor.txtMargin)[3], "      (No)○○○");

    // A method without a button: none is on, the previews show no numbers and
    // OK stores an empty method, which reads as none.
    Store("Method", "9");
    Opened odd;
    QVERIFY(!odd.editor.optMethod->checkedButton());
    QCOMPARE(Lines(odd.editor.txtMethod)[0], QString("○○○"));
    QTest::mouseClick(odd.editor.cmdOk(), Qt::LeftButton);
    QCOMPARE(Chapter("Method"), "");
    QCOMPARE(Chapter("Style3"), "0");
  }
};

QTEST_MAIN(InpRenbanTest)
#include "inp_renban_test.moc"
