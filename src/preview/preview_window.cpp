#include "preview_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QPainter>
#include <QTreeWidget>
#include <cmath>
#include <functional>

#include "cp932.h"
#include "paths.h"
#include "pdf_output.h"
#include "profile.h"
#include "ui.h"

namespace hasorin::preview {
namespace {

const QString kCaption = QStringLiteral("ﾌﾟﾚﾋﾞｭｰ");
constexpr int kPageRole = Qt::UserRole;
constexpr int kSlotRole = Qt::UserRole + 1;

// Window sizes are kept in twips, like every other window of the program.
int PxToTwips(int px, int dpi) { return int(std::lround(px * 1440.0 / std::max(dpi, 1))); }
// A size from the settings file may be anything: keep it within what a screen can hold.
int TwipsToPx(long twips, int dpi) {
  const double px = double(twips) * std::max(dpi, 1) / 1440.0;
  return int(std::lround(std::clamp(px, -1e6, 1e6)));
}

QAction* AddAction(QWidget* owner, QMenu* menu, const QString& text, const QKeySequence& key,
                   const std::function<void()>& slot) {
  auto* action = new QAction(text, owner);
  if (!key.isEmpty()) action->setShortcut(key);
  action->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(action, &QAction::triggered, owner, slot);
  owner->addAction(action);
  menu->addAction(action);
  return action;
}

enum class Glyph { First, Previous, Next, Last, ZoomIn, ZoomOut, FitWidth, FitPage };

// Small toolbar pictures drawn in code, so they look alike on every platform.
QIcon GlyphIcon(Glyph glyph, const QColor& colour) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(colour);
  auto triangle = [&](double tipX, double baseX) {
    p.drawPolygon(QPolygonF{QPointF(tipX, 16), QPointF(baseX, 7), QPointF(baseX, 25)});
  };
  switch (glyph) {
    case Glyph::First: p.drawLine(QPointF(8, 7), QPointF(8, 25)); triangle(11, 23); break;
    case Glyph::Previous: triangle(9, 22); break;
    case Glyph::Next: triangle(23, 10); break;
    case Glyph::Last: p.drawLine(QPointF(24, 7), QPointF(24, 25)); triangle(21, 9); break;
    case Glyph::ZoomIn:
    case Glyph::ZoomOut:
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(13, 13), 8, 8);
      p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(19, 19), QPointF(27, 27));
      p.setPen(QPen(colour, 2.5));
      p.drawLine(QPointF(9, 13), QPointF(17, 13));
      if (glyph == Glyph::ZoomIn) p.drawLine(QPointF(13, 9), QPointF(13, 17));
      break;
    case Glyph::FitWidth:
    case Glyph::FitPage:
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(colour, 2));
      p.drawRect(QRectF(8, 4, 16, 24));
      p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
      if (glyph == Glyph::FitWidth) {
        p.drawLine(QPointF(3, 16), QPointF(29, 16));
        p.drawLine(QPointF(3, 16), QPointF(6, 13));
        p.drawLine(QPointF(3, 16), QPointF(6, 19));
        p.drawLine(QPointF(29, 16), QPointF(26, 13));
        p.drawLine(QPointF(29, 16), QPointF(26, 19));
      } else {
        for (int y : {10, 14, 18, 22}) p.drawLine(QPointF(11, y), QPointF(21, y));
      }
      break;
  }
  return QIcon(pixmap);
}

}  // namespace

PreviewWindow::PreviewWindow(PrintDocument doc, std::string iniFolder, QWidget* parent)
    : QMainWindow(parent), doc_(std::move(doc)), iniFolder_(std::move(iniFolder)) {
  layout_ = LayoutDocument(doc_);
  setWindowTitle(kCaption);
  view_ = new PageView(doc_, layout_, this);
  setCentralWidget(view_);

  headings_ = new QTreeWidget;
  headings_->setHeaderHidden(true);
  headings_->setColumnCount(1);
  headingDock_ = new QDockWidget(QStringLiteral("見出し"), this);
  headingDock_->setObjectName(QStringLiteral("headings"));
  headingDock_->setFeatures(QDockWidget::DockWidgetClosable);
  headingDock_->setWidget(headings_);
  addDockWidget(Qt::LeftDockWidgetArea, headingDock_);
  resizeDocks({headingDock_}, {240}, Qt::Horizontal);
  BuildHeadings();

  pageLabel_ = new QLabel;
  pageLabel_->setMinimumWidth(90);
  pageLabel_->setAlignment(Qt::AlignCenter);
  zoomLabel_ = new QLabel;
  statusBar()->addPermanentWidget(zoomLabel_);
  BuildActions();

  connect(view_, &PageView::PageChanged, this, [this] { UpdatePageState(); });
  connect(view_, &PageView::ZoomChanged, this, [this] { UpdatePageState(); });
  connect(headings_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { HeadingClicked(item); });
  connect(headings_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { HeadingClicked(item); });

  RestoreSettings();
  UpdatePageState();
  view_->setFocus();
}

std::string PreviewWindow::IniPath() const {
  return iniFolder_.empty() ? std::string() : JoinPath(iniFolder_, kPreviewIniName);
}

