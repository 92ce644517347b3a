// Printing the chart: the one-page job read back from the PDF printer's
// file, its failures, and drawing into a print rectangle at a detail.
#include "PrintTestSupport.h"

#include "QrvAxisMath.h"
#include "QrvChartPrint.h"
#include "QrvPrinterErrors.h"

#include <QFile>
#include <QPainter>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace qrv
{
namespace
{

using test::ChartPrintFixture;

class ChartPrintTest : public ChartPrintFixture
{
};

TEST_F(ChartPrintTest, OnePageTitledAfterTheChartWithAxisTexts)
{
    printer->SetOrientation(TPrinterOrientation::poLandscape);
    PrintWithMargins(chart(), *printer);

    const auto info = test::PdfInfo(OutputFile());
    EXPECT_EQ(info.value("Pages"), "1");
    EXPECT_EQ(info.value("Title"), "Chart1");
    const QSizeF page = test::PdfPageSize(OutputFile());
    EXPECT_GT(page.width(), page.height()) << "landscape sheet";

    const QString text = test::PdfText(OutputFile());
    const QStringList words = text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    EXPECT_TRUE(words.contains("X")) << text.toStdString();
    // The y title stands close to the label beside it: "Y 0" may come out
    // as one word.
    EXPECT_TRUE(text.contains(QRegularExpression("(^|\\s)Y(\\s|-?\\d)"))) << text.toStdString();
    // Labels of both axes: x runs from -5 to 5, y from -1 to 1.
    EXPECT_TRUE(words.contains("-4") || words.contains("-5")) << text.toStdString();
    EXPECT_TRUE(words.contains("0")) << text.toStdString();
    EXPECT_FALSE(chart().Printing()) << "the chart is back to the screen";
}

TEST_F(ChartPrintTest, ProportionalMarginsAreRecomputedForThePage)
{
    PrintSettingsOf(chart()).PaperMargins = {1, 2, 3, 4};
    printer->SetOrientation(TPrinterOrientation::poPortrait);
    chart().PrintProportional = true;
    const TChartRect r = PrintRectFromMargins(chart(), *printer);
    EXPECT_EQ(PrintSettingsOf(chart()).PaperMargins, ProportionalMargins(chart(), *printer));
    EXPECT_EQ(r.Left, printer->PageWidth() - r.Right) << "centred";

    chart().PrintProportional = false;
    PrintSettingsOf(chart()).PaperMargins = {10, 0, 0, 0};
    EXPECT_EQ(
        PrintRectFromMargins(chart(), *printer),
        (TChartRect{NearestInt(printer->PageWidth() * 0.1), 0, printer->PageWidth(), printer->PageHeight()}));
}

TEST_F(ChartPrintTest, UnwritableFileIsAClearErrorAndLeavesNothing)
{
    const QString bad = dir.filePath("no-such-folder/chart.pdf");
    printer->SetOutputFileName(bad);
    try {
        PrintWithMargins(chart(), *printer);
        FAIL() << "no exception";
    } catch (const EPrinter& e) {
        EXPECT_NE(e.Message().find(bad.toStdString()), std::string::npos) << e.Message();
    }
    EXPECT_FALSE(printer->Printing());
    EXPECT_FALSE(chart().Printing());
}

TEST_F(ChartPrintTest, DecliningToNameTheFileAbortsSilently)
{
    printer->SetOutputFileName(QString());
    dialogs.FileAnswer.reset();
    EXPECT_THROW(PrintWithMargins(chart(), *printer), EAbort);
    EXPECT_EQ(dialogs.FileCalls, 1);
    EXPECT_FALSE(printer->Printing());

    dialogs.FileAnswer = OutputFile();
    PrintWithMargins(chart(), *printer);
    EXPECT_EQ(test::PdfInfo(OutputFile()).value("Pages"), "1");
}

TEST_F(ChartPrintTest, SettingsLiveWithTheirChart)
{
    TChartPrintSettings& settings = PrintSettingsOf(chart());
    EXPECT_EQ(settings.PaperMargins, (TPaperMargins{15, 15, 15, 15}));
    EXPECT_EQ(settings.PrintDetail, 0);
    settings.PrintDetail = -30;
    EXPECT_EQ(PrintSettingsOf(chart()).PrintDetail, -30);
    test::PlotChart other = test::MakePlotChart(100, 100);
    EXPECT_EQ(PrintSettingsOf(*other.chart).PrintDetail, 0);
}

// --- drawing into a rectangle ----------------------------------------------

QImage DrawInto(TChart& chart, QSize image, const TChartRect& target)
{
    QImage picture(image, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    DrawIntoPrintRect(chart, painter, target);
    return picture;
}

TEST_F(ChartPrintTest, DrawsOnlyInsideTheTarget)
{
    const TChartRect target{100, 80, 500, 380};
    const QImage picture = DrawInto(chart(), {640, 480}, target);
    const QRect inside = target.ToQRect();
    EXPECT_GT(test::CountDark(picture, inside), 100);
    EXPECT_EQ(test::CountDark(picture, QRect(0, 0, 640, 80)), 0);
    EXPECT_EQ(test::CountDark(picture, QRect(0, 380, 640, 100)), 0);
    EXPECT_EQ(test::CountDark(picture, QRect(0, 0, 100, 480)), 0);
    EXPECT_EQ(test::CountDark(picture, QRect(500, 0, 140, 480)), 0);
    // Reversed corners draw the same.
    EXPECT_EQ(DrawInto(chart(), {640, 480}, {500, 380, 100, 80}), picture);
}

TEST_F(ChartPrintTest, DrawingLeavesTheChartAsItWas)
{
    const QFont labels = chart().BottomAxis().LabelsFont.Font;
    DrawInto(chart(), {400, 300}, {0, 0, 400, 300});
    EXPECT_FALSE(chart().Printing());
    EXPECT_TRUE(chart().UseBuffer());
    EXPECT_EQ(chart().BottomAxis().LabelsFont.Font, labels);
}

TEST_F(ChartPrintTest, FullDetailLaysOutAtTwiceTheSize)
{
    // At -100 the 353 x 305 chart is laid out as a 706 x 610 one; drawn
    // into a 706 x 610 target both come out pixel for pixel the same.
    const TChartRect target{0, 0, 706, 610};
    PrintSettingsOf(chart()).PrintDetail = -100;
    const QImage detailed = DrawInto(chart(), {706, 610}, target);

    test::PlotChart big = test::MakePlotChart(706, 610);
    test::Fill(*big.series, -5, 5, 0.1, [](double x) { return std::cos(x); });
    EXPECT_EQ(DrawInto(*big.chart, {706, 610}, target), detailed);

    PrintSettingsOf(chart()).PrintDetail = 0;
    const QImage normal = DrawInto(chart(), {706, 610}, target);
    EXPECT_NE(normal, detailed);
    // Everything drawn at double scale is thicker: more dark ink.
    EXPECT_GT(test::CountDark(normal, target.ToQRect()), test::CountDark(detailed, target.ToQRect()));
}

} // namespace
} // namespace qrv
