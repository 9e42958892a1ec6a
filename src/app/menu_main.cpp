#include "menu_main.h"

#include <QAction>
#include <QShortcut>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QMenuBar>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolBar>
#include <QVBoxLayout>
#include <functional>

#include "about.h"
#include "engine.h"
#include "exchange.h"
#include "frm_draw.h"
#include "inp_gairyoku.h"
#include "inp_jyoken.h"
#include "inp_kui.h"
#include "inp_renban.h"
#include "inputfile.h"
#include "menu_icons.h"
#include "numbering.h"
#include "menu_print.h"
#include "open_file.h"
#include "open_viewers.h"
#include "paths.h"
#include "profile.h"
#include "project.h"
#include "save_workbook.h"
#include "ui.h"
#include "window_position.h"

namespace hasorin {
namespace {

const QString kProduct = QString::fromUtf8(kProductName);
const QString kFileFilter = QStringLiteral("入力ﾃﾞｰﾀ(*.zrn)|*.zrn");

const char* const kCaptions[frmMenuMain::kCommands] = {
    "計算条件入力",     "座標原点に作用する外力の入力", "杭体および杭配置の入力",
    "杭配置図の表示",   "杭頭作用力の確認",             "杭体応力度の確認",
    "結果印刷",         "連番条件設定",
};

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

void Critical(QWidget* parent, const FileMessage& message) {
  Ui().ShowMessage(parent, Q(message.text), Q(message.title), MsgIcon::Critical, MsgButtons::Ok);
}

}  // namespace

// ---------------------------------------------------------------- MenuButton

MenuButton::MenuButton(const QIcon& icon, const QString& caption, QWidget* parent)
    : QPushButton(icon, caption, parent) {
  setIconSize(QSize(36, 36));
  setAutoDefault(false);
}

void MenuButton::setHighlighted(bool on) {
  highlighted_ = on;
  update();
}

QSize MenuButton::sizeHint() const {
  const QFontMetrics fm = fontMetrics();
  int w = 12 + iconSize().width() + 12 + fm.horizontalAdvance(text()) + 16;
  int h = std::max(iconSize().height() + 14, fm.height() + 16);
  return {w, h};
}

void MenuButton::changeEvent(QEvent* event) {
  QPushButton::changeEvent(event);
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::EnabledChange) update();
}

void MenuButton::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  option.icon = QIcon();
  p.drawControl(QStyle::CE_PushButton, option);

  const bool enabled = isEnabled();
  const int shift = isDown() ? 1 : 0;
  QRect iconRect(12 + shift, (height() - iconSize().height()) / 2 + shift, iconSize().width(),
                 iconSize().height());
  icon().paint(&p, iconRect, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);
  QRect textRect(iconRect.right() + 12, shift, width() - iconRect.right() - 16, height());
  QColor color = !enabled      ? palette().color(QPalette::Disabled, QPalette::ButtonText)
                 : highlighted_ ? palette().color(QPalette::Active, QPalette::Highlight)
                                : palette().color(QPalette::Active, QPalette::ButtonText);
  p.setPen(color);
  p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text());
}

// --------------------------------------------------------------- frmMenuMain

frmMenuMain::frmMenuMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName("frmMenuMain");
  setWindowIcon(ProgramIcon());
  BuildMenus();
  BuildToolbar();
  BuildCommands();
  InstallSaveWorkbookEntry();
  Startup();
}

frmMenuMain::~frmMenuMain() { SetRecentFilesListener(nullptr); }

