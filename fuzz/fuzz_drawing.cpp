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
    ReadSheetFile(path, sheet);
    if (sheet.drawings.size() > size_t(kMaxSheetDrawings)) fuzz::PropertyFailed("more drawings than a sheet holds");
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
