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
#include "m_grf_w.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>

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

QByteArray ChartBytes(TExportKind kind);

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

// Runs in which the sanitizers once found undefined behaviour (the trace
// marked far off a deeply zoomed axis, axis labels there): they must stay
// clean, which the asan-window build checks.
TEST(Monkey, RunsTheSanitizersFlaggedStayClean)
{
    const struct {
        std::uint64_t seed;
        std::size_t events;
    } rows[] = {{5000, 119}, {5002, 178}};
    QTemporaryDir dir;
    for (const auto& row : rows) {
        TMonkeyRun run(row.seed, dir.filePath("run"));
        const auto failure = run.Run(AllEvents(row.events));
        EXPECT_FALSE(failure) << row.seed << ": " << (failure ? failure->Problem : "");
    }
}

TEST(Monkey, ASeedReplaysTheSameEventsAndAnEventDoesTheSameWithoutTheOthers)
{
    QTemporaryDir dir;
    auto logOf = [&](std::uint64_t seed, const TEventList& events) {
        TMonkeyRun run(seed, dir.filePath("run"));
        const auto failure = run.Run(events);
        EXPECT_FALSE(failure) << seed << ": " << (failure ? failure->Problem : "");
        return run.Log();
    };
    const auto first = logOf(5, AllEvents(60));
    EXPECT_EQ(logOf(5, AllEvents(60)), first);
    EXPECT_NE(logOf(6, AllEvents(60)), first);
    // The first event alone does what it did at the start of the whole run.
    EXPECT_EQ(logOf(5, {0}).front(), first.front());
}

// Faults planted in the window, each set off by an edit of the formula:
// the run must find each, and shrink its run to the one or two events that
// set it off.
struct TPlantedFault {
    const char* Name;
    std::function<void(TF_Main_GRF&, const QString& folder)> Plant;
    const char* Problem; // the start of what the run reports
};

void PrintTo(const TPlantedFault& row, std::ostream* out)
{
    *out << row.Name;
}

class MonkeyPlantedFault : public ::testing::TestWithParam<TPlantedFault>
{
};

TEST_P(MonkeyPlantedFault, IsFoundAndShrunkToTheEventThatSetsItOff)
{
    const TPlantedFault& row = GetParam();
    QTemporaryDir dir;
    auto run = [&](const TEventList& events) {
        TMonkeyRun monkey(3, dir.filePath("run"));
        monkey.OnWindow = row.Plant;
        return monkey.Run(events);
    };
    const auto failure = run(AllEvents(1000));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Problem.substr(0, std::string(row.Problem).size()), row.Problem) << failure->Problem;
    const TEventList shortest = ShrinkFailing(AllEvents(failure->Event + 1), [&](const TEventList& events) {
        const auto again = run(events);
        return again && again->Problem.rfind(row.Problem, 0) == 0;
    });
    EXPECT_LE(shortest.size(), 2u) << DescribeList(shortest);
}

INSTANTIATE_TEST_SUITE_P(
    Monkey, MonkeyPlantedFault,
    ::testing::Values(TPlantedFault{"ChartPointWithoutAPlot",
                                    [](TF_Main_GRF& w, const QString&) {
                                        QObject::connect(w.Edit1, &QLineEdit::textEdited,
                                                         [&w] { w.Series1->AddPoint(1, 1); });
                                    },
                                    "the chart's points changed"},
                      TPlantedFault{"HalfWrittenFile",
                                    [](TF_Main_GRF& w, const QString& folder) {
                                        QObject::connect(w.Edit1, &QLineEdit::textEdited, [folder] {
                                            QFile file(folder + "/planted.bmp");
                                            if (file.open(QIODevice::WriteOnly))
                                                file.write(ChartBytes(TExportKind::Bitmap).left(99));
                                        });
                                    },
                                    "a file written incomplete"},
                      TPlantedFault{"ModalWindowOutsideThePlatform",
                                    [](TF_Main_GRF& w, const QString&) {
                                        QObject::connect(w.Edit1, &QLineEdit::textEdited, [&w] {
                                            QMessageBox box(&w);
                                            box.setText(QStringLiteral("planted"));
                                            box.exec();
                                        });
                                    },
                                    "a modal window ran outside the platform"},
                      TPlantedFault{"NoModeMarked",
                                    [](TF_Main_GRF& w, const QString&) {
                                        QObject::connect(w.Edit1, &QLineEdit::textEdited, [&w] {
                                            w.ModeGroup->setExclusive(false);
                                            for (QAction* mode : {w.Radians1, w.Degrees1, w.Grads1})
                                                mode->setChecked(false);
                                        });
                                    },
                                    "the Mode menu has 0"}),
    test::RowName{});

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
