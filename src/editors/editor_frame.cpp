#include "editor_frame.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "entry_fields.h"
#include "ui.h"
#include "window_position.h"

namespace hasorin {
EditorFrame::EditorFrame(const QString& builtInTitle, std::string settingsSection,
                         QWidget* parent)
    : QDialog(parent), builtInTitle_(builtInTitle), section_(std::move(settingsSection)) {
  setWindowTitle(builtInTitle_);
  setModal(true);

  body_ = new QWidget(this);
  buttonColumn_ = new QWidget(this);
  cmdOk_ = new QPushButton(QStringLiteral("OK(&O)"), buttonColumn_);
  cmdCancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&C)"), buttonColumn_);
  cmdHelp_ = new QPushButton(QStringLiteral("ﾍﾙﾌﾟ(&H)"), buttonColumn_);
  cmdOk_->setObjectName("cmdOk");
  cmdCancel_->setObjectName("cmdCancel");
  cmdHelp_->setObjectName("cmdHelp");
  // Leaving the dialog by Cancel or asking for help must not be blocked by
  // a value that is still out of range.
  cmdCancel_->setProperty(EntryField::kCausesValidation, false);
  cmdHelp_->setProperty(EntryField::kCausesValidation, false);

  auto* buttons = new QVBoxLayout(buttonColumn_);
  buttons->setContentsMargins(0, 0, 0, 0);
  int width = 0;
  for (QPushButton* b : {cmdOk_, cmdCancel_, cmdHelp_})
    width = std::max(width, b->sizeHint().width());
  for (QPushButton* b : {cmdOk_, cmdCancel_, cmdHelp_}) {
    b->setMinimumWidth(std::max(width, fontMetrics().horizontalAdvance('x') * 14));
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch(1);

  auto* root = new QHBoxLayout(this);
  root->addWidget(body_, 1);
  root->addWidget(buttonColumn_, 0);

  connect(cmdOk_, &QPushButton::clicked, this, &EditorFrame::OnOk);
  connect(cmdCancel_, &QPushButton::clicked, this, &EditorFrame::OnCancel);
  connect(cmdHelp_, &QPushButton::clicked, this, &EditorFrame::OnHelp);
}

void EditorFrame::Load() {
  if (loaded_) return;
  loaded_ = true;
  if (!UsrCaption.isEmpty()) setWindowTitle(UsrCaption);
  ensurePolished();
  if (!testAttribute(Qt::WA_Resized)) adjustSize();
  RestoreWindowPosition(this, section_);
  cmdHelp_->setEnabled(!UsrHelpFile.isEmpty());
  for (NumberField* field : findChildren<NumberField*>()) {
    connect(field, &EntryField::Validate, this, [this, field](bool& keepFocus) {
      if (!CheckRange(field)) keepFocus = true;
    });
  }
  BeforeLoadData();
  emit LoadData();
  AfterLoadData();
  // The keyboard starts in the first field, unless the editor chose a
  // control itself: typing must never land on OK, where Enter would confirm.
  if (!focusWidget()) {
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
      auto* field = qobject_cast<EntryField*>(w);
      if (!field || !field->isVisibleTo(this) || !field->isEnabled()) continue;
      field->setFocus(Qt::TabFocusReason);
      field->selectAll();
      break;
    }
  }
}

void EditorFrame::showEvent(QShowEvent* event) {
  Load();  // before the base class, which would centre the dialog on its parent
  QDialog::showEvent(event);
}

void EditorFrame::done(int result) {
  if (loaded_ && isVisible()) SaveWindowPosition(this, section_);
  QDialog::done(result);
}

bool EditorFrame::CheckRange(NumberField* field) {
  if (field->InRange()) return true;
  Ui().Beep();
  Ui().ShowMessage(this, field->RangeText(), windowTitle(), MsgIcon::Information, MsgButtons::Ok);
  return false;
}

bool EditorFrame::ValidateFields() {
  for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
    auto* field = qobject_cast<EntryField*>(w);
    if (!field || !field->isVisibleTo(this) || !field->isEnabled()) continue;
    if (!field->RequestLeave()) {
      field->setFocus(Qt::OtherFocusReason);
      field->selectAll();
      return false;
    }
  }
  return true;
}

void EditorFrame::OnOk() {
  if (!ValidateFields()) return;
  BeforeSaveData();
  bool cancel = false;
  emit SaveData(cancel);
  UsrTag = QString::fromUtf8(kTagOk);
  if (!cancel) accept();
}

void EditorFrame::OnCancel() {
  UsrTag = QString::fromUtf8(kTagCancel);
  reject();
}

void EditorFrame::OnHelp() { OpenHelpTopic(UsrHelpFile, UsrHelpContextID); }

void OpenHelpTopic(const QString& helpFile, int contextId) {
  if (helpFile.isEmpty()) return;
#ifdef Q_OS_WIN
  bool started = Ui().StartProcess("hh.exe", {"-mapid", QString::number(contextId), helpFile}, false);
#else
  (void)contextId;
  bool started = Ui().StartProcess("xdg-open", {helpFile}, false);
#endif
  if (!started) Ui().Beep();
}

void EditorFrame::keyPressEvent(QKeyEvent* event) {
  const auto mods = event->modifiers() & ~Qt::KeypadModifier;
  if (mods == Qt::NoModifier) {
    switch (event->key()) {
      case Qt::Key_Escape:
        cmdCancel_->click();
        return;
      case Qt::Key_F1:
        if (cmdHelp_->isEnabled()) OnHelp();
        return;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        // Enter on an option button moves on like in the fields, rather than
        // closing the dialog; on a focused button it presses it.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
          button->click();
        } else {
          focusNextChild();
        }
        return;
      default:
        break;
    }
  }
  QDialog::keyPressEvent(event);
}

}  // namespace hasorin
