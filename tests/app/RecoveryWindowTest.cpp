// The window's side of the recovery file: the copy a program left when it
// ended without closing is offered once and restored with its changes
// unsaved; the window keeps a copy of its own only of documents whose
// closing would ask first.
#include "MainWindowFixture.h"
#include "QrvDocumentSession.h"
#include "QrvFileWriter.h"
#include "QrvRecoveryFile.h"
#include "QrvRecoveryOffer.h"

#include <QTemporaryDir>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace qrv
{
namespace
{

class RecoveryWindow : public test::TMainWindowFixture
{
protected:
    // A copy left by a program that has ended: two curves of "plots.qurvia".
    std::string LeaveCopy()
    {
        const pid_t ended = fork();
        if (ended == 0) _exit(0);
        waitpid(ended, nullptr, 0);
        TDocument document;
        for (const char* formula : {"x*2", "sin(x)"}) {
            TCurve curve;
            curve.Formula = formula;
            curve.XMin = "0";
            curve.XMax = "10";
            curve.Step = "1";
            document.Curves.push_back(curve);
        }
        left = document;
        const std::string copy = RecoveryFileName(Folder(), ended);
        WriteWholeFile(copy, RecoveryJson(document, "/home/user/plots.qurvia"));
        return copy;
    }
    std::string Folder() const { return folder.path().toStdString(); }

    QTemporaryDir folder;
    TDocument left;
};

TEST_F(RecoveryWindow, OffersTheCopyOfAProgramThatEndedOnce)
{
    struct Row {
        const char* Name;
        TModalResult Answer;
        bool Restored;
    };
    for (const Row& r :
         {Row{"no declines", TModalResult::mrNo, false}, Row{"yes restores", TModalResult::mrYes, true}}) {
        SCOPED_TRACE(r.Name);
        const std::string copy = LeaveCopy();
        Dialogs.Messages.clear();
        Dialogs.Answers = {r.Answer};
        EXPECT_EQ(OfferRecovery(*Window->Session, Folder()), r.Restored);
        ASSERT_EQ(Dialogs.Messages.size(), 1u);
        EXPECT_NE(Dialogs.Messages[0].text.find("plots.qurvia"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(copy)) << "a copy is offered once";
        EXPECT_EQ(Window->Session->CurveCount(), r.Restored ? 2 : 1);
        if (r.Restored) {
            EXPECT_EQ(Window->Session->Document().Curves, left.Curves);
            EXPECT_EQ(Window->Session->Editor().FileName(), "/home/user/plots.qurvia");
            EXPECT_FALSE(Window->Session->Editor().IsClean()) << "restored changes are still unsaved";
            EXPECT_EQ(Window->windowTitle().toStdString().rfind("plots.qurvia*", 0), 0u);
        }
    }
    Dialogs.Messages.clear();
    EXPECT_FALSE(OfferRecovery(*Window->Session, Folder()));
    EXPECT_TRUE(Dialogs.Messages.empty()) << "nothing left to offer";
}

TEST_F(RecoveryWindow, KeepsOnlyDocumentsWhoseClosingWouldAsk)
{
    const std::string own = RecoveryFileName(Folder(), getpid());
    {
        const std::unique_ptr<TRecoveryKeeper> keeper = KeepRecovery(*Window->Session, Folder());
        Window->SetFields({"x*2", "0", "10", "1"});
        Window->PlotSpdBtnClick(); // a single unnamed curve: closing would not ask
        keeper->WriteNow();
        EXPECT_FALSE(std::filesystem::exists(own));
        Window->KeepCurve1Click(); // a second curve: now it would
        keeper->WriteNow();
        ASSERT_TRUE(std::filesystem::exists(own));
        EXPECT_EQ(ReadRecoveryFile(own).Document, Window->Session->Document());
    }
    EXPECT_FALSE(std::filesystem::exists(own)) << "a clean exit removes the copy";
}

} // namespace
} // namespace qrv
