// Mouse zoom and scroll driven through the chart widget, headless: drags,
// the undo drag, right-button scrolling, the wheel and what a later plot
// keeps.
#include "ChartTestSupport.h"
#include "RowNames.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace qrv
{
namespace
{

using test::MakePlotChart;

class ChartZoomTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plot = MakePlotChart(400, 300);
        test::Fill(series(), 0.0, 10.0, 0.1, [](double x) { return x; });
        Layout();
    }
    // Drawing lays the axes out, which the mouse arithmetic reads.
    QImage Layout() { return chart().grab().toImage(); }
    TChart& chart() { return *plot.chart; }
    TLineSeries& series() { return *plot.series; }
    TChartAxis& bottom() { return chart().BottomAxis(); }
    TChartAxis& left() { return chart().LeftAxis(); }
    // Where the axes lie on screen, which the mouse acts on.
    const TAxisLayout& shownBottom() { return chart().Layout().Bottom(); }
    const TAxisLayout& shownLeft() { return chart().Layout().Left(); }

    void Drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        QTest::mousePress(&chart(), button, {}, from);
        QTest::mouseMove(&chart(), (from + to) / 2);
        QTest::mouseMove(&chart(), to);
        QTest::mouseRelease(&chart(), button, {}, to);
    }
    void Wheel(int delta)
    {
        const QPointF pos(200, 150);
        QWheelEvent event(pos, chart().mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&chart(), &event);
    }
    bool AllAutomatic()
    {
        for (TChartAxis* a : {&bottom(), &chart().TopAxis(), &left(), &chart().RightAxis()})
            if (!a->Automatic() || !a->AutomaticMinimum() || !a->AutomaticMaximum()) return false;
        return true;
    }

    test::PlotChart plot;
};

struct SmallDrag {
    const char* name;
    int dx, dy;
};

class ChartSmallDragTest : public ChartZoomTest, public ::testing::WithParamInterface<SmallDrag>
{
};

TEST_P(ChartSmallDragTest, ChangesNothing)
{
    const SmallDrag d = GetParam();
    Drag(Qt::LeftButton, {150, 120}, {150 + d.dx, 120 + d.dy});
    EXPECT_TRUE(AllAutomatic());
    EXPECT_TRUE(chart().Zoom().SavedStateFree());
    EXPECT_FALSE(chart().ZoomInForce());
    EXPECT_FALSE(chart().Zoom().ZoomDrag().Active);
}

INSTANTIATE_TEST_SUITE_P(Threshold, ChartSmallDragTest,
                         ::testing::Values(SmallDrag{"Right16Down50", 16, 50},
                                           SmallDrag{"Right50Down16", 50, 16},
                                           SmallDrag{"Left16Up50", -16, -50}, SmallDrag{"None", 0, 0},
                                           SmallDrag{"Left50Up16", -50, -16}),
                         test::RowName{});

TEST_F(ChartZoomTest, DragRightDownZoomsToTheDraggedValues)
{
    const double x0 = shownBottom().PixelToValue(100), x1 = shownBottom().PixelToValue(200);
    const double yTop = shownLeft().PixelToValue(80), yBottom = shownLeft().PixelToValue(150);
    int zooms = 0;
    chart().SetOnZoom([&](TChart&) { ++zooms; });
    Drag(Qt::LeftButton, {100, 80}, {200, 150});

    EXPECT_EQ(zooms, 1);
    EXPECT_TRUE(chart().ZoomInForce());
    EXPECT_FALSE(chart().Zoom().SavedStateFree());
    EXPECT_FALSE(bottom().Automatic() || bottom().AutomaticMinimum() || bottom().AutomaticMaximum());
    EXPECT_EQ(bottom().Minimum(), x0);
    EXPECT_EQ(bottom().Maximum(), x1);
    EXPECT_EQ(left().Minimum(), yBottom);
    EXPECT_EQ(left().Maximum(), yTop);
    Layout();
    EXPECT_EQ(shownBottom().RangeMin(), x0);
    EXPECT_EQ(shownLeft().RangeMax(), yTop);
}

