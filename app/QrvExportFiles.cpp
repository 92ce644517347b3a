#include "QrvExportFiles.h"

#include "QrvErrors.h"
#include "QrvNumberText.h"
#include "QrvTableCsv.h"

#include <QSaveFile>

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

namespace
{

[[noreturn]] void RaiseIoError(const QSaveFile& file)
{
    throw Exception(file.errorString().toStdString());
}

} // namespace

void ReplaceFile(const QString& fileName, const QByteArray& bytes)
{
    // Nothing touches the target before commit() renames the finished
    // temporary file over it; an uncommitted QSaveFile removes its
    // temporary file when it goes.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) RaiseIoError(file);
    // Unbuffered, a short write is followed by one that fails with the
    // system's reason (a full disk, a file size limit), which is what the
    // message then says.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) RaiseIoError(file);
        done += static_cast<qsizetype>(written);
    }
    if (!file.commit()) RaiseIoError(file);
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