void PreviewWindow::BuildActions() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  QToolBar* bar = addToolBar(QStringLiteral("ﾂｰﾙﾊﾞｰ"));
  bar->setObjectName(QStringLiteral("toolbar"));
  bar->setMovable(false);
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

  QAction* print = AddAction(this, file, QStringLiteral("印刷(&P)..."), QKeySequence(Qt::CTRL | Qt::Key_P),
                             [this] { Print(); });
  QAction* save = AddAction(this, file, QStringLiteral("PDFに保存(&S)..."), QKeySequence(Qt::CTRL | Qt::Key_S),
                            [this] { SavePdf(); });
  file->addSeparator();
  QAction* close = AddAction(this, file, QStringLiteral("閉じる(&C)"), QKeySequence(Qt::Key_Escape),
                             [this] { this->close(); });

  QAction* fitWidth = AddAction(this, view, QStringLiteral("ﾍﾟｰｼﾞ幅に合わせる"), {},
                                [this] { view_->SetMode(ZoomMode::FitWidth); });
  QAction* fitPage = AddAction(this, view, QStringLiteral("ﾍﾟｰｼﾞ全体を表示"), {},
                               [this] { view_->SetMode(ZoomMode::FitPage); });
  QAction* zoomIn = AddAction(this, view, QStringLiteral("拡大"), QKeySequence::ZoomIn, [this] { view_->ZoomIn(); });
  QAction* zoomOut = AddAction(this, view, QStringLiteral("縮小"), QKeySequence::ZoomOut, [this] { view_->ZoomOut(); });
  view->addSeparator();
  first_ = AddAction(this, view, QStringLiteral("先頭ﾍﾟｰｼﾞ"), QKeySequence(Qt::Key_Home), [this] { FirstPage(); });
  previous_ = AddAction(this, view, QStringLiteral("前のﾍﾟｰｼﾞ"), QKeySequence(Qt::Key_PageUp),
                        [this] { PreviousPage(); });
  next_ = AddAction(this, view, QStringLiteral("次のﾍﾟｰｼﾞ"), QKeySequence(Qt::Key_PageDown), [this] { NextPage(); });
  last_ = AddAction(this, view, QStringLiteral("最終ﾍﾟｰｼﾞ"), QKeySequence(Qt::Key_End), [this] { LastPage(); });
  view->addSeparator();
  QAction* headingsToggle = headingDock_->toggleViewAction();
  headingsToggle->setText(QStringLiteral("見出し"));
  view->addAction(headingsToggle);

  const QColor ink = palette().color(QPalette::ButtonText);
  const std::pair<QAction*, Glyph> pictures[] = {
      {fitWidth, Glyph::FitWidth}, {fitPage, Glyph::FitPage}, {zoomIn, Glyph::ZoomIn},
      {zoomOut, Glyph::ZoomOut},   {first_, Glyph::First},     {previous_, Glyph::Previous},
      {next_, Glyph::Next},        {last_, Glyph::Last}};
  for (auto [action, glyph] : pictures) action->setIcon(GlyphIcon(glyph, ink));
  // Menus keep their texts only.
  for (QMenu* menu : {file, view})
    for (QAction* a : menu->actions()) a->setIconVisibleInMenu(false);

  bar->addAction(print);
  bar->addAction(save);
  bar->addSeparator();
  for (QAction* a : {fitWidth, fitPage, zoomIn, zoomOut}) bar->addAction(a);
  bar->addSeparator();
  bar->addAction(first_);
  bar->addAction(previous_);
  bar->addWidget(pageLabel_);
  bar->addAction(next_);
  bar->addAction(last_);
  bar->addSeparator();
  bar->addAction(close);
  // Pictures alone for the page and zoom commands; their names show as tips.
  for (auto [action, glyph] : pictures) {
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
      button->setToolButtonStyle(Qt::ToolButtonIconOnly);
  }
}

void PreviewWindow::BuildHeadings() {
  QTreeWidgetItem* chapter = nullptr;
  for (const Heading& h : layout_.headings) {
    auto* item = new QTreeWidgetItem(QStringList{h.text});
    item->setData(0, kPageRole, h.page);
    item->setData(0, kSlotRole, h.slot);
    item->setToolTip(0, QStringLiteral("%1（%2 ﾍﾟｰｼﾞ）").arg(h.text).arg(h.page + 1));
    if (h.level == 1 || chapter == nullptr) {
      headings_->addTopLevelItem(item);
      if (h.level == 1) chapter = item;
    } else {
      chapter->addChild(item);
    }
  }
  headings_->expandAll();
}

void PreviewWindow::HeadingClicked(QTreeWidgetItem* item) {
  if (!item) return;
  view_->ShowSlot(item->data(0, kPageRole).toInt(), item->data(0, kSlotRole).toInt());
}

void PreviewWindow::UpdatePageState() {
  const int page = view_->CurrentPage();
  const int count = view_->PageCount();
  pageLabel_->setText(QStringLiteral("%1 / %2").arg(page + 1).arg(count));
  first_->setEnabled(page > 0);
  previous_->setEnabled(page > 0);
  next_->setEnabled(page + 1 < count);
  last_->setEnabled(page + 1 < count);
  zoomLabel_->setText(QStringLiteral("%1%").arg(std::lround(view_->Zoom() * 100)));
}

