#pragma once
// libxlsxwriter, loaded the first time a workbook is written: it brings
// libcrypto, minizip and zlib with it, which a process that only checks or
// calculates a file should not load. Its header gives the types and the
// functions' signatures; nothing links against it.
#include <xlsxwriter.h>

namespace hasorin {

// The functions the workbook writer uses, each under its own name.
#define HASORIN_XLSX_FUNCTIONS(X)                                                      \
  X(workbook_new_opt) X(workbook_add_worksheet) X(workbook_get_worksheet_by_name)      \
  X(workbook_add_format) X(workbook_close) X(worksheet_write_number)                   \
  X(worksheet_write_string) X(worksheet_set_column) X(worksheet_freeze_panes)          \
  X(format_set_bold) X(format_set_align) X(format_set_bottom) X(format_set_num_format) \
  X(format_set_font_color) X(lxw_strerror)

struct XlsxLibrary {
#define HASORIN_XLSX_POINTER(name) decltype(&::name) name = nullptr;
  HASORIN_XLSX_FUNCTIONS(HASORIN_XLSX_POINTER)
#undef HASORIN_XLSX_POINTER
};

// The library's functions, or null when it cannot be loaded or lacks one of
// them. Loaded once per process. The environment variable HASORIN_XLSXWRITER,
// when set, names the library file to load instead of the installed one.
const XlsxLibrary* LoadXlsxLibrary();

}  // namespace hasorin
