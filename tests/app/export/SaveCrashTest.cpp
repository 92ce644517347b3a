// Kills a process that keeps saving a large table (and a chart picture)
// over one file at random moments; after every kill the file must be the
// complete old or the complete new version, never a mixture or a stub.
#include "TempFolder.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using qrv::test::ReadWholeFile;

// A child process whose standard output the test reads.
struct TChild {
    pid_t Pid = -1;
    int Output = -1;
};

TChild Spawn(const std::vector<std::string>& args)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    TChild child;
    if (posix_spawn(&child.Pid, args[0].c_str(), &actions, nullptr, argv.data(), environ) != 0)
        child.Pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    child.Output = pipeFds[0];
    return child;
}

std::string ReadAllOutput(int fd)
{
    std::string out;
    char buffer[256];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(n));
    return out;
}

// A count of kills, not a time budget: on a busy machine the test takes
// longer, it does not kill less.
struct TCrashRun {
    const char* Kind;
    int Kills;
};

void PrintTo(const TCrashRun& run, std::ostream* os)
{
    *os << run.Kind;
}

class SaveCrash : public qrv::test::TTempFolderFixture, public testing::WithParamInterface<TCrashRun>
{
};

TEST_P(SaveCrash, TargetIsAlwaysACompleteVersion)
{
    const TCrashRun& run = GetParam();
    const std::string child = run.Kind == std::string("text") ? EXPORT_SAVE_CHILD_TEXT : EXPORT_SAVE_CHILD;

    // The two versions the child alternates between, and how long a save takes.
    const fs::path refA = Dir / "a.ref", refB = Dir / "b.ref";
    TChild reference = Spawn({child, "reference", run.Kind, refA.string(), refB.string()});
    ASSERT_GT(reference.Pid, 0);
    const std::string timing = ReadAllOutput(reference.Output);
    close(reference.Output);
    int status = 0;
    waitpid(reference.Pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "reference run failed";
    const std::string versionA = ReadWholeFile(refA), versionB = ReadWholeFile(refB);
    ASSERT_FALSE(versionA.empty());
    ASSERT_FALSE(versionB.empty());
    ASSERT_NE(versionA, versionB);
    const long saveMicros = std::max(100L, std::stol(timing));

    const fs::path target =
        Dir / (std::string("result.") + (run.Kind == std::string("text") ? "txt" : "bmp"));
    std::ofstream(target, std::ios::binary) << versionA;

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    // Kills land anywhere within the first two saves after the child is ready.
    std::uniform_int_distribution<long> delay(0, 2 * saveMicros);
    int kills = 0, interrupted = 0, sawA = 0, sawB = 0;
    const auto start = Clock::now();
    while (kills < run.Kills) {
        TChild saver = Spawn({child, "loop", run.Kind, target.string()});
        ASSERT_GT(saver.Pid, 0);
        char ready = 0;
        const bool started = read(saver.Output, &ready, 1) == 1 && ready == 'R';
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(saver.Pid, SIGKILL);
        waitpid(saver.Pid, &status, 0);
        // The child marks the start and the end of every save: a start
        // without its end means the kill came in the middle of a save.
        const std::string marks = ReadAllOutput(saver.Output);
        close(saver.Output);
        if (!marks.empty() && marks.back() == 's') ++interrupted;
        ASSERT_TRUE(started) << "the saving process did not start";
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended by itself";
        ++kills;

        const std::string now = ReadWholeFile(target);
        ASSERT_TRUE(now == versionA || now == versionB)
            << "after kill " << kills << " the file holds " << now.size()
            << " bytes of neither version (seed " << seed << ")";
        (now == versionA ? sawA : sawB)++;
        // Temporary files a killed save may leave behind are cleared away.
        for (const auto& entry : fs::directory_iterator(Dir))
            if (entry.path() != target && entry.path() != refA && entry.path() != refB)
                fs::remove(entry.path());
    }
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    std::cout << run.Kind << ": " << kills << " kills in " << took.count() << " ms, " << interrupted
              << " in the middle of a save, old " << sawA << " / new " << sawB << ", save " << saveMicros
              << " us, seed " << seed << '\n';
    EXPECT_GE(interrupted, kills / 4) << "too few kills interrupted a save";
}

INSTANTIATE_TEST_SUITE_P(Export, SaveCrash, testing::Values(TCrashRun{"text", 100}, TCrashRun{"bitmap", 40}),
                         [](const testing::TestParamInfo<TCrashRun>& info) {
                             return std::string(info.param.Kind);
                         });

} // namespace