TEST_F(ChartZoomTest, DragTheOtherWayRestoresTheAutomaticRanges)
{
    // Every direction but right-and-down undoes the zoom.
    const std::pair<QPoint, QPoint> undoDrags[] = {
        {{200, 150}, {100, 80}}, {{100, 150}, {200, 80}}, {{200, 80}, {100, 150}}};
    for (const auto& [from, to] : undoDrags) {
        SCOPED_TRACE(testing::Message() << "undo drag to " << to.x() << "," << to.y());
        Drag(Qt::LeftButton, {100, 80}, {200, 150});
        ASSERT_TRUE(chart().ZoomInForce());
        int undos = 0;
        chart().SetOnUndoZoom([&](TChart&) { ++undos; });
        Drag(Qt::LeftButton, from, to);
        EXPECT_EQ(undos, 1);
        EXPECT_TRUE(AllAutomatic());
        EXPECT_TRUE(chart().Zoom().SavedStateFree());
        EXPECT_FALSE(chart().ZoomInForce());
        Layout();
        EXPECT_EQ(shownBottom().RangeMin(), 0.0);
        EXPECT_DOUBLE_EQ(shownBottom().RangeMax(), 10.0);
    }
}

TEST_F(ChartZoomTest, UndoGoesBackToAFixedRangeSetBeforeTheZoom)
{
    left().SetAutomatic(false);
    left().SetAutomaticMinimum(false);
    left().SetAutomaticMaximum(false);
    left().SetMinMax(-20.0, 20.0);
    Layout();
    Drag(Qt::LeftButton, {100, 80}, {200, 150});
    // A second zoom keeps the state saved by the first.
    Layout();
    Drag(Qt::LeftButton, {120, 90}, {180, 140});
    chart().UndoZoom();
    EXPECT_FALSE(left().Automatic());
    EXPECT_EQ(left().Minimum(), -20.0);
    EXPECT_EQ(left().Maximum(), 20.0);
    EXPECT_TRUE(bottom().Automatic());
}

TEST_F(ChartZoomTest, RightDragScrollsSoTheDataFollowTheMouse)
{
    const double xMin = shownBottom().Minimum, xMax = shownBottom().Maximum;
    const double dx = shownBottom().PixelToValue(200) - shownBottom().PixelToValue(150);
    const int pixelOfFive = shownBottom().ValueToPixel(5.0);
    int scrolls = 0;
    chart().SetOnScroll([&](TChart&) { ++scrolls; });
    Drag(Qt::RightButton, {200, 150}, {150, 150});

    EXPECT_EQ(scrolls, 2); // two moves
    EXPECT_DOUBLE_EQ(bottom().Minimum(), xMin + dx);
    EXPECT_DOUBLE_EQ(bottom().Maximum(), xMax + dx);
    EXPECT_FALSE(bottom().Automatic());
    EXPECT_TRUE(left().Automatic()); // no vertical movement
    EXPECT_FALSE(chart().Zoom().SavedStateFree());
    Layout();
    EXPECT_EQ(shownBottom().ValueToPixel(5.0), pixelOfFive - 50);

    // Downwards: the data move down with the mouse.
    const int pixelOfY = shownLeft().ValueToPixel(5.0);
    Drag(Qt::RightButton, {150, 100}, {150, 130});
    Layout();
    EXPECT_EQ(shownLeft().ValueToPixel(5.0), pixelOfY + 30);

    chart().UndoZoom();
    EXPECT_TRUE(AllAutomatic());
}

TEST_F(ChartZoomTest, LeavingTheAxesRectangleEndsTheScroll)
{
    QTest::mousePress(&chart(), Qt::RightButton, {}, {200, 150});
    QTest::mouseMove(&chart(), {180, 150});
    const double afterFirst = bottom().Minimum();
    QTest::mouseMove(&chart(), {2, 150}); // in the left margin
    EXPECT_FALSE(chart().Zoom().ScrollDrag().Active);
    QTest::mouseMove(&chart(), {100, 150});
    QTest::mouseRelease(&chart(), Qt::RightButton, {}, {100, 150});
    EXPECT_EQ(bottom().Minimum(), afterFirst);
}

