// The main window as the user works with it: command buttons following the
// project, new / open / save / exit with their prompts and messages, the
// recent-file list and title bar, the calculation before results, and the
// conditions and loads editors exchanging data with the project.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QAction>
#include <memory>

#include "about.h"
#include "engine.h"
#include "drawing_file.h"
#include "fake_ui.h"
#include "frm_draw.h"
#include "inp_gairyoku.h"
#include "inp_jyoken.h"
#include "inp_kui.h"
#include "inputfile.h"
#include "menu_main.h"
#include "menu_print.h"
#include "paths.h"
#include "res_out_pxpypz.h"
#include "res_out_stress.h"
#include "result_grid.h"
#include "settings.h"
#include "window_position.h"

using namespace hasorin;

namespace {

const QString kReadErrorTitle = "ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ";
const QString kWriteErrorTitle = "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ";
const QString kAsk = "お問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。";

QString ReadError(int code) {
  return "指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。（ｴﾗｰｺｰﾄﾞ ： " +
         QString::number(code) + "）\n\n" + kAsk;
}

// Conditions and loads entered, `piles` vertical piles in a row.
Project Sample(int piles, const char* title = "サンプル") {
  Project p;
  p.ConditionsEntered = true;
  p.Conditions(1) = ProjectValue::Text(title);
  p.Conditions(2) = ProjectValue::Real(200000);
  p.Conditions(3) = ProjectValue::Real(30000);
  p.Conditions(4) = ProjectValue::Integer(0);
  p.Conditions(5) = ProjectValue::Integer(1);
  p.Conditions(6) = ProjectValue::Integer(0);
  p.Conditions(7) = ProjectValue::Real(1);
  p.LoadsEntered = true;
  for (int k = 1; k <= 6; ++k) p.Loads(k) = ProjectValue::Real(0);
  p.Loads(2) = ProjectValue::Real(1000);
  p.Loads(1) = ProjectValue::Real(100);
  p.PileCount = piles;
  const double row[kPileColumns] = {0.6, 12, 1, 150, 100000, 3333, 0, 20, 0, 0, 0, 0, 0, 0};
  for (int i = 1; i <= piles; ++i) {
    for (int c = 1; c <= kPileColumns; ++c) p.Piles(c, i) = ProjectValue::Real(row[c - 1]);
    p.Piles(9, i) = ProjectValue::Real(i % 2 ? 1.5 : -1.5);
    p.Piles(11, i) = ProjectValue::Real(i <= 2 ? 1.5 : -1.5);
  }
  return p;
}

// Replaces the inputs of the live project, keeping its document state.
void SetInputs(const Project& inputs) {
  Project& p = TheProject();
  std::string path = p.CurrentFilePath;
  bool modified = p.ProjectModified;
  p = inputs;
  p.CurrentFilePath = path;
  p.ProjectModified = modified;
}

bool SameInputs(const Project& a, const Project& b) {
  Project x = a, y = b;
  x.CurrentFilePath = y.CurrentFilePath = "";
  x.ProjectModified = y.ProjectModified = false;
  return x == y;
}

}  // namespace

class MenuMainTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  testing::FakeUi* ui_ = nullptr;
  std::unique_ptr<frmMenuMain> w_;

  QString Path(const QString& name) const { return QDir::toNativeSeparators(dir_.filePath("work/" + name)); }
  std::string File(const QString& name) const { return Path(name).toStdString(); }
  std::string Write(const QString& name, const Project& p) const {
    std::string path = File(name);
    if (!WriteInputFile(p, path).ok) qFatal("cannot write %s", path.c_str());
    return path;
  }
  static std::string Setting(const char* section, const std::string& key) {
    return CPrivateProfile().GetValueString(SettingsFilePath(), section, key);
  }
  static std::vector<std::string> Recent() {
    RecentFiles r = ReadRecentFiles(SettingsFilePath());
    return {r.begin(), r.end()};
  }
  void Restart() {
    w_.reset();
    w_ = std::make_unique<frmMenuMain>();
  }
  // Runs `action` on the modal dialog that `command` opens.
  template <class Dialog>
  void OnNextDialog(std::function<void(Dialog&)> action) {
    QTimer::singleShot(0, this, [action] {
      auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      action(*dialog);
    });
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    QVERIFY(QDir(dir_.path()).mkpath("program"));
    QVERIFY(QDir(dir_.path()).mkpath("work"));
    InitProgramPaths(dir_.filePath("program").toStdString(), dir_.filePath("appdata").toStdString(),
                     "hasorin");
    QApplication::setQuitOnLastWindowClosed(false);
  }
  void init() {
    QFile::remove(QString::fromStdString(SettingsFilePath()));
    ui_ = new testing::FakeUi;
    TheProject() = Project();
    TheProject().CurrentFilePath = "stale";
    TheProject().ProjectModified = true;
    w_ = std::make_unique<frmMenuMain>();
  }
  void cleanup() {
    w_.reset();
    delete ui_;
    ui_ = nullptr;
  }

  void startupFromSettings() {
    // init() started with an empty settings file.
    QCOMPARE(w_->windowTitle(), QString("Hasorin"));
    QVERIFY(TheProject().CurrentFilePath.empty());
    QVERIFY(!TheProject().ProjectModified);
    QCOMPARE(QDir::cleanPath(w_->StartFolder()),
             QDir::cleanPath(QString::fromStdString(ProgramFolder())));
    for (int k = 0; k < 4; ++k) {
      QVERIFY(!w_->mnuFileName(k)->isEnabled());
      QCOMPARE(w_->mnuFileName(k)->text(), QString("&%1").arg(k + 1));
    }
    const QRect screen = w_->screen()->availableGeometry();
    QCOMPARE(w_->y(), screen.y() + (screen.height() - w_->frameGeometry().height()) / 2);

    CPrivateProfile ini;
    ini.SetValueString(SettingsFilePath(), "FileName", "FileName1", File("a.zrn"));
    ini.SetValueString(SettingsFilePath(), "FileName", "FileName3", File("R&D.zrn"));
    ini.SetValueString(SettingsFilePath(), "FileName", "InitDir", dir_.path().toStdString());
    ini.SetValueString(SettingsFilePath(), "MenuMain", "Top", "1500");
    ini.SetValueString(SettingsFilePath(), "MenuMain", "Left", "3000");
    Restart();
    QCOMPARE(w_->mnuFileName(0)->text(), "&1 " + Path("a.zrn"));
    QVERIFY(w_->mnuFileName(0)->isEnabled());
    QVERIFY(!w_->mnuFileName(1)->isEnabled());
    QCOMPARE(w_->mnuFileName(2)->text(), "&3 " + Path("R&&D.zrn"));
    QCOMPARE(w_->StartFolder(), dir_.path());
    QCOMPARE(w_->y(), TwipsToPixels(w_.get(), 1500, Qt::Vertical));
    QCOMPARE(w_->x(), TwipsToPixels(w_.get(), 3000, Qt::Horizontal));
  }

  void commandButtonsFollowTheProject_data() {
    QTest::addColumn<bool>("conditions");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<int>("piles");
    for (int mask = 0; mask < 8; ++mask) {
      QTest::addRow("conditions %d loads %d piles %d", mask & 1, (mask >> 1) & 1, (mask >> 2) & 1)
          << bool(mask & 1) << bool(mask & 2) << ((mask & 4) ? 3 : 0);
    }
  }
  void commandButtonsFollowTheProject() {
    QFETCH(bool, conditions);
    QFETCH(bool, loads);
    QFETCH(int, piles);
    TheProject().ConditionsEntered = conditions;
    TheProject().LoadsEntered = loads;
    TheProject().PileCount = piles;
    w_->RefreshActivation();
    const bool all = conditions && loads && piles > 0;
    QCOMPARE(w_->cmdMenu(0)->isHighlighted(), conditions);
    QCOMPARE(w_->cmdMenu(1)->isHighlighted(), loads);
    QCOMPARE(w_->cmdMenu(2)->isHighlighted(), piles > 0);
    for (int i : {3, 4, 5, 6, 7}) QVERIFY(!w_->cmdMenu(i)->isHighlighted());
    for (int i : {0, 1, 2, 7}) QVERIFY(w_->cmdMenu(i)->isEnabled());
    QCOMPARE(w_->cmdMenu(3)->isEnabled(), piles > 0);
    for (int i : {4, 5, 6}) QCOMPARE(w_->cmdMenu(i)->isEnabled(), all);
  }

  void windowContent() {
    QCOMPARE(w_->cmdMenu(0)->text(), QString("計算条件入力"));
    QCOMPARE(w_->cmdMenu(1)->text(), QString("座標原点に作用する外力の入力"));
    QCOMPARE(w_->cmdMenu(6)->text(), QString("結果印刷"));
    QCOMPARE(w_->cmdExit()->text(), QString("  ﾌﾟﾛｸﾞﾗﾑ終了"));
    QCOMPARE(w_->mnuAbout()->text(), QString("&?"));
    QStringList tips;
    for (QAction* a : w_->tbrMenu()->actions())
      if (!a->isSeparator()) tips << a->objectName() + "=" + a->toolTip();
    QCOMPARE(tips, QStringList({"New=新規作成", "Open=ﾌｧｲﾙを開く...",
                                "SaveAs=ﾌｧｲﾙに名前を付けて保存...", "Save=ﾌｧｲﾙの上書き保存",
                                "Printer=ﾍﾟｰｼﾞの設定"}));
    QVERIFY(!w_->tbrMenu()->actions().last()->isEnabled());
  }

  void newProjectAsksFirst() {
    std::string path = Write("new.zrn", Sample(4));
    QVERIFY(w_->OpenPath(path));
    TheProject().ProjectModified = true;
    ui_->answers = {MsgResult::Cancel};
    w_->NewProject();
    QCOMPARE(int(ui_->messages.size()), 1);
    QCOMPARE(ui_->messages[0].title, QString("新規作成"));
    QCOMPARE(ui_->messages[0].text, QString("現在編集中の入力ﾃﾞｰﾀを全て破棄し，入力ﾃﾞｰﾀを初期化します。"));
    QCOMPARE(ui_->messages[0].icon, MsgIcon::Information);
    QCOMPARE(ui_->messages[0].buttons, MsgButtons::OkCancel);
    QCOMPARE(TheProject().PileCount, 4);
    QCOMPARE(w_->windowTitle(), QString("new.zrn - Hasorin"));

    ui_->answers = {MsgResult::Ok};
    w_->NewProject();
    QCOMPARE(TheProject().PileCount, 0);
    QVERIFY(!TheProject().ConditionsEntered);
    QVERIFY(TheProject().CurrentFilePath.empty());
    QVERIFY(TheProject().ProjectModified);  // left as it was
    QCOMPARE(w_->windowTitle(), QString("Hasorin"));
    QVERIFY(!w_->cmdMenu(0)->isHighlighted());
    QVERIFY(!w_->cmdMenu(3)->isEnabled());
  }

  void openGoodFile() {
    std::string path = Write("good.zrn", Sample(4));
    TheProject().ProjectModified = true;
    ui_->openAnswers = {Path("good.zrn")};
    w_->OpenFile();
    QVERIFY(ui_->messages.empty());
    QCOMPARE(int(ui_->openDialogs.size()), 1);
    QCOMPARE(ui_->openDialogs[0].filter, QString("入力ﾃﾞｰﾀ(*.zrn)|*.zrn"));
    QCOMPARE(ui_->openDialogs[0].defaultSuffix, QString("zrn"));
    QVERIFY(ui_->openDialogs[0].fileName.isEmpty());
    QCOMPARE(w_->windowTitle(), QString("good.zrn - Hasorin"));
    QCOMPARE(TheProject().CurrentFilePath, path);
    QVERIFY(TheProject().ProjectModified);  // opening does not touch it
    QCOMPARE(TheProject().PileCount, 4);
    QVERIFY(w_->cmdMenu(0)->isHighlighted());
    QVERIFY(w_->cmdMenu(4)->isEnabled());
    QCOMPARE(Recent()[0], path);
    QCOMPARE(w_->mnuFileName(0)->text(), "&1 " + Path("good.zrn"));
    QCOMPARE(QDir::cleanPath(QString::fromStdString(Setting("FileName", "InitDir"))),
             QDir::cleanPath(dir_.filePath("work")));
    QCOMPARE(w_->StartFolder(), QString::fromStdString(Setting("FileName", "InitDir")));

    ui_->openAnswers.clear();  // a cancelled dialog ends the command silently
    w_->OpenFile();
    QVERIFY(ui_->messages.empty());
    QCOMPARE(w_->windowTitle(), QString("good.zrn - Hasorin"));
  }

  void refusedOpensKeepTheProject_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("texts");
    QByteArray good;
    {
      QTemporaryDir tmp;
      std::string p = QDir(tmp.path()).filePath("x.zrn").toStdString();
      WriteInputFile(Sample(2), p);
      QFile f(QString::fromStdString(p));
      f.open(QIODevice::ReadOnly);
      good = f.readAll();
    }
    QByteArray v101 = good;
    v101.replace("[1.00]", "[1.01]");
    QTest::newRow("wrong extension") << "data.txt" << good << QStringList{kReadErrorTitle}
                                     << QStringList{ReadError(0)};
    QTest::newRow("version 1.01")
        << "v101.zrn" << v101 << QStringList{"ﾌｧｲﾙを開く", kReadErrorTitle}
        << QStringList{"入力ﾃﾞｰﾀﾌｧｲﾙの書式（Ver.1.01）には現在対応しておりません。", ReadError(0)};
    QTest::newRow("two lines") << "short.zrn" << good.left(good.indexOf("INPUT FILE"))
                               << QStringList{"ﾌｧｲﾙを開く", kReadErrorTitle}
                               << QStringList{"入力ﾃﾞｰﾀﾌｧｲﾙの書式（Ver.error）には現在対応しておりません。",
                                              ReadError(0)};
    QTest::newRow("truncated") << "cut.zrn" << good.left(good.size() - 20)
                               << QStringList{kReadErrorTitle}
                               << QStringList{ReadError(fileerr::kPastEndOfFile)};
  }
  void refusedOpensKeepTheProject() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, texts);
    QVERIFY(w_->OpenPath(Write("before.zrn", Sample(3, "前のﾃﾞｰﾀ"))));
    const Project before = TheProject();
    QFile f(Path(name));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
    f.close();

    ui_->openAnswers = {Path(name)};
    w_->OpenFile();
    QCOMPARE(int(ui_->messages.size()), titles.size());
    for (int i = 0; i < titles.size(); ++i) {
      QCOMPARE(ui_->messages[size_t(i)].title, titles[i]);
      QCOMPARE(ui_->messages[size_t(i)].text, texts[i]);
      QCOMPARE(ui_->messages[size_t(i)].icon, MsgIcon::Critical);
    }
    QVERIFY(SameInputs(TheProject(), before));
    QCOMPARE(w_->windowTitle(), QString("Hasorin"));
    QVERIFY(TheProject().CurrentFilePath.empty());
    QCOMPARE(Recent()[0], File("before.zrn"));
  }

  void recentFileOpen() {
    std::string a = Write("a.zrn", Sample(1, "A"));
    std::string b = Write("b.zrn", Sample(2, "B"));
    QVERIFY(w_->OpenPath(a));
    QVERIFY(w_->OpenPath(b));
    QCOMPARE(w_->mnuFileName(1)->text(), "&2 " + Path("a.zrn"));
    w_->mnuFileName(1)->trigger();
    QCOMPARE(TheProject().Conditions(1).text(), std::string("A"));
    QCOMPARE(w_->windowTitle(), QString("a.zrn - Hasorin"));
    QCOMPARE(Recent(), (std::vector<std::string>{a, b, "", ""}));

    // An entry whose file has gone away is a read error: the file does not exist.
    QFile::remove(Path("b.zrn"));
    w_->OpenRecentFile(1);
    QCOMPARE(int(ui_->messages.size()), 1);
    QCOMPARE(ui_->messages[0].title, QString(kReadErrorTitle));
    QCOMPARE(ui_->messages[0].text, ReadError(fileerr::kFileNotFound));
    QCOMPARE(w_->windowTitle(), QString("Hasorin"));
  }

  void recentFileWithALongPathOpens() {
    // Longer than the 127 characters a settings value is cut to.
    const QString name = QString(130, QChar(u'x')) + ".zrn";
    const std::string path = Write(name, Sample(3, "Long"));
    QVERIFY(path.size() > 127);
    QVERIFY(w_->OpenPath(path));
    QVERIFY(w_->OpenPath(Write("other.zrn", Sample(1, "Other"))));
    w_->OpenRecentFile(1);
    QCOMPARE(TheProject().Conditions(1).text(), std::string("Long"));
    QCOMPARE(TheProject().CurrentFilePath, path);
  }

  void saveUntitledGoesToSaveAs() {
    SetInputs(Sample(2));
    TheProject().ProjectModified = true;
    ui_->saveAnswers = {Path("saved.zrn")};
    QCOMPARE(w_->SaveFile(), SaveOutcome::Saved);
    QCOMPARE(int(ui_->saveDialogs.size()), 1);
    QVERIFY(ui_->saveDialogs[0].confirmOverwrite);
    QCOMPARE(ui_->saveDialogs[0].defaultSuffix, QString("zrn"));
    QVERIFY(ui_->saveDialogs[0].fileName.isEmpty());
    QVERIFY(QFile::exists(Path("saved.zrn")));
    QCOMPARE(w_->windowTitle(), QString("saved.zrn - Hasorin"));
    QCOMPARE(TheProject().CurrentFilePath, File("saved.zrn"));
    QVERIFY(!TheProject().ProjectModified);
    QCOMPARE(Recent()[0], File("saved.zrn"));

    // Saving again writes to the same file without a dialog or a new title.
    TheProject().ProjectModified = true;
    TheProject().Conditions(1) = ProjectValue::Text("変更");
    QCOMPARE(w_->SaveFile(), SaveOutcome::Saved);
    QCOMPARE(int(ui_->saveDialogs.size()), 1);
    QCOMPARE(w_->windowTitle(), QString("saved.zrn - Hasorin"));
    QVERIFY(!TheProject().ProjectModified);
    Project back;
    QVERIFY(ReadInputFile(back, File("saved.zrn")).ok);
    QCOMPARE(back.Conditions(1).text(), std::string("変更"));

    // Save As offers the current file's name.
    ui_->saveAnswers.clear();
    QCOMPARE(w_->SaveFileAs(), SaveOutcome::Cancelled);
    QCOMPARE(ui_->saveDialogs.back().fileName, Path("saved.zrn"));
  }

  void saveAsFailureChangesNothing() {
    QVERIFY(w_->OpenPath(Write("kept.zrn", Sample(2))));
    TheProject().ProjectModified = true;
    ui_->saveAnswers = {Path("missing-folder/x.zrn")};
    QCOMPARE(w_->SaveFileAs(), SaveOutcome::Failed);
    QCOMPARE(int(ui_->messages.size()), 1);
    const testing::RecordedMessage& m = ui_->messages[0];
    QCOMPARE(m.title, kWriteErrorTitle);
    QCOMPARE(m.icon, MsgIcon::Critical);
    QVERIFY(m.text.startsWith("入力ﾃﾞｰﾀﾌｧｲﾙを作成することができませんでした。（ｴﾗｰｺｰﾄﾞ ： "));
    QVERIFY(!m.text.contains("ｺｰﾄﾞ ： 0）"));
    QVERIFY(m.text.endsWith("）\n\n" + kAsk));
    QCOMPARE(w_->windowTitle(), QString("kept.zrn - Hasorin"));
    QCOMPARE(TheProject().CurrentFilePath, File("kept.zrn"));
    QVERIFY(TheProject().ProjectModified);
    QCOMPARE(Recent()[0], File("kept.zrn"));
  }

  void recentListAfterSavesAndOpens() {
    std::string a = Write("a.zrn", Sample(1));
    std::string b = Write("b.zrn", Sample(1));
    QVERIFY(w_->OpenPath(a));
    QVERIFY(w_->OpenPath(b));
    ui_->saveAnswers = {Path("c.zrn")};
    QCOMPARE(w_->SaveFileAs(), SaveOutcome::Saved);
    QCOMPARE(Recent(), (std::vector<std::string>{File("c.zrn"), b, a, ""}));
    QVERIFY(w_->OpenPath(a));
    QCOMPARE(Recent(), (std::vector<std::string>{a, File("c.zrn"), b, ""}));
    std::string d = Write("d.zrn", Sample(1)), e = Write("e.zrn", Sample(1));
    QVERIFY(w_->OpenPath(d));
    QVERIFY(w_->OpenPath(e));  // the oldest falls out
    QCOMPARE(Recent(), (std::vector<std::string>{e, d, a, File("c.zrn")}));
    QCOMPARE(w_->mnuFileName(3)->text(), "&4 " + Path("c.zrn"));
    QVERIFY(w_->mnuFileName(3)->isEnabled());
    QCOMPARE(w_->SaveFile(), SaveOutcome::Saved);  // a plain save moves nothing here
    QCOMPARE(Recent()[0], e);
  }

  void exitAsksAboutUnsavedChanges_data() {
    QTest::addColumn<bool>("titled");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveTo");  // save dialog answer; empty: cancelled
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("yes") << true << int(MsgResult::Yes) << "" << true << true;
    QTest::newRow("no") << true << int(MsgResult::No) << "" << true << false;
    QTest::newRow("cancel") << true << int(MsgResult::Cancel) << "" << false << false;
    QTest::newRow("yes, untitled, dialog cancelled") << false << int(MsgResult::Yes) << "" << true << false;
    QTest::newRow("yes, untitled, saved") << false << int(MsgResult::Yes) << "exit.zrn" << true << true;
    QTest::newRow("yes, write fails") << false << int(MsgResult::Yes) << "missing/exit.zrn" << false << false;
  }
  void exitAsksAboutUnsavedChanges() {
    QFETCH(bool, titled);
    QFETCH(int, answer);
    QFETCH(QString, saveTo);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    std::string path;
    if (titled) {
      path = Write("exit.zrn", Sample(1));
      QVERIFY(w_->OpenPath(path));
    } else {
      QFile::remove(Path("exit.zrn"));
      SetInputs(Sample(1));
    }
    TheProject().Conditions(1) = ProjectValue::Text("終了前");
    TheProject().ProjectModified = true;
    w_->show();
    w_->move(60, 90);
    const QPoint client = w_->geometry().topLeft();  // what the next start restores
    ui_->answers = {MsgResult(answer)};
    if (!saveTo.isEmpty()) ui_->saveAnswers = {Path(saveTo)};

    QCOMPARE(w_->close(), closes);
    const testing::RecordedMessage& ask = ui_->messages.at(0);
    QCOMPARE(ask.title, QString("ｱﾌﾟﾘｹｰｼｮﾝ終了"));
    QCOMPARE(ask.text, "現在編集中の入力ﾃﾞｰﾀがあります。上書き保存してから終了しますか？\n\n"
                       "編集中のﾌｧｲﾙ名：" + QString::fromStdString(path));
    QCOMPARE(ask.icon, MsgIcon::Information);
    QCOMPARE(ask.buttons, MsgButtons::YesNoCancel);
    Project back;
    bool saved = ReadInputFile(back, File("exit.zrn")).ok && back.Conditions(1).text() == "終了前";
    QCOMPARE(saved, written);
    if (closes) {
      QCOMPARE(Setting("MenuMain", "Top"), std::to_string(PixelsToTwips(w_.get(), client.y(), Qt::Vertical)));
      QCOMPARE(Setting("MenuMain", "Left"), std::to_string(PixelsToTwips(w_.get(), client.x(), Qt::Horizontal)));
    } else {
      QVERIFY(w_->isVisible());
      QVERIFY(Setting("MenuMain", "Top").empty());
    }
  }

  void exitWithoutChangesDoesNotAsk() {
    TheProject().ProjectModified = false;
    w_->show();
    QVERIFY(w_->close());
    QVERIFY(ui_->messages.empty());
  }

  void calculationFailuresAreReported() {
    // A single pile hinged at its head cannot hold the cap against rotation.
    Project single = Sample(1);
    single.Conditions(4) = ProjectValue::Integer(1);
    engine::CalcResults results;
    QCOMPARE(engine::CalcPileGroup(single, results), 0);
    QVERIFY(!results.solved);
    SetInputs(single);
    w_->RefreshActivation();
    w_->cmdMenu(4)->click();
    QCOMPARE(int(ui_->messages.size()), 1);
    QCOMPARE(ui_->messages[0].title, QString("杭頭作用力の確認"));
    QCOMPARE(ui_->messages[0].icon, MsgIcon::Critical);
    QCOMPARE(ui_->messages[0].text, QString("杭群の剛性マトリクスを解くことができませんでした。\r\n\r\n"
                                            "入力ﾃﾞｰﾀ等をご確認の上再度実行して下さい。"));
    QCOMPARE(ui_->beeps, 1);

    // A pile of zero length stops the run with an error code.
    Project broken = Sample(4);
    for (int c = 1; c <= kPileColumns; ++c) broken.Piles(c, 2) = ProjectValue::Real(0);
    int code = engine::CalcPileGroup(broken, results);
    QVERIFY(code != 0);
    SetInputs(broken);
    w_->RunMenuCommand(6);
    QCOMPARE(int(ui_->messages.size()), 2);
    QCOMPARE(ui_->messages[1].title, QString("結果印刷"));
    QCOMPARE(ui_->messages[1].text, "計算実行中にｴﾗｰが発生しました。(ｴﾗｰｺｰﾄﾞ ： " + QString::number(code) +
                                        ")\r\n\r\n入力ﾃﾞｰﾀ等をご確認の上再度実行して下さい。");

    // A sound group runs without a word and opens its window.
    SetInputs(Sample(4));
    bool opened = false;
    OnNextDialog<frmResOutStress>([&](frmResOutStress& window) {
      opened = true;
      window.cmdClose()->click();
    });
    w_->RunMenuCommand(5);
    QVERIFY(opened);
    QCOMPARE(int(ui_->messages.size()), 2);
    QVERIFY(engine::TheResults().solved);
  }

  void resultCommandsOpenFilledWindows() {
    SetInputs(Sample(4));
    w_->RefreshActivation();
    int rows = -1;
    QString title, footing;
    OnNextDialog<frmResOutPxPyPz>([&](frmResOutPxPyPz& window) {
      title = window.windowTitle();
      rows = window.vaSpread1->RowCount();
      footing = window.StatusPanel1->text();
      QVERIFY(!window.cmdHelp()->isEnabled());
      QTest::keyClick(window.vaSpread1, Qt::Key_Escape);
    });
    w_->cmdMenu(4)->click();
    QCOMPARE(title, QString("杭頭作用力の確認"));
    QCOMPARE(rows, 4);
    QVERIFY(footing.contains("δy="));

    // The stress window, after a change to the piles: the run is made afresh.
    Project five = Sample(4);
    five.PileCount = 5;
    for (int c = 1; c <= kPileColumns; ++c) five.Piles(c, 5) = five.Piles(c, 1);
    SetInputs(five);
    OnNextDialog<frmResOutStress>([&](frmResOutStress& window) {
      rows = window.vaSpread1[0]->RowCount() + window.vaSpread1[1]->RowCount();
      QTest::keyClick(window.vaSpread1[0], Qt::Key_Escape);
    });
    w_->cmdMenu(5)->click();
    QCOMPARE(rows, 10);
    QVERIFY(ui_->messages.empty());
  }

  void drawingCommandShowsThePlanAndDeletesItsFiles() {
    SetInputs(Sample(4));
    w_->RefreshActivation();
    std::vector<std::string> files;
    OnNextDialog<frmDraw>([&files](frmDraw& d) {
      QCOMPARE(d.windowTitle(), QString("杭配置図"));
      QVERIFY(d.Figure().sheetRead);
      QVERIFY(d.Figure().problems.isEmpty());
      QCOMPARE(d.Figure().drawings.at(0).elements.circles.size(), size_t(4));
      files = DrawingFileList().Names();
      d.tbrMenu()->findChild<QAction*>("Close")->trigger();
    });
    QTest::mouseClick(w_->cmdMenu(3), Qt::LeftButton);
    QCOMPARE(int(files.size()), 2);
    for (const std::string& f : files) QVERIFY2(!FileExists(f), f.c_str());
    QVERIFY(ui_->messages.empty());

    // A plan that cannot be drawn is told, opens no window and leaves no file.
    Project tiny = Sample(1);
    tiny.Piles(1, 1) = ProjectValue::Real(0.0001);
    tiny.Piles(9, 1) = tiny.Piles(11, 1) = ProjectValue::Real(0);
    SetInputs(tiny);
    QWidget* opened = nullptr;
    QTimer::singleShot(0, this, [&opened] {
      opened = QApplication::activeModalWidget();
      if (opened) opened->close();
    });
    QTest::mouseClick(w_->cmdMenu(3), Qt::LeftButton);
    QApplication::processEvents();
    QVERIFY(!opened);
    QCOMPARE(int(ui_->messages.size()), 1);
    QCOMPARE(ui_->messages[0].title, QString("杭配置図の表示"));
    QVERIFY(ui_->messages[0].text.startsWith("杭配置図を作成できませんでした。\n\n"));
    QCOMPARE(DrawingFileList().Count(), 0);
  }

  void printCommandOpensThePrintMenu() {
    QFile::copy(QString::fromStdString(JoinPath(ProgramFolder(), "Zrn.FMT")),
                QString::fromStdString(FormatFilePath()));
    SetInputs(Sample(4));
    w_->RefreshActivation();
    bool opened = false;
    OnNextDialog<frmMenuPrint>([&opened](frmMenuPrint& m) {
      opened = true;
      QCOMPARE(m.windowTitle(), QString("検討結果の印刷"));
      QVERIFY(m.cmdPreview()->isEnabled());
      QTest::mouseClick(m.cmdClose(), Qt::LeftButton);
    });
    QTest::mouseClick(w_->cmdMenu(6), Qt::LeftButton);
    QVERIFY(opened);
    QVERIFY(ui_->messages.empty());
    QVERIFY(engine::TheResults().solved);
  }

  void aboutWindow() {
    QCOMPARE(VersionText(1, 2, 0), QString("Version 1.2.000(2012/05/13)"));
    QCOMPARE(VersionText(2, 10, 37), QString("Version 2.10.037(2012/05/13)"));
    frmAbout about;
    QCOMPARE(about.lblVersion->text(), ProgramVersionText());
    QCOMPARE(about.cmdSysInfo->text(), QString("ｼｽﾃﾑ情報(&S)..."));
    if (SystemInfoProgram().isEmpty()) {
      about.cmdSysInfo->click();
      QCOMPARE(int(ui_->messages.size()), 1);
      QCOMPARE(ui_->messages[0].text, QString("現時点ではｼｽﾃﾑ情報を使用できません"));
      QCOMPARE(ui_->messages[0].icon, MsgIcon::None);
      QCOMPARE(ui_->messages[0].buttons, MsgButtons::Ok);
    }
  }

  // ------------------------------------------------ editors through the window

  void editorsShowInitialValuesOfANewProject() {
    frmInpJyoken conditions;
    w_->ConnectEditor(&conditions);
    conditions.Load();
    QCOMPARE(conditions.txtTitle->text(), QString("(未定義)"));
    QCOMPARE(conditions.numEp->text(), QString("200,000"));
    QCOMPARE(conditions.numKh->text(), QString("1"));
    QCOMPARE(conditions.optTop->checkedButton()->text(), QString("剛結"));
    QCOMPARE(conditions.optBottom->checkedButton()->text(), QString("ヒンジ"));
    QCOMPARE(conditions.optKv->checkedButton()->text(), QString("打ち込み鋼管杭として算定する(H8.道示)"));
    QCOMPARE(conditions.numAlpha->text(), QString("1.00"));

    frmInpGairyoku loads;
    w_->ConnectEditor(&loads);
    loads.Load();
    for (NumberField* f : loads.LoadFieldsInOrder()) QCOMPARE(f->text(), QString("0.00"));
  }

  void badStoredConditionsOpenWithInitialValues() {
    Project p = Sample(1);
    p.Conditions(2) = ProjectValue::Text("abc");
    p.Conditions(4) = ProjectValue::Integer(5);
    QVERIFY(w_->OpenPath(Write("odd.zrn", p)));
    frmInpJyoken editor;
    w_->ConnectEditor(&editor);
    editor.Load();
    QCOMPARE(editor.numEp->value(), std::optional<double>(200000));
    QCOMPARE(editor.optTop->checkedButton()->text(), QString("剛結"));
    QCOMPARE(editor.numKh->value(), std::optional<double>(30000));
    editor.cmdOk()->click();
    QCOMPARE(TheProject().Conditions(4), ProjectValue::Integer(0));
    QCOMPARE(TheProject().Conditions(2), ProjectValue::Real(200000));
  }

  void cancelAndCloseBoxLeaveTheProjectAlone() {
    SetInputs(Sample(2));
    TheProject().ProjectModified = false;
    const Project before = TheProject();
    for (bool closeBox : {false, true}) {
      frmInpJyoken conditions;
      w_->ConnectEditor(&conditions);
      conditions.show();
      conditions.numEp->setValue(300000);
      conditions.optBottom->button(2)->setChecked(true);
      conditions.txtTitle->setText("変えた");
      closeBox ? (void)conditions.close() : conditions.cmdCancel()->click();
      frmInpGairyoku loads;
      w_->ConnectEditor(&loads);
      loads.show();
      loads.numMyo->setValue(55);
      closeBox ? (void)loads.close() : loads.cmdCancel()->click();
      QVERIFY(TheProject() == before);
    }
  }

  void confirmingAnEditorThroughItsCommand() {
    QVERIFY(!w_->cmdMenu(1)->isHighlighted());
    OnNextDialog<frmInpGairyoku>([](frmInpGairyoku& editor) {
      QCOMPARE(editor.windowTitle(), QString("座標原点に作用する外力の入力"));
      QVERIFY(!editor.cmdHelp()->isEnabled());
      editor.numYo->setValue(-99999999.99);
      editor.cmdOk()->click();
    });
    w_->cmdMenu(1)->click();
    QVERIFY(TheProject().LoadsEntered);
    QVERIFY(TheProject().ProjectModified);
    QCOMPARE(TheProject().Loads(2), ProjectValue::Real(-99999999.99));
    QCOMPARE(TheProject().Loads(1), ProjectValue::Real(0));
    QVERIFY(w_->cmdMenu(1)->isHighlighted());

    OnNextDialog<frmInpJyoken>([](frmInpJyoken& editor) { editor.cmdOk()->click(); });
    w_->RunMenuCommand(0);
    QVERIFY(TheProject().ConditionsEntered);
    QCOMPARE(TheProject().Conditions(1), ProjectValue::Text("(未定義)"));
    QCOMPARE(TheProject().Conditions(5), ProjectValue::Integer(1));
    QVERIFY(w_->cmdMenu(0)->isHighlighted());
    QVERIFY(!w_->cmdMenu(4)->isEnabled());  // still no piles
  }

  void fileCommandsAnswerTheirKeys() {
    w_->show();
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    QTest::keyClick(w_.get(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(int(ui_->messages.size()), 1);
    QCOMPARE(ui_->messages[0].title, QString("新規作成"));
    QTest::keyClick(w_.get(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(int(ui_->openDialogs.size()), 1);
    TheProject().CurrentFilePath.clear();
    QTest::keyClick(w_.get(), Qt::Key_S, Qt::ControlModifier);  // untitled: save as
    QCOMPARE(int(ui_->saveDialogs.size()), 1);
    QTest::keyClick(w_.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(int(ui_->saveDialogs.size()), 2);
    // The menu texts stay as they are.
    QCOMPARE(w_->findChild<QAction*>("mnuFileSave")->text(), QString("ﾌｧｲﾙの上書き保存(&A)..."));
  }

  // Each editor opens with the keyboard in its first field: what the user
  // types lands there and Enter moves on instead of confirming the defaults.
  void editorsOpenWithTheFocusInTheirFirstField_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("next");  // where Enter takes the focus
    QTest::newRow("conditions") << 0 << "Case 2" << "txtTitle" << "numEp";
    QTest::newRow("loads") << 1 << "12.25" << "numXo" << "numYo";
    QTest::newRow("piles") << 2 << "1.2" << "vaSpread1" << "vaSpread1";
  }
  void editorsOpenWithTheFocusInTheirFirstField() {
    QFETCH(int, command);
    QFETCH(QString, typed);
    QFETCH(QString, first);
    QFETCH(QString, next);
    SetInputs(Sample(2));
    QString focusAtOpen, focusAfterEnter, firstText;
    bool openAfterEnter = false;
    OnNextDialog<EditorFrame>([&](EditorFrame& editor) {
      QVERIFY(QTest::qWaitForWindowActive(&editor));
      QWidget* focus = QApplication::focusWidget();
      focusAtOpen = focus ? focus->objectName() : QString();
      if (focusAtOpen == first) {
        for (QChar c : typed) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        openAfterEnter = editor.isVisible();
        focus = QApplication::focusWidget();
        focusAfterEnter = focus ? focus->objectName() : QString();
        if (auto* field = editor.findChild<QLineEdit*>(first)) firstText = field->text();
        if (auto* piles = qobject_cast<frmInpKui*>(&editor))
          firstText = piles->vaSpread1->Model()->data(piles->vaSpread1->Model()->index(0, 0), Qt::DisplayRole).toString();
      }
      if (editor.isVisible()) QTest::mouseClick(editor.cmdCancel(), Qt::LeftButton);
    });
    w_->cmdMenu(command)->click();
    QCOMPARE(focusAtOpen, first);
    QVERIFY(openAfterEnter);
    QCOMPARE(focusAfterEnter, next);
    QCOMPARE(firstText, command == 2 ? QString("1.200") : typed);
  }

  // More decimals than a field shows are refused as they are typed, so the
  // project and the calculation get exactly the value on the screen.
  void typedDecimalsBeyondTheFieldNeverReachTheCalculation() {
    SetInputs(Sample(4));
    OnNextDialog<frmInpJyoken>([](frmInpJyoken& editor) {
      QVERIFY(QTest::qWaitForWindowActive(&editor));
      QTest::mouseClick(editor.numAlpha, Qt::LeftButton);
      QTest::keyClick(editor.numAlpha, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(editor.numAlpha, "1.234");
      QTest::keyClick(editor.numAlpha, Qt::Key_Tab);
      QCOMPARE(editor.numAlpha->text(), QString("1.23"));
      QTest::mouseClick(editor.cmdOk(), Qt::LeftButton);
    });
    w_->cmdMenu(0)->click();
    QCOMPARE(TheProject().Conditions(7), ProjectValue::Real(1.23));
    QCOMPARE(engine::CalcPileGroup(), 0);
    Project shown = TheProject();
    shown.Conditions(7) = ProjectValue::Real(1.23);
    engine::CalcResults expected;
    QCOMPARE(engine::CalcPileGroup(shown, expected), 0);
    QCOMPARE(engine::TheResults().SigmaCaAllow[0][1], expected.SigmaCaAllow[0][1]);
    QCOMPARE(engine::TheResults().CheckRatio[0][1], expected.CheckRatio[0][1]);
  }
};

QTEST_MAIN(MenuMainTest)
#include "menu_main_test.moc"
