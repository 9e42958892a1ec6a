#pragma once
// The frame shared by the result windows: a modal, read-only QDialog with
// the opener's properties UsrCaption, UsrHelpFile and UsrHelpContextID, the
// buttons "閉じる(&C)" and "ﾍﾙﾌﾟ(&H)", the load-data notification the opener
// fills the grids from, and the window position kept in the window's
// settings section. Escape closes the window, F1 opens the help when a help
// file is set.
#include <QDialog>
#include <QString>
#include <string>
#include <vector>

class QPushButton;

namespace hasorin {

class ResultGrid;

class ResultFrame : public QDialog {
  Q_OBJECT
 public:
  ResultFrame(const QString& builtInTitle, std::string settingsSection, QWidget* parent = nullptr);

  QString UsrCaption;
  QString UsrHelpFile;
  int UsrHelpContextID = 0;

  // The load steps; they run once, the first time this or show() is called.
  void Load();
  bool IsLoaded() const { return loaded_; }

  QPushButton* cmdClose() const { return cmdClose_; }
  QPushButton* cmdHelp() const { return cmdHelp_; }
  const std::string& SettingsSection() const { return section_; }

  // Every grid of the window, for commands that act on any of them.
  virtual std::vector<ResultGrid*> Grids() const = 0;

 signals:
  void LoadData();

 public slots:
  void done(int result) override;

 protected:
  // Window-specific steps: the remembered size before the position is
  // applied, the settings written when the window closes.
  virtual void RestoreSize() {}
  virtual void SaveGeometry();
  virtual void AfterLoadData() {}

  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QString builtInTitle_;
  std::string section_;
  QPushButton* cmdClose_;
  QPushButton* cmdHelp_;
  bool loaded_ = false;
};

}  // namespace hasorin
