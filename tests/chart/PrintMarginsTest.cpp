// The arithmetic of chart printing and of dragging margins on the preview
// sheet: plain functions, tested without a window or a printer.
#include "QrvPreviewDrag.h"
#include "QrvPrintMargins.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <ostream>

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

namespace
{

// --- proportional margins --------------------------------------------------

struct ProportionalRow {
    const char* name;
    QSize chart;
    QSize page;
    int xDpi, yDpi;
    TPaperMargins expected;
};

class ProportionalMarginsTest : public ::testing::TestWithParam<ProportionalRow>
{
};

TEST_P(ProportionalMarginsTest, Margins)
{
    const ProportionalRow& row = GetParam();
    EXPECT_EQ(ProportionalMargins(row.chart, row.page, row.xDpi, row.yDpi), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProportionalMarginsTest,
    ::testing::Values(
        // 60 % of 3300 is 1980 wide, 1710.8 high: 32.9 % of the height
        // left, 16 % on each side.
        ProportionalRow{"WideChartLandscapeLetter", {353, 305}, {3300, 2550}, 300, 300, {15, 16, 15, 16}},
        ProportionalRow{"WideChartPortraitLetter", {353, 305}, {2550, 3300}, 300, 300, {15, 30, 15, 30}},
        ProportionalRow{"TallChartLandscapeLetter", {305, 353}, {3300, 2550}, 300, 300, {30, 15, 30, 15}},
        ProportionalRow{"SquareChartCountsAsTall", {300, 300}, {3300, 2550}, 300, 300, {27, 15, 27, 15}},
        // 11 x 8.5 inch at 600 x 300 dpi: the same paper as the first row,
        // so the same margins.
        ProportionalRow{"WideChartNonSquarePixels", {353, 305}, {6600, 2550}, 600, 300, {15, 16, 15, 16}},
        ProportionalRow{"TallChartNonSquarePixels", {305, 353}, {5100, 3300}, 600, 300, {16, 15, 16, 15}},
        ProportionalRow{"FlatChartLeavesSomePaper", {1000, 1}, {3300, 2550}, 300, 300, {15, 49, 15, 49}},
        ProportionalRow{"EmptyChartKeepsDefaults", {0, 0}, {3300, 2550}, 300, 300, {15, 15, 15, 15}},
        ProportionalRow{"NoPageKeepsDefaults", {353, 305}, {0, 0}, 300, 300, {15, 15, 15, 15}}),
    test::RowName{});

// --- print rectangle, detail, sheet -----------------------------------------

TEST(PrintRectTest, MarginsCutFromThePage)
{
    EXPECT_EQ(PrintRectFromMargins({15, 16, 15, 16}, {3300, 2550}, 300, 300),
              (TChartRect{495, 408, 2805, 2142}));
    EXPECT_EQ(PrintRectFromMargins({0, 0, 0, 0}, {7016, 4961}, 600, 600), (TChartRect{0, 0, 7016, 4961}));
    // 1 % of 3250 is 32.5: halves go to the even neighbour.
    EXPECT_EQ(PrintRectFromMargins({1, 0, 1, 0}, {3250, 100}, 300, 300), (TChartRect{32, 0, 3218, 100}));
}

TEST(DetailTest, LayoutSizeGrowsWithMoreDetail)
{
    EXPECT_EQ(DetailSize({353, 305}, 0), QSize(353, 305));
    EXPECT_EQ(DetailSize({353, 305}, -100), QSize(706, 610));
    EXPECT_EQ(DetailSize({353, 305}, -50), QSize(530, 458));
    EXPECT_EQ(DetailSize({353, 305}, 40), QSize(353, 305)) << "outside the range counts as its end";
    EXPECT_EQ(DetailSize({353, 305}, -300), QSize(706, 610));
}

TEST(DetailTest, TargetInLayoutUnits)
{
    EXPECT_EQ(ScaleToLogical({1000, 500, 3000, 1500}, {353, 305}), (TChartRect{177, 153, 530, 458}));
    EXPECT_EQ(ScaleToLogical({0, 0, 706, 610}, {706, 610}), (TChartRect{0, 0, 706, 610}));
    EXPECT_EQ(ScaleToLogical({10, 10, 10, 20}, {353, 305}), TChartRect{}) << "an empty target";
    EXPECT_EQ(Ordered({30, 40, 10, 20}), (TChartRect{10, 20, 30, 40}));
}

struct SheetRow {
    const char* name;
    QSize client;
    QSize page;
    TChartRect expected;
};

class SheetRectTest : public ::testing::TestWithParam<SheetRow>
{
};

TEST_P(SheetRectTest, Sheet)
{
    EXPECT_EQ(SheetRectFor(GetParam().client, GetParam().page), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SheetRectTest,
    ::testing::Values(SheetRow{"Landscape", {500, 400}, {3300, 2550}, {25, 26, 475, 374}},
                      SheetRow{"Portrait", {500, 400}, {2550, 3300}, {111, 20, 389, 380}},
                      SheetRow{"NoPageFillsTheHeight", {500, 400}, {0, 0}, {25, 0, 475, 400}}),
    test::RowName{});

TEST(SheetRectTest, MarginsInsetThePrintableRect)
{
    const TChartRect sheet{25, 26, 475, 374};
    EXPECT_EQ(PrintableRectFor(sheet, {15, 16, 15, 16}), (TChartRect{93, 82, 407, 318}));
    EXPECT_EQ(PrintableRectFor(sheet, {0, 0, 0, 0}), sheet);
}

TEST(SheetRectTest, MarginsFromADraggedRect)
{
    const TChartRect sheet{25, 26, 475, 374};
    EXPECT_EQ(MarginsFromPrintableRect(sheet, {93, 82, 407, 318}), (TPaperMargins{15, 16, 15, 16}));
    EXPECT_EQ(MarginsFromPrintableRect(sheet, sheet), (TPaperMargins{0, 0, 0, 0}));
    // A 1-pixel rectangle in the middle of a 200-pixel sheet would round to
    // 50 % on both sides; some paper must remain.
    const TPaperMargins m = MarginsFromPrintableRect({0, 0, 200, 200}, {99, 99, 100, 100});
    EXPECT_EQ(m, (TPaperMargins{50, 50, 49, 49}));
    EXPECT_TRUE(MarginPairAllowed(m.Left, m.Right));
}

TEST(MarginEntryTest, OppositeMarginsMustLeavePaper)
{
    EXPECT_TRUE(MarginPairAllowed(59, 40));
    EXPECT_FALSE(MarginPairAllowed(60, 40)) << "exactly 100 % is refused";
    EXPECT_FALSE(MarginPairAllowed(100, 0));
    EXPECT_TRUE(MarginPairAllowed(0, 99));
}

// --- drag zones ---------------------------------------------------------------

const TChartRect kRect{100, 100, 300, 200};
const TChartRect kPaper{0, 0, 400, 300};

struct ZoneRow {
    const char* name;
    QPoint mouse;
    bool resizable, movable;
    TDragZone expected;
};

class DragZoneTest : public ::testing::TestWithParam<ZoneRow>
{
};

TEST_P(DragZoneTest, Zone)
{
    const ZoneRow& row = GetParam();
    EXPECT_EQ(DragZoneAt(row.mouse, kRect, row.resizable, row.movable), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DragZoneTest,
    ::testing::Values(ZoneRow{"TopLeftCorner", {100, 100}, true, true, TDragZone::TopLeft},
                      ZoneRow{"BottomLeftCorner", {96, 204}, true, true, TDragZone::BottomLeft},
                      ZoneRow{"TopRightCorner", {304, 96}, true, true, TDragZone::TopRight},
                      ZoneRow{"BottomRightCorner", {300, 200}, true, true, TDragZone::BottomRight},
                      ZoneRow{"LeftEdge", {100, 150}, true, true, TDragZone::Left},
                      ZoneRow{"FourPixelsInsideIsStillTheEdge", {104, 150}, true, true, TDragZone::Left},
                      ZoneRow{"FivePixelsOutsideIsNothing", {95, 150}, true, true, TDragZone::None},
                      ZoneRow{"FivePixelsInsideIsTheMove", {105, 150}, true, true, TDragZone::Move},
                      ZoneRow{"LeftLineAboveTheRect", {100, 20}, true, true, TDragZone::Left},
                      ZoneRow{"RightEdge", {300, 150}, true, true, TDragZone::Right},
                      ZoneRow{"TopEdge", {200, 100}, true, true, TDragZone::Top},
                      ZoneRow{"BottomEdge", {200, 204}, true, true, TDragZone::Bottom},
                      ZoneRow{"Inside", {200, 150}, true, true, TDragZone::Move},
                      ZoneRow{"InsideNotMovable", {200, 150}, true, false, TDragZone::None},
                      ZoneRow{"EdgeNotResizable", {100, 150}, false, true, TDragZone::None},
                      ZoneRow{"InsideNotResizable", {200, 150}, false, true, TDragZone::None},
                      ZoneRow{"Outside", {50, 50}, true, true, TDragZone::None}),
    test::RowName{});

TEST(DragZoneTest, CursorsShowTheDirection)
{
    EXPECT_EQ(CursorForZone(TDragZone::None), Qt::ArrowCursor);
    EXPECT_EQ(CursorForZone(TDragZone::Left), CursorForZone(TDragZone::Right));
    EXPECT_EQ(CursorForZone(TDragZone::Top), CursorForZone(TDragZone::Bottom));
    EXPECT_EQ(CursorForZone(TDragZone::TopLeft), CursorForZone(TDragZone::BottomRight));
    EXPECT_EQ(CursorForZone(TDragZone::TopRight), CursorForZone(TDragZone::BottomLeft));
    EXPECT_NE(CursorForZone(TDragZone::TopLeft), CursorForZone(TDragZone::TopRight));
}

// --- drag rules ---------------------------------------------------------------

struct DragRow {
    const char* name;
    TDragZone zone;
    QPoint mouse;
    TChartRect expected;
};

class DragRectTest : public ::testing::TestWithParam<DragRow>
{
};

TEST_P(DragRectTest, Rect)
{
    const DragRow& row = GetParam();
    // A move starts in the middle of the rectangle.
    const TDragStart start{{200, 150}, kRect};
    EXPECT_EQ(DragRect(row.zone, kRect, kPaper, row.mouse, start), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DragRectTest,
    ::testing::Values(DragRow{"LeftFollows", TDragZone::Left, {50, 7}, {50, 100, 300, 200}},
                      DragRow{"LeftOntoPaperEdge", TDragZone::Left, {0, 7}, {0, 100, 300, 200}},
                      DragRow{"LeftOffPaper", TDragZone::Left, {-1, 7}, kRect},
                      DragRow{"LeftOntoRight", TDragZone::Left, {300, 7}, kRect},
                      DragRow{"RightOntoPaperEdge", TDragZone::Right, {400, 7}, {100, 100, 400, 200}},
                      DragRow{"RightOffPaper", TDragZone::Right, {401, 7}, kRect},
                      DragRow{"RightOntoLeft", TDragZone::Right, {100, 7}, kRect},
                      DragRow{"TopFollows", TDragZone::Top, {7, 0}, {100, 0, 300, 200}},
                      DragRow{"TopOntoBottom", TDragZone::Top, {7, 200}, kRect},
                      DragRow{"BottomFollows", TDragZone::Bottom, {7, 300}, {100, 100, 300, 300}},
                      DragRow{"BottomOntoTop", TDragZone::Bottom, {7, 100}, kRect},
                      DragRow{"TopLeftBoth", TDragZone::TopLeft, {50, 50}, {50, 50, 300, 200}},
                      DragRow{"TopLeftOneEdgeRefused", TDragZone::TopLeft, {50, 250}, kRect},
                      DragRow{"TopRightBoth", TDragZone::TopRight, {350, 50}, {100, 50, 350, 200}},
                      DragRow{"BottomLeftBoth", TDragZone::BottomLeft, {50, 250}, {50, 100, 300, 250}},
                      DragRow{"BottomRightBoth", TDragZone::BottomRight, {350, 250}, {100, 100, 350, 250}},
                      DragRow{"BottomRightOffPaper", TDragZone::BottomRight, {350, 301}, kRect},
                      DragRow{"MoveShifts", TDragZone::Move, {250, 200}, {150, 150, 350, 250}},
                      DragRow{"MoveOntoRightEdge", TDragZone::Move, {300, 150}, {200, 100, 400, 200}},
                      DragRow{"MoveOffRight", TDragZone::Move, {301, 150}, kRect},
                      DragRow{"MoveOffTop", TDragZone::Move, {200, 49}, kRect},
                      DragRow{"MoveOffLeft", TDragZone::Move, {99, 150}, kRect},
                      DragRow{"NoZoneNoChange", TDragZone::None, {10, 10}, kRect}),
    test::RowName{});

TEST(DragRectTest, MoveCountsFromTheStartNotTheLastStep)
{
    const TDragStart start{{200, 150}, kRect};
    TChartRect r = DragRect(TDragZone::Move, kRect, kPaper, {210, 150}, start);
    r = DragRect(TDragZone::Move, r, kPaper, {220, 150}, start);
    EXPECT_EQ(r, (TChartRect{120, 100, 320, 200}));
}

} // namespace
} // namespace qrv
