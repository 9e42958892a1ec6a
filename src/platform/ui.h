#pragma once
// The seams between windows and the desktop: message boxes, the beep, file
// dialogs, the clipboard and starting another program. Windows call these
// instead of Qt directly, so that tests can answer prompts and record what
// the user would have seen without a screen (see SetUi).
#include <QString>
#include <QStringList>

class QWidget;
class QImage;
class QByteArray;
class QCoreApplication;

namespace hasorin {

enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct FileDialogOptions {
  QString title;
  QString startFolder;
  QString fileName;          // initial file name or full path
  QString filter;            // Qt filter text, e.g. "入力ﾃﾞｰﾀ(*.zrn)"
  QString defaultSuffix;     // without the dot, e.g. "zrn"
  bool confirmOverwrite = true;  // save dialogs only
};

class UiServices {
 public:
  virtual ~UiServices() = default;
  // Japanese button captions; returns the button pressed (closing the box
  // counts as Cancel, or as Ok/No when the box has no Cancel button).
  virtual MsgResult ShowMessage(QWidget* parent, const QString& text, const QString& title,
                                MsgIcon icon, MsgButtons buttons) = 0;
  virtual void Beep() = 0;
  // Empty result: the dialog was cancelled.
  virtual QString GetOpenFileName(QWidget* parent, const FileDialogOptions& options) = 0;
  virtual QString GetSaveFileName(QWidget* parent, const FileDialogOptions& options) = 0;
  virtual QString ClipboardText() = 0;
  virtual void SetClipboardText(const QString& text) = 0;
  virtual void SetClipboardImage(const QImage& image) = 0;
  // A picture as an image and as SVG, so that it pastes sharp where SVG is
  // taken; stand-ins that do not care keep only the image.
  virtual void SetClipboardPicture(const QImage& image, const QByteArray& /*svg*/) { SetClipboardImage(image); }
  // Starts a program; with `wait` it blocks until the program ends.
  // False when the program could not be started.
  virtual bool StartProcess(const QString& program, const QStringList& arguments, bool wait) = 0;
};

// The services in use: the desktop implementation unless a test installed its own.
UiServices& Ui();
// Installs replacement services (not owned); nullptr restores the desktop ones.
void SetUi(UiServices* services);

// Loads Qt's Japanese texts (qtbase_ja: file dialog, standard buttons and
// menus) into the application; call once after creating the QApplication.
// False when the translation file is not found (the dialogs stay English).
bool InstallQtJapaneseTranslation(QCoreApplication& app);

}  // namespace hasorin
