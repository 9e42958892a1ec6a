#include "frm_draw.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cctype>
#include <cmath>
#include <set>

#include "drawn_icon.h"
#include "paths.h"
#include "pile_layout.h"
#include "project.h"
#include "text_file.h"
#include "ui.h"

namespace hasorin {
namespace {

constexpr double kWheelStep = 1.25;  // zoom per wheel notch and per Ctrl +/-
constexpr double kMinZoom = 1.0 / 4, kMaxZoom = 400;
constexpr double kCopyPixelsPerMm = 8;

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

QIcon PrintIcon() {
  return DrawnIcon(16, {16, 24, 32}, [](QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(150, 150, 150));
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
  });
}

QIcon CopyIcon() {
  return DrawnIcon(16, {16, 24, 32}, [](QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(QRectF(1.5, 1.5, 8, 10));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 4.5, 8, 10));
  });
}

QIcon CloseIcon() {
  return DrawnIcon(16, {16, 24, 32}, [](QPainter& p) {
    p.setPen(QPen(QColor(170, 30, 30), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
  });
}

QString Metres(double v) { return QString::number(v, 'f', 3); }

}  // namespace

// ---------------------------------------------------------------- DrawCanvas

DrawCanvas::DrawCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName("VSDraw1");
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(120, 120);
}

void DrawCanvas::SetFigure(const LoadedFigure* figure) {
  figure_ = figure;
  update();
}

QTransform DrawCanvas::FitTransform() const {
  if (!figure_ || !figure_->sheetRead) return {};
  return BorderedSheetTransform(figure_->widthMm, figure_->heightMm, QRectF(rect()));
}

void DrawCanvas::ZoomBy(double factor, const QPointF& at) {
  const double zoom = std::clamp(Zoom() * factor, kMinZoom, kMaxZoom);
  factor = zoom / Zoom();
  view_ = view_ * QTransform::fromTranslate(-at.x(), -at.y()) * QTransform::fromScale(factor, factor) *
          QTransform::fromTranslate(at.x(), at.y());
  update();
}

void DrawCanvas::Fit() {
  view_.reset();
  update();
}

void DrawCanvas::SetPileNumbers(std::vector<PileMark> missing, double scale, QPointF offsetMm) {
  missing_ = std::move(missing);
  scale_ = scale;
  offset_ = offsetMm;
  update();
}

void DrawCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  shown_ = 0;
  if (!figure_ || !figure_->sheetRead) return;
  const QTransform toWidget = SheetToWidget();
  renderer_.Draw(painter, *figure_, toWidget);
  if (missing_.empty() || scale_ <= 0) return;
  const double pxPerMm = std::sqrt(std::abs(toWidget.determinant()));
  QFont font(ResolveFontFamily({}));
  painter.setPen(QColor(90, 90, 90));
  for (const PileMark& p : missing_) {
    const double diameter = std::abs(p.diameter) * scale_ * pxPerMm;
    const QString number = QString::number(p.number);
    // Characters half as wide as high: the number fits when its width and
    // height stay within the circle.
    const double size = std::min(diameter * 0.7 / (number.size() * 0.6), diameter * 0.45);
    if (size < 7) continue;
    const QPointF c = toWidget.map(offset_ + QPointF(p.x, p.z) * scale_);
    if (!QRectF(rect()).adjusted(-diameter, -diameter, diameter, diameter).contains(c)) continue;
    font.setPixelSize(int(size));
    painter.setFont(font);
    painter.drawText(QRectF(c.x() - diameter / 2, c.y() - diameter / 2, diameter, diameter), Qt::AlignCenter, number);
    ++shown_;
  }
}

void DrawCanvas::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches != 0) ZoomBy(std::pow(kWheelStep, notches), event->position());
  event->accept();
}

void DrawCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  dragging_ = true;
  dragFrom_ = event->position();
  setCursor(Qt::ClosedHandCursor);
}

void DrawCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) {
    const QPointF d = event->position() - dragFrom_;
    dragFrom_ = event->position();
    view_ = view_ * QTransform::fromTranslate(d.x(), d.y());
    update();
  }
  bool invertible = false;
  const QTransform toSheet = SheetToWidget().inverted(&invertible);
  if (invertible) emit PointerAt(toSheet.map(event->position()));
}

void DrawCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  dragging_ = false;
  unsetCursor();
}

// ------------------------------------------------------------------- frmDraw

