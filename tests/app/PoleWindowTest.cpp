// "Break the line at poles" in the window: the View menu toggle, the breaks
// in the chart's series, the axis scaled to the finite curve, and the table
// that keeps every point.
#include "ChartProbe.h"
#include "QrvOptionDialog.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"
#include "QrvTableView.h"
#include "QrvViewSettings.h"
#include "RecordingDialogs.h"
#include "m_grf_w.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace qrv::test
{
namespace
{

class PoleWindow : public testing::Test
{
protected:
    void SetUp() override { Break_At_Poles = kBreakAtPolesKey.Default; }
    void TearDown() override { Break_At_Poles = kBreakAtPolesKey.Default; }
    void PlotReciprocal()
    {
        Window.SetFields({"1/x", "-5", "5", "0.1"});
        Window.PlotSpdBtnClick();
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
        RepaintChart(Window);
    }

    TRecordingDialogs Dialogs;
    TF_Main_GRF Window;
};

TEST_F(PoleWindow, StartsOffAndTogglesFromTheViewMenu)
{
    EXPECT_EQ(Window.BreakAtPoles1->text().remove('&'), QStringLiteral("Break the line at poles"));
    EXPECT_TRUE(Window.BreakAtPoles1->isCheckable());
    EXPECT_FALSE(Window.BreakAtPoles1->isChecked());
    Window.BreakAtPoles1->trigger();
    EXPECT_TRUE(Break_At_Poles);
    EXPECT_TRUE(Window.BreakAtPoles1->isChecked());
    Window.BreakAtPoles1->trigger();
    EXPECT_FALSE(Break_At_Poles);
    EXPECT_FALSE(Window.BreakAtPoles1->isChecked());
}

TEST_F(PoleWindow, OffDrawsThroughThePoleAndScalesToIt)
{
    PlotReciprocal();
    EXPECT_EQ(LineBreakCount(Window), 0);
    // 1/x at the x the run reaches for 0 (about -1E-15).
    EXPECT_LT(LeftAxisMinimum(Window), -1e14);
}

TEST_F(PoleWindow, OnBreaksTheLineAndScalesToTheFiniteCurve)
{
    PlotReciprocal();
    const QString table = Window.Memo1->toPlainText();
    Window.BreakAtPoles1->trigger();
    PlotReciprocal();
    EXPECT_EQ(Window.Memo1->toPlainText(), table) << "the table always lists every point";
    EXPECT_EQ(PointCount(Window), 101);
    EXPECT_EQ(LineBreakCount(Window), 1);
    EXPECT_NEAR(LeftAxisMinimum(Window), -10, 1e-9);
    EXPECT_NEAR(LeftAxisMaximum(Window), 10, 1e-9);
}

// The settings dialog's Reset Defaults resets the stored View choices too;
// the menu's mark then shows the choice in force, not the one before.
TEST(PoleWindowSettings, TheMarkFollowsAResetInTheSettingsDialog)
{
    QTemporaryDir dir;
    Break_At_Poles = kBreakAtPolesKey.Default;
    {
        TSettingsFileSession session(dir.filePath(QStringLiteral("QURVIA.INI")));
        TViewSettings view;
        TRecordingDialogs dialogs;
        dialogs.Answers = {TModalResult::mrYes}; // "Reset all variables to defaults?"
        TModalAnswer resetAndConfirm([](QDialog& dialog) {
            static_cast<TOptionDialog&>(dialog).ResetBtn->click();
            return int(QDialog::Accepted);
        });
        TF_Main_GRF window;
        TOptionDialog options(&window);
        window.SetStartupWindows({nullptr, nullptr, &options, &view});
        window.BreakAtPoles1Click();
        ASSERT_TRUE(Break_At_Poles);
        window.Settings1Click();
        EXPECT_FALSE(Break_At_Poles);
        EXPECT_FALSE(window.BreakAtPoles1->isChecked());
    }
    Break_At_Poles = kBreakAtPolesKey.Default;
}

} // namespace
} // namespace qrv::test