void frmMenuMain::BuildMenus() {
  QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  mnuFile->setObjectName("mnuFile");
  auto add = [&](const char* name, const QString& caption, std::function<void()> command) {
    QAction* action = mnuFile->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, std::move(command));
    return action;
  };
  add("mnuFileNew", QStringLiteral("新規作成(&N)"), [this] { NewProject(); });
  add("mnuFileOpen", QStringLiteral("ﾌｧｲﾙを開く(&O)..."), [this] { OpenFile(); });
  add("mnuFileSaveAs", QStringLiteral("ﾌｧｲﾙに名前を付けて保存(&A)..."), [this] { SaveFileAs(); });
  add("mnuFileSave", QStringLiteral("ﾌｧｲﾙの上書き保存(&A)..."), [this] { SaveFile(); });
  mnuFile->addSeparator();
  for (int k = 0; k < 4; ++k) {
    QAction* entry = add(qPrintable(QString("mnuFileName%1").arg(k)), QString("&%1").arg(k + 1),
                         [this, k] { OpenRecentFile(k); });
    entry->setEnabled(false);
    mnuFileName_[size_t(k)] = entry;
  }
  mnuFile->addSeparator();
  add("mnuFileExit", QStringLiteral("ﾌﾟﾛｸﾞﾗﾑ終了(&X)"), [this] { close(); });

  // The usual keys for the file commands; window shortcuts rather than menu
  // shortcuts, so that the menu texts stay exactly as they are.
  const std::pair<QKeySequence, std::function<void()>> keys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_N), [this] { NewProject(); }},
      {QKeySequence(Qt::CTRL | Qt::Key_O), [this] { OpenFile(); }},
      {QKeySequence(Qt::CTRL | Qt::Key_S), [this] { SaveFile(); }},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { SaveFileAs(); }}};
  for (const auto& [key, command] : keys) connect(new QShortcut(key, this), &QShortcut::activated, this, command);

  mnuAbout_ = menuBar()->addAction(QStringLiteral("&?"));
  mnuAbout_->setObjectName("mnuAbout");
  connect(mnuAbout_, &QAction::triggered, this, &frmMenuMain::ShowAbout);
}

void frmMenuMain::BuildToolbar() {
  tbrMenu_ = addToolBar(QStringLiteral("tbrMenu"));
  tbrMenu_->setObjectName("tbrMenu");
  tbrMenu_->setMovable(false);
  tbrMenu_->setFloatable(false);
  tbrMenu_->setIconSize(QSize(20, 20));
  tbrMenu_->setContextMenuPolicy(Qt::PreventContextMenu);
  struct Button {
    const char* key;
    const char* tip;
    std::function<void()> command;
  };
  const Button buttons[] = {
      {"New", "新規作成", [this] { NewProject(); }},
      {"Open", "ﾌｧｲﾙを開く...", [this] { OpenFile(); }},
      {"SaveAs", "ﾌｧｲﾙに名前を付けて保存...", [this] { SaveFileAs(); }},
      {"Save", "ﾌｧｲﾙの上書き保存", [this] { SaveFile(); }},
      {"Printer", "ﾍﾟｰｼﾞの設定", nullptr},
  };
  for (const Button& b : buttons) {
    QAction* action = tbrMenu_->addAction(ToolbarIcon(b.key), QString::fromUtf8(b.tip));
    action->setObjectName(b.key);
    action->setToolTip(QString::fromUtf8(b.tip));
    if (b.command) {
      connect(action, &QAction::triggered, this, b.command);
    } else {
      action->setEnabled(false);  // page setup has no action in this window
    }
    if (QString(b.key) == "SaveAs") tbrMenu_->addSeparator();
  }
}

void frmMenuMain::BuildCommands() {
  auto* central = new QWidget;
  auto* frame = new QGroupBox(QStringLiteral("ﾒｲﾝﾒﾆｭｰ"));
  frame->setObjectName("Frame1");
  auto* grid = new QGridLayout(frame);
  grid->setSpacing(8);
  int width = 0;
  for (int i = 0; i < kCommands; ++i) {
    auto* button = new MenuButton(MenuIcon(i), QString::fromUtf8(kCaptions[i]));
    button->setObjectName(QString("cmdMenu%1").arg(i));
    connect(button, &QPushButton::clicked, this, [this, i] { RunMenuCommand(i); });
    cmdMenu_[size_t(i)] = button;
    width = std::max(width, button->sizeHint().width());
    // Input and drawing on the left, results, printing and settings on the right.
    grid->addWidget(button, i % 4, i / 4);
  }
  for (MenuButton* b : cmdMenu_) b->setMinimumWidth(width);

  cmdExit_ = new QPushButton(ExitIcon(), QStringLiteral("  ﾌﾟﾛｸﾞﾗﾑ終了"));
  cmdExit_->setObjectName("cmdExit");
  cmdExit_->setIconSize(QSize(24, 24));
  cmdExit_->setAutoDefault(false);
  cmdExit_->setMinimumHeight(36);
  cmdExit_->setMinimumWidth(cmdExit_->sizeHint().width() + 24);
  connect(cmdExit_, &QPushButton::clicked, this, &QWidget::close);

  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(10, 8, 10, 10);
  column->addWidget(frame);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(cmdExit_);
  column->addLayout(bottom);
  setCentralWidget(central);
}

