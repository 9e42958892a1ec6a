#include "xlsx_library.h"

#include <QLibrary>

namespace hasorin {

namespace {

XlsxLibrary* ResolveXlsxLibrary() {
  // Never unloaded: workbooks may be written until the process ends.
  static QLibrary library;
  static XlsxLibrary functions;
  const QString chosen = qEnvironmentVariable("HASORIN_XLSXWRITER");
  if (!chosen.isEmpty()) {
    library.setFileName(chosen);
  } else {
#ifdef Q_OS_WIN
    library.setFileName("xlsxwriter");
#else
    library.setFileNameAndVersion("xlsxwriter", 4);
#endif
  }
  if (!library.load()) return nullptr;
#define HASORIN_XLSX_RESOLVE(name)                                                         \
  functions.name = reinterpret_cast<decltype(functions.name)>(library.resolve(#name));     \
  if (!functions.name) return nullptr;
  HASORIN_XLSX_FUNCTIONS(HASORIN_XLSX_RESOLVE)
#undef HASORIN_XLSX_RESOLVE
  return &functions;
}

}  // namespace

const XlsxLibrary* LoadXlsxLibrary() {
  static const XlsxLibrary* const loaded = ResolveXlsxLibrary();
  return loaded;
}

}  // namespace hasorin
