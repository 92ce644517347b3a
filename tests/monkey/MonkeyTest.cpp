// The monkey in ctest: one fixed seed's run over the whole window, the
// repeatability a replay relies on, the shrinking of a failing list, and the
// checks that tell a complete file from a cut one.
#include "Monkey.h"
#include "MonkeyFiles.h"
#include "MonkeyShrink.h"

#include "QrvChart.h"
#include "QrvChartSetup.h"
#include "QrvExportFiles.h"
#include "QrvSeries.h"
#include "RowNames.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>

namespace qrv::monkey
{
namespace
{

constexpr std::uint64_t kFixedSeed = 22;

// Reports a failing run: the seed, the shortest failing list (replayed in
// fresh runs of this process) and what its events did.
std::string Report(std::uint64_t seed, const TMonkeyFailure& failure, const QString& folder)
{
    std::string lastProblem = failure.Problem;
    const auto fails = [&](const TEventList& events) {
        TMonkeyRun again(seed, folder);
        const auto result = again.Run(events);
        return result && result->Problem.substr(0, 20) == failure.Problem.substr(0, 20);
    };
    const TEventList shortest = ShrinkFailing(AllEvents(failure.Event + 1), fails, 60);
    TMonkeyRun replay(seed, folder);
    const auto result = replay.Run(shortest);
    std::string text = "seed " + std::to_string(seed) + ": " + failure.Problem + " after event " +
                       std::to_string(failure.Event) + "\nshortest failing list: " + DescribeList(shortest) +
                       "\n";
    for (const std::string& line : replay.Log())
        text += "  " + line + "\n";
    if (result) text += "replayed: " + result->Problem + "\n";
    return text;
}

TEST(Monkey, TwoThousandEventsOfAFixedSeedFindNoFault)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath("run");
    std::size_t plots = 0, errors = 0;
    std::optional<TMonkeyFailure> failure;
    {
        TMonkeyRun run(kFixedSeed, folder);
        failure = run.Run(AllEvents(2000));
        plots = run.Plots();
        errors = run.ErrorsShown();
    }
    if (failure) FAIL() << Report(kFixedSeed, *failure, folder);
    // The run reached the window's commands: plots, and errors shown.
    EXPECT_GT(plots, 40u);
    EXPECT_GT(errors, 20u);
}

TEST(Monkey, ASeedReplaysTheSameEventsAndAnEventDoesTheSameWithoutTheOthers)
{
    QTemporaryDir dir;
    auto logOf = [&](std::uint64_t seed, const TEventList& events) {
        TMonkeyRun run(seed, dir.filePath("run"));
        EXPECT_FALSE(run.Run(events));
        return run.Log();
    };
    const auto first = logOf(5, AllEvents(60));
    EXPECT_EQ(logOf(5, AllEvents(60)), first);
    EXPECT_NE(logOf(6, AllEvents(60)), first);
    // The first event alone does what it did at the start of the whole run.
    EXPECT_EQ(logOf(5, {0}).front(), first.front());
}

struct TShrinkCase {
    const char* Name;
    std::size_t Events;
    std::function<bool(const TEventList&)> Fails;
    TEventList Expected;
};

bool Has(const TEventList& events, std::size_t value)
{
    return std::find(events.begin(), events.end(), value) != events.end();
}

void PrintTo(const TShrinkCase& row, std::ostream* out)
{
    *out << row.Name;
}

class MonkeyShrinkCase : public ::testing::TestWithParam<TShrinkCase>
{
};

TEST_P(MonkeyShrinkCase, LeavesOnlyTheEventsTheFailureNeeds)
{
    const TShrinkCase& row = GetParam();
    std::size_t replays = 0;
    const TEventList shortest = ShrinkFailing(
        AllEvents(row.Events),
        [&](const TEventList& events) {
            ++replays;
            return row.Fails(events);
        },
        1000);
    EXPECT_EQ(shortest, row.Expected);
    EXPECT_TRUE(row.Fails(shortest));
    EXPECT_LT(replays, 400u);
}

INSTANTIATE_TEST_SUITE_P(
    Monkey, MonkeyShrinkCase,
    ::testing::Values(
        TShrinkCase{"OneEvent", 2000, [](const TEventList& e) { return Has(e, 1234); }, {1234}},
        TShrinkCase{
            "TwoFarApart", 2000, [](const TEventList& e) { return Has(e, 3) && Has(e, 1999); }, {3, 1999}},
        TShrinkCase{"ThreeInOrder",
                    500,
                    [](const TEventList& e) {
                        auto at = [&](std::size_t v) { return std::find(e.begin(), e.end(), v); };
                        return Has(e, 10) && Has(e, 20) && Has(e, 30) && at(10) < at(20) && at(20) < at(30);
                    },
                    {10, 20, 30}},
        TShrinkCase{"AnyFourOfAKind",
                    300,
                    [](const TEventList& e) {
                        return std::count_if(e.begin(), e.end(), [](std::size_t v) { return v % 50 == 7; }) >=
                               4;
                    },
                    {107, 157, 207, 257}},
        TShrinkCase{"TheLastAlone", 1, [](const TEventList& e) { return !e.empty(); }, {0}}),
    test::RowName{});

// --- files ------------------------------------------------------------------------

QByteArray ChartBytes(TExportKind kind)
{
    TChart chart;
    chart.resize(300, 200);
    TLineSeries& series = SetUpGraphChart(chart);
    for (int i = 0; i < 20; ++i)
        series.AddPoint(i, i * i);
    return ChartFileBytes(chart, kind);
}

QByteArray PngBytes()
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST(MonkeyFiles, WrittenFilesPassAndCutOrForeignOnesDoNot)
{
    const QString table = QStringLiteral("0.000   0.000\n1.000   1.000\n2.000   4.000");
    struct TRow {
        const char* name;
        QByteArray bytes;
    };
    const std::vector<TRow> files = {
        {"table", TableFileBytes(table)},
        {"csv", TableCsvBytes(table)},
        {"bitmap", ChartBytes(TExportKind::Bitmap)},
        {"metafile", ChartBytes(TExportKind::Metafile)},
        {"enhanced", ChartBytes(TExportKind::EnhMetafile)},
        {"png", PngBytes()},
    };
    for (const TRow& row : files) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SavedFileProblem(row.bytes, table), "");
        EXPECT_NE(SavedFileProblem(row.bytes.left(row.bytes.size() / 2), table), "") << "cut in half";
        EXPECT_NE(SavedFileProblem(row.bytes.chopped(1), table), "") << "last byte missing";
    }
    EXPECT_NE(SavedFileProblem(TableFileBytes(table), table + "\n3.000   9.000"), "") << "an older table";
    EXPECT_NE(SavedFileProblem(QByteArray(), table), "");
    EXPECT_EQ(SavedFileProblem(QByteArray(), QString()), "") << "the empty table";
    EXPECT_NE(SavedFileProblem("%PDF-1.4\n1 0 obj", table), "");
}

} // namespace
} // namespace qrv::monkey
