// The monkey over many seeds: each seed's run goes in a process of its own,
// so a crash or a hang ends only that run. A failing run is shrunk to the
// shortest list of its events that still fails the same way (each candidate
// replayed in a fresh process from the seed) and reported with its seed and
// what each remaining event did.
//
//   qurvia-monkey --seed 1 --seeds 100 --events 2000   many runs
//   qurvia-monkey --seed 7 --only 3,17,204             replays those events
#include "Monkey.h"

#include "QrvApplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

using namespace qrv::monkey;

namespace
{

struct TOptions {
    std::uint64_t Seed = 1;
    std::size_t Seeds = 1;
    std::size_t Events = 2000;
    std::optional<TEventList> Only;
    QString Folder;
    bool Child = false;
    bool Verbose = false;
};

TEventList ParseList(const std::string& text)
{
    TEventList events;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty()) events.push_back(std::stoul(item));
    return events;
}

std::string JoinList(const TEventList& events)
{
    std::string text;
    for (std::size_t i = 0; i < events.size(); ++i)
        text += (i ? "," : "") + std::to_string(events[i]);
    return text;
}

// A child's run: the events in this process, with a watchdog for an event
// that neither returns nor runs an event loop. The watchdog counts its own
// ticks; the run's events and timer ticks are its signs of life.
int RunChild(const TOptions& options)
{
    static std::atomic<std::size_t> life{0};
    static std::atomic<std::size_t> current{0};
    std::thread([] {
        std::size_t seen = life.load(), still = 0;
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            const std::size_t now = life.load();
            if (now != seen) {
                seen = now;
                still = 0;
            } else if (++still == std::size_t(kHangTicks)) {
                std::printf("LAST %zu\nFAILURE hang: event %zu did not return\n", current.load(),
                            current.load());
                std::fflush(stdout);
                std::_Exit(3);
            }
        }
    }).detach();
    QTimer lifeTicker;
    lifeTicker.setInterval(0);
    QObject::connect(&lifeTicker, &QTimer::timeout, [] { ++life; });
    lifeTicker.start();

    const TEventList events = options.Only ? *options.Only : AllEvents(options.Events);
    TMonkeyRun run(options.Seed, options.Folder);
    const bool child = options.Child;
    run.OnEvent = [child](std::size_t index) {
        ++life;
        current = index;
        // The last event begun, for the parent when this process dies.
        if (child) {
            std::printf("LAST %zu\n", index);
            std::fflush(stdout);
        }
    };
    const auto failure = run.Run(events);
    if (options.Verbose || failure)
        for (const std::string& line : run.Log())
            std::printf("  %s\n", line.c_str());
    std::printf("RUN seed %llu: %zu events, %zu plots, %zu errors shown, %zu restarts\n",
                static_cast<unsigned long long>(options.Seed), run.Log().size(), run.Plots(),
                run.ErrorsShown(), run.Restarts());
    if (failure) {
        std::printf("FAILURE %s (after event %zu)\n", failure->Problem.c_str(), failure->Event);
        std::fflush(stdout);
        return 1;
    }
    std::fflush(stdout);
    return 0;
}

struct TChildResult {
    int Status = 0; // exit code, or 128 + signal
    std::size_t Last = 0;
    std::string Failure; // the FAILURE line without its event number
    std::string Output;
};

TChildResult RunInChild(const TOptions& options, std::uint64_t seed, const std::optional<TEventList>& only,
                        const QString& folder, bool verbose = false)
{
    QStringList arguments = {"--child", "--seed", QString::number(seed), "--folder", folder};
    if (only)
        arguments << "--only" << QString::fromStdString(JoinList(*only));
    else
        arguments << "--events" << QString::number(options.Events);
    if (verbose) arguments << "--verbose";
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    child.waitForFinished(-1);
    TChildResult result;
    result.Output = child.readAllStandardOutput().toStdString();
    result.Status = child.exitStatus() == QProcess::CrashExit ? 128 + 6 : child.exitCode();
    std::stringstream lines(result.Output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("LAST ", 0) == 0) result.Last = std::stoul(line.substr(5));
        if (line.rfind("FAILURE ", 0) == 0) result.Failure = line.substr(8, line.find(" (after event") - 8);
    }
    if (result.Status != 0 && result.Failure.empty())
        result.Failure = "crash (status " + std::to_string(result.Status) + ")";
    return result;
}

// The kind of a failure, for "fails the same way": the problem up to its
// details (file names, point numbers).
std::string KindOf(const std::string& failure)
{
    const auto cut = failure.find_first_of(":0123456789'/");
    return failure.substr(0, cut);
}

int RunMany(const TOptions& options)
{
    QTemporaryDir scratch;
    std::size_t failures = 0, events = 0;
    for (std::size_t n = 0; n < options.Seeds; ++n) {
        const std::uint64_t seed = options.Seed + n;
        const QString folder = scratch.filePath(QString::number(seed));
        const TChildResult result = RunInChild(options, seed, std::nullopt, folder);
        if (result.Status == 0) {
            QDir(folder).removeRecursively();
            events += options.Events;
            std::stringstream lines(result.Output);
            std::string line;
            while (std::getline(lines, line))
                if (line.rfind("RUN ", 0) == 0) std::cout << line << '\n';
            std::cout.flush();
            continue;
        }
        ++failures;
        events += result.Last + 1;
        std::cout << "seed " << seed << " FAILED at event " << result.Last << ": " << result.Failure << '\n';
        const std::string kind = KindOf(result.Failure);
        std::size_t replays = 0;
        const TEventList shortest = ShrinkFailing(
            AllEvents(result.Last + 1),
            [&](const TEventList& candidate) {
                ++replays;
                const TChildResult again = RunInChild(options, seed, candidate, folder);
                return again.Status == result.Status && KindOf(again.Failure) == kind;
            },
            300);
        std::cout << "seed " << seed << " shortest failing list after " << replays
                  << " replays: " << DescribeList(shortest) << '\n'
                  << "replay: qurvia-monkey --seed " << seed << " --only " << JoinList(shortest) << '\n';
        const TChildResult last = RunInChild(options, seed, shortest, folder, true);
        std::stringstream lines(last.Output);
        std::string line;
        while (std::getline(lines, line))
            if (line.rfind("LAST ", 0) != 0) std::cout << line << '\n';
        std::cout.flush();
    }
    std::cout << "monkey: " << options.Seeds << " seeds, " << events << " events, " << failures
              << " failing\n";
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::cerr << "qurvia-monkey: " << arg << " needs a value\n";
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--seed")
            options.Seed = std::stoull(value());
        else if (arg == "--seeds")
            options.Seeds = std::stoul(value());
        else if (arg == "--events")
            options.Events = std::stoul(value());
        else if (arg == "--only")
            options.Only = ParseList(value());
        else if (arg == "--folder")
            options.Folder = QString::fromStdString(value());
        else if (arg == "--child")
            options.Child = true;
        else if (arg == "--verbose")
            options.Verbose = true;
        else {
            std::cerr << "usage: qurvia-monkey [--seed N] [--seeds COUNT] [--events COUNT] [--only I,J,...] "
                         "[--verbose]\n";
            return 2;
        }
    }
    qrv::TQurviaApplication app(argc, argv);
    if (options.Child || options.Only) {
        QTemporaryDir scratch;
        if (options.Folder.isEmpty()) options.Folder = scratch.filePath("run");
        return RunChild(options);
    }
    return RunMany(options);
}
