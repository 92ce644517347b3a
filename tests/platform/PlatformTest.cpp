// Installing platforms: each installation is undone by its scope, in any
// nesting and also when an exception leaves a test; the Qt platform's error
// display reaches the installed message box; and its windows put the
// floating-point environment back when they close.
#include "QrvErrors.h"
#include "QrvFpu.h"
#include "QrvPlatform.h"
#include "QrvTestPlatform.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <fpu_control.h>
#include <gtest/gtest.h>

#include <functional>

#include <stdexcept>
#include <string>
#include <vector>

namespace qrv::test
{
namespace
{

// Records message boxes, answers OK.
class TMessageRecorder : public TPlatformDouble
{
public:
    TModalResult ShowMessage(const TMessageRequest& request) override
    {
        Messages.push_back(request);
        return TModalResult::mrOk;
    }
    std::vector<TMessageRequest> Messages;
};

TEST(PlatformScope, NestedDoublesComeOffInReverseOrder)
{
    TPlatform* const outside = &Platform();
    {
        TMessageRecorder outer;
        EXPECT_EQ(&Platform(), &outer);
        {
            TModalAnswer inner([](QDialog&) { return 7; });
            EXPECT_EQ(&Platform(), &inner);
            QDialog dialog;
            EXPECT_EQ(Platform().RunModal(dialog), 7);
            // What the inner double does not answer passes to the outer one.
            Platform().ShowMessage({"c", "passed on", TMsgDlgType::mtInformation, mbOK});
            ASSERT_EQ(outer.Messages.size(), 1u);
            EXPECT_EQ(outer.Messages[0].text, "passed on");
        }
        EXPECT_EQ(&Platform(), &outer);
    }
    EXPECT_EQ(&Platform(), outside);
}

TEST(PlatformScope, AnExceptionLeavingTheScopeRestoresThePrevious)
{
    TPlatform* const outside = &Platform();
    try {
        TMessageRecorder recorder;
        throw std::runtime_error("test failed midway");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(&Platform(), outside);
}

TEST(QtPlatformErrorDisplay, ShowsTheMessageThroughTheInstalledMessageBox)
{
    struct Row {
        const char* name;
        std::exception_ptr error;
        const char* shown; // nullptr: nothing shown
    };
    const Row rows[] = {
        {"own_exception_gets_a_dot", std::make_exception_ptr(EConvertError("abc")),
         "'abc' is not a valid floating point value."},
        {"ends_in_a_dot_already", std::make_exception_ptr(std::runtime_error("Done.")), "Done."},
        {"standard_exception", std::make_exception_ptr(std::runtime_error("disk full")), "disk full."},
        {"unknown_error", std::make_exception_ptr(42), "Unknown error."},
        {"silent_abort", std::make_exception_ptr(EAbort()), nullptr},
    };
    TQtPlatform qt;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TMessageRecorder recorder;
        qt.ShowError(nullptr, row.error);
        if (!row.shown) {
            EXPECT_TRUE(recorder.Messages.empty());
            continue;
        }
        ASSERT_EQ(recorder.Messages.size(), 1u);
        EXPECT_EQ(recorder.Messages[0].text, row.shown);
        EXPECT_EQ(recorder.Messages[0].type, TMsgDlgType::mtError);
        EXPECT_EQ(recorder.Messages[0].buttons, mbOK);
    }
}

// While the next window is open, changes the control word as a library
// running inside it might (double precision, overflow unmasked), then
// closes the window.
void UpsetFloatEnvironmentInTheNextWindow()
{
    QTimer::singleShot(0, [] {
        fpu_control_t word = (_FPU_DEFAULT & ~_FPU_EXTENDED & ~_FPU_MASK_OM) | _FPU_DOUBLE;
        _FPU_SETCW(word);
        if (QWidget* window = QApplication::activeModalWidget()) window->close();
    });
}

TEST(QtPlatformWindows, PutTheFloatEnvironmentBackWhenTheyClose)
{
    struct Row {
        const char* name;
        std::function<void(TQtPlatform&)> open;
    };
    const Row rows[] = {
        {"modal window",
         [](TQtPlatform& qt) {
             QDialog dialog;
             qt.RunModal(dialog);
         }},
        {"message box",
         [](TQtPlatform& qt) {
             qt.ShowMessage({"c", "text", TMsgDlgType::mtError, mbOK});
         }},
        {"colour dialog", [](TQtPlatform& qt) { qt.ChooseColor(0); }},
        {"PDF file dialog", [](TQtPlatform& qt) { qt.ChoosePdfFile(nullptr, "report.pdf"); }},
    };
    TQtPlatform qt;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        InitFloatEnvironment();
        UpsetFloatEnvironmentInTheNextWindow();
        row.open(qt);
        EXPECT_TRUE(FloatEnvironmentIsDefault());
    }
    InitFloatEnvironment();
}

} // namespace
} // namespace qrv::test
