// Combined print files through the previewer's document reader and page
// layout: any bytes give pages, and every line and figure lands on one.
#include "fuzz_support.h"
#include "page_layout.h"
#include "print_document.h"

using namespace hasorin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const preview::PrintDocument doc = preview::ParsePrintBytes(QByteArrayView(data, qsizetype(size)));
  const preview::PageLayout layout = preview::LayoutDocument(doc);
  if (layout.PageCount() < 1 && !doc.lines.empty()) fuzz::PropertyFailed("lines but no page");
  return 0;
}
