#pragma once
// The sheet of one pile's profiles: deflection, moment and shear against the
// distance from the head for both lateral planes and their resultant, the
// ground line, the section of the ground moment, and the pile's values in a
// side table. One painting routine draws it on any QPainter, so the window,
// the printer, PDF, SVG and PNG show the same figure.
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

#include "analysis.h"

class QPainter;
class QPrinter;
class QRectF;

namespace hasorin {

struct ProfileSheet {
  int pile = 0;
  QString title;                     // "杭体断面力分布　杭No.3"
  engine::PileProfile profile;       // empty points: nothing to draw
  std::vector<std::pair<QString, QString>> table;  // label, value
};

// The sheet of pile `pile` (1..N) of a run; empty profile when the run did
// not reach the pile's head forces.
ProfileSheet MakeProfileSheet(const Project& project, const engine::CalcResults& results, int pile);

// The sheet's own size: A4 landscape, in tenths of a millimetre.
inline constexpr double kSheetWidth = 2970, kSheetHeight = 2100;

// Draws the sheet into `target` (painter coordinates), scaled to fit and centred.
void PaintProfileSheet(QPainter& painter, const QRectF& target, const ProfileSheet& sheet);

// Prints the sheet on one page of `printer`. False when the printer cannot be used.
bool PrintProfileSheet(QPrinter& printer, const ProfileSheet& sheet);

// Writes the sheet as PDF, SVG or PNG, by the suffix of `path` (any other
// suffix: PDF). Returns an empty text, or what went wrong, in Japanese.
QString SaveProfileSheet(const ProfileSheet& sheet, const QString& path);

}  // namespace hasorin
