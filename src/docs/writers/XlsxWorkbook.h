#pragma once

#include "docs/writers/ReportTable.h"

#include <QByteArray>
#include <QString>

// A report as an Excel workbook (.xlsx), written with libxlsxwriter: one
// worksheet per table, named after its caption (or the document's title).
// Above each table its title, the project, the date and the caption; the
// heading row bold and wrapped, frozen, and repeated on every printed page;
// the texts of number columns that are numbers as numbers, with the number
// format of the decimal places they show; failing cells bold and red; column
// widths that fit their texts; A4 landscape, fitted to the page's width, with
// the document code and "Лист N из M" at the foot of every printed page.
namespace XlsxWorkbook {

// The workbook's bytes; empty, with `error` set, when it could not be made
// (libxlsxwriter writes through a file of its own, which is removed again).
QByteArray workbook(const ReportDocument &document, QString *error = nullptr);

// The name of the worksheet of a section: at most 31 characters, none of
// []:*?/\, unique among `taken` without regard to case.
QString sheetName(const QString &wanted, const QStringList &taken);

} // namespace XlsxWorkbook
