// Writing the files of Save as. Every file is written to a temporary file
// beside the target, which replaces the target only once all of it has been
// written: a failed or interrupted save leaves an existing file as it was.
#pragma once

#include "QrvExportNames.h"

#include <QByteArray>
#include <QString>

#include <string_view>
#include <vector>

namespace qrv
{

class TChart;

// The lines of the table control's text: it is split at line breaks (CR LF,
// LF or CR alone); a break at the very end starts no further line, and an
// empty text has no lines.
std::vector<std::string_view> TableLines(std::string_view text);
// The text file of a table: every line followed by CR LF, the last one too,
// in the local 8-bit encoding.
QByteArray TableFileBytes(const QString& tableText);

// Replaces fileName by a file holding bytes. On failure the target is left
// untouched and the platform's I/O message is raised.
void ReplaceFile(const QString& fileName, const QByteArray& bytes);
// Saves the table as a text file.
void SaveTableFile(const QString& fileName, const QString& tableText);
// The table as comma-separated values for a spreadsheet, in UTF-8, with the
// current decimal separator deciding the field separator.
QByteArray TableCsvBytes(const QString& tableText);
// Saves the table as comma-separated values.
void SaveTableCsvFile(const QString& fileName, const QString& tableText);

// The chart picture of a picture kind as the bytes of its file: the
// client-size bitmap, or the placeable Windows or enhanced metafile.
QByteArray ChartFileBytes(TChart& chart, TExportKind kind);
// Saves the chart as a picture file of that kind; a failure raises "Cannot
// create file <name>" and leaves an existing file untouched.
void SaveChartFile(TChart& chart, TExportKind kind, const QString& fileName);

} // namespace qrv
