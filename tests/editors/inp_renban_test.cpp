// The numbering settings editor as the user meets it: the previews following
// the method and the margins, the range checks on every tab, tabs that wait
// for a refused value, and OK checking the tabs not shown.
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include "fake_ui.h"
#include "inp_renban.h"
#include "settings.h"

using namespace hasorin;

namespace {

// The preview as the window shows it, one entry per line.
QStringList Lines(const QPlainTextEdit* box) { return box->toPlainText().split('\n'); }

QStringList Expected(std::initializer_list<const char*> seven) {
  QStringList lines;
  for (const char* l : seven) lines << QString::fromUtf8(l);
  lines << "";  // the last line end
  return lines;
}

}  // namespace

class InpRenbanTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  testing::FakeUi* ui_ = nullptr;

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

  static void ClickTab(frmInpRenban& e, int index) {
    QTabBar* bar = e.TabStrip1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }
  // Clicks into the field, selects what it holds, types and leaves with `key`.
  static void TypeAndLeave(NumberField* field, const QString& text, Qt::Key key = Qt::Key_Tab) {
    QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
    if (key != Qt::Key_unknown) QTest::keyClick(field, key);
  }
  static void Store(const char* key, const char* value) {
    CPrivateProfile().SetValueString(SettingsFilePath(), "Chapter", key, value);
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

  void methodPreviewFollowsTheButtons_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("なし") << 0
        << Expected({"○○○", "  ○○○", "    ○○○", "        ○○○", "", "○○○", "  ○○○"});
    QTest::newRow("alone") << 1
        << Expected({"(章)○○○", "  (節)○○○", "    (項)○○○", "        (No)○○○", "",
                     "(章)○○○", "  (節)○○○"});
    QTest::newRow("joined -") << 2
        << Expected({"(章)○○○", "  (章)-(節)○○○", "    (章)-(節)-(項)○○○", "        (No)○○○",
                     "", "(章)○○○", "  (章)-(節)○○○"});
    QTest::newRow("joined .") << 3
        << Expected({"(章)○○○", "  (章).(節)○○○", "    (章).(節).(項)○○○", "        (No)○○○",
                     "", "(章)○○○", "  (章).(節)○○○"});
  }
  void methodPreviewFollowsTheButtons() {
    QFETCH(int, method);
    QFETCH(QStringList, lines);
    Store("Method", method == 3 ? "0" : "3");  // start from another method
    Opened o;
    QAbstractButton* button = o.editor.optMethod->button(method);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    QVERIFY(button->isChecked());
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
    QCOMPARE(Lines(o.editor.txtMargin),
             Expected({"(章)○○○", "(章)-(節)○○○", "(章)-(節)-(項)○○○", "(No)○○○", "", "(章)○○○",
                       "(章)-(節)○○○"}));
    // Rebuilt as each value is typed, before the field is left.
    TypeAndLeave(o.editor.numMargin[3], "10", Qt::Key_unknown);
    TypeAndLeave(o.editor.numMargin[1], "3", Qt::Key_unknown);
    TypeAndLeave(o.editor.numMargin[0], "1", Qt::Key_unknown);
    QCOMPARE(Lines(o.editor.txtMargin),
             Expected({" (章)○○○", "   (章)-(節)○○○", "(章)-(節)-(項)○○○", "          (No)○○○", "",
                       " (章)○○○", "   (章)-(節)○○○"}));
    // A value far beyond the limit, refused on leaving, does not blow up the preview.
    TypeAndLeave(o.editor.numMargin[2], "999999999999999", Qt::Key_unknown);
    QCOMPARE(Lines(o.editor.txtMargin)[2], QString(10, ' ') + "(章)-(節)-(項)○○○");
    QCOMPARE(ui_->messages.size(), size_t(0));
  }

  void rangeCheckOnEveryTab_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");  // empty: accepted
    const QString init = "入力範囲：0 ～ 99", margin = "入力範囲：0 ～ 10";
    QTest::newRow("init 99") << 0 << "numInit" << "99" << "";
    QTest::newRow("init 100") << 0 << "numInit" << "100" << init;
    QTest::newRow("init empty") << 0 << "numInit" << "" << "";
    for (int k = 0; k < 4; ++k) {
      const QString name = QString("numMargin%1").arg(k);
      QTest::addRow("margin %d 10", k) << 2 << name << "10" << "";
      QTest::addRow("margin %d 11", k) << 2 << name << "11" << margin;
    }
  }
  void rangeCheckOnEveryTab() {
    QFETCH(int, tab);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Opened o;
    if (tab) ClickTab(o.editor, tab);
    auto* f = o.editor.findChild<NumberField*>(field);
    QVERIFY(f);
    TypeAndLeave(f, typed, Qt::Key_Return);
    if (message.isEmpty()) {
      QVERIFY(ui_->messages.empty());
      QVERIFY(!f->hasFocus());
      return;
    }
    QCOMPARE(ui_->beeps, 1);
    QCOMPARE(ui_->messages.size(), size_t(1));
    QCOMPARE(ui_->messages[0].text, message);
    QCOMPARE(ui_->messages[0].icon, MsgIcon::Information);
    QVERIFY(f->hasFocus());
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
    QCOMPARE(ui_->messages.size(), size_t(1));
    QCOMPARE(ui_->messages[0].text, QString("入力範囲：0 ～ 10"));
    QTest::keyClick(margin, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(o.editor.TabStrip1->currentIndex(), 2);
    QCOMPARE(ui_->messages.size(), size_t(2));

    TypeAndLeave(margin, "5", Qt::Key_unknown);
    ClickTab(o.editor, 0);
    QCOMPARE(o.editor.TabStrip1->currentIndex(), 0);
    // Only the frame of the tab shown takes input.
    QVERIFY(o.editor.Frame[0]->isEnabled());
    QVERIFY(!o.editor.Frame[2]->isEnabled());
    QCOMPARE(ui_->messages.size(), size_t(2));
  }

  void okChecksTheTabsNotShown() {
    Store("Margin2", "50");
    Store("Init", "7");
    Opened o;
    QCOMPARE(o.editor.TabStrip1->currentIndex(), 0);
    QTest::mouseClick(o.editor.cmdOk(), Qt::LeftButton);
    QCOMPARE(o.saves, 0);
    QVERIFY(o.editor.isVisible());
    QCOMPARE(o.editor.TabStrip1->currentIndex(), 2);
    QVERIFY(o.editor.numMargin[1]->hasFocus());
    QCOMPARE(ui_->messages.size(), size_t(1));
    QCOMPARE(ui_->messages[0].text, QString("入力範囲：0 ～ 10"));
    TypeAndLeave(o.editor.numMargin[1], "4", Qt::Key_unknown);
    QTest::mouseClick(o.editor.cmdOk(), Qt::LeftButton);
    QCOMPARE(o.saves, 1);
    QCOMPARE(o.editor.UsrTag, QString("OK"));
    QCOMPARE(CPrivateProfile().GetValueString(SettingsFilePath(), "Chapter", "Margin2"), "4");
    QCOMPARE(CPrivateProfile().GetValueString(SettingsFilePath(), "Chapter", "Init"), "7");
  }

  void storedValuesAndValuesWithoutAControl() {
    Store("Method", "3");
    Store("Init", "12");
    Store("Style1", "8");
    Store("Style2", "0");
    Store("Style3", "10");  // no such entry
    Store("Style4", "-1");
    Store("Margin4", "6");
    Opened o;
    QCOMPARE(o.editor.optMethod->checkedButton()->text(), QString("(章)．(節)…"));
    QCOMPARE(o.editor.numInit->text(), QString("12"));
    QCOMPARE(o.editor.cboStyle[0]->currentText(), QString("①,②,③,...⑳"));
    for (int k : {1, 2, 3}) QCOMPARE(o.editor.cboStyle[size_t(k)]->currentIndex(), -1);
    QCOMPARE(o.editor.numMargin[3]->text(), QString("6"));
    QCOMPARE(Lines(o.editor.txtMargin)[3], "      (No)○○○");

    // A method without a button: none is on, the previews show no numbers and
    // OK stores an empty method, which reads as none.
    Store("Method", "9");
    Opened odd;
    QVERIFY(!odd.editor.optMethod->checkedButton());
    QCOMPARE(Lines(odd.editor.txtMethod)[0], QString("○○○"));
    QTest::mouseClick(odd.editor.cmdOk(), Qt::LeftButton);
    QCOMPARE(CPrivateProfile().GetValueString(SettingsFilePath(), "Chapter", "Method"), "");
    QCOMPARE(CPrivateProfile().GetValueString(SettingsFilePath(), "Chapter", "Style3"), "0");
  }

  void windowContent() {
    Opened o;
    frmInpRenban& e = o.editor;
    QCOMPARE(e.windowTitle(), QString("連番条件設定"));
    QStringList tabs, keys;
    for (int i = 0; i < e.TabStrip1->count(); ++i) {
      tabs << e.TabStrip1->tabText(i);
      keys << e.TabStrip1->tabBar()->tabData(i).toString();
    }
    QCOMPARE(tabs, QStringList({"表現方法", "連番種類", "左余白"}));
    QCOMPARE(keys, QStringList({"Tab1", "Tab2", "Tab3"}));
    QStringList methods;
    for (QAbstractButton* b : e.optMethod->buttons()) methods << b->text();
    QCOMPARE(methods, QStringList({"なし", "(章)／(節)…", "(章)－(節)…", "(章)．(節)…"}));
    QCOMPARE(e.numInit->caption(), QString("（章）に対する初期値"));
    QStringList labels;
    for (int k = 0; k < 4; ++k) {
      QComboBox* list = e.cboStyle[size_t(k)];
      QStringList entries;
      for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
      QCOMPARE(entries, QStringList({"1,2,3,..99", "(1),(2),(3) ...(99)", "1),2),3),.(99)",
                                     "(a),(b),(c),...(z)", "a),b),c),...z)", "(i),(ii),(iii),...(x)",
                                     "i),ii),iii),...x)", "①,②,③,...⑳", "・,・,・,...・"}));
      labels << e.findChild<QLabel*>(QString("lblStyle%1").arg(k))->text();
    }
    QCOMPARE(labels, QStringList({"（章）に対して", "（節）に対して", "（項）に対して", "（№）に対して"}));
    QStringList captions;
    for (NumberField* f : e.numMargin) captions << f->caption();
    QCOMPARE(captions, QStringList({"（章）レベルに対して", "（節）レベルに対して", "（項）レベルに対して", ""}));
    QCOMPARE(e.findChild<QLabel*>("lblNote")->text(), QString("※ 半角１文字幅を１単位とします"));
    QVERIFY(e.txtMethod->isReadOnly() && e.txtMargin->isReadOnly());
  }
};

QTEST_MAIN(InpRenbanTest)
#include "inp_renban_test.moc"