void frmMenuMain::Startup() {
  setWindowTitle(kProduct);
  TheProject().CurrentFilePath.clear();

  setFixedSize(sizeHint());
  RestoreWindowPosition(this, kSettingsSection);

  // Folders and recent paths are read whole: a path cut at the settings
  // reader's 127 characters would name a file that cannot be opened.
  std::string initDir = GetPrivateProfileString(SettingsFilePath(), "FileName", "InitDir", "");
  startFolder_ = Q(initDir.empty() ? ProgramFolder() : initDir);

  RefreshRecentMenu(ReadRecentFiles(SettingsFilePath()));
  SetRecentFilesListener([this](const RecentFiles& list) { RefreshRecentMenu(list); });

  ResetProject(TheProject());
  TheProject().ProjectModified = false;
  RefreshActivation();
}

void frmMenuMain::RefreshRecentMenu(const RecentFiles& files) {
  for (size_t k = 0; k < files.size(); ++k) {
    QAction* entry = mnuFileName_[k];
    if (files[k].empty()) {
      entry->setEnabled(false);  // keeps its caption
      continue;
    }
    QString path = Q(files[k]);
    path.replace("&", "&&");
    entry->setText(QString("&%1 %2").arg(k + 1).arg(path));
    entry->setEnabled(true);
  }
}

void frmMenuMain::RefreshActivation() {
  const Project& p = TheProject();
  const bool piles = p.PileCount >= 1;
  const bool all = p.ConditionsEntered && p.LoadsEntered && piles;
  cmdMenu(0)->setHighlighted(p.ConditionsEntered);
  cmdMenu(1)->setHighlighted(p.LoadsEntered);
  cmdMenu(2)->setHighlighted(piles);
  cmdMenu(3)->setEnabled(piles);
  for (int i : {4, 5, 6}) cmdMenu(i)->setEnabled(all);
}

void frmMenuMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) RefreshActivation();
}

// ------------------------------------------------------------- file commands

void frmMenuMain::SetFileTitle(const std::string& path) {
  setWindowTitle(Q(FileNameOf(path)) + " - " + kProduct);
}

void frmMenuMain::RememberFolder(const std::string& path) {
  QDir::setCurrent(Q(FolderOf(path)));  // a failure leaves the current folder
  std::string current = QDir::toNativeSeparators(QDir::currentPath()).toStdString();
  CPrivateProfile().SetValueString(SettingsFilePath(), "FileName", "InitDir", current);
  startFolder_ = Q(current);
}

void frmMenuMain::NewProject() {
  MsgResult answer = Ui().ShowMessage(
      this, QStringLiteral("現在編集中の入力ﾃﾞｰﾀを全て破棄し，入力ﾃﾞｰﾀを初期化します。"),
      QStringLiteral("新規作成"), MsgIcon::Information, MsgButtons::OkCancel);
  if (answer != MsgResult::Ok) return;
  ResetProject(TheProject());
  TheProject().CurrentFilePath.clear();
  setWindowTitle(kProduct);
  RefreshActivation();
}

void frmMenuMain::OpenFile() {
  FileDialogOptions options;
  options.startFolder = startFolder_;
  options.filter = kFileFilter;
  options.defaultSuffix = QStringLiteral("zrn");
  QString path = Ui().GetOpenFileName(this, options);
  if (path.isEmpty()) return;
  OpenPath(path.toStdString());
}

