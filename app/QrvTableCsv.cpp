#include "QrvTableCsv.h"

#include "QrvFileTypes.h"

namespace qrv
{

namespace
{

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Appends the row of one line; returns false for a blank line.
bool AppendRow(std::string& out, std::string_view line, char separator)
{
    bool first = true;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i == line.size()) break;
        std::size_t end = i;
        while (end < line.size() && !IsBlank(line[end]))
            ++end;
        if (!first) out += separator;
        AppendCsvField(out, line.substr(i, end - i), separator);
        first = false;
        i = end;
    }
    if (!first) out += "\r\n";
    return !first;
}

} // namespace

void AppendCsvField(std::string& out, std::string_view field, char separator)
{
    if (field.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

char CsvFieldSeparator(char decimalSeparator)
{
    return decimalSeparator == ',' ? ';' : ',';
}

std::string TableCsv(std::string_view tableText, char decimalSeparator)
{
    const char separator = CsvFieldSeparator(decimalSeparator);
    std::string out;
    out.reserve(tableText.size() + tableText.size() / 8 + 16);
    out += 'x';
    out += separator;
    out += "y\r\n";
    std::size_t start = 0;
    while (start < tableText.size()) {
        std::size_t end = tableText.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = tableText.size();
        AppendRow(out, tableText.substr(start, end - start), separator);
        start = end + 1;
    }
    return out;
}

bool IsCsvFileName(std::string_view fileName)
{
    return HasExtension(fileName, kCsvExtension);
}

} // namespace qrv
