#include "pdf_output.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>
#include <QtGlobal>

#include "page_renderer.h"
#include "safe_write.h"

namespace hasorin::preview {
namespace {

QString DocumentTitle(const PageLayout& layout) {
  for (const Heading& h : layout.headings) {
    if (h.level == 1) return h.text;
  }
  return QStringLiteral("Hasorin");
}

QtMessageHandler previousHandler = nullptr;

void HeadlessMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg && message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR"))) return;
  if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

void PrepareHeadlessGui() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  previousHandler = qInstallMessageHandler(HeadlessMessages);
}

bool PaintPages(QPagedPaintDevice& device, const PrintDocument& doc, const PageLayout& layout, int first,
                int last) {
  const int count = layout.PageCount();
  if (first <= 0) first = 1;
  if (last <= 0 || last > count) last = count;
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::Antialiasing, true);
  PageRenderer renderer(doc, layout);
  const PageGeometry& g = layout.geometry;
  const double scale = std::min(device.width() / g.widthMm, device.height() / g.heightMm);
  const QRectF target((device.width() - g.widthMm * scale) / 2, (device.height() - g.heightMm * scale) / 2,
                      g.widthMm * scale, g.heightMm * scale);
  for (int page = first; page <= last; ++page) {
    if (page > first && !device.newPage()) break;
    renderer.Render(painter, page - 1, target);
  }
  return painter.end();
}

bool WritePdf(const PrintDocument& doc, const PageLayout& layout, const QString& pdfPath, QString& error) {
  // The PDF is made in memory and then saved as one checked write, so that a
  // full disk never leaves a truncated PDF in place of a good one.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool painted = false;
  {
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    writer.setResolution(600);
    writer.setTitle(DocumentTitle(layout));
    writer.setCreator(QStringLiteral("Hasorin"));
    painted = PaintPages(writer, doc, layout);
  }
  buffer.close();
  if (!painted) {
    error = QStringLiteral("PDFﾌｧｲﾙを書き込めませんでした：%1").arg(pdfPath);
    return false;
  }
  if (ReplaceFileContents(pdfPath.toStdString(), std::string_view(bytes.constData(), size_t(bytes.size()))) != 0) {
    error = QStringLiteral("PDFﾌｧｲﾙを書き込めませんでした：%1").arg(pdfPath);
    return false;
  }
  return true;
}

bool PrintFileToPdf(const std::string& printFile, const std::string& pdfPath, QString& error,
                    QStringList* warnings, const LoadOptions& options) {
  PrintDocument doc;
  if (!LoadPrintFile(printFile, doc, error, options)) return false;
  if (warnings) *warnings << doc.warnings;
  const PageLayout layout = LayoutDocument(doc);
  return WritePdf(doc, layout, QString::fromStdString(pdfPath), error);
}

}  // namespace hasorin::preview
