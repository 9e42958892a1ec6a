#include "ui.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTranslator>
#include <cstdio>
#include <vector>

#include "paths.h"

namespace hasorin {
namespace {

bool HasWidgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }
bool HasGui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

// What closing the box means: Cancel where there is one, else No, else Ok.
MsgResult CloseResult(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok: return MsgResult::Ok;
    case MsgButtons::YesNo: return MsgResult::No;
    default: return MsgResult::Cancel;
  }
}

QMessageBox::Icon ToQt(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

// Accepts both Qt filters and the "description|pattern|..." form of the
// classic common dialog.
QString ToQtFilter(const QString& filter) {
  if (!filter.contains(u'|')) return filter;
  QStringList parts = filter.split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    qsizetype paren = description.lastIndexOf(u'(');
    if (paren > 0 && description.endsWith(u')')) description.truncate(paren);
    QString patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    filters << description.trimmed() + u'(' + patterns.trimmed() + u')';
  }
  return filters.join(QStringLiteral(";;"));
}

QString RunFileDialog(QWidget* parent, const FileDialogOptions& o, bool save) {
  if (!HasWidgets()) return {};
  QFileDialog dialog(parent, o.title, o.startFolder, ToQtFilter(o.filter));
  // The platform's own dialog where it has one (Windows, desktops with a
  // portal); Qt's dialog elsewhere and without a screen.
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
    dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save && !o.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!o.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(o.defaultSuffix);
  if (!o.fileName.isEmpty()) dialog.selectFile(o.fileName);
  if (dialog.exec() != QDialog::Accepted) return {};
  QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : QDir::toNativeSeparators(files.first());
}

class DesktopUi : public UiServices {
 public:
  MsgResult ShowMessage(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                        MsgButtons buttons) override {
    if (!HasWidgets()) {
      // No desktop (a command-line run): the text must still reach the user.
      std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
      return CloseResult(buttons);
    }
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(ToQt(icon));
    struct Choice {
      const char16_t* caption;
      QMessageBox::ButtonRole role;
      MsgResult result;
    };
    static const Choice ok{u"OK", QMessageBox::AcceptRole, MsgResult::Ok};
    static const Choice cancel{u"ｷｬﾝｾﾙ", QMessageBox::RejectRole, MsgResult::Cancel};
    static const Choice yes{u"はい(&Y)", QMessageBox::YesRole, MsgResult::Yes};
    static const Choice no{u"いいえ(&N)", QMessageBox::NoRole, MsgResult::No};
    std::vector<Choice> choices;
    switch (buttons) {
      case MsgButtons::Ok: choices = {ok}; break;
      case MsgButtons::OkCancel: choices = {ok, cancel}; break;
      case MsgButtons::YesNo: choices = {yes, no}; break;
      case MsgButtons::YesNoCancel: choices = {yes, no, cancel}; break;
    }
    std::vector<QPushButton*> pushButtons;
    for (const Choice& c : choices) {
      pushButtons.push_back(box.addButton(QString::fromUtf16(c.caption), c.role));
    }
    box.setDefaultButton(pushButtons.front());
    MsgResult closed = CloseResult(buttons);
    for (size_t i = 0; i < choices.size(); ++i) {
      if (choices[i].result == closed) box.setEscapeButton(pushButtons[i]);
    }
    box.exec();
    for (size_t i = 0; i < choices.size(); ++i) {
      if (box.clickedButton() == pushButtons[i]) return choices[i].result;
    }
    return closed;
  }

  void Beep() override {
    if (HasWidgets()) QApplication::beep();
  }

  QString GetOpenFileName(QWidget* parent, const FileDialogOptions& options) override {
    return RunFileDialog(parent, options, false);
  }
  QString GetSaveFileName(QWidget* parent, const FileDialogOptions& options) override {
    return RunFileDialog(parent, options, true);
  }

  QString ClipboardText() override {
    return HasGui() ? QGuiApplication::clipboard()->text() : QString();
  }
  void SetClipboardText(const QString& text) override {
    if (HasGui()) QGuiApplication::clipboard()->setText(text);
  }
  void SetClipboardImage(const QImage& image) override {
    if (HasGui()) QGuiApplication::clipboard()->setImage(image);
  }

  void SetClipboardPicture(const QImage& image, const QByteArray& svg) override {
    if (!HasGui()) return;
    auto* data = new QMimeData;
    data->setImageData(image);
    data->setData(QStringLiteral("image/svg+xml"), svg);
    QGuiApplication::clipboard()->setMimeData(data);
  }

  bool StartProcess(const QString& program, const QStringList& arguments, bool wait) override {
    if (!wait) return QProcess::startDetached(program, arguments);
    // -2: the program could not be started; a crash still counts as started.
    return QProcess::execute(program, arguments) != -2;
  }
};

UiServices* g_replacement = nullptr;

}  // namespace

UiServices& Ui() {
  static DesktopUi desktop;
  return g_replacement ? *g_replacement : desktop;
}

void SetUi(UiServices* services) { g_replacement = services; }

bool InstallQtJapaneseTranslation(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  // Qt's own folder first, then a "translations" folder deployed beside the program.
  const QString folders[] = {
      QLibraryInfo::path(QLibraryInfo::TranslationsPath),
      QString::fromStdString(JoinPath(ProgramFolder(), "translations")),
  };
  for (const QString& folder : folders) {
    if (translator->load(QStringLiteral("qtbase_ja"), folder)) {
      app.installTranslator(translator);
      return true;
    }
  }
  delete translator;
  return false;
}

}  // namespace hasorin