TEST_F(ChartZoomTest, PressesOutsideTheChartPartsStartNothing)
{
    const TChartRect r = chart().AxesRect();
    QTest::mousePress(&chart(), Qt::LeftButton, {}, {2, 2});
    EXPECT_FALSE(chart().Zoom().ZoomDrag().Active);
    QTest::mouseRelease(&chart(), Qt::LeftButton, {}, {2, 2});

    // The bottom axis' ticks, just below the axes rectangle, count.
    QTest::mousePress(&chart(), Qt::LeftButton, {}, {200, r.Bottom + 2});
    EXPECT_TRUE(chart().Zoom().ZoomDrag().Active);
    // Another button during the drag starts no scroll and ends no zoom.
    QTest::mousePress(&chart(), Qt::RightButton, {}, {210, r.Bottom + 2});
    QTest::mouseRelease(&chart(), Qt::RightButton, {}, {210, r.Bottom + 2});
    EXPECT_TRUE(chart().Zoom().ZoomDrag().Active);
    QTest::mouseRelease(&chart(), Qt::LeftButton, {}, {200, r.Bottom + 2});

    series().SetActive(false);
    Layout();
    QTest::mousePress(&chart(), Qt::LeftButton, {}, {200, 150});
    EXPECT_FALSE(chart().Zoom().ZoomDrag().Active);
    QTest::mouseRelease(&chart(), Qt::LeftButton, {}, {200, 150});
}

TEST_F(ChartZoomTest, SettingsSwitchZoomAndScrollOff)
{
    chart().SetAllowZoom(false);
    Drag(Qt::LeftButton, {100, 80}, {200, 150});
    EXPECT_TRUE(AllAutomatic());

    chart().SetAllowPanning(TPanningMode::pmHorizontal);
    Drag(Qt::RightButton, {200, 150}, {150, 120});
    EXPECT_FALSE(bottom().Automatic());
    EXPECT_TRUE(left().Automatic());

    chart().SetAllowPanning(TPanningMode::pmNone);
    const double x = bottom().Minimum();
    Drag(Qt::RightButton, {200, 150}, {150, 120});
    Wheel(-120);
    EXPECT_EQ(bottom().Minimum(), x);
    EXPECT_TRUE(left().Automatic());
}

TEST_F(ChartZoomTest, WheelScrollsThreePercentOfTheVerticalRange)
{
    const double lo = shownLeft().Minimum, hi = shownLeft().Maximum;
    const double step = 0.03 * (hi - lo);
    Wheel(-120); // towards the user: down
    EXPECT_DOUBLE_EQ(left().Minimum(), lo + step);
    EXPECT_DOUBLE_EQ(left().Maximum(), hi + step);
    Wheel(60);
    Wheel(60); // two halves make one notch up
    EXPECT_NEAR(left().Minimum(), lo, 1e-12);
    Wheel(240);
    EXPECT_NEAR(left().Minimum(), lo - 2 * step, 1e-12);
    EXPECT_TRUE(bottom().Automatic());
    // The undo drag brings the automatic range back after the wheel too.
    Drag(Qt::LeftButton, {200, 150}, {100, 80});
    EXPECT_TRUE(AllAutomatic());
}

TEST_F(ChartZoomTest, ZoomNeverGoesBelowTheMinimumWidth)
{
    series().ClearPoints();
    test::Fill(series(), 0.0, 1e-9, 1e-11, [](double x) { return x; });
    Layout();
    Drag(Qt::LeftButton, {100, 80}, {120, 100});
    EXPECT_EQ(bottom().Maximum(), bottom().Minimum() + 1e-10);
    EXPECT_EQ(left().Maximum(), left().Minimum() + 1e-10);
}

