#pragma once
// Test stand-in for the desktop services: records every message, beep,
// dialog and process start, and answers from scripted queues.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "ui.h"

namespace hasorin::testing {

struct RecordedMessage {
  QString text;
  QString title;
  MsgIcon icon;
  MsgButtons buttons;
};

struct RecordedProcess {
  QString program;
  QStringList arguments;
  bool wait;
};

class FakeUi : public UiServices {
 public:
  FakeUi() { SetUi(this); }
  ~FakeUi() override { SetUi(nullptr); }

  // Scripted answers, consumed in order. An empty queue answers Ok (or the
  // first of Yes/No boxes: Yes) for messages and "cancel" for dialogs.
  std::deque<MsgResult> answers;
  std::deque<QString> openAnswers;
  std::deque<QString> saveAnswers;
  bool processStarts = true;
  // Runs while a message is "shown" (after it is recorded), for tests that
  // need what a real box does, such as taking the focus.
  std::function<void()> onMessage;

  std::vector<RecordedMessage> messages;
  std::vector<FileDialogOptions> openDialogs, saveDialogs;
  std::vector<RecordedProcess> processes;
  int beeps = 0;
  QString clipboard;
  QImage clipboardImage;
  QByteArray clipboardSvg;

  MsgResult ShowMessage(QWidget*, const QString& text, const QString& title, MsgIcon icon,
                        MsgButtons buttons) override {
    messages.push_back({text, title, icon, buttons});
    if (onMessage) onMessage();
    if (!answers.empty()) {
      MsgResult r = answers.front();
      answers.pop_front();
      return r;
    }
    return (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel) ? MsgResult::Yes
                                                                                : MsgResult::Ok;
  }
  void Beep() override { ++beeps; }
  QString GetOpenFileName(QWidget*, const FileDialogOptions& o) override {
    openDialogs.push_back(o);
    return Pop(openAnswers);
  }
  QString GetSaveFileName(QWidget*, const FileDialogOptions& o) override {
    saveDialogs.push_back(o);
    return Pop(saveAnswers);
  }
  QString ClipboardText() override { return clipboard; }
  void SetClipboardText(const QString& text) override { clipboard = text; }
  void SetClipboardImage(const QImage& image) override { clipboardImage = image; }
  void SetClipboardPicture(const QImage& image, const QByteArray& svg) override {
    clipboardImage = image;
    clipboardSvg = svg;
  }
  bool StartProcess(const QString& program, const QStringList& arguments, bool wait) override {
    processes.push_back({program, arguments, wait});
    return processStarts;
  }

 private:
  static QString Pop(std::deque<QString>& q) {
    if (q.empty()) return QString();
    QString s = q.front();
    q.pop_front();
    return s;
  }
};

}  // namespace hasorin::testing