void frmMenuMain::OpenRecentFile(int k) {
  // Read again now: the menu may show a path another instance has replaced.
  OpenPath(ReadRecentFiles(SettingsFilePath())[size_t(k)]);
}

bool frmMenuMain::OpenPath(const std::string& path) {
  Project& project = TheProject();
  OpenResult result = OpenInputFile(project, path);
  RefreshActivation();
  if (result.ok) {
    SetFileTitle(path);
    project.CurrentFilePath = path;
    AddRecentFile(path);
    RememberFolder(path);
    return true;
  }
  setWindowTitle(kProduct);
  project.CurrentFilePath.clear();
  for (const FileMessage& message : result.messages) Critical(this, message);
  return false;
}

bool frmMenuMain::WriteProject(const std::string& path) {
  FileResult result = WriteInputFile(TheProject(), path);
  if (!result.ok) Critical(this, WriteErrorMessage(result.code));
  return result.ok;
}

SaveOutcome frmMenuMain::SaveFileAs() {
  FileDialogOptions options;
  options.startFolder = startFolder_;
  options.fileName = Q(TheProject().CurrentFilePath);
  options.filter = kFileFilter;
  options.defaultSuffix = QStringLiteral("zrn");
  options.confirmOverwrite = true;
  QString chosen = Ui().GetSaveFileName(this, options);
  if (chosen.isEmpty()) return SaveOutcome::Cancelled;
  const std::string path = chosen.toStdString();
  if (!WriteProject(path)) return SaveOutcome::Failed;
  SetFileTitle(path);
  TheProject().CurrentFilePath = path;
  AddRecentFile(path);
  TheProject().ProjectModified = false;
  RememberFolder(path);
  return SaveOutcome::Saved;
}

SaveOutcome frmMenuMain::SaveFile() {
  Project& project = TheProject();
  if (project.CurrentFilePath.empty()) return SaveFileAs();
  if (!WriteProject(project.CurrentFilePath)) return SaveOutcome::Failed;
  AddRecentFile(project.CurrentFilePath);
  project.ProjectModified = false;
  return SaveOutcome::Saved;
}

