#include "PrintTestSupport.h"

#include <QProcess>

#include <cmath>

namespace qrv
{

void PrintTo(const TChartRect& r, std::ostream* os)
{
    *os << "{" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << "}";
}

void PrintTo(const TPaperMargins& m, std::ostream* os)
{
    *os << "{left " << m.Left << ", top " << m.Top << ", right " << m.Right << ", bottom " << m.Bottom << "}";
}

} // namespace qrv

namespace qrv::test
{

namespace
{

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QMap<QString, QString> PdfInfo(const QString& pdf)
{
    QMap<QString, QString> info;
    for (const QString& line : Run("pdfinfo", {pdf}).split(QLatin1Char('\n'))) {
        const auto colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0) info.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    return info;
}

QString PdfText(const QString& pdf)
{
    return Run("pdftotext", {"-layout", pdf, "-"});
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

bool TAnsweringPrinterDialogs::ExecutePrinterSetup(QWidget*, const TPrinterOffer&, TPrinterSetup& setup)
{
    ++SetupCalls;
    if (!SetupAnswer) return false;
    setup = *SetupAnswer;
    return true;
}

std::optional<QString> TAnsweringPrinterDialogs::ChoosePdfFile(QWidget*, const QString&)
{
    ++FileCalls;
    return FileAnswer;
}

void ChartPrintFixture::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    plot = MakePlotChart(353, 305);
    plot.chart->setObjectName("Chart1");
    Fill(*plot.series, -5, 5, 0.1, [](double x) { return std::cos(x); });
    printer = std::make_unique<TPrinter>();
    printer->SetPrinterIndex(static_cast<int>(printer->Printers().size()) - 1);
    ASSERT_TRUE(printer->IsPdf());
    printer->SetOutputFileName(OutputFile());
}

} // namespace qrv::test
