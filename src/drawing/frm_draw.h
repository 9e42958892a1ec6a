#pragma once
// frmDraw: shows a figure sheet (UsrFileName) in a window captioned UsrTitle,
// the sheet with a border of a fifth of its size kept in proportion at any
// window size, and prints it (with a choice of printer), copies it to the
// clipboard (as an image and as SVG) or saves it as PDF, SVG or PNG. The
// mouse wheel and Ctrl +/- zoom, dragging pans, Ctrl+0 fits the sheet again;
// over a pile-layout drawing the status bar names the pile under the mouse.
#include <QDialog>
#include <QSize>
#include <QString>
#include <QTransform>
#include <vector>

#include "figure_export.h"

class QAction;
class QLabel;
class QPrinter;
class QStatusBar;
class QToolBar;

namespace hasorin {

// A pile of a pile-layout drawing, for naming it under the mouse.
struct PileMark {
  int number = 0;
  double x = 0, z = 0, diameter = 0;  // metres
};

// The drawing surface (VSDraw1): the whole sheet fitted, then zoomed and panned.
class DrawCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit DrawCanvas(QWidget* parent = nullptr);
  void SetFigure(const LoadedFigure* figure);

  // Sheet millimetres to widget pixels, without and with zoom and pan.
  QTransform FitTransform() const;
  QTransform SheetToWidget() const { return FitTransform() * view_; }
  double Zoom() const { return view_.m11(); }
  void ZoomBy(double factor, const QPointF& at);
  void ZoomBy(double factor) { ZoomBy(factor, QRectF(rect()).center()); }
  void Fit();
  // Piles whose numbers the drawing leaves out are numbered on screen (in
  // grey) once zoomed far enough for the number to fit inside the circle.
  // Positions: sheet mm = offset + metres x scale.
  void SetPileNumbers(std::vector<PileMark> missing, double scale, QPointF offsetMm);
  int ScreenNumbersShown() const { return shown_; }

 signals:
  // The pointer over the sheet, in sheet millimetres.
  void PointerAt(QPointF sheetMm);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  const LoadedFigure* figure_ = nullptr;
  FigureRenderer renderer_;
  QTransform view_;  // zoom and pan after the fit, in widget pixels
  std::vector<PileMark> missing_;
  double scale_ = 0;
  QPointF offset_;
  int shown_ = 0;
  bool dragging_ = false;
  QPointF dragFrom_;
};

class frmDraw : public QDialog {
  Q_OBJECT
 public:
  explicit frmDraw(QWidget* parent = nullptr);
  ~frmDraw() override;

  QString UsrTitle;
  QString UsrFileName;
  QSize UsrReDimSize;  // kept for callers; not used

  // The piles of drawing 1 of the sheet and its scale (mm on paper per metre).
  void SetPileMarks(std::vector<PileMark> piles, double scaleMmPerMetre);

  DrawCanvas* VSDraw1() const { return canvas_; }
  QToolBar* tbrMenu() const { return tbrMenu_; }
  QStatusBar* StatusBar() const { return status_; }
  const LoadedFigure& Figure() const { return figure_; }
  // The text of the pile (or position) under the mouse.
  QString PointerText() const;

  // Paints the sheet on a printer that is ready; false when it cannot.
  bool PrintTo(QPrinter& printer);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Load();
  void PrintWithChoice();
  void CopyToClipboard();
  void SaveAs();
  void ShowPointer(QPointF sheetMm);
  void ShowMissingNumbers();
  void Fail(const QString& text);

  LoadedFigure figure_;
  bool loaded_ = false;
  DrawCanvas* canvas_ = nullptr;
  QToolBar* tbrMenu_ = nullptr;
  QStatusBar* status_ = nullptr;
  QLabel* pointer_ = nullptr;
  QLabel* problems_ = nullptr;
  std::vector<PileMark> piles_;
  double scale_ = 0;
};

// The drawing command of the main window: the pile-layout drawing of the
// program-wide project on a 150 mm sheet in a modal drawing window; its
// temporary files are deleted when the window closes. A drawing that cannot
// be made is told to the user and opens no window.
void RunPileLayoutDrawing(QWidget* parent);

}  // namespace hasorin
