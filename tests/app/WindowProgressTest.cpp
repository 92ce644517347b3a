// A long Plot run in the main window: the progress strip with the count of
// points, Esc and Cancel stopping the run with its points kept, input
// dropped while it runs, and short runs that show nothing. The clock is a
// script: it advances by a fixed amount per reading and acts at chosen
// readings, so the tests count readings, not seconds.
#include "ChartProbe.h"
#include "MainWindowFixture.h"
#include "QrvPlotProgress.h"
#include "QrvPlotProgressBar.h"
#include "QrvTableView.h"
#include "m_grf_w.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

namespace qrv::test
{
namespace
{

// Reading 1 starts the run; reading k + 1 follows its k-th point.
class TScriptedClock : public TRunClock
{
public:
    double Seconds() override
    {
        ++Readings;
        if (OnReading) OnReading(Readings);
        return Now += Tick;
    }
    double Tick = 0.2;
    double Now = 0;
    int Readings = 0;
    std::function<void(int)> OnReading;
};

class WindowProgress : public TMainWindowFixture
{
protected:
    void SetUp() override
    {
        TMainWindowFixture::SetUp();
        Window->SetRunClock(&Clock);
        // 101 points, x = 0 to 100.
        Window->SetFields({"x*x", "0", "100", "1"});
        ShowWindow();
    }
    void TearDown() override
    {
        Window->SetRunClock(nullptr);
        TMainWindowFixture::TearDown();
    }

    int TableLines() const
    {
        const QString text = Window->Memo1->toPlainText();
        return text.isEmpty() ? 0 : static_cast<int>(text.count('\n')) + 1;
    }
    void Post(QWidget* receiver, QEvent* event) { QCoreApplication::postEvent(receiver, event); }
    static QKeyEvent* Key(Qt::Key key) { return new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier); }

