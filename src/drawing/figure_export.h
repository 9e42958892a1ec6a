#pragma once
// A figure sheet as the drawing window shows it (the sheet with a border of
// a tenth of its size on every side, centred), painted on any surface:
// screen, printer, PDF, SVG and PNG all go through the figure renderer.
#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QTransform>

#include "figure_renderer.h"

class QPainter;

namespace hasorin {

// The sheet's share of its bordered picture: 1 / 1.2 of each side.
inline constexpr double kSheetBorderFactor = 1.2;

// Sheet millimetres onto `target`: the sheet plus its border fitted
// uniformly and centred.
QTransform BorderedSheetTransform(double sheetWidthMm, double sheetHeightMm, const QRectF& target);

// Paints a white `target` and the figure fitted into it.
void PaintFigure(QPainter& painter, const LoadedFigure& figure, const QRectF& target, FigureRenderer& renderer);

// The bordered sheet as an image at `pixelsPerMm`.
QImage FigureImage(const LoadedFigure& figure, double pixelsPerMm);
// The bordered sheet as an SVG document, in millimetres.
QByteArray FigureSvg(const LoadedFigure& figure);

enum class FigureFormat { Pdf, Svg, Png, Unknown };
// By the file name's extension (case ignored).
FigureFormat FigureFormatOf(const QString& path);
// Writes the bordered sheet as PDF (a page of its size), SVG or PNG (10 px
// per mm). False when the file cannot be written.
bool SaveFigure(const LoadedFigure& figure, const QString& path);

}  // namespace hasorin
