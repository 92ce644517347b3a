// The Plot run through the main window: fields typed, the Plot button
// clicked, the table, the chart's series and the error box checked.
#include "ChartProbe.h"
#include "DecimalSeparatorScope.h"
#include "MainWindowFixture.h"
#include "PlotCases.h"
#include "QrvErrors.h"
#include "QrvNumberText.h"
#include "QrvSettingValues.h"
#include "QrvTableView.h"
#include "RecordingDialogs.h"
#include "RowNames.h"
#include "m_grf_w.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <optional>

namespace qrv::test
{
namespace
{

QStringList MemoLines(const TTableView& memo)
{
    QString text = memo.toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

class MainWindowPlot : public TMainWindowFixture, public ::testing::WithParamInterface<TPlotCase>
{
protected:
    // The window is made under the case's decimal separator.
    void SetUp() override
    {
        Separator.emplace(GetParam().Separator);
        TMainWindowFixture::SetUp();
    }
    void TearDown() override
    {
        TMainWindowFixture::TearDown();
        Separator.reset();
    }

    std::optional<test::TDecimalSeparatorScope> Separator;
};

TEST_P(MainWindowPlot, GivesTheTableAndTheMessage)
{
    const TPlotCase& c = GetParam();
    TPlotFields fields = Window->Fields();
    if (c.Formula) fields.Formula = *c.Formula;
    if (c.XMin) fields.XMin = *c.XMin;
    if (c.XMax) fields.XMax = *c.XMax;
    if (c.Step) fields.Step = *c.Step;
    Window->SetFields(fields);
    Window->SetAngleMode(c.Mode);

    // What the user sees while the error box is open.
    int linesWhileShown = -1;
    Dialogs.WhileShown = [&](const TMessageRequest&) { linesWhileShown = MemoLines(*Window->Memo1).size(); };
    QTest::mouseClick(Window->PlotSpdBtn, Qt::LeftButton);

    QStringList lines = MemoLines(*Window->Memo1);
    ASSERT_EQ(std::size_t(lines.size()), c.Lines);
    EXPECT_EQ(std::size_t(PointCount(*Window)), c.Lines);
    if (!c.FirstLine.empty()) {
        EXPECT_EQ(lines.front().toStdString(), c.FirstLine);
    }
    if (!c.LastLine.empty()) {
        EXPECT_EQ(lines.back().toStdString(), c.LastLine);
    }

    if (c.Error.empty()) {
        EXPECT_TRUE(Dialogs.Messages.empty()) << Dialogs.Messages.front().text;
        return;
    }
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    const TMessageRequest& box = Dialogs.Messages.front();
    EXPECT_EQ(box.text, c.Error);
    EXPECT_EQ(box.caption, "Qurvia (Veltano)");
    EXPECT_EQ(box.type, TMsgDlgType::mtError);
    EXPECT_EQ(box.buttons, TMsgDlgButtons(mbOK));
    EXPECT_EQ(std::size_t(linesWhileShown), c.Lines) << "the lines before the error show with the box";
}

INSTANTIATE_TEST_SUITE_P(Cases, MainWindowPlot, ::testing::ValuesIn(EndToEndPlotCases()), RowName{});

class MainWindowPlotState : public ::testing::Test
{
protected:
    void TearDown() override { Element_Color = FColor; }
    TRecordingDialogs Dialogs;
    TF_Main_GRF Window;
    TColor FColor = Element_Color;
};

TEST_F(MainWindowPlotState, PointsTakeTheLineColourInForce)
{
    Element_Color = 0x00FF0000;
    Window.PlotSpdBtnClick();
    ASSERT_EQ(PointCount(Window), 60);
    EXPECT_EQ(PointColor(Window, 0), 0x00FF0000u);
    EXPECT_EQ(PointColor(Window, 59), 0x00FF0000u);
}

TEST_F(MainWindowPlotState, ANewRunClearsTheOldPointsFirst)
{
    Window.PlotSpdBtnClick();
    ASSERT_EQ(PointCount(Window), 60);
    Window.E_Step->setText("0");
    EXPECT_THROW(Window.PlotSpdBtnClick(), TMathExpr);
    EXPECT_EQ(PointCount(Window), 0);
    EXPECT_TRUE(Window.Memo1->toPlainText().isEmpty());
}

TEST_F(MainWindowPlotState, SeriesKeepsAscendingXOfADescendingRun)
{
    Window.SetFields({"x", "1", "0", "-0.1"});
    Window.PlotSpdBtnClick();
    ASSERT_EQ(PointCount(Window), 11);
    EXPECT_LT(XValueAt(Window, 0), XValueAt(Window, 10));
    EXPECT_TRUE(MemoLines(*Window.Memo1).front().startsWith("1.000"));
}

TEST_F(MainWindowPlotState, FieldsAreReadOnlyByThePlot)
{
    // Leaving a field with bad text does nothing; only Plot reports it.
    Window.E_X_i->setFocus();
    Window.E_X_i->setText("abc");
    Window.Edit1->setFocus();
    EXPECT_TRUE(Dialogs.Messages.empty());
}

TEST_F(MainWindowPlotState, PlotRepaintsTheChartAfterTheRun)
{
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    Window.PlotSpdBtnClick();
    EXPECT_FALSE(ChartBufferValid(Window));
    QTest::qWait(50);
    QApplication::processEvents();
    RepaintChart(Window);
    EXPECT_TRUE(ChartBufferValid(Window));
}

} // namespace
} // namespace qrv::test
