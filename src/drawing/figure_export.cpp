#include "figure_export.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

namespace hasorin {
namespace {

constexpr double kPngPixelsPerMm = 10;
constexpr double kSvgUnitsPerMm = 10;

QSizeF BorderedSize(const LoadedFigure& figure) {
  return {figure.widthMm * kSheetBorderFactor, figure.heightMm * kSheetBorderFactor};
}

void Render(QPaintDevice& device, const LoadedFigure& figure, const QRectF& target) {
  QPainter painter(&device);
  FigureRenderer renderer;
  PaintFigure(painter, figure, target, renderer);
}

}  // namespace

QTransform BorderedSheetTransform(double sheetWidthMm, double sheetHeightMm, const QRectF& target) {
  const QSizeF inner = target.size() / kSheetBorderFactor;
  const QRectF sheetArea(target.center() - QPointF(inner.width(), inner.height()) / 2, inner);
  return FigureRenderer::SheetTransform(sheetWidthMm, sheetHeightMm, sheetArea);
}

void PaintFigure(QPainter& painter, const LoadedFigure& figure, const QRectF& target, FigureRenderer& renderer) {
  painter.fillRect(target, Qt::white);
  if (!figure.sheetRead) return;
  renderer.Draw(painter, figure, BorderedSheetTransform(figure.widthMm, figure.heightMm, target));
}

QImage FigureImage(const LoadedFigure& figure, double pixelsPerMm) {
  const QSizeF mm = BorderedSize(figure);
  const QSize px(std::max(1, int(std::lround(mm.width() * pixelsPerMm))),
                 std::max(1, int(std::lround(mm.height() * pixelsPerMm))));
  QImage image(px, QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setDotsPerMeterX(int(std::lround(pixelsPerMm * 1000)));
  image.setDotsPerMeterY(int(std::lround(pixelsPerMm * 1000)));
  Render(image, figure, QRectF(QPointF(0, 0), QSizeF(px)));
  return image;
}

QByteArray FigureSvg(const LoadedFigure& figure) {
  const QSizeF mm = BorderedSize(figure);
  const QSizeF units = mm * kSvgUnitsPerMm;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setTitle(QString::fromStdString(figure.sheet.title));
  svg.setSize(units.toSize());
  svg.setViewBox(QRectF(QPointF(0, 0), units));
  svg.setResolution(int(std::lround(kSvgUnitsPerMm * 25.4)));
  Render(svg, figure, QRectF(QPointF(0, 0), units));
  return bytes;
}

FigureFormat FigureFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == "pdf") return FigureFormat::Pdf;
  if (suffix == "svg") return FigureFormat::Svg;
  if (suffix == "png") return FigureFormat::Png;
  return FigureFormat::Unknown;
}

bool SaveFigure(const LoadedFigure& figure, const QString& path) {
  switch (FigureFormatOf(path)) {
    case FigureFormat::Pdf: {
      QPdfWriter pdf(path);
      pdf.setTitle(QString::fromStdString(figure.sheet.title));
      pdf.setPageSize(QPageSize(BorderedSize(figure), QPageSize::Millimeter));
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf.setResolution(1200);
      QPainter painter;
      if (!painter.begin(&pdf)) return false;
      FigureRenderer renderer;
      PaintFigure(painter, figure, QRectF(0, 0, pdf.width(), pdf.height()), renderer);
      return painter.end() && QFileInfo(path).size() > 0;
    }
    case FigureFormat::Svg: {
      QFile file(path);
      if (!file.open(QIODevice::WriteOnly)) return false;
      const QByteArray svg = FigureSvg(figure);
      return file.write(svg) == svg.size() && file.flush();
    }
    case FigureFormat::Png:
      return FigureImage(figure, kPngPixelsPerMm).save(path, "PNG");
    case FigureFormat::Unknown: break;
  }
  return false;
}

}  // namespace hasorin
