#include "FormsTestSupport.h"

#include <QProcess>

namespace qrv::test
{

namespace
{

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed on " << arguments.join(' ').toStdString() << ": "
                      << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QStringList PdfPages(const QString& pdf)
{
    // -layout keeps each printed line on one text line; without it pdftotext
    // may read the two columns of a long table one after the other.
    QStringList pages = Run("pdftotext", {"-layout", pdf, "-"}).split(QLatin1Char('\f'));
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

bool TAnsweringPrinterDialogs::ExecutePrinterSetup(QWidget*, const TPrinterOffer&, TPrinterSetup& setup)
{
    ++SetupCalls;
    SetupShown = setup;
    if (!SetupAnswer) return false;
    setup = *SetupAnswer;
    return true;
}

std::optional<QString> TAnsweringPrinterDialogs::ChoosePdfFile(QWidget*, const QString& proposal)
{
    FileProposals.append(proposal);
    return FileAnswer;
}

void PdfPrinterTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    TPrinter& printer = Printer();
    saved_ = {printer.PrinterIndex(), printer.OutputFileName(), printer.Orientation(), printer.PageSize()};
    output_ = dir_.filePath("out.pdf");
    printer.SetPrinterIndex(static_cast<int>(printer.Printers().size()) - 1);
    printer.SetOutputFileName(output_);
    printer.SetOrientation(TPrinterOrientation::poPortrait);
    printer.SetPageSize(QPageSize(QPageSize::A4));
}

void PdfPrinterTest::TearDown()
{
    TPrinter& printer = Printer();
    printer.Abort();
    if (saved_.PrinterIndex >= 0) printer.SetPrinterIndex(saved_.PrinterIndex);
    printer.SetOutputFileName(saved_.OutputFileName);
    printer.SetOrientation(saved_.Orientation);
    printer.SetPageSize(saved_.PageSize);
}

} // namespace qrv::test
