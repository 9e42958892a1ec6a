#pragma once
// Tab-separated text, the form in which spreadsheet programs exchange blocks
// of cells through the clipboard.
#include <QString>
#include <QStringList>
#include <vector>

namespace hasorin {

using PileTextBlock = std::vector<QStringList>;  // rows of cell texts

// Splits clipboard text into rows (CR LF, LF or CR) and cells (tabs). One
// trailing line end does not make an extra row; a text of nothing at all
// gives no rows. Rows may have different lengths.
PileTextBlock SplitTabText(const QString& text);

// Joins a block the way spreadsheets put it on the clipboard: cells by tabs,
// every row ended by CR LF.
QString JoinTabText(const PileTextBlock& block);

}  // namespace hasorin
