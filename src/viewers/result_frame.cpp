#include "result_frame.h"

#include <QKeyEvent>
#include <QPushButton>

#include "editor_frame.h"
#include "result_grid.h"
#include "window_position.h"

namespace hasorin {

ResultFrame::ResultFrame(const QString& builtInTitle, std::string settingsSection, QWidget* parent)
    : QDialog(parent), builtInTitle_(builtInTitle), section_(std::move(settingsSection)) {
  setWindowTitle(builtInTitle_);
  setModal(true);
  cmdClose_ = new QPushButton(QStringLiteral("閉じる(&C)"), this);
  cmdHelp_ = new QPushButton(QStringLiteral("ﾍﾙﾌﾟ(&H)"), this);
  cmdClose_->setObjectName("cmdClose");
  cmdHelp_->setObjectName("cmdHelp");
  const int width = std::max({cmdClose_->sizeHint().width(), cmdHelp_->sizeHint().width(),
                              fontMetrics().horizontalAdvance('x') * 14});
  for (QPushButton* b : {cmdClose_, cmdHelp_}) {
    b->setFixedWidth(width);
    b->setAutoDefault(false);
  }
  connect(cmdClose_, &QPushButton::clicked, this, &QDialog::reject);
  connect(cmdHelp_, &QPushButton::clicked, this,
          [this] { OpenHelpTopic(UsrHelpFile, UsrHelpContextID); });
}

void ResultFrame::Load() {
  if (loaded_) return;
  loaded_ = true;
  if (!UsrCaption.isEmpty()) setWindowTitle(UsrCaption);
  cmdHelp_->setEnabled(!UsrHelpFile.isEmpty());
  ensurePolished();
  emit LoadData();
  AfterLoadData();
  // Sized after the grids are filled, so that a column widened for a long
  // value is in the default size; placed once its size is known.
  RestoreSize();
  RestoreWindowPosition(this, section_);
  if (!Grids().empty()) Grids().front()->setFocus(Qt::OtherFocusReason);
}

void ResultFrame::showEvent(QShowEvent* event) {
  Load();  // before the base class, which would centre the dialog on its parent
  QDialog::showEvent(event);
}

void ResultFrame::done(int result) {
  if (loaded_ && isVisible()) SaveGeometry();
  QDialog::done(result);
}

void ResultFrame::SaveGeometry() { SaveWindowPosition(this, section_); }

void ResultFrame::keyPressEvent(QKeyEvent* event) {
  const auto mods = event->modifiers() & ~Qt::KeypadModifier;
  if (mods == Qt::NoModifier && event->key() == Qt::Key_F1) {
    if (cmdHelp_->isEnabled()) cmdHelp_->click();
    return;
  }
  QDialog::keyPressEvent(event);  // Escape closes
}

}  // namespace hasorin
