// Drawing and figure-sheet files: the tolerant readers take any bytes, and a
// drawing read back from what the writer made is written again byte for byte.
#include "drawing_file.h"
#include "fuzz_support.h"

using namespace hasorin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TextStyleTable styles = [] {
    TextStyleTable table;
    ReadStrDef(HASORIN_SOURCE_DIR "/data/STR_PRN.DEF", table);
    return table;
  }();
  if (size == 0) return 0;
  const std::string path = fuzz::WriteScratch("in.drw", fuzz::AsView(data + 1, size - 1));
  if (data[0] & 1) {
    SheetFile sheet;
    if (!ReadSheetFile(path, sheet)) return 0;
    if (sheet.drawings.size() > size_t(kMaxSheetDrawings)) fuzz::PropertyFailed("more drawings than a sheet holds");
    // The sheet written again, its drawings replaced by one that exists.
    static const std::string drawing = [] {
      DrawingElements e;
      e.AddLine(e.AddPoint(0, 0), e.AddPoint(10, 5), 1);
      const std::string file = fuzz::ScratchPath("sample.drw");
      if (!WriteDrawingFile(file, "c", "t", e, styles)) std::abort();
      return file;
    }();
    for (SheetDrawing& d : sheet.drawings) d.path = drawing;
    // The writer centres the first drawing from the sheet's size, which the
    // file holds to 15 digits: from the second write on the file must not move.
    const std::string once = fuzz::ScratchPath("once.sht"), twice = fuzz::ScratchPath("twice.sht"),
                      thrice = fuzz::ScratchPath("thrice.sht");
    if (!WriteSheetFile(once, sheet.title, sheet.width, sheet.height, sheet.drawings)) return 0;
    SheetFile back, again;
    if (!ReadSheetFile(once, back)) fuzz::PropertyFailed("a written sheet does not read back");
    if (!WriteSheetFile(twice, back.title, back.width, back.height, back.drawings))
      fuzz::PropertyFailed("a sheet read back cannot be written again");
    if (!ReadSheetFile(twice, again) ||
        !WriteSheetFile(thrice, again.title, again.width, again.height, again.drawings))
      fuzz::PropertyFailed("a sheet written twice does not read back");
    if (fuzz::ReadScratch(twice) != fuzz::ReadScratch(thrice)) fuzz::PropertyFailed("sheet write -> read -> write differs");
    return 0;
  }
  DrawingFile first;
  ReadDrawingFile(path, first);
  const std::string once = fuzz::ScratchPath("once.drw"), twice = fuzz::ScratchPath("twice.drw");
  if (!WriteDrawingFile(once, first.caption, first.title, first.elements, styles)) return 0;
  DrawingFile second;
  if (!ReadDrawingFile(once, second)) fuzz::PropertyFailed("a written drawing does not read back");
  if (!WriteDrawingFile(twice, second.caption, second.title, second.elements, styles))
    fuzz::PropertyFailed("a drawing read back cannot be written again");
  if (fuzz::ReadScratch(once) != fuzz::ReadScratch(twice)) fuzz::PropertyFailed("write -> read -> write differs");
  return 0;
}
