// The chart on a screen of device pixel ratio 2 (set by this executable's
// main): the back buffer and the preview sheet hold every device pixel, so
// lines and text are drawn sharp rather than magnified, while the exported
// pictures keep the chart's own pixel size.
#include "ChartTestSupport.h"

#include "DecimalSeparatorScope.h"
#include "QrvChartPreviewPage.h"
#include "QrvNumberText.h"
#include "QrvPrinter.h"

#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>

namespace qrv
{
namespace
{

class ChartDensityTest : public ::testing::Test
{
protected:
    test::TDecimalSeparatorScope separators{'.', ','};
    void SetUp() override
    {
        plot = test::MakePlotChart(353, 305);
        test::Fill(*plot.series, -5, 5, 0.1, [](double x) { return std::sin(x); });
    }
    TChart& chart() { return *plot.chart; }
    // The chart drawn straight onto an image of the screen's density, with
    // no buffer in between: what a sharp screen image looks like.
    QImage DrawnAtDensity(qreal dpr)
    {
        QImage image((QSizeF(chart().size()) * dpr).toSize(), QImage::Format_RGB32);
        image.setDevicePixelRatio(dpr);
        const bool buffered = chart().UseBuffer();
        chart().SetUseBuffer(false);
        {
            QPainter painter(&image);
            chart().DrawChart(painter, chart().rect());
        }
        chart().SetUseBuffer(buffered);
        return image;
    }
    test::PlotChart plot;
};

TEST_F(ChartDensityTest, ScreenHasTwoDevicePixelsPerPixel)
{
    ASSERT_EQ(chart().devicePixelRatioF(), 2.0) << "QT_SCALE_FACTOR=2 from main()";
}

TEST_F(ChartDensityTest, BackBufferHoldsEveryDevicePixel)
{
    const QPixmap shot = chart().grab();
    EXPECT_TRUE(chart().BufferValid());
    ASSERT_EQ(shot.devicePixelRatio(), 2.0);
    const QImage screen = shot.toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(screen.size(), QSize(706, 610));

    const QImage sharp = DrawnAtDensity(2.0).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(screen, sharp) << "the buffer is drawn at the screen's resolution";

    // A picture of the chart's own pixels, doubled, is something else: its
    // text and lines are blocks of 2 x 2 device pixels.
    const QImage magnified = MakeBitmap(chart(), clWhite, chart().size())
                                 .scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                 .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(magnified.size(), screen.size());
    int differing = 0;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (screen.pixel(x, y) != magnified.pixel(x, y)) ++differing;
    EXPECT_GT(differing, 500) << "finer than a magnified bitmap";

    // Repainting from the valid buffer gives the same sharp picture.
    EXPECT_EQ(chart().grab().toImage().convertToFormat(QImage::Format_RGB32), sharp);
}

TEST_F(ChartDensityTest, ExportsKeepTheChartsPixelSize)
{
    const QImage bitmap = MakeBitmap(chart(), clWhite, chart().size());
    EXPECT_EQ(bitmap.size(), QSize(353, 305));
    EXPECT_EQ(bitmap.devicePixelRatio(), 1.0);
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(BitmapFileBytes(chart()), "BMP"));
    EXPECT_EQ(decoded.size(), QSize(353, 305));
    // The same drawing as at density 1: the axes, labels and line do not
    // move with the screen.
    EXPECT_EQ(bitmap.convertToFormat(QImage::Format_RGB32), DrawnAtDensity(1.0));
}

TEST_F(ChartDensityTest, PreviewSheetIsDrawnAtTheScreensDensity)
{
    TPrinter printer;
    printer.SetPrinterIndex(static_cast<int>(printer.Printers().size()) - 1);
    ASSERT_TRUE(printer.IsPdf());
    TChartPreviewPage page(printer);
    page.resize(300, 240);
    page.SetPreviewChart(&chart());
    const QImage sheet = page.Render();
    EXPECT_EQ(sheet.devicePixelRatio(), 2.0);
    EXPECT_EQ(sheet.size(), QSize(600, 480));
    const QPixmap shot = page.grab();
    EXPECT_EQ(shot.size(), QSize(600, 480));
    // The chart on the sheet: its red line is drawn at device resolution,
    // so some of its pixels have no red neighbour pair of a 2 x 2 block.
    const QImage image = shot.toImage().convertToFormat(QImage::Format_RGB32);
    int red = 0, lone = 0;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const int inBlock =
                (qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 80) +
                (qRed(image.pixel(x + 1, y)) > 200 && qGreen(image.pixel(x + 1, y)) < 80) +
                (qRed(image.pixel(x, y + 1)) > 200 && qGreen(image.pixel(x, y + 1)) < 80) +
                (qRed(image.pixel(x + 1, y + 1)) > 200 && qGreen(image.pixel(x + 1, y + 1)) < 80);
            red += inBlock;
            if (inBlock > 0 && inBlock < 4) ++lone;
        }
    ASSERT_GT(red, 50) << "the line is on the sheet";
    EXPECT_GT(lone, 10) << "not a magnified bitmap";
}

} // namespace
} // namespace qrv
