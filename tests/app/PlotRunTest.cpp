// The Plot run without a window: the range conversion and its checks in
// their order, and the running sum of x.
#include "MessageOf.h"
#include "QrvErrors.h"
#include "QrvPlotRun.h"

#include <gtest/gtest.h>

#include <vector>

namespace qrv::test
{
namespace
{

// Records the points of a run.
class TRecorder : public TPlotTarget
{
public:
    void ClearPoints() override
    {
        ++Clears;
        X.clear();
    }
    void AddPoint(double x, double) override { X.push_back(x); }
    int Clears = 0;
    std::vector<double> X;
};

TEST(PlotRange, ChecksInOrder)
{
    struct Row {
        const char* name;
        TPlotFields fields;
        const char* message; // "" when the range passes
    };
    const Row rows[] = {
        {"greater before step size",
         {"x", "2000", "817", "0.0001"},
         "Initial value is greater than the final one"},
        {"smaller before step size",
         {"x", "817", "2000", "-0.0001"},
         "Initial value is smaller than the final one"},
        {"zero step, ascending", {"x", "1", "2", "0"}, "Step must be non zero"},
        {"zero step, descending", {"x", "2", "1", "0"}, "Step must be non zero"},
        {"zero step, equal ends", {"x", "1", "1", "0"}, "Step must be non zero"},
        {"negative zero step", {"x", "1", "1", "-0"}, "Step must be non zero"},
        {"exactly 10000 steps", {"x", "0", "10000", "1"}, ""},
        {"exactly 10000 steps downwards", {"x", "0", "-1", "-0.0001"}, ""},
        {"just over 10000 steps", {"x", "0", "10000.001", "1"}, "Too small absolute step value"},
        {"tiny step", {"x", "0", "1", "1E-300"}, "Too small absolute step value"},
        {"opposite huge ends", {"x", "-1.7E308", "1.7E308", "1E300"}, "Too small absolute step value"},
        {"equal ends, positive", {"x", "5", "5", "1"}, ""},
        {"equal ends, negative", {"x", "5", "5", "-1"}, ""},
        {"first bad field wins", {"x", "abc", "def", "0"}, "'abc' is not a valid floating point value"},
        {"second field", {"x", "1", "def", "0"}, "'def' is not a valid floating point value"},
        {"third field", {"x", "1", "2", " "}, "' ' is not a valid floating point value"},
        {"overflow before the next field", {"x", "1E400", "abc", "1"}, "Floating point overflow"},
        {"beyond Float", {"x", "1E5000", "1", "1"}, "'1E5000' is not a valid floating point value"},
        {"blanks ignored", {"x", " 1 ", "\t2", "1 "}, ""},
        {"exponent", {"x", "5.44E-4", "1", "0.5"}, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MessageOf([&] { ReadPlotRange(row.fields); }), row.message) << row.name;
}

TEST(PlotRun, ClearsBeforeReadingAnything)
{
    TRecorder target;
    target.X = {1, 2, 3};
    EXPECT_THROW(RunPlot({"x", "abc", "1", "1"}, target), EConvertError);
    EXPECT_EQ(target.Clears, 1);
    EXPECT_TRUE(target.X.empty());
}

TEST(PlotRun, XIsARunningSumInExtendedPrecision)
{
    TRecorder target;
    RunPlot({"x", "0", "1", "0.1"}, target);
    ASSERT_EQ(target.X.size(), 11u);
    // Ten additions of 0.1 stay just below 1, so the eleventh point is made.
    EXPECT_EQ(target.X.back(), 0.9999999999999999);
    EXPECT_LT(target.X.back(), 1.0);
}

TEST(PlotRun, StopsAtTheDoubleRangeEdge)
{
    // X min = X max = the largest double: one point; the next x would pass
    // the double range and ends the run instead of overflowing.
    TRecorder target;
    RunPlot({"1", "1.7976931348623157E308", "1.7976931348623157E308", "1E308"}, target);
    EXPECT_EQ(target.X.size(), 1u);
}

// Runs where adding Step does not move x as far as Step says: each ends,
// with at most 10 001 points, and says when X max cannot be reached.
TEST(PlotRun, EveryRunEnds)
{
    struct Row {
        const char* name;
        TPlotFields fields;
        std::size_t points;
        const char* message; // "" when the run ends without an error
    };
    const Row rows[] = {
        {"one-point range, step lost in x", {"x", "1", "1", "1E-17"}, 1, ""},
        {"one-point range, negative step lost in x", {"x", "1", "1", "-1E-17"}, 1, ""},
        {"one-point range at the largest double",
         {"x", "1.7976931348623157E308", "1.7976931348623157E308", "1"},
         1,
         ""},
        {"x stands still short of X max",
         {"x", "1E17", "1.00000000000001E17", "1"},
         1,
         "Too small absolute step value"},
        {"x stands still short of X max, downwards",
         {"x", "-1E17", "-1.00000000000001E17", "-1"},
         1,
         "Too small absolute step value"},
        // Near 2^53 the doubles are 2 apart: a step of 2.8 moves x by 2,
        // so 10 000 steps cover only part of the range.
        {"x creeps",
         {"x", "9007199254740992", "9007199254768000", "2.8"},
         10001,
         "Too small absolute step value"},
        {"10 000 whole steps", {"x", "0", "10000", "1"}, 10001, ""},
    };
    for (const Row& row : rows) {
        TRecorder target;
        EXPECT_EQ(MessageOf([&] { RunPlot(row.fields, target); }), row.message) << row.name;
        EXPECT_EQ(target.X.size(), row.points) << row.name;
    }
}

TEST(PlotRun, CompileErrorLeavesNoPoints)
{
    TRecorder target;
    EXPECT_THROW(RunPlot({"(x", "0", "1", "1"}, target), EQrvExprEvalError);
    EXPECT_TRUE(target.X.empty());
}

TEST(PlotRun, StartupFieldsFollowTheSeparator)
{
    EXPECT_EQ(StartupFields('.').Formula, "5.22 - 5.44E-4 * (x - 817)");
    EXPECT_EQ(StartupFields(',').Formula, "5,22 - 5,44E-4 * (x - 817)");
    TPlotFields start = StartupFields('.');
    EXPECT_EQ(start.XMin + "|" + start.XMax + "|" + start.Step, "817|2000|20");
}

} // namespace
} // namespace qrv::test
