#pragma once

#include "docs/writers/ReportTable.h"

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

// A report drawn page by page, for a PDF file and for the printer: the same
// heading lines and tables as the Word document, with its column widths and
// sizes. Each sheet has its frame, "Лист N из M" in the top right corner and
// the title block (the first sheet's form on the first, the short form on the
// others); a page that continues a table starts with a short running head,
// the table's caption with "(продолжение)" and its heading row again.
namespace ReportPages {

// Lays the document out on the pages of `device` (a PDF writer, a printer
// set to its full page) and draws it; false when nothing could be drawn on
// the device.
bool draw(const ReportDocument &document, QPagedPaintDevice &device);

// The document as a PDF file: landscape A4. Empty when the drawing failed.
QByteArray pdf(const ReportDocument &document);

// Hands pdf() to the report writer, so that every schedule can be saved as PDF.
void install();

QString pageNumberText(int page, int pages); // "Лист 2 из 5"

} // namespace ReportPages
