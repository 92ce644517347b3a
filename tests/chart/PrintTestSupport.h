// Helpers of the chart printing tests: a printer of their own on the PDF
// printer and printer dialogs that answer as told. PDF files are read back
// with PdfText.h.
#pragma once

#include "ChartTestSupport.h"
#include "PdfText.h"

#include "QrvPrintMargins.h"
#include "QrvPrinter.h"
#include "QrvPrinterDialogs.h"
#include "QrvTestPlatform.h"

#include <QImage>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>

namespace qrv
{
// Readable values in failure messages.
void PrintTo(const TChartRect& r, std::ostream* os);
void PrintTo(const TPaperMargins& m, std::ostream* os);
} // namespace qrv

namespace qrv::test
{

class TAnsweringPrinterDialogs : public TPlatformDouble
{
public:
    bool ExecutePrinterSetup(QWidget*, const TPrinterOffer&, TPrinterSetup& setup) override;
    std::optional<QString> ChoosePdfFile(QWidget*, const QString&) override;

    std::optional<TPrinterSetup> SetupAnswer; // empty: cancel
    std::optional<QString> FileAnswer;        // empty: cancel
    int SetupCalls = 0;
    int FileCalls = 0;
};

// A plotted 353 x 305 chart named as the main window names it, and a
// printer of the test's own on "Print to PDF" writing into a scratch folder.
class ChartPrintFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    TChart& chart() { return *plot.chart; }
    QString OutputFile() const { return dir.filePath("chart.pdf"); }

    PlotChart plot;
    QTemporaryDir dir;
    std::unique_ptr<TPrinter> printer;
    TAnsweringPrinterDialogs dialogs;
};

} // namespace qrv::test
