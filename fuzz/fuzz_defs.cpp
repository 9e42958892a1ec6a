// LINE_PRN.DEF and STR_PRN.DEF: any bytes read as a table or a note, and the
// figure styles made from them replay a sample drawing.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "drawing_file.h"
#include "figure_renderer.h"
#include "fuzz_support.h"

using namespace hasorin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static int argc = 1;
  static char name[] = "fuzz_defs";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
  (void)app;
  // The first byte picks the file; the other stays the delivered one.
  if (size == 0) return 0;
  const bool lineFile = data[0] & 1;
  const std::string folder = fuzz::ScratchFolder();
  static const std::string delivered = HASORIN_SOURCE_DIR "/data/";
  const std::string text(fuzz::AsView(data + 1, size - 1));
  fuzz::WriteScratch(lineFile ? "LINE_PRN.DEF" : "STR_PRN.DEF", text);
  fuzz::WriteScratch(lineFile ? "STR_PRN.DEF" : "LINE_PRN.DEF",
                     fuzz::ReadScratch(delivered + (lineFile ? "STR_PRN.DEF" : "LINE_PRN.DEF")));
  LineTypeTable lines;
  TextStyleTable styles;
  ReadLineDef(fuzz::ScratchPath("LINE_PRN.DEF"), lines);
  ReadStrDef(fuzz::ScratchPath("STR_PRN.DEF"), styles);
  const auto figureStyles = LoadFigureStyles(folder);

  DrawingElements e;
  const int a = e.AddPoint(1, 1), b = e.AddPoint(8, 6);
  e.AddLine(a, b, 1 + int(size % 4));
  e.AddCircle(b, 2, 2);
  e.AddArrow(a, 3, 3);
  e.AddText("杭 β", 2, 3, 1 + int(size % 3), kTextHorizontal);
  QImage image(64, 64, QImage::Format_RGB32);
  QPainter painter(&image);
  FigureRenderer renderer;
  renderer.DrawDrawing(painter, e, 0, 0, *figureStyles,
                       FigureRenderer::SheetTransform(10, 10, QRectF(0, 0, 64, 64)));
  return 0;
}
