// The analysis samples a curve where the Plot run does: the same xs, and the
// same refusal of a step too small.
#include "QrvErrors.h"
#include "QrvPlotRun.h"
#include "QrvSampleGrid.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <vector>

namespace qrv
{
namespace
{

struct TXsTarget : TPlotTarget {
    void ClearPoints() override { Xs.clear(); }
    void AddPoint(double x, double) override { Xs.push_back(x); }
    std::vector<double> Xs;
};

struct TGridCase {
    const char* Name;
    const char* XMin;
    const char* XMax;
    const char* Step;
};

class SampleGrid : public ::testing::TestWithParam<TGridCase>
{
};

TEST_P(SampleGrid, IsThePlotRunsGrid)
{
    const TGridCase& c = GetParam();
    const TPlotFields fields{"x", c.XMin, c.XMax, c.Step};
    TXsTarget run;
    bool runRefused = false;
    try {
        RunPlot(fields, run);
    } catch (const TMathExpr&) {
        runRefused = true;
    }
    const TPlotRange range = ReadPlotRange(fields);
    std::vector<double> xs;
    bool gridRefused = false;
    try {
        xs = SampleXs(range.XMin, range.XMax, range.Step);
    } catch (const TMathExpr& e) {
        gridRefused = true;
        EXPECT_EQ(e.Message(), FormatMessage(Msg::StepTooSmall));
    }
    EXPECT_EQ(gridRefused, runRefused);
    if (!runRefused) {
        EXPECT_EQ(xs, run.Xs);
    }
}

const TGridCase kGridCases[] = {
    {"tenths", "0", "1", "0.1"},
    {"startup", "817", "2000", "20"},
    {"downwards", "1", "0", "-0.1"},
    {"short_of_x_max", "0", "1", "0.3"},
    {"creeping_sevenths", "0.1", "0.7", "0.1"},
    {"ten_thousand_steps", "0", "1", "0.0001"},
    {"one_point", "5", "5", "1"},
    {"step_lost_in_rounding", "1e15", "1.0000000000001e15", "0.01"},
    {"beyond_double_range", "1e308", "1.7e308", "1e305"},
};

INSTANTIATE_TEST_SUITE_P(Ranges, SampleGrid, ::testing::ValuesIn(kGridCases), test::RowName{});

} // namespace
} // namespace qrv
