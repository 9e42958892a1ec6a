#pragma once
// The previewer window "ﾌﾟﾚﾋﾞｭｰ": the page view, page and zoom commands, the
// heading panel, printing through the system print dialog and saving as
// PDF. Its size, zoom and panel are remembered in Preview.INI, section
// "Preview", in the work folder given on the command line.
#include <QMainWindow>
#include <string>

#include "page_layout.h"
#include "page_view.h"
#include "print_document.h"

class QAction;
class QLabel;
class QPrinter;
class QTreeWidget;
class QTreeWidgetItem;
class QDockWidget;

namespace hasorin::preview {

inline constexpr const char* kPreviewIniName = "Preview.INI";
inline constexpr const char* kPreviewSection = "Preview";

class PreviewWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `iniFolder` empty: nothing is read or remembered.
  PreviewWindow(PrintDocument doc, std::string iniFolder, QWidget* parent = nullptr);

  PageView* View() const { return view_; }
  QTreeWidget* HeadingTree() const { return headings_; }
  QLabel* PageLabel() const { return pageLabel_; }
  const PageLayout& Layout() const { return layout_; }
  std::string IniPath() const;

  // The commands, also reachable from menus, toolbar and keys.
  void FirstPage() { view_->SetPage(0); }
  void PreviousPage() { view_->SetPage(view_->CurrentPage() - 1); }
  void NextPage() { view_->SetPage(view_->CurrentPage() + 1); }
  void LastPage() { view_->SetPage(view_->PageCount() - 1); }
  void Print();    // system print dialog, then PrintTo
  void SavePdf();  // file dialog through Ui(), then the PDF
  // Prints the printer's page range (all pages when it has none). False
  // when the printer could not be started; the user has been told.
  bool PrintTo(QPrinter& printer);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildActions();
  void BuildHeadings();
  void UpdatePageState();
  void RestoreSettings();
  void SaveSettings();
  void HeadingClicked(QTreeWidgetItem* item);

  PrintDocument doc_;
  PageLayout layout_;
  std::string iniFolder_;
  PageView* view_ = nullptr;
  QLabel* pageLabel_ = nullptr;
  QLabel* zoomLabel_ = nullptr;
  QTreeWidget* headings_ = nullptr;
  QDockWidget* headingDock_ = nullptr;
  QAction* first_ = nullptr;
  QAction* previous_ = nullptr;
  QAction* next_ = nullptr;
  QAction* last_ = nullptr;
  QString pdfFolder_;
};

}  // namespace hasorin::preview