void PreviewWindow::Print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setFullPage(true);
  printer.setDocName(QStringLiteral("Hasorin"));
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("印刷"));
  dialog.setMinMax(1, view_->PageCount());
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
  if (dialog.exec() != QDialog::Accepted) return;
  if (printer.printRange() == QPrinter::CurrentPage) {
    printer.setFromTo(view_->CurrentPage() + 1, view_->CurrentPage() + 1);
  }
  PrintTo(printer);
}

bool PreviewWindow::PrintTo(QPrinter& printer) {
  printer.setFullPage(true);
  if (PaintPages(printer, doc_, layout_, printer.fromPage(), printer.toPage())) return true;
  Ui().ShowMessage(this, QStringLiteral("印刷を開始できませんでした。\nﾌﾟﾘﾝﾀの設定をご確認ください。"), kCaption,
                   MsgIcon::Critical, MsgButtons::Ok);
  return false;
}

void PreviewWindow::SavePdf() {
  FileDialogOptions options;
  options.title = QStringLiteral("PDFに保存");
  options.startFolder = pdfFolder_;
  options.fileName = QStringLiteral("計算書.pdf");
  options.filter = QStringLiteral("PDFﾌｧｲﾙ(*.pdf)");
  options.defaultSuffix = QStringLiteral("pdf");
  const QString path = Ui().GetSaveFileName(this, options);
  if (path.isEmpty()) return;
  pdfFolder_ = QString::fromStdString(FolderOf(path.toStdString()));
  QString error;
  if (!WritePdf(doc_, layout_, path, error)) {
    Ui().ShowMessage(this, error, kCaption, MsgIcon::Critical, MsgButtons::Ok);
    return;
  }
  statusBar()->showMessage(QStringLiteral("保存しました：%1").arg(path), 5000);
}

void PreviewWindow::RestoreSettings() {
  const QScreen* screen = this->screen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const int dpi = logicalDpiY();
  QSize size(std::min(1100, available.width()), available.height() * 9 / 10);
  ZoomMode mode = ZoomMode::FitWidth;
  double zoom = 1.0;
  bool maximized = false;
  bool panel = true;
  if (const std::string ini = IniPath(); !ini.empty()) {
    const long w = GetPrivateProfileInt(ini, kPreviewSection, "Width", 0);
    const long h = GetPrivateProfileInt(ini, kPreviewSection, "Height", 0);
    if (w > 0 && h > 0) {
      size = QSize(std::clamp(TwipsToPx(w, dpi), 300, std::max(300, available.width())),
                   std::clamp(TwipsToPx(h, dpi), 200, std::max(200, available.height())));
    }
    const long m = GetPrivateProfileInt(ini, kPreviewSection, "ZoomMode", 0);
    if (m >= 0 && m <= 2) mode = ZoomMode(m);
    const long percent = GetPrivateProfileInt(ini, kPreviewSection, "Zoom", 100);
    zoom = std::clamp(percent / 100.0, PageView::kMinZoom, PageView::kMaxZoom);
    maximized = GetPrivateProfileInt(ini, kPreviewSection, "Maximized", 0) != 0;
    panel = GetPrivateProfileInt(ini, kPreviewSection, "Headings", 1) != 0;
    pdfFolder_ = QString::fromStdString(GetPrivateProfileString(ini, kPreviewSection, "PdfFolder", ""));
  }
  resize(size);
  move(available.center() - rect().center());
  if (maximized) setWindowState(windowState() | Qt::WindowMaximized);
  headingDock_->setVisible(panel && !layout_.headings.empty());
  if (mode == ZoomMode::Factor) view_->SetZoom(zoom); else view_->SetMode(mode);
}

void PreviewWindow::SaveSettings() {
  const std::string ini = IniPath();
  if (ini.empty()) return;
  CreateFolderQuietly(iniFolder_);
  const int dpi = logicalDpiY();
  const QSize size = isMaximized() ? normalGeometry().size() : this->size();
  auto put = [&](const char* key, const QString& value) {
    WritePrivateProfileString(ini, kPreviewSection, key, value.toStdString());
  };
  put("Width", QString::number(PxToTwips(size.width(), dpi)));
  put("Height", QString::number(PxToTwips(size.height(), dpi)));
  put("Maximized", isMaximized() ? QStringLiteral("1") : QStringLiteral("0"));
  put("ZoomMode", QString::number(int(view_->Mode())));
  put("Zoom", QString::number(std::lround(view_->Zoom() * 100)));
  if (!layout_.headings.empty()) put("Headings", !headingDock_->isHidden() ? QStringLiteral("1") : QStringLiteral("0"));
  // The INI file is CP932: a folder it cannot hold is not remembered.
  bool lossless = true;
  EncodeCp932(pdfFolder_, &lossless);
  if (lossless) put("PdfFolder", pdfFolder_);
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
  SaveSettings();
  event->accept();
}

}  // namespace hasorin::preview
