// Helpers of the chart printing tests: a printer of their own on the PDF
// printer, printer dialogs that answer as told, and PDF files read back
// with poppler's command-line tools.
#pragma once

#include "ChartTestSupport.h"

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

// The fields pdfinfo reports ("Title", "Pages", "Page size", ...).
QMap<QString, QString> PdfInfo(const QString& pdf);
// The text pdftotext extracts, laid out as printed.
QString PdfText(const QString& pdf);
// Width and height in points from pdfinfo's "Page size".
QSizeF PdfPageSize(const QString& pdf);
// The first page rendered by pdftoppm at the given resolution.
QImage PdfPageImage(const QString& pdf, int dpi);

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