frmDraw::frmDraw(QWidget* parent) : QDialog(parent) {
  setObjectName("frmDraw");
  setSizeGripEnabled(true);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  auto* menus = new QMenuBar;
  column->setMenuBar(menus);
  tbrMenu_ = new QToolBar;
  tbrMenu_->setObjectName("tbrMenu");
  tbrMenu_->setIconSize(QSize(20, 20));
  column->addWidget(tbrMenu_);
  canvas_ = new DrawCanvas;
  column->addWidget(canvas_, 1);
  status_ = new QStatusBar;
  status_->setSizeGripEnabled(false);
  pointer_ = new QLabel;
  pointer_->setObjectName("lblPointer");
  problems_ = new QLabel;
  problems_->setObjectName("lblProblems");
  status_->addWidget(pointer_, 1);
  status_->addPermanentWidget(problems_);
  column->addWidget(status_);

  auto action = [this](const char* name, const QString& text, const QKeySequence& keys, auto slot) {
    auto* a = new QAction(text, this);
    a->setObjectName(name);
    if (!keys.isEmpty()) a->setShortcut(keys);
    connect(a, &QAction::triggered, this, slot);
    addAction(a);
    return a;
  };
  QAction* mnuPrinter = action("mnuPrinter", QStringLiteral("ﾌﾟﾘﾝﾀを選択して印刷(&P)"), QKeySequence::Print,
                               [this] { PrintWithChoice(); });
  QAction* mnuCopy = action("mnuCopy", QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ(&C)"), QKeySequence::Copy,
                            [this] { CopyToClipboard(); });
  QAction* mnuSave = action("mnuSave", QStringLiteral("名前を付けて保存(&S)..."), QKeySequence::Save,
                            [this] { SaveAs(); });
  QAction* menuClose = action("menuClose", QStringLiteral("閉じる(&E)"), {}, [this] { close(); });
  QMenu* file = menus->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  file->addActions({mnuPrinter, mnuCopy, mnuSave});
  file->addSeparator();
  file->addAction(menuClose);

  QAction* zoomIn = action("mnuZoomIn", QStringLiteral("拡大(&I)"), QKeySequence::ZoomIn,
                           [this] { canvas_->ZoomBy(kWheelStep); });
  // Ctrl+= as well: on many keyboards "+" needs the shift key.
  zoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  QAction* zoomOut = action("mnuZoomOut", QStringLiteral("縮小(&O)"), QKeySequence::ZoomOut,
                            [this] { canvas_->ZoomBy(1 / kWheelStep); });
  QAction* fit = action("mnuFit", QStringLiteral("全体表示(&A)"), QKeySequence(Qt::CTRL | Qt::Key_0),
                        [this] { canvas_->Fit(); });
  QMenu* view = menus->addMenu(QStringLiteral("表示(&V)"));
  view->addActions({zoomIn, zoomOut, fit});

  struct Button {
    const char* key;
    QIcon icon;
    const char* tip;
    QAction* command;
  };
  for (const Button& b : {Button{"Print", PrintIcon(), "ﾌﾟﾘﾝﾀを選択して印刷", mnuPrinter},
                          Button{"Copy", CopyIcon(), "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ", mnuCopy},
                          Button{"Close", CloseIcon(), "閉じる", menuClose}}) {
    QAction* button = tbrMenu_->addAction(b.icon, QString::fromUtf8(b.tip));
    button->setObjectName(b.key);
    button->setToolTip(QString::fromUtf8(b.tip));
    connect(button, &QAction::triggered, b.command, &QAction::trigger);
  }

  connect(canvas_, &DrawCanvas::PointerAt, this, &frmDraw::ShowPointer);
}

frmDraw::~frmDraw() = default;

void frmDraw::SetPileMarks(std::vector<PileMark> piles, double scaleMmPerMetre) {
  piles_ = std::move(piles);
  scale_ = scaleMmPerMetre;
  if (loaded_) ShowMissingNumbers();
}

void frmDraw::ShowMissingNumbers() {
  if (figure_.drawings.empty() || figure_.sheet.drawings.empty() || scale_ <= 0) return;
  // Pile numbers are the texts that are whole numbers (grid values carry a
  // sign or decimals).
  std::set<int> drawn;
  for (const DrawText& t : figure_.drawings.front().elements.texts) {
    if (auto n = ParseInt(t.text); n && std::isdigit((unsigned char)t.text.front())) drawn.insert(*n);
  }
  std::vector<PileMark> missing;
  for (const PileMark& p : piles_) {
    if (!drawn.count(p.number)) missing.push_back(p);
  }
  const SheetDrawing& placed = figure_.sheet.drawings.front();
  canvas_->SetPileNumbers(std::move(missing), scale_, QPointF(placed.offsetX, placed.offsetY));
}

void frmDraw::showEvent(QShowEvent* event) {
  if (!loaded_) Load();
  QDialog::showEvent(event);
}

