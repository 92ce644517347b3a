// The table as comma-separated values, the form spreadsheets read: a header
// line, then one line per table line with its two numbers as the table shows
// them. With a decimal point the fields are separated by ",", with a decimal
// comma by ";" (what spreadsheets of comma locales expect); every line ends
// with CR LF.
#pragma once

#include <string>
#include <string_view>

namespace qrv
{

// "," for a decimal point, ";" for a decimal comma.
char CsvFieldSeparator(char decimalSeparator);

// The CSV of a table's text. Every line that is not blank becomes one row:
// its fields are the runs of text between blanks (x and y in a table the
// run wrote), so a table the user edited still gives one row per line. A
// field holding the separator or a double quote is quoted.
std::string TableCsv(std::string_view tableText, char decimalSeparator);

// Appends one field: as it is, or, when it holds the separator, a double
// quote or a line break, between double quotes with each quote doubled
// (RFC 4180).
void AppendCsvField(std::string& out, std::string_view field, char separator);

// Whether a file name asks for CSV: its extension is ".csv", in any case.
bool IsCsvFileName(std::string_view fileName);

} // namespace qrv