void frmMenuMain::closeEvent(QCloseEvent* event) {
  Project& project = TheProject();
  if (project.ProjectModified) {
    MsgResult answer = Ui().ShowMessage(
        this,
        QStringLiteral("現在編集中の入力ﾃﾞｰﾀがあります。上書き保存してから終了しますか？") +
            "\n\n" + QStringLiteral("編集中のﾌｧｲﾙ名：") + Q(project.CurrentFilePath),
        QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ終了"), MsgIcon::Information, MsgButtons::YesNoCancel);
    if (answer == MsgResult::Cancel) {
      event->ignore();
      return;
    }
    if (answer == MsgResult::Yes) {
      // Cancelling the save dialog ends the program without saving; a write
      // that failed keeps the window open, so the work is not lost with it.
      if (SaveFile() == SaveOutcome::Failed) {
        event->ignore();
        return;
      }
    }
  }
  SaveWindowPosition(this, kSettingsSection);
  event->accept();
}

// ---------------------------------------------------------- workflow commands

void frmMenuMain::RunMenuCommand(int index) {
  if (index < 0 || index >= kCommands || !cmdMenu(index)->isEnabled()) return;
  switch (index) {
    case 0: OpenConditionsEditor(); break;
    case 1: OpenLoadsEditor(); break;
    case 2: OpenPileTableEditor(); break;
    case 3: ShowPileLayoutDrawing(); break;
    case 4: if (RunCalculation(index)) ShowPileHeadResults(); break;
    case 5: if (RunCalculation(index)) ShowPileStresses(); break;
    case 6: if (RunCalculation(index)) ShowPrintMenu(); break;
    case 7: OpenNumberingEditor(); break;
  }
  RefreshActivation();
}

bool frmMenuMain::RunCalculation(int index) {
  const QString title = cmdMenu(index)->text();
  const QString advice = QStringLiteral("入力ﾃﾞｰﾀ等をご確認の上再度実行して下さい。");
  int code = engine::CalcPileGroup();
  QString text;
  if (code != 0) {
    text = QStringLiteral("計算実行中にｴﾗｰが発生しました。(ｴﾗｰｺｰﾄﾞ ： ") + QString::number(code) + ")";
  } else if (!engine::TheResults().solved) {
    // The previous run's numbers must not be shown as the answer.
    text = QStringLiteral("杭群の剛性マトリクスを解くことができませんでした。");
  } else {
    return true;
  }
  Ui().Beep();
  Ui().ShowMessage(this, text + "\r\n\r\n" + advice, title, MsgIcon::Critical, MsgButtons::Ok);
  return false;
}

void frmMenuMain::ShowEditor(EditorFrame& editor) {
  editor.UsrCaption.clear();
  editor.UsrHelpFile.clear();
  editor.UsrHelpContextID = 0;
  editor.exec();
  RefreshActivation();
}

void frmMenuMain::ConnectEditor(frmInpJyoken* editor) {
  connect(editor, &EditorFrame::LoadData, this,
          [editor] { editor->SetFields(LoadConditionsFields(TheProject())); });
  connect(editor, &EditorFrame::SaveData, this, [editor](bool& cancel) {
    cancel = false;
    SaveConditionsFields(editor->Fields(), TheProject());
  });
}

void frmMenuMain::ConnectEditor(frmInpGairyoku* editor) {
  connect(editor, &EditorFrame::LoadData, this,
          [editor] { editor->SetFields(LoadLoadsFields(TheProject())); });
  connect(editor, &EditorFrame::SaveData, this, [editor](bool& cancel) {
    cancel = false;
    SaveLoadsFields(editor->Fields(), TheProject());
  });
}

void frmMenuMain::OpenConditionsEditor() {
  frmInpJyoken editor(this);
  ConnectEditor(&editor);
  ShowEditor(editor);
}

void frmMenuMain::OpenLoadsEditor() {
  frmInpGairyoku editor(this);
  ConnectEditor(&editor);
  ShowEditor(editor);
}

// The pile table editor (row limit 999) is opened here.
void frmMenuMain::OpenPileTableEditor() {
  frmInpKui editor(this);
  editor.UsrRecMax = kMaxPiles;
  connect(&editor, &EditorFrame::LoadData, this,
          [&editor] { editor.SetFields(LoadPileTableFields(TheProject())); });
  connect(&editor, &EditorFrame::SaveData, this, [&editor](bool& cancel) {
    cancel = false;
    SavePileTableFields(editor.Fields(), TheProject());
  });
  ShowEditor(editor);
}

void frmMenuMain::ShowPileLayoutDrawing() { RunPileLayoutDrawing(this); }

// The result viewers and the print menu open here, after a calculation that
// succeeded.
void frmMenuMain::ShowPileHeadResults() { OpenPileHeadViewer(this, engine::TheResults()); }
void frmMenuMain::ShowPileStresses() {
  OpenStressViewer(this, TheProject(), engine::TheResults());
}
void frmMenuMain::ShowPrintMenu() { RunPrintMenu(this); }

void frmMenuMain::ConnectEditor(frmInpRenban* editor) {
  connect(editor, &EditorFrame::LoadData, this,
          [editor] { editor->SetFields(LoadNumberingFields(SettingsFilePath())); });
  connect(editor, &EditorFrame::SaveData, this, [editor](bool& cancel) {
    cancel = false;
    if (!SaveNumberingFields(editor->Fields(), SettingsFilePath())) {
      Ui().ShowMessage(editor, Q(NumberingWriteErrorText(SettingsFilePath())), editor->windowTitle(),
                       MsgIcon::Critical, MsgButtons::Ok);
    }
  });
}

void frmMenuMain::OpenNumberingEditor() {
  frmInpRenban editor(this);
  ConnectEditor(&editor);
  ShowEditor(editor);
}

void frmMenuMain::ShowAbout() {
  frmAbout about(this);
  about.exec();
}

}  // namespace hasorin
