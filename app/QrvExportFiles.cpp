#include "QrvExportFiles.h"

#include "QrvErrors.h"
#include "QrvFileWriter.h"
#include "QrvNumberText.h"
#include "QrvTableCsv.h"

#include <QFile>

namespace qrv
{

std::vector<std::string_view> TableLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

QByteArray TableFileBytes(const QString& tableText)
{
    const QByteArray text = tableText.toLocal8Bit();
    const auto lines = TableLines(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    QByteArray bytes;
    bytes.reserve(text.size() + 2 * static_cast<qsizetype>(lines.size()));
    for (std::string_view line : lines) {
        bytes.append(line.data(), static_cast<qsizetype>(line.size()));
        bytes.append("\r\n", 2);
    }
    return bytes;
}

void ReplaceFile(const QString& fileName, const QByteArray& bytes)
{
    try {
        WriteWholeFile(QFile::encodeName(fileName).toStdString(),
                       std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const EFileWrite& error) {
        // The text file reports the system's own reason, as its I/O errors do.
        throw Exception(error.SystemReason());
    }
}

void SaveTableFile(const QString& fileName, const QString& tableText)
{
    ReplaceFile(fileName, TableFileBytes(tableText));
}

QByteArray TableCsvBytes(const QString& tableText)
{
    const QByteArray text = tableText.toUtf8();
    return QByteArray::fromStdString(TableCsv(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())), DecimalSeparator()));
}

void SaveTableCsvFile(const QString& fileName, const QString& tableText)
{
    ReplaceFile(fileName, TableCsvBytes(tableText));
}

} // namespace qrv