    TScriptedClock Clock;
};

TEST_F(WindowProgress, LongFormulaIsTakenWhole)
{
    // 22 500 calls, about 200 KB: far beyond the 32 767 characters a line
    // edit holds by default.
    QStringList calls;
    for (int k = 0; k < 22500; ++k)
        calls << QStringLiteral("sin(x+%1)").arg(k);
    const std::string formula = calls.join('+').toStdString();
    Window->SetFields({formula, "0", "2", "1"});
    EXPECT_EQ(Window->Fields().Formula, formula);
    Clock.Tick = 0.001;
    Window->PlotSpdBtnClick();
    EXPECT_EQ(PointCount(*Window), 3);
}

TEST_F(WindowProgress, ShortRunShowsNothing)
{
    Clock.Tick = 0.001;
    int shown = 0;
    Clock.OnReading = [&](int) { shown += Window->PlotProgress->isVisible(); };
    Window->PlotSpdBtnClick();
    EXPECT_EQ(shown, 0);
    EXPECT_FALSE(Window->PlotProgress->isVisible());
    EXPECT_EQ(PointCount(*Window), 101);
}

TEST_F(WindowProgress, LongRunShowsTheCountOfPointsAndHidesAtTheEnd)
{
    QString text;
    int value = -1, maximum = -1;
    bool plotEnabled = true;
    Clock.OnReading = [&](int reading) {
        if (reading != 51) return;
        text = Window->PlotProgress->Status->text();
        value = Window->PlotProgress->Bar->value();
        maximum = Window->PlotProgress->Bar->maximum();
        plotEnabled = Window->PlotSpdBtn->isEnabled();
        EXPECT_TRUE(Window->PlotProgress->isVisible());
    };
    Window->PlotSpdBtnClick();
    // Seen at the 50th point, after the update of the 49th.
    EXPECT_EQ(text, "Plotting: 49 of 101 points");
    EXPECT_EQ(value, 49);
    EXPECT_EQ(maximum, 101);
    EXPECT_FALSE(plotEnabled);
    EXPECT_FALSE(Window->PlotProgress->isVisible());
    EXPECT_TRUE(Window->PlotSpdBtn->isEnabled());
    EXPECT_EQ(PointCount(*Window), 101);
    EXPECT_EQ(TableLines(), 101);
    EXPECT_TRUE(Dialogs.Messages.empty());
}

struct TStopCase {
    const char* Name;
    std::function<void(TF_Main_GRF&)> Act; // at reading 10, before the 9th point's update
};

TEST_F(WindowProgress, EscCancelAndClosingStopTheRunAndKeepItsPoints)
{
    const std::vector<TStopCase> cases{
        {"esc_in_the_formula_field",
         [](TF_Main_GRF& w) { QCoreApplication::postEvent(w.Edit1, Key(Qt::Key_Escape)); }},
        {"esc_in_the_table",
         [](TF_Main_GRF& w) { QCoreApplication::postEvent(w.Memo1, Key(Qt::Key_Escape)); }},
        {"cancel_button", [](TF_Main_GRF& w) { QTest::mouseClick(w.PlotProgress->Button, Qt::LeftButton); }},
        {"closing_the_window", [](TF_Main_GRF& w) { QCoreApplication::postEvent(&w, new QCloseEvent); }},
    };
    for (const TStopCase& c : cases) {
        Clock.Readings = 0;
        Clock.OnReading = [&](int reading) {
            if (reading == 10) c.Act(*Window);
        };
        QTest::mouseClick(Window->PlotSpdBtn, Qt::LeftButton);
        EXPECT_EQ(PointCount(*Window), 9) << c.Name;
        EXPECT_EQ(TableLines(), 9) << c.Name;
        EXPECT_TRUE(Dialogs.Messages.empty()) << c.Name << ": no error box for a stop";
        EXPECT_TRUE(Window->isVisible()) << c.Name;
        ASSERT_TRUE(Window->PlotProgress->isVisible()) << c.Name;
        EXPECT_EQ(Window->PlotProgress->Status->text(), "Plot stopped after 9 of 101 points.") << c.Name;
        EXPECT_FALSE(Window->PlotProgress->Bar->isVisible()) << c.Name;
        EXPECT_EQ(Window->PlotProgress->Button->text(), "Close") << c.Name;
    }
    // Close takes the notice away; so does the next Plot.
    QTest::mouseClick(Window->PlotProgress->Button, Qt::LeftButton);
    EXPECT_FALSE(Window->PlotProgress->isVisible());
}

// A View choice runs the plotted curves again through the same strip; a
// stop there says so as a stopped Plot does.
TEST_F(WindowProgress, AStoppedRunOfAViewChoiceSaysSo)
{
    Window->PlotSpdBtnClick();
    ASSERT_EQ(PointCount(*Window), 101);
    Clock.Readings = 0;
    Clock.OnReading = [&](int reading) {
        if (reading == 10) QTest::mouseClick(Window->PlotProgress->Button, Qt::LeftButton);
    };
    Window->BreakAtPoles1->trigger();
    EXPECT_EQ(PointCount(*Window), 9);
    ASSERT_TRUE(Window->PlotProgress->isVisible());
    EXPECT_EQ(Window->PlotProgress->Status->text(), "Plot stopped after 9 of 101 points.");
    EXPECT_EQ(Window->PlotProgress->Button->text(), "Close");
    Window->BreakAtPoles1->trigger(); // and back, for the next test
}

TEST_F(WindowProgress, NextPlotHidesTheStopNotice)
{
    Clock.OnReading = [&](int reading) {
        if (reading == 10) QTest::mouseClick(Window->PlotProgress->Button, Qt::LeftButton);
    };
    Window->PlotSpdBtnClick();
    ASSERT_TRUE(Window->PlotProgress->isVisible());
    Clock.OnReading = {};
    Clock.Tick = 0.001;
    Window->PlotSpdBtnClick();
    EXPECT_FALSE(Window->PlotProgress->isVisible());
    EXPECT_EQ(PointCount(*Window), 101);
}

TEST_F(WindowProgress, OtherInputIsDroppedWhileItRuns)
{
    const QString formula = Window->Edit1->text();
    Clock.OnReading = [&](int reading) {
        if (reading != 10) return;
        Window->Edit1->setFocus();
        Post(Window->Edit1, Key(Qt::Key_Z));
        Post(Window->Edit1, Key(Qt::Key_F5));
        Post(Window->Memo1, Key(Qt::Key_A));
        QTest::mouseClick(Window->PlotSpdBtn, Qt::LeftButton);
        Window->PlotKey->trigger(); // as its shortcut would
    };
    Window->PlotSpdBtnClick();
    EXPECT_EQ(Window->Edit1->text(), formula);
    // A second run inside the first would have added its own 101 points.
    EXPECT_EQ(PointCount(*Window), 101);
    EXPECT_EQ(TableLines(), 101);
    EXPECT_FALSE(Window->PlotProgress->isVisible());
    // After the run the window takes input again.
    QTest::keyClick(Window->Edit1, Qt::Key_Z);
    EXPECT_EQ(Window->Edit1->text(), formula + "z");
}

TEST_F(WindowProgress, ErrorPartWayHidesTheProgressAndShowsTheMessage)
{
    Window->SetFields({"1/(x-50)", "0", "100", "1"});
    QTest::mouseClick(Window->PlotSpdBtn, Qt::LeftButton);
    EXPECT_EQ(PointCount(*Window), 50);
    EXPECT_EQ(TableLines(), 50);
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Dialogs.Messages[0].text, "Floating point division by zero.");
    EXPECT_FALSE(Window->PlotProgress->isVisible());
    EXPECT_TRUE(Window->PlotSpdBtn->isEnabled());
}

} // namespace
} // namespace qrv::test
