#pragma once
// The combined print file as the previewer holds it: its lines with the
// control marks interpreted, and every figure sheet (with its drawings) the
// file names, all read into memory when the file is opened. The print menu
// deletes its temporary files while the previewer may still be showing them,
// so nothing is read from disk after loading.
//
// Control marks: a form feed (character 12) starts a new page; "?R1" / "?R2"
// after a line's leading blanks mark a chapter / section heading and are not
// printed; a line "?FG;000;000;<sheet path>" (after leading blanks) places a
// figure sheet at the line's position.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "figure_renderer.h"

namespace hasorin::preview {

enum class LineKind { Text, Heading1, Heading2, Figure };

struct PrintLine {
  QString text;                 // what is printed; markers removed
  LineKind kind = LineKind::Text;
  int figure = -1;              // index into PrintDocument::figures for figure lines
  bool pageBreakBefore = false; // a form feed stands before this line
};

// A figure named by a "?FG" line. `figure` holds whatever could be read; the
// notes say what is missing and are printed in place of the missing parts.
struct FigureRef {
  std::string sheetPath;
  std::shared_ptr<const LoadedFigure> figure;  // null when the sheet could not be read
  QStringList notes;
  bool Loaded() const { return figure != nullptr; }
};

struct PrintDocument {
  std::string path;
  std::vector<PrintLine> lines;
  std::vector<FigureRef> figures;
  QStringList warnings;  // problems that did not stop loading (shown on stderr by tools)
};

struct LoadOptions {
  // Folder holding LINE_PRN.DEF and STR_PRN.DEF; empty: the program folder.
  std::string definitionFolder;
  bool loadFigures = true;
  // Every figure must be found (a print file this program just made): a
  // figure that cannot be read fails the load instead of becoming a note.
  bool figuresRequired = false;
};

// Files larger than this are refused: no report comes near it, and a wrong
// file must not exhaust memory.
inline constexpr qint64 kMaxPrintFileBytes = 64 * 1024 * 1024;

// Reads the print file and everything it refers to. False, with a Japanese
// message in `error`, only when the print file itself cannot be read; missing
// figure parts become notes of their FigureRef.
bool LoadPrintFile(const std::string& path, PrintDocument& doc, QString& error,
                   const LoadOptions& options = {});

// Splits CP932 print-file bytes into lines and marks (no figure is read;
// the figures get their paths only). Invalid CP932 sequences are shown as '?'
// and reported once in `warnings`.
PrintDocument ParsePrintBytes(QByteArrayView bytes);

}  // namespace hasorin::preview
