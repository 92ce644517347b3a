// Printing the report: plain text, one paragraph per table line, laid out
// over the whole sheet (no margins) and continued page by page exactly where
// the previous page ended.
#pragma once

#include "QrvPrinter.h"

#include <QFont>
#include <QString>

#include <span>
#include <vector>

namespace qrv
{

// The vertical extent of one laid-out text line, in device pixels from the
// top of the text.
struct TLineBox {
    qreal Top = 0;
    qreal Height = 0;
};

// The lines one page takes: `Count` lines from index `First`.
struct TPageLines {
    int First = 0;
    int Count = 0;
};

// Splits lines, in text order, into pages `pageHeight` high. Each page
// starts with the first line the previous page did not take and takes every
// following line that ends within the page. A line taller than a whole page
// gets a page of its own (cut at the page's end) rather than being dropped,
// so every line is printed exactly once. No lines at all give one empty page.
std::vector<TPageLines> SplitIntoPages(std::span<const TLineBox> lines, qreal pageHeight);

// The report text for a table text: line breaks of any convention become
// paragraph breaks; a break that ends the table opens no extra empty line.
QString ReportTextFromTable(const QString& tableText);

// The job title of every report.
QString ReportTitle();

// The size a font designed in screen pixels prints at: the same physical
// size as on a standard 96 pixels-per-inch screen.
QFont PrintFont(const QFont& screenFont);

// Prints `text` in `font` on `printer` as one job titled "Report", whole
// sheet, page after page. Returns the number of pages printed. Printer
// errors are raised as exceptions; the job is then aborted.
int PrintReportText(const QString& text, const QFont& font, TPrinter& printer);

} // namespace qrv
