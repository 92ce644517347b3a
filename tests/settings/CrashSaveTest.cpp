// Saving the settings file survives a crash: a helper process that saves the
// file at its exit is killed (SIGKILL) at random moments during the save, a
// hundred times however long that takes; every time the file must hold
// either the complete old or the complete new content.
#include "SettingsTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace qrv
{
namespace
{

using Clock = std::chrono::steady_clock;
using test::TTempSettings;

// A settings file of about a megabyte in long lines: cheap to parse, long to
// write, so that kills can land in the middle of the write.
std::string SettingsText(int color)
{
    const std::string padding(1000, '.');
    std::string text = "; Qurvia settings\n";
    for (int i = 0; i < 800; ++i)
        text += "; padding " + std::to_string(i) + padding + "\n";
    text += "[Appearance]\nElement_Color=" + std::to_string(color) + "\n\n[Other]\n";
    for (int i = 0; i < 200; ++i)
        text += "key" + std::to_string(i) + "=" + padding + "\n";
    return text;
}

// The helper, with its standard output on a pipe.
struct THelper {
    pid_t pid = -1;
    int output = -1;

    THelper(const std::string& file, int color)
    {
        int fds[2];
        if (pipe(fds) != 0) return;
        std::string program = QURVIA_SAVE_HELPER;
        std::string colorText = std::to_string(color);
        std::vector<char*> argv = {program.data(), const_cast<char*>(file.c_str()), colorText.data(),
                                   nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        output = fds[0];
    }
    ~THelper()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            Wait();
        }
        if (output >= 0) close(output);
    }

    // Blocks until the helper writes a line ("saving" before the save,
    // "saved" after it) or ends.
    void WaitForLine() const
    {
        char c = 0;
        while (c != '\n') {
            auto got = read(output, &c, 1);
            if (got == 0 || (got < 0 && errno != EINTR)) return;
        }
    }

    int Wait()
    {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        pid = -1;
        return status;
    }
};

// Leftover temporary files of killed saves.
void RemoveLeftovers(const QString& dir)
{
    for (const QString& name : QDir(dir).entryList(QDir::Files))
        if (name != QLatin1String("QURVIA.INI")) QFile::remove(QDir(dir).filePath(name));
}

TEST(CrashSave, KilledSaveLeavesOldOrNewFile)
{
    TTempSettings temp;
    const std::string file = temp.Path().toStdString();
    const std::string oldText = SettingsText(1);
    const std::string newText = SettingsText(2);

    // Calibrate: how long does an undisturbed save take?
    std::vector<double> durations;
    for (int i = 0; i < 5; ++i) {
        temp.WriteFile(oldText);
        THelper helper(file, 2);
        ASSERT_GT(helper.pid, 0);
        helper.WaitForLine();
        auto start = Clock::now();
        helper.WaitForLine();
        durations.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        int status = helper.Wait();
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ASSERT_EQ(temp.ReadFile(), newText) << "an undisturbed save writes the new content";
    }
    std::sort(durations.begin(), durations.end());
    const double typical = durations[durations.size() / 2];

    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> delay(0.0, typical * 1.2);
    // A count of kills, not a time: a busy machine takes longer, not fewer.
    constexpr int kKills = 100;
    int runs = 0, sawOld = 0, sawNew = 0;
    while (runs < kKills) {
        temp.WriteFile(oldText);
        {
            THelper helper(file, 2);
            ASSERT_GT(helper.pid, 0);
            helper.WaitForLine();
            std::this_thread::sleep_for(std::chrono::duration<double, std::micro>(delay(random)));
        } // killed here
        ++runs;
        const std::string text = temp.ReadFile();
        if (text == oldText)
            ++sawOld;
        else if (text == newText)
            ++sawNew;
        else
            FAIL() << "run " << runs << ": the file is neither the old nor the new content (" << text.size()
                   << " bytes)";
        RemoveLeftovers(temp.Dir());
    }
    std::cout << runs << " killed saves: " << sawOld << " old, " << sawNew << " new (a save takes about "
              << int(typical) << " us)\n";
    EXPECT_GT(sawOld, 0) << "no kill landed before the save ended";
}

} // namespace
} // namespace qrv