void frmDraw::Load() {
  loaded_ = true;
  setWindowTitle(UsrTitle);
  figure_ = LoadFigure(UsrFileName.toStdString(), LoadFigureStyles());
  canvas_->SetFigure(&figure_);
  ShowMissingNumbers();
  // What could not be read stays in view: the picture stops where the replay did.
  problems_->setText(figure_.problems.join(u' '));
  // A square-ish window of most of the screen's height, centred on it.
  if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    const QRect avail = screen->availableGeometry();
    const int side = std::max(360, avail.height() * 4 / 5);
    resize(std::min(avail.width(), side * 9 / 10), side);
    move(avail.center() - QPoint(width() / 2, height() / 2));
  }
  canvas_->setFocus();
}

QString frmDraw::PointerText() const { return pointer_->text(); }

void frmDraw::ShowPointer(QPointF sheetMm) {
  if (scale_ <= 0 || figure_.sheet.drawings.empty()) {
    pointer_->clear();
    return;
  }
  const SheetDrawing& placed = figure_.sheet.drawings.front();
  const double x = (sheetMm.x() - placed.offsetX) / scale_;
  const double z = (sheetMm.y() - placed.offsetY) / scale_;
  // The nearest pile whose circle, or a few pixels around it, holds the pointer.
  const double slack = 4 / (scale_ * std::max(1e-9, std::sqrt(std::abs(canvas_->SheetToWidget().determinant()))));
  const PileMark* hit = nullptr;
  double best = 0;
  for (const PileMark& p : piles_) {
    const double d = std::hypot(p.x - x, p.z - z);
    if (d <= std::abs(p.diameter) / 2 + slack && (!hit || d < best)) {
      hit = &p;
      best = d;
    }
  }
  if (hit) {
    pointer_->setText(QStringLiteral("杭 No.%1    X = %2 m    Z = %3 m    D = %4 m")
                          .arg(hit->number)
                          .arg(Metres(hit->x), Metres(hit->z), Metres(hit->diameter)));
  } else {
    pointer_->setText(QStringLiteral("X = %1 m    Z = %2 m").arg(Metres(x), Metres(z)));
  }
}

void frmDraw::Fail(const QString& text) {
  Ui().ShowMessage(this, text, windowTitle(), MsgIcon::Critical, MsgButtons::Ok);
}

bool frmDraw::PrintTo(QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  FigureRenderer renderer;
  PaintFigure(painter, figure_, QRectF(painter.viewport()), renderer);
  return painter.end();
}

void frmDraw::PrintWithChoice() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(windowTitle());
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!PrintTo(printer)) Fail(QStringLiteral("印刷できませんでした。ﾌﾟﾘﾝﾀの設定をご確認ください。"));
}

void frmDraw::CopyToClipboard() {
  if (!figure_.sheetRead) return;
  Ui().SetClipboardPicture(FigureImage(figure_, kCopyPixelsPerMm), FigureSvg(figure_));
}

void frmDraw::SaveAs() {
  if (!figure_.sheetRead) return;
  FileDialogOptions options;
  options.title = QStringLiteral("名前を付けて保存");
  options.filter = QStringLiteral("PDF (*.pdf);;SVG (*.svg);;PNG (*.png)");
  options.defaultSuffix = QStringLiteral("pdf");
  options.fileName = UsrTitle;
  const QString path = Ui().GetSaveFileName(this, options);
  if (path.isEmpty()) return;
  if (FigureFormatOf(path) == FigureFormat::Unknown) {
    Fail(QStringLiteral("保存できる形式は PDF, SVG, PNG です。") + "\n\n" + path);
  } else if (!SaveFigure(figure_, path)) {
    Fail(QStringLiteral("図を保存できませんでした。") + "\n\n" + path);
  }
}

// ------------------------------------------------------------ drawing command

void RunPileLayoutDrawing(QWidget* parent) {
  TempFileList& files = DrawingFileList();
  files.Reset();
  const Project& project = TheProject();
  PileLayoutResult drawing = MakePileLayoutDrawing(150, 150);
  if (!drawing.ok) {
    files.DeleteAll();
    Ui().ShowMessage(parent, QStringLiteral("杭配置図を作成できませんでした。") + "\n\n" + Q(drawing.error),
                     QStringLiteral("杭配置図の表示"), MsgIcon::Critical, MsgButtons::Ok);
    return;
  }
  std::vector<PileMark> piles;
  for (int i = 1; i <= std::clamp(project.PileCount, 0, kMaxPiles); ++i) {
    piles.push_back({i, project.Piles(9, i).number(), project.Piles(11, i).number(), project.Piles(1, i).number()});
  }
  {
    frmDraw window(parent);
    window.UsrTitle = QStringLiteral("杭配置図");
    window.UsrFileName = Q(drawing.sheetPath);
    window.SetPileMarks(std::move(piles), drawing.scale);
    window.exec();
  }
  files.DeleteAll();
}

}  // namespace hasorin
