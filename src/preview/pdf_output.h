#pragma once
// Pages to paper or to PDF: the one routine behind the previewer's print and
// save commands, `Preview --pdf` and `hasorin-cli print --pdf`.
#include <QString>
#include <QStringList>
#include <string>

#include "page_layout.h"
#include "print_document.h"

class QPagedPaintDevice;

namespace hasorin::preview {

// Paints pages first..last (1-based, inclusive; 0, 0 = all) on a paged device
// (a QPrinter in full-page mode or a QPdfWriter without margins), each page
// scaled to fit the device's page and centred. False when painting could not
// start.
bool PaintPages(QPagedPaintDevice& device, const PrintDocument& doc, const PageLayout& layout,
                int first = 0, int last = 0);

// Writes the whole document as an A4 PDF. The file is replaced only when it
// was written completely. False with a Japanese message on failure.
bool WritePdf(const PrintDocument& doc, const PageLayout& layout, const QString& pdfPath, QString& error);

// Reads a print file and writes its PDF in one step. Problems that did not
// stop it (missing figure parts, unreadable characters) go to `warnings`.
// Needs a QGuiApplication.
bool PrintFileToPdf(const std::string& printFile, const std::string& pdfPath, QString& error,
                    QStringList* warnings = nullptr, const LoadOptions& options = {});

// Call before creating the QGuiApplication of a windowless PDF run: selects
// the offscreen platform unless one is chosen, and keeps Qt's remarks about
// the desktop session (no runtime folder on servers) off the console.
void PrepareHeadlessGui();

}  // namespace hasorin::preview
