// When a run shows its progress and how it stops: TProgressTarget with a
// clock that advances by a fixed amount per reading, so every decision is
// counted in points, never in seconds; the terminal line; the expected
// number of points.
#include "QrvPlotProgress.h"
#include "QrvTerminalProgress.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace qrv::test
{
namespace
{

// Advances by Tick seconds at every reading.
class TTickingClock : public TRunClock
{
public:
    explicit TTickingClock(double tick) : Tick(tick) {}
    double Seconds() override { return Now += Tick; }
    double Tick;
    double Now = 0;
};

// Records the calls; asks to stop at the update that reports StopAt points.
class TRecordingView : public TProgressView
{
public:
    void Begin(std::size_t expected) override { Calls.push_back("begin " + std::to_string(expected)); }
    bool Update(std::size_t done) override
    {
        Calls.push_back("update " + std::to_string(done));
        return done < StopAt;
    }
    void End() noexcept override { Calls.push_back("end"); }

    std::vector<std::string> Calls;
    std::size_t StopAt = SIZE_MAX;
};

TPlotFields Fields(const char* formula, const char* xmin, const char* xmax, const char* step)
{
    return {formula, xmin, xmax, step};
}

struct TWatchCase {
    const char* Name;
    double Tick;          // clock seconds per reading
    TProgressTimes Times; // delay, interval
    std::size_t StopAt;
    std::vector<std::string> Calls;
    std::size_t Points; // in the table at the end
    bool Stopped;
};
void PrintTo(const TWatchCase& c, std::ostream* os)
{
    *os << c.Name;
}

class Watch : public testing::TestWithParam<TWatchCase>
{
};

TEST_P(Watch, ShowsAfterTheDelayAndStopsWhenAsked)
{
    const TWatchCase& c = GetParam();
    TTickingClock clock(c.Tick);
    TRecordingView view;
    view.StopAt = c.StopAt;
    TTableTarget table;
    bool stopped = false;
    // Ten points: x = 0 to 9.
    const TPlotFields fields = Fields("x", "0", "9", "1");
    try {
        RunPlotWatched(fields, table, &view, clock, c.Times);
    } catch (const EPlotStopped&) {
        stopped = true;
    }
    EXPECT_EQ(view.Calls, c.Calls);
    EXPECT_EQ(table.Table().LineCount(), c.Points);
    EXPECT_EQ(stopped, c.Stopped);
}

// The clock is read once when the run starts and once after each point.
INSTANTIATE_TEST_SUITE_P(
    Progress, Watch,
    testing::Values(TWatchCase{"short_run_shows_nothing", 0.001, {0.5, 0.05}, SIZE_MAX, {}, 10, false},
                    TWatchCase{"shows_once_the_delay_passed",
                               0.2,
                               {0.5, 0.05},
                               SIZE_MAX,
                               {"begin 10", "update 3", "update 4", "update 5", "update 6", "update 7",
                                "update 8", "update 9", "update 10", "end"},
                               10,
                               false},
                    TWatchCase{"updates_an_interval_apart",
                               0.2,
                               {0.5, 0.5},
                               SIZE_MAX,
                               {"begin 10", "update 3", "update 6", "update 9", "end"},
                               10,
                               false},
                    TWatchCase{"stop_keeps_the_points_so_far",
                               0.2,
                               {0.5, 0.05},
                               5,
                               {"begin 10", "update 3", "update 4", "update 5", "end"},
                               5,
                               true}),
    test::RowName{});

TEST(Progress, AnErrorPartWayEndsTheViewAndKeepsItsMessage)
{
    TTickingClock clock(1.0);
    TRecordingView view;
    TTableTarget table;
    try {
        RunPlotWatched(Fields("1/(x-5)", "0", "10", "1"), table, &view, clock, {0.5, 0.05});
        FAIL() << "no error";
    } catch (const EPlotStopped&) {
        FAIL() << "an error is not a stop";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Floating point division by zero");
    }
    EXPECT_EQ(table.Table().LineCount(), 5u);
    ASSERT_FALSE(view.Calls.empty());
    EXPECT_EQ(view.Calls.front(), "begin 11");
    EXPECT_EQ(view.Calls.back(), "end");
}

TEST(Progress, WithoutAViewTheRunIsPlain)
{
    TTickingClock clock(100.0);
    TTableTarget table;
    RunPlotWatched(Fields("x", "0", "9", "1"), table, nullptr, clock, {});
    EXPECT_EQ(table.Table().LineCount(), 10u);
    EXPECT_EQ(clock.Now, 0.0) << "no clock reading at all";
}

TEST(Progress, ExpectedPointsFollowTheRange)
{
    struct Row {
        const char* name;
        TPlotFields fields;
        std::size_t expected;
    };
    for (const Row& row : {Row{"startup", Fields("x", "817", "2000", "20"), 60},
                           Row{"most", Fields("x", "0", "10000", "1"), 10001},
                           Row{"downwards", Fields("x", "1", "0", "-0.25"), 5},
                           Row{"one_point", Fields("x", "3", "3", "1"), 1},
                           Row{"not_a_number", Fields("x", "abc", "1", "1"), 0},
                           Row{"too_many_steps", Fields("x", "0", "10001", "1"), 0},
                           Row{"zero_step", Fields("x", "0", "1", "0"), 0}})
        EXPECT_EQ(ExpectedPoints(row.fields), row.expected) << row.name;
}

TEST(Progress, TerminalLineIsRewrittenAndErasedAtTheEnd)
{
    std::ostringstream out;
    {
        TTerminalProgress line(out);
        line.Begin(10001);
        EXPECT_TRUE(line.Update(7));
        EXPECT_TRUE(line.Update(1234));
        line.End();
    }
    const std::string first = "Plotting: 7 of 10001 points";
    const std::string second = "Plotting: 1234 of 10001 points";
    EXPECT_EQ(out.str(), "\r" + first + "\r" + second + "\r" + std::string(second.size(), ' ') + "\r");
}

TEST(Progress, TextsCountThePoints)
{
    EXPECT_EQ(ProgressText(12, 0), "Plotting: 12 points");
    EXPECT_EQ(StoppedText(1234, 10001), "Plot stopped after 1234 of 10001 points.");
}

} // namespace
} // namespace qrv::test
