// The program the recovery test kills: it edits a document step after step
// (RecoverySteps.h) with a recovery keeper that writes after every change,
// and prints the number of each step done, until it is killed.
//   qurvia_recovery_child RECOVERY-FILE SEED STEPS
#include "QrvRecoveryFile.h"
#include "RecoverySteps.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) return 2;
    qrv::TDocumentEditor editor;
    editor.SetFileName("/home/user/plots.qurvia");
    qrv::TRecoveryKeeper keeper(editor, argv[1], 0);
    std::mt19937 random(unsigned(std::strtoul(argv[2], nullptr, 10)));
    const int steps = std::atoi(argv[3]);
    for (int step = 0; step < steps; ++step) {
        qrv::test::RecoveryStep(editor, random, step);
        while (keeper.Pending())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        std::printf("%d\n", step);
        std::fflush(stdout);
    }
    // Ended without a kill: leave the last copy for the test to read, as a
    // crash would.
    std::quick_exit(0);
}
