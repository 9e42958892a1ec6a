#pragma once
// The frame shared by every input editor: a modal QDialog with the
// caller-set properties UsrCaption, UsrHelpFile, UsrHelpContextID, the result
// marker UsrTag, the OK / Cancel / Help buttons on the right, the window
// position remembered in the editor's settings section, and the range check
// of its number fields.
//
// How an editor uses it: derive from EditorFrame, passing the built-in title
// and the settings section ("InpJyoken"); build the controls into Body() (or
// lay out everything yourself and place ButtonColumn()); put every
// NumberField / TextField in the tab order. The opener sets the Usr
// properties, connects LoadData (fill the controls) and SaveData (take the
// values back; set cancel to refuse them) and calls exec(). The load steps
// (title, position, help, LoadData) run once, when the dialog is first shown,
// or earlier through Load(). Override BeforeLoadData / AfterLoadData /
// BeforeSaveData for editor-specific steps (a grid's set-up, a sort on OK).
#include <QDialog>
#include <QString>
#include <string>

class QPushButton;
class QVBoxLayout;

namespace hasorin {

class NumberField;

class EditorFrame : public QDialog {
  Q_OBJECT
 public:
  EditorFrame(const QString& builtInTitle, std::string settingsSection, QWidget* parent = nullptr);

  // Set by the opener before the dialog is shown.
  QString UsrCaption;
  QString UsrHelpFile;
  int UsrHelpContextID = 0;
  // "OK" after OK, "ｷｬﾝｾﾙ" after Cancel; the close box leaves it as it was.
  QString UsrTag;

  static constexpr const char* kTagOk = "OK";
  static constexpr const char* kTagCancel = "ｷｬﾝｾﾙ";

  // The load steps; they run once, the first time this or show() is called.
  void Load();
  bool IsLoaded() const { return loaded_; }

  QPushButton* cmdOk() const { return cmdOk_; }
  QPushButton* cmdCancel() const { return cmdCancel_; }
  QPushButton* cmdHelp() const { return cmdHelp_; }
  // The widget the editor builds its controls into, left of the buttons.
  QWidget* Body() const { return body_; }
  // The column holding the three buttons.
  QWidget* ButtonColumn() const { return buttonColumn_; }
  const std::string& SettingsSection() const { return section_; }

  // The frame's range check of a number field: beep and the range message
  // when the value lies outside the limits. False when the value was refused.
  bool CheckRange(NumberField* field);
  // Runs every entry field's validation in tab order and puts the focus into
  // the first one that refuses. True when all pass. An editor with other
  // controls that can refuse a value (the pile grid) adds its own check.
  virtual bool ValidateFields();

 signals:
  void LoadData();
  void SaveData(bool& cancel);

 public slots:
  void done(int result) override;

 protected:
  virtual void BeforeLoadData() {}
  virtual void AfterLoadData() {}
  virtual void BeforeSaveData() {}

  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OnOk();
  void OnCancel();
  void OnHelp();

  QString builtInTitle_;
  std::string section_;
  QWidget* body_ = nullptr;
  QWidget* buttonColumn_ = nullptr;
  QPushButton* cmdOk_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
  QPushButton* cmdHelp_ = nullptr;
  bool loaded_ = false;
};

// Opens the help file at the topic (context id), as the Help buttons do; a
// beep when it cannot be opened, nothing for an empty file name.
void OpenHelpTopic(const QString& helpFile, int contextId);

}  // namespace hasorin
