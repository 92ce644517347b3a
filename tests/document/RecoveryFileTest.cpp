// The recovery file: written a while after a change leaves unsaved work,
// removed when the document is saved or the program ends cleanly, found
// again after a crash, and whole whenever the program is killed.
#include "QrvDocumentFile.h"
#include "QrvFileWriter.h"
#include "QrvRecoveryFile.h"
#include "RecoverySteps.h"
#include "TempFolder.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace qrv
{
namespace
{

class RecoveryFile : public test::TTempFolderFixture
{
protected:
    // Lets the keeper's timer run out; counts turns of the event loop, so a
    // keeper that never writes fails rather than hangs.
    static void Settle(const TRecoveryKeeper& keeper)
    {
        for (int turn = 0; keeper.Pending() && turn < 1000; ++turn)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ASSERT_FALSE(keeper.Pending());
    }
};

TEST_F(RecoveryFile, KeeperWritesUnsavedWorkAndRemovesItWhenSaved)
{
    const std::string file = At("state/recovery-1.qurvia");
    TDocumentEditor editor;
    editor.SetFileName("/home/user/a b.qurvia");
    {
        TRecoveryKeeper keeper(editor, file, 0);
        TCurve curve;
        curve.Formula = "sin(x)";
        editor.AddCurve(0, curve);
        EXPECT_TRUE(keeper.Pending());
        Settle(keeper);
        TRecoveredDocument recovered = ReadRecoveryFile(file);
        EXPECT_EQ(recovered.Document, editor.Document());
        EXPECT_EQ(recovered.FileName, "/home/user/a b.qurvia");

        editor.SetClean(); // saved: nothing to recover
        EXPECT_FALSE(std::filesystem::exists(file));
        editor.UndoStack().undo(); // unsaved again
        Settle(keeper);
        EXPECT_EQ(ReadRecoveryFile(file).Document.Curves.size(), 0u);
    }
    EXPECT_FALSE(std::filesystem::exists(file)) << "a clean exit removes the copy";
}

TEST_F(RecoveryFile, OrphansAreTheFilesOfProgramsThatEnded)
{
    const pid_t ended = fork();
    if (ended == 0) _exit(0);
    ASSERT_GT(ended, 0);
    waitpid(ended, nullptr, 0);
    const std::string folder = Dir.string();
    for (const std::string& name : {RecoveryFileName(folder, getpid()), RecoveryFileName(folder, ended),
                                    At("recovery-12x.qurvia"), At("recovery-0.qurvia"), At("other.qurvia")})
        WriteWholeFile(name, "{}");
    EXPECT_EQ(OrphanedRecoveryFiles(folder), std::vector{RecoveryFileName(folder, ended)});

    setenv("XDG_STATE_HOME", "/x/state", 1);
    EXPECT_EQ(RecoveryFolder(), "/x/state/qurvia");
    setenv("XDG_STATE_HOME", "relative", 1); // not absolute: ignored, as the XDG rules say
    EXPECT_EQ(RecoveryFolder(), std::string(getenv("HOME")) + "/.local/state/qurvia");
    unsetenv("XDG_STATE_HOME");
}

// A program editing a document is killed at 100 seeded moments; what it
// leaves is either no copy or a whole one holding a state it reached.
TEST_F(RecoveryFile, KilledAtAnyMomentLeavesAStateTheUserReached)
{
    constexpr int kSteps = 60;
    int recovered = 0;
    for (unsigned seed = 1; seed <= 100; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::vector<TDocument> states;
        {
            TDocumentEditor editor;
            std::mt19937 random(seed);
            for (int step = 0; step < kSteps; ++step) {
                test::RecoveryStep(editor, random, step);
                states.push_back(editor.Document());
            }
        }
        const std::string file = At("recovery-" + std::to_string(seed) + ".qurvia");
        QProcess child;
        child.start(QRV_RECOVERY_CHILD,
                    {QString::fromStdString(file), QString::number(seed), QString::number(kSteps)});
        ASSERT_TRUE(child.waitForStarted(-1));
        const int killAfter = int(std::mt19937(seed * 7919u)() % kSteps);
        for (int lines = 0; lines < killAfter && child.state() == QProcess::Running;) {
            if (!child.canReadLine()) child.waitForReadyRead(-1);
            while (child.canReadLine()) {
                child.readLine();
                ++lines;
            }
        }
        child.kill();
        child.waitForFinished(-1);
        if (!std::filesystem::exists(file)) continue;
        const TDocument document = ReadRecoveryFile(file).Document;
        EXPECT_NE(std::find(states.begin(), states.end(), document), states.end());
        ++recovered;
    }
    EXPECT_GT(recovered, 50) << "most kills should find a copy to recover";
}

} // namespace
} // namespace qrv
