// PDF files read back with poppler's command-line tools (pdftotext, pdfinfo,
// pdftoppm): an independent reader of what the program printed.
#pragma once

#include <QImage>
#include <QMap>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace qrv::test
{

// The text pdftotext extracts, laid out as printed (pages end with a form
// feed).
QString PdfText(const QString& pdf);
// The same text, page by page.
QStringList PdfPages(const QString& pdf);
// The non-empty text lines of a whole PDF file, in reading order, each with
// its runs of blanks shrunk to one (pdftotext does not keep them).
QStringList PdfLines(const QString& pdf);
// The lines with their runs of blanks shrunk to one, to compare with
// PdfLines.
QStringList Simplified(const QStringList& lines);
// The fields pdfinfo reports ("Title", "Pages", "Page size", ...).
QMap<QString, QString> PdfInfo(const QString& pdf);
// Width and height in points from pdfinfo's "Page size".
QSizeF PdfPageSize(const QString& pdf);
// The first page rendered by pdftoppm at the given resolution.
QImage PdfPageImage(const QString& pdf, int dpi);

} // namespace qrv::test
