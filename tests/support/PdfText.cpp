#include "PdfText.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace qrv::test
{

namespace
{

// The output of a poppler tool; a tool that fails is a test failure.
QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed on " << arguments.join(' ').toStdString() << ": "
                      << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QString PdfText(const QString& pdf)
{
    // -layout keeps each printed line on one text line; without it pdftotext
    // may read the two columns of a long table one after the other.
    return Run("pdftotext", {"-layout", pdf, "-"});
}

QStringList PdfPages(const QString& pdf)
{
    QStringList pages = PdfText(pdf).split(QLatin1Char('\f'));
    // pdftotext ends the last page with a form feed as well.
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

QStringList PdfLines(const QString& pdf)
{
    QStringList lines;
    for (const QString& page : PdfPages(pdf))
        for (const QString& line : page.split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty()) lines.append(line.simplified());
    return lines;
}

QStringList Simplified(const QStringList& lines)
{
    QStringList result;
    for (const QString& line : lines)
        result.append(line.simplified());
    return result;
}

QMap<QString, QString> PdfInfo(const QString& pdf)
{
    QMap<QString, QString> info;
    for (const QString& line : Run("pdfinfo", {pdf}).split(QLatin1Char('\n'))) {
        const auto colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0) info.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    return info;
}

QSizeF PdfPageSize(const QString& pdf)
{
    // "841.89 x 595.276 pts (A4)"
    const QStringList parts = PdfInfo(pdf).value("Page size").split(QLatin1Char(' '));
    if (parts.size() < 3) return {};
    return QSizeF(parts[0].toDouble(), parts[2].toDouble());
}

QImage PdfPageImage(const QString& pdf, int dpi)
{
    const QString prefix = pdf + QStringLiteral(".page");
    Run("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile", pdf, prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

} // namespace qrv::test
