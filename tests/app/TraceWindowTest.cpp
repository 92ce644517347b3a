// The trace readout in the main window: hovering over the chart traces the
// nearest point and highlights its table line, a table line marks its point,
// zoom and scroll work as before, and no picture of the chart holds the
// trace.
#include "DecimalSeparatorScope.h"
#include "MainWindowFixture.h"
#include "QrvChart.h"
#include "QrvChartExport.h"
#include "QrvChartTrace.h"
#include "QrvNumberText.h"
#include "QrvTableView.h"
#include "m_grf_w.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace qrv::test
{
namespace
{

class TraceWindow : public TMainWindowFixture
{
protected:
    void SetUp() override
    {
        TMainWindowFixture::SetUp();
        ShowWindow();
        if (HasFatalFailure()) return;
        Plot();
    }
    // Each test starts with a decimal point and leaves the separator as it found it.
    qrv::test::TDecimalSeparatorScope separators_{'.'};

    // y = 2x at x = 0, 1, ..., 10, drawn so that the axes are laid out.
    void Plot()
    {
        Window->SetFields({"x*2", "0", "10", "1"});
        Window->PlotSpdBtnClick();
        Window->Chart1->repaint();
    }
    TChart& Chart() { return *Window->Chart1; }
    // The column of a point's x, half way down the axes.
    QPoint Over(double x)
    {
        const TChartRect& axes = Chart().AxesRect();
        return QPoint(Chart().Layout().Bottom().ValueToPixel(x), (axes.Top + axes.Bottom) / 2);
    }
    QImage Screen() { return Chart().grab().toImage(); }
    QImage Picture() { return MakeBitmap(Chart(), clWhite, Chart().size()); }
};

TEST_F(TraceWindow, HoverReadsOutTheNearestPointAndHighlightsItsLine)
{
    struct Row {
        const char* name;
        double mouseX;
        char separator;
        int point;
        const char* readout;
    };
    const Row rows[] = {
        {"on the first point", 0.0, '.', 0, "x = 0.000   y = 0.000"},
        {"near a middle point", 5.2, '.', 5, "x = 5.000   y = 10.000"},
        {"nearer the next point", 6.7, '.', 7, "x = 7.000   y = 14.000"},
        {"on the last point", 10.0, '.', 10, "x = 10.000   y = 20.000"},
        {"decimal comma", 3.0, ',', 3, "x = 3,000   y = 6,000"},
    };
    for (const Row& row : rows) {
        SetDecimalSeparator(row.separator);
        QTest::mouseMove(&Chart(), Over(row.mouseX));
        EXPECT_EQ(Window->Trace->ShownPoint(), row.point) << row.name;
        EXPECT_EQ(Window->Trace->ReadoutText(), row.readout) << row.name;
        EXPECT_EQ(Window->Memo1->HighlightedLine(), row.point) << row.name;
    }
    QTest::mouseMove(&Chart(), QPoint(1, 1));
    EXPECT_EQ(Window->Trace->ShownPoint(), -1) << "outside the axes nothing is traced";
    EXPECT_EQ(Window->Memo1->HighlightedLine(), -1);
    EXPECT_TRUE(Window->Trace->ReadoutText().isEmpty());
}

TEST_F(TraceWindow, ClickingATableLineMarksItsPoint)
{
    const QImage before = Screen();
    const QPoint line3(2, Window->Memo1->LineRect(3).center().y());
    QTest::mouseClick(Window->Memo1->viewport(), Qt::LeftButton, Qt::NoModifier, line3);
    EXPECT_EQ(Window->Trace->MarkedPoint(), 3);
    EXPECT_EQ(Window->Trace->ReadoutText(), "x = 3.000   y = 6.000");
    EXPECT_EQ(Window->Memo1->HighlightedLine(), 3);
    EXPECT_NE(Screen(), before) << "the crosshair is on the screen";

    // The mouse over the chart shows its own point and, once it leaves,
    // the marked one again.
    QTest::mouseMove(&Chart(), Over(8));
    EXPECT_EQ(Window->Trace->ShownPoint(), 8);
    QTest::mouseMove(&Chart(), QPoint(1, 1));
    EXPECT_EQ(Window->Trace->ShownPoint(), 3);
    EXPECT_EQ(Window->Memo1->HighlightedLine(), 3);

    Plot();
    EXPECT_EQ(Window->Trace->ShownPoint(), -1) << "a new run marks nothing";
    EXPECT_EQ(Window->Memo1->HighlightedLine(), -1);
}

TEST_F(TraceWindow, PicturesNeverHoldTheTrace)
{
    const QImage screenBefore = Screen();
    const QImage pictureBefore = Picture();
    const QByteArray bmpBefore = BitmapFileBytes(Chart());
    const QByteArray emfBefore = MakeMetafile(Chart(), MetafileKind::Emf, Chart().size());
    CopyBitmapToClipboard(Chart());
    const QImage clipboardBefore = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(clipboardBefore.isNull());

    QTest::mouseMove(&Chart(), Over(4));
    ASSERT_EQ(Window->Trace->ShownPoint(), 4);
    ASSERT_NE(Screen(), screenBefore) << "the trace is drawn on the screen";

    EXPECT_EQ(Picture(), pictureBefore);
    EXPECT_EQ(BitmapFileBytes(Chart()), bmpBefore);
    EXPECT_EQ(MakeMetafile(Chart(), MetafileKind::Emf, Chart().size()), emfBefore);
    QGuiApplication::clipboard()->clear();
    CopyBitmapToClipboard(Chart());
    EXPECT_EQ(QGuiApplication::clipboard()->image(), clipboardBefore);
}

TEST_F(TraceWindow, ZoomAndScrollStillWork)
{
    const TChartRect& axes = Chart().AxesRect();
    const QPoint from(axes.Left + 20, axes.Top + 20);
    const QPoint to(axes.Left + 120, axes.Top + 100);
    const double expectedMin = Chart().Layout().Bottom().PixelToValue(from.x());
    QTest::mouseMove(&Chart(), from);
    ASSERT_GE(Window->Trace->ShownPoint(), 0);
    QTest::mousePress(&Chart(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&Chart(), to);
    EXPECT_EQ(Window->Trace->ShownPoint(), -1) << "no trace while dragging";
    QTest::mouseRelease(&Chart(), Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_TRUE(Chart().ZoomInForce());
    Chart().repaint();
    EXPECT_DOUBLE_EQ(Chart().BottomAxis().Minimum(), expectedMin);

    // Traced again after the zoom, in the new scale.
    QTest::mouseMove(&Chart(), Over(2));
    EXPECT_EQ(Window->Trace->ShownPoint(), 2);

    const double before = Chart().BottomAxis().Minimum();
    QTest::mousePress(&Chart(), Qt::RightButton, Qt::NoModifier, Over(2));
    QTest::mouseMove(&Chart(), Over(2) + QPoint(-30, 0));
    QTest::mouseRelease(&Chart(), Qt::RightButton, Qt::NoModifier, Over(2) + QPoint(-30, 0));
    EXPECT_GT(Chart().BottomAxis().Minimum(), before) << "a right drag to the left scrolls the data left";
}

// A marked point far off a zoomed axis, whose pixel lies at the ends of the
// int range, is painted (its marks held just outside the axes, where the
// clip hides them) and still read out.
TEST_F(TraceWindow, APointFarOffTheZoomedAxesIsStillReadOut)
{
    const QPoint line3(2, Window->Memo1->LineRect(3).center().y());
    QTest::mouseClick(Window->Memo1->viewport(), Qt::LeftButton, Qt::NoModifier, line3);
    ASSERT_EQ(Window->Trace->MarkedPoint(), 3);
    for (const auto& [low, high] : {std::pair{1e300, 1.0000000000001e300}, std::pair{-5e-300, -4e-300}}) {
        SCOPED_TRACE(low);
        Chart().BottomAxis().SetMinMax(low, high);
        Chart().LeftAxis().SetMinMax(low, high);
        Chart().repaint();
        EXPECT_EQ(Window->Trace->ReadoutText(), "x = 3.000   y = 6.000");
    }
}

} // namespace
} // namespace qrv::test
