#pragma once
// frmInpRenban: how the headings of the printed reports are numbered (method,
// first chapter number, the style and left margin of each heading level),
// on three tabs, with two previews of the headings. Its values belong to the
// installation: the main window exchanges them with the settings file.
#include <QButtonGroup>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <array>

#include "editor_frame.h"
#include "entry_fields.h"
#include "numbering.h"

namespace hasorin {

// The previews: seven lines, each ending in CR LF, the fifth empty. Lines 1
// to 4 show the four heading levels, lines 6 and 7 a second chapter and its
// first section, each level indented by its margin (in half-width blanks).
QString MarginPreviewText(int method, const std::array<int, kHeadingLevels>& margins);
// The method preview is the margin preview with the indents 0, 2, 4 and 8.
QString MethodPreviewText(int method);

class frmInpRenban : public EditorFrame {
  Q_OBJECT
 public:
  explicit frmInpRenban(QWidget* parent = nullptr);

  // The working values, exchanged by the main window's LoadData / SaveData.
  NumberingFields Fields() const;
  void SetFields(const NumberingFields& fields);
  // The index of the method button that is on; 0 when none is.
  int SelectedMethod() const;

  // The nine entries of every style list, in list order.
  static const QStringList& StyleEntries();

  QTabWidget* TabStrip1 = nullptr;
  std::array<QWidget*, 3> Frame{};  // the frame of each tab
  NumberField* numInit = nullptr;
  QButtonGroup* optMethod = nullptr;
  QPlainTextEdit* txtMethod = nullptr;
  std::array<QComboBox*, kHeadingLevels> cboStyle{};
  std::array<NumberField*, kHeadingLevels> numMargin{};
  QPlainTextEdit* txtMargin = nullptr;

 protected:
  void AfterLoadData() override;
  // Fields on the tabs not shown are checked as well: OK never hands over a
  // value outside its limits.
  bool ValidateFields() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowMethodPreview();
  void ShowMarginPreview();
  void SelectTab(int index);
};

}  // namespace hasorin
