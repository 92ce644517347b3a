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
    chart().SetPrintProportional(true);
    const TChartRect r = PrintRectFromMargins(chart(), *printer);
    EXPECT_EQ(PrintSettingsOf(chart()).PaperMargins, ProportionalMargins(chart(), *printer));
    EXPECT_EQ(r.Left, printer->PageWidth() - r.Right) << "centred";

    chart().SetPrintProportional(false);
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

// Runs of grey ink along one column of a page image between two rows.
struct TInkRuns {
    int Runs = 0;
    int InkedRows = 0;
    int Rows = 0;
};

TInkRuns GreyRunsInColumn(const QImage& page, int x, int top, int bottom)
{
    TInkRuns r;
    bool previous = false;
    for (int y = top; y <= bottom; ++y) {
        // Grey: the channels about equal and clearly below white.
        const QRgb p = page.pixel(x, y);
        const bool grey = qGray(p) < 235 && std::abs(qRed(p) - qBlue(p)) < 30;
        if (grey && !previous) ++r.Runs;
        r.InkedRows += grey;
        ++r.Rows;
        previous = grey;
    }
    return r;
}

TEST_F(ChartPrintTest, PrintedGridIsDottedLikeTheScreens)
{
    printer->SetOrientation(TPrinterOrientation::poLandscape);
    const TChartRect target = PrintRectFromMargins(chart(), *printer);
    TChartLayout printed;
    chart().SetOnAfterDraw([&](const TChart&, QPainter&, const TChartLayout& layout) { printed = layout; });
    PrintWithMargins(chart(), *printer);
    constexpr int dpi = 150;
    const QImage page = test::PdfPageImage(OutputFile(), dpi);
    ASSERT_FALSE(page.isNull());

    // From the layout (logical pixels, the target's origin included) to the
    // page image: stretched by the target's size over the logical one, then
    // from the printer's resolution to ours.
    const QSize logical = DetailSize(chart().size(), PrintSettingsOf(chart()).PrintDetail);
    const double sx = double(target.Width()) / logical.width() * dpi / printer->XDpi();
    const double sy = double(target.Height()) / logical.height() * dpi / printer->YDpi();
    const double ox = 0, oy = 0;
    const TChartRect& r = printed.AxesRect;
    const std::vector<int> ticks = printed.Bottom().TickPositions();
    ASSERT_GE(ticks.size(), 3u);
    const int top = static_cast<int>(oy + (r.Top + 3) * sy);
    const int bottom = static_cast<int>(oy + (r.Bottom - 3) * sy);
    // An inner grid line: its column (or the one beside it, as the
    // rasteriser places a hairline) shows dots with gaps between them.
    const int column = static_cast<int>(std::lround(ox + ticks[1] * sx));
    TInkRuns best;
    for (int x = column - 1; x <= column + 1; ++x) {
        const TInkRuns runs = GreyRunsInColumn(page, x, top, bottom);
        if (runs.InkedRows > best.InkedRows) best = runs;
    }
    ASSERT_GT(best.InkedRows, best.Rows / 10) << "a grid line at column " << column;
    EXPECT_GT(best.Runs, 20) << "dots, not one solid line";
    EXPECT_LT(best.InkedRows, best.Rows * 3 / 4) << "gaps between the dots";
}

// Two curves printed: the legend with both titles, and a thin dashed curve
// whose dashes keep their on-screen length on the printer's fine pixels
// (dashes a device pixel long would run together into a solid line).
TEST_F(ChartPrintTest, PrintedCurvesKeepTheirDashesAndTheLegend)
{
    plot.series->SetTitle("cosine");
    TLineSeries& dashed = AddGraphSeries(chart());
    dashed.SetTitle("dashed zero");
    dashed.SetSeriesColor(clBlue);
    dashed.SetLinePen({true, clBlack, 1, TPenStyle::psDash});
    dashed.AddPoint(-5, 0);
    dashed.AddPoint(5, 0);
    printer->SetOrientation(TPrinterOrientation::poLandscape);
    const TChartRect target = PrintRectFromMargins(chart(), *printer);
    TChartLayout printed;
    chart().SetOnAfterDraw([&](const TChart&, QPainter&, const TChartLayout& layout) { printed = layout; });
    PrintWithMargins(chart(), *printer);

    const QString text = test::PdfText(OutputFile());
    EXPECT_TRUE(text.contains("cosine")) << text.toStdString();
    EXPECT_TRUE(text.contains("dashed zero")) << text.toStdString();
    ASSERT_TRUE(printed.Legend.Shown);

    constexpr int dpi = 150;
    const QImage page = test::PdfPageImage(OutputFile(), dpi);
    ASSERT_FALSE(page.isNull());
    const QSize logical = DetailSize(chart().size(), PrintSettingsOf(chart()).PrintDetail);
    const double sx = double(target.Width()) / logical.width() * dpi / printer->XDpi();
    const double sy = double(target.Height()) / logical.height() * dpi / printer->YDpi();
    const int row = static_cast<int>(std::lround(printed.Left().ValueToPixel(0) * sy));
    // Along the line, left of the legend's box wherever it stands.
    const int from = static_cast<int>((printed.AxesRect.Left + 10) * sx);
    const int to = static_cast<int>((printed.AxesRect.Left + printed.AxesRect.Width() / 3) * sx);
    int best = 0, bestInked = 0;
    for (int y = row - 2; y <= row + 2; ++y) {
        int runs = 0, inked = 0;
        bool previous = false;
        for (int x = from; x <= to; ++x) {
            const QRgb p = page.pixel(x, y);
            const bool blue = qBlue(p) > 150 && qRed(p) < 120 && qGreen(p) < 120;
            runs += blue && !previous;
            inked += blue;
            previous = blue;
        }
        if (inked > bestInked) {
            best = runs;
            bestInked = inked;
        }
    }
    const int length = to - from + 1;
    ASSERT_GT(bestInked, length / 4) << "the dashed line along row " << row;
    EXPECT_LT(bestInked, length * 9 / 10) << "gaps between the dashes";
    EXPECT_GT(best, 5) << "dashes, not one solid line";
}

} // namespace
} // namespace qrv
