// The command line writing an image over an existing one is killed at
// random moments, for every image type; after every kill the file is the
// complete old image or the complete new one. The test counts kills, not
// seconds: a busy machine makes it slower, never weaker.
#include "TempFolder.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#ifndef QURVIA_BINARY
#error "QURVIA_BINARY must name the built qurvia program"
#endif

extern char** environ;

namespace
{

namespace fs = std::filesystem;
using qrv::test::ReadWholeFile;

// Kills per image type, and the most runs tried to get them (a run that
// ends before its kill counts as a complete save, not as a kill).
constexpr int kKills = 12;
constexpr int kMaxRuns = 10 * kKills;

// A PDF carries the time it was made; two runs differ only there.
std::string Comparable(const std::string& bytes, const std::string& type)
{
    if (type != "pdf") return bytes;
    static const std::regex date(R"(\(D:[0-9+\-Z']*\))");
    return std::regex_replace(bytes, date, "(D:)");
}

pid_t Start(const std::vector<std::string>& args)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int Wait(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

std::vector<std::string> Command(const fs::path& target, const char* formula)
{
    return {QURVIA_BINARY, "--formula", formula,   "--xmin",       "0", "--xmax", "10",
            "--step",      "0.001",     "--image", target.string()};
}

class ImageCrash : public qrv::test::TTempFolderFixture, public testing::WithParamInterface<const char*>
{
};

TEST_P(ImageCrash, TargetIsAlwaysACompleteImage)
{
    const std::string type = GetParam();
#ifndef QURVIA_HAVE_SVG
    if (type == "svg") GTEST_SKIP() << "this build writes no .svg images (built without Qt SVG)";
#endif
    const fs::path oldRef = Dir / ("old." + type), newRef = Dir / ("new." + type);
    const fs::path target = Dir / ("result." + type);

    // The two versions, and how long an undisturbed run takes.
    ASSERT_EQ(Wait(Start(Command(oldRef, "sin(x)"))), 0);
    std::vector<long> micros;
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(Wait(Start(Command(newRef, "cos(x)*x"))), 0);
        micros.push_back(static_cast<long>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start)
                .count()));
    }
    std::sort(micros.begin(), micros.end());
    const std::string oldImage = ReadWholeFile(oldRef), newImage = Comparable(ReadWholeFile(newRef), type);
    ASSERT_FALSE(oldImage.empty());
    ASSERT_NE(Comparable(oldImage, type), newImage);

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    // Most of a run is the program's start; the later part of the range is
    // where the image is drawn and written.
    std::uniform_int_distribution<long> delay(micros[1] / 3, micros[1] * 11 / 10);
    // A run that ends before its kill (the machine got faster since the
    // calibration) makes the later delays shorter.
    double scale = 1.0;
    int kills = 0, runs = 0, sawOld = 0, sawNew = 0;
    while (kills < kKills && runs < kMaxRuns) {
        std::ofstream(target, std::ios::binary) << oldImage;
        const pid_t pid = Start(Command(target, "cos(x)*x"));
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long>(delay(random) * scale)));
        kill(pid, SIGKILL);
        const int status = Wait(pid);
        ++runs;
        if (WIFSIGNALED(status))
            ++kills;
        else
            scale *= 0.8;

        const std::string now = ReadWholeFile(target);
        if (now == oldImage)
            ++sawOld;
        else if (Comparable(now, type) == newImage)
            ++sawNew;
        else
            FAIL() << "after run " << runs << " the " << type << " file holds " << now.size()
                   << " bytes of neither version (seed " << seed << ")";
        // Temporary files a killed run may leave are cleared away.
        for (const auto& entry : fs::directory_iterator(Dir))
            if (entry.path() != target && entry.path() != oldRef && entry.path() != newRef)
                fs::remove(entry.path());
    }
    std::cout << type << ": " << kills << " kills in " << runs << " runs, old " << sawOld << " / new "
              << sawNew << ", a run takes " << micros[1] << " us, seed " << seed << '\n';
    EXPECT_EQ(kills, kKills) << "the runs ended before they could be killed";
}

INSTANTIATE_TEST_SUITE_P(CommandLine, ImageCrash, testing::Values("bmp", "wmf", "emf", "png", "pdf", "svg"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

} // namespace
