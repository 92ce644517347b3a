#include "PrintTestSupport.h"

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