TEST_F(ChartZoomTest, LaterPlotKeepsTheZoomedRangeUntilUndone)
{
    Drag(Qt::LeftButton, {100, 80}, {200, 150});
    const double lo = bottom().Minimum(), hi = bottom().Maximum();
    series().ClearPoints();
    test::Fill(series(), -50.0, 50.0, 1.0, [](double x) { return x * x; });
    Layout();
    EXPECT_EQ(shownBottom().RangeMin(), lo);
    EXPECT_EQ(shownBottom().RangeMax(), hi);

    Drag(Qt::LeftButton, {200, 150}, {100, 80});
    Layout();
    EXPECT_EQ(shownBottom().RangeMin(), -50.0);
    EXPECT_EQ(shownBottom().RangeMax(), 50.0);
    EXPECT_EQ(shownLeft().RangeMax(), 2500.0);
}

// With equal scales the units stay equal through a zoom into a wide
// rectangle (whose height is widened about its centre), a scroll, and the
// undo, which brings the automatic ranges back.
TEST_F(ChartZoomTest, EqualScalesHoldThroughZoomScrollAndUndo)
{
    series().ClearPoints();
    test::FillCircle(series(), 1, -3, 2);
    chart().SetEqualScales(true);
    const auto unitsAreEqual = [&] {
        Layout();
        const double across = shownBottom().RangeSpan() / shownBottom().PixelLength();
        return std::abs(across / (shownLeft().RangeSpan() / shownLeft().PixelLength()) - 1) < 1e-12;
    };
    EXPECT_TRUE(unitsAreEqual());
    const double x0 = shownBottom().PixelToValue(100), x1 = shownBottom().PixelToValue(300);
    const double yTop = shownLeft().PixelToValue(80), yBottom = shownLeft().PixelToValue(150);
    Drag(Qt::LeftButton, {100, 80}, {300, 150});
    EXPECT_TRUE(unitsAreEqual());
    EXPECT_EQ(shownBottom().RangeMin(), x0);
    EXPECT_EQ(shownBottom().RangeMax(), x1);
    EXPECT_LT(shownLeft().RangeMin(), yBottom);
    EXPECT_NEAR(shownLeft().RangeMin() + shownLeft().RangeMax(), yBottom + yTop, 1e-12);

    const int pixelOfOne = shownBottom().ValueToPixel(1.0);
    Drag(Qt::RightButton, {200, 150}, {150, 120});
    EXPECT_TRUE(unitsAreEqual());
    EXPECT_EQ(shownBottom().ValueToPixel(1.0), pixelOfOne - 50) << "the data follow the mouse";

    chart().UndoZoom();
    EXPECT_TRUE(unitsAreEqual());
    EXPECT_TRUE(AllAutomatic());
    EXPECT_EQ(shownLeft().RangeMin(), -5) << "the wide rectangle widens the bottom axis";
    EXPECT_LT(shownBottom().RangeMin(), -1);
}

TEST_F(ChartZoomTest, RubberRectangleInvertsItsOutlineUntilRelease)
{
    const QImage before = Layout();
    QTest::mousePress(&chart(), Qt::LeftButton, {}, {100, 100});
    QTest::mouseMove(&chart(), {160, 130});
    const QImage during = Layout();
    const auto inverted = [&](QPoint p) { return during.pixel(p) == (before.pixel(p) ^ 0x00FFFFFFu); };
    // Edges and corners once each; the inside stays as it was.
    for (const QPoint p : {QPoint(130, 100), QPoint(100, 100), QPoint(160, 130), QPoint(100, 115),
                           QPoint(160, 115), QPoint(130, 130)})
        EXPECT_TRUE(inverted(p)) << p.x() << "," << p.y();
    EXPECT_EQ(during.pixel(130, 115), before.pixel(130, 115));
    QTest::mouseRelease(&chart(), Qt::LeftButton, {}, {100, 100});
    EXPECT_EQ(Layout(), before);
}

} // namespace
} // namespace qrv
