#pragma once
// frmMenuMain: the program's main window. It owns the project for the life of
// the process, opens every editor and result window modally, runs the
// calculation before results are shown or printed, reads and writes input
// files, and keeps the title bar, the recent-file menu and the command
// buttons in step with the project.
//
// Connecting a window: each command has one member function below
// (OpenPileTableEditor, ShowPileLayoutDrawing, ShowPileHeadResults, ...).
// An editor is created there, given to ConnectEditor (an overload per editor
// kind holding its LoadData / SaveData handlers) and shown with ShowEditor.
#include <QMainWindow>
#include <QPushButton>
#include <array>
#include <string>

#include "settings.h"

class QAction;
class QGroupBox;
class QToolBar;

namespace hasorin {

class EditorFrame;
class frmInpJyoken;
class frmInpGairyoku;
class frmInpRenban;

// A workflow command button: a picture at the left and the caption beside it,
// drawn in the highlight colour when the group it stands for has been entered.
class MenuButton : public QPushButton {
  Q_OBJECT
 public:
  MenuButton(const QIcon& icon, const QString& caption, QWidget* parent = nullptr);
  void setHighlighted(bool on);
  bool isHighlighted() const { return highlighted_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool highlighted_ = false;
};

enum class SaveOutcome { Saved, Cancelled, Failed };

class frmMenuMain : public QMainWindow {
  Q_OBJECT
 public:
  // Runs the start-up steps; the program-wide paths must be set already
  // (InitProgramPaths).
  explicit frmMenuMain(QWidget* parent = nullptr);
  ~frmMenuMain() override;

  static constexpr int kCommands = 8;
  static constexpr const char* kSettingsSection = "MenuMain";

  MenuButton* cmdMenu(int index) const { return cmdMenu_.at(size_t(index)); }
  QPushButton* cmdExit() const { return cmdExit_; }
  QAction* mnuFileName(int k) const { return mnuFileName_.at(size_t(k)); }
  QAction* mnuAbout() const { return mnuAbout_; }
  QToolBar* tbrMenu() const { return tbrMenu_; }
  // The file dialogs' start folder.
  const QString& StartFolder() const { return startFolder_; }

  // File commands.
  void NewProject();
  void OpenFile();
  void OpenRecentFile(int k);
  SaveOutcome SaveFile();
  SaveOutcome SaveFileAs();
  // Opens a path the way Open does after its dialog; true on success.
  bool OpenPath(const std::string& path);

  // Workflow command `index` (0..7), as pressing its button.
  void RunMenuCommand(int index);
  void ShowAbout();
  // Button highlights and enabled states from the project.
  void RefreshActivation();

  // The data exchange of each editor with the project.
  void ConnectEditor(frmInpJyoken* editor);
  void ConnectEditor(frmInpGairyoku* editor);
  // The numbering settings editor exchanges its values with the settings file.
  void ConnectEditor(frmInpRenban* editor);
  // Sets the Usr properties every opener sets, shows the editor modally and
  // refreshes the buttons afterwards.
  void ShowEditor(EditorFrame& editor);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolbar();
  void BuildCommands();
  void Startup();
  void RefreshRecentMenu(const RecentFiles& files);
  void SetFileTitle(const std::string& path);
  void RememberFolder(const std::string& path);
  bool WriteProject(const std::string& path);
  // Runs the calculation for command `index`; false (after telling the user)
  // when it failed.
  bool RunCalculation(int index);

  void OpenConditionsEditor();
  void OpenLoadsEditor();
  void OpenPileTableEditor();
  void ShowPileLayoutDrawing();
  void ShowPileHeadResults();
  void ShowPileStresses();
  void ShowPrintMenu();
  void OpenNumberingEditor();

  std::array<MenuButton*, kCommands> cmdMenu_{};
  QPushButton* cmdExit_ = nullptr;
  std::array<QAction*, 4> mnuFileName_{};
  QAction* mnuAbout_ = nullptr;
  QToolBar* tbrMenu_ = nullptr;
  QString startFolder_;
};

}  // namespace hasorin
