// Desktop services: Japanese message boxes and Qt's own file dialogs.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "../support/fake_ui.h"
#include "ui.h"

using namespace hasorin;

namespace {

// Runs `handle` on the next modal widget once it is shown.
void WhenModal(std::function<void(QWidget*)> handle) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, handle] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      handle(w);
    }
  });
  timer->start();
}

QStringList ButtonTexts(QMessageBox* box) {
  QStringList texts;
  for (QAbstractButton* b : box->buttons()) texts << b->text();
  texts.sort();
  return texts;
}

void ClickButton(QMessageBox* box, const QString& text) {
  for (QAbstractButton* b : box->buttons()) {
    if (b->text() == text) return b->click();
  }
  QFAIL(qPrintable("no button " + text));
}

}  // namespace

class UiTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY(InstallQtJapaneseTranslation(*QCoreApplication::instance())); }

  void messageBoxButtonsAndAnswers_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("press");  // empty: close with Escape
    QTest::addColumn<int>("expected");
    const QStringList ok{"OK"}, okCancel{"OK", "ｷｬﾝｾﾙ"}, yesNo{"いいえ(&N)", "はい(&Y)"},
        yesNoCancel{"いいえ(&N)", "はい(&Y)", "ｷｬﾝｾﾙ"};
    auto row = [](const char* name, MsgButtons b, QStringList c, QString press, MsgResult r) {
      c.sort();
      QTest::newRow(name) << int(b) << c << press << int(r);
    };
    row("ok", MsgButtons::Ok, ok, "OK", MsgResult::Ok);
    row("ok escape", MsgButtons::Ok, ok, "", MsgResult::Ok);
    row("okcancel cancel", MsgButtons::OkCancel, okCancel, "ｷｬﾝｾﾙ", MsgResult::Cancel);
    row("okcancel escape", MsgButtons::OkCancel, okCancel, "", MsgResult::Cancel);
    row("yesno yes", MsgButtons::YesNo, yesNo, "はい(&Y)", MsgResult::Yes);
    row("yesno escape", MsgButtons::YesNo, yesNo, "", MsgResult::No);
    row("yesnocancel no", MsgButtons::YesNoCancel, yesNoCancel, "いいえ(&N)", MsgResult::No);
    row("yesnocancel escape", MsgButtons::YesNoCancel, yesNoCancel, "", MsgResult::Cancel);
  }
  void messageBoxButtonsAndAnswers() {
    QFETCH(int, buttons);
    QFETCH(QStringList, captions);
    QFETCH(QString, press);
    QFETCH(int, expected);
    QStringList seen;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      QVERIFY(box);
      seen = ButtonTexts(box);
      title = box->windowTitle();
      text = box->text();
      icon = box->icon();
      if (press.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Escape);
      } else {
        ClickButton(box, press);
      }
    });
    MsgResult r = Ui().ShowMessage(nullptr, "入力範囲：0 ～ 2", "ﾌｧｲﾙを開く", MsgIcon::Critical,
                                   MsgButtons(buttons));
    QCOMPARE(seen, captions);
    QCOMPARE(title, QString("ﾌｧｲﾙを開く"));
    QCOMPARE(text, QString("入力範囲：0 ～ 2"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(int(r), expected);
  }

  void saveDialogAddsSuffixAndConfirmsOverwrite() {
    QTemporaryDir dir;
    FileDialogOptions o;
    o.title = "ﾌｧｲﾙに名前を付けて保存";
    o.startFolder = dir.path();
    o.filter = "入力ﾃﾞｰﾀ(*.zrn)|*.zrn";
    o.defaultSuffix = "zrn";
    QStringList filters;
    WhenModal([&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
      QCOMPARE(dialog->windowTitle(), o.title);
      filters = dialog->nameFilters();
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText("abc");
      static_cast<QDialog*>(dialog)->accept();
    });
    QString chosen = Ui().GetSaveFileName(nullptr, o);
    QCOMPARE(filters, QStringList{"入力ﾃﾞｰﾀ(*.zrn)"});
    QCOMPARE(chosen, QDir::toNativeSeparators(dir.filePath("abc.zrn")));

    // An existing file is confirmed with a Japanese question; "no" keeps the dialog open.
    QFile existing(dir.filePath("old.zrn"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    QString question;
    WhenModal([&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText("old.zrn");
      WhenModal([&, dialog](QWidget* confirm) {
        auto* box = qobject_cast<QMessageBox*>(confirm);
        QVERIFY(box);
        question = box->text();
        box->reject();
        QTimer::singleShot(0, dialog, &QDialog::reject);
      });
      static_cast<QDialog*>(dialog)->accept();
    });
    QVERIFY(Ui().GetSaveFileName(nullptr, o).isEmpty());
    QVERIFY2(question.contains("old.zrn") && question.contains(QChar(0x3059)), qPrintable(question));
  }

  void openDialogCancelled() {
    WhenModal([](QWidget* w) {
      QVERIFY(qobject_cast<QFileDialog*>(w));
      static_cast<QDialog*>(w)->reject();
    });
    QVERIFY(Ui().GetOpenFileName(nullptr, FileDialogOptions{}).isEmpty());
  }

  void processesAndClipboard() {
    QVERIFY(Ui().StartProcess("true", {}, true));
    QVERIFY(Ui().StartProcess("sh", {"-c", "exit 3"}, true));
    QVERIFY(!Ui().StartProcess("/nonexistent/program", {}, true));
    QVERIFY(!Ui().StartProcess("/nonexistent/program", {}, false));
    QVERIFY(Ui().StartProcess("true", {}, false));
    Ui().SetClipboardText("杭配置図");
    QCOMPARE(Ui().ClipboardText(), QString("杭配置図"));
  }

  void fakeReplacesTheDesktopWhileItLives() {
    UiServices* desktop = &Ui();
    {
      hasorin::testing::FakeUi fake;
      QCOMPARE(&Ui(), static_cast<UiServices*>(&fake));
      fake.answers.push_back(MsgResult::No);
      QCOMPARE(Ui().ShowMessage(nullptr, "t", "c", MsgIcon::Question, MsgButtons::YesNo),
               MsgResult::No);
      QCOMPARE(fake.messages.size(), size_t(1));
    }
    QCOMPARE(&Ui(), desktop);
  }
};

QTEST_MAIN(UiTest)
#include "ui_test.moc"
