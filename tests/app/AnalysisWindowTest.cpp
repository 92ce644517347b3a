// The Analysis pane in the main window: shown from the View menu and the
// toolbar, it lists the features of the shown curves with every meaningful
// digit, marks them on the screen (in pictures only when asked), lets the
// trace snap to them and go to a chosen row, copies rows, and evaluates f,
// f' and f'' at a typed x.
#include "DecimalSeparatorScope.h"
#include "MainWindowFixture.h"
#include "QrvAnalysisPane.h"
#include "QrvChart.h"
#include "QrvChartExport.h"
#include "QrvChartTrace.h"
#include "QrvCurveList.h"
#include "QrvDocumentSession.h"
#include "QrvNumberText.h"
#include "QrvOptionDialog.h"
#include "QrvTestPlatform.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>

#include <cmath>
#include <numbers>

namespace qrv::test
{
namespace
{

constexpr long double kPi = std::numbers::pi_v<long double>;

class AnalysisWindow : public TMainWindowFixture
{
protected:
    void SetUp() override
    {
        TMainWindowFixture::SetUp();
        ShowWindow();
    }
    TDecimalSeparatorScope separators_{'.'};

    // sin(x) kept as curve 1, cos(x) plotted as curve 2, over 0 ... 6.
    void PlotSineAndCosine()
    {
        Window->SetFields({"sin(x)", "0", "6", "0.05"});
        Window->KeepCurve1Click();
        Window->Edit1->setText("cos(x)");
        Window->PlotSpdBtnClick();
    }
    TAnalysisPane& Pane() { return *Window->AnalysisPane; }
    TChart& Chart() { return *Window->Chart1; }
    // The row of a curve's feature of a kind whose x lies nearest `near`.
    int RowOf(const char* curve, const char* kind, long double near)
    {
        int best = -1;
        for (std::size_t r = 0; r < Pane().Rows().size(); ++r) {
            const TFeatureRow& row = Pane().Rows()[r];
            if (row.Curve != curve || row.Kind != kind) continue;
            const long double x = StrToFloat(row.X);
            if (best < 0 || std::fabs(x - near) < std::fabs(StrToFloat(Pane().Rows()[best].X) - near))
                best = static_cast<int>(r);
        }
        return best;
    }
    QPoint MarkAt(int row)
    {
        Chart().repaint();
        const auto at = MarkPixel(Chart(), Chart().Layout(), Window->Trace->FeatureMarks().at(row));
        EXPECT_TRUE(at) << row;
        return at.value_or(QPoint());
    }
    // Pixels that differ between two drawings in the square of a mark.
    static int DifferAround(const QImage& a, const QImage& b, const QPoint& at)
    {
        int count = 0;
        for (int dy = -kFeatureMarkRadius; dy <= kFeatureMarkRadius; ++dy)
            for (int dx = -kFeatureMarkRadius; dx <= kFeatureMarkRadius; ++dx)
                if (a.pixel(at.x() + dx, at.y() + dy) != b.pixel(at.x() + dx, at.y() + dy)) ++count;
        return count;
    }
    QImage Screen() { return Chart().grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QImage Picture()
    {
        return MakeBitmap(Chart(), clWhite, Chart().size()).convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(AnalysisWindow, ShowsFromTheViewMenuAndTheToolbarAndHeightensTheWindow)
{
    const QSize start = Window->size();
    EXPECT_FALSE(Pane().isVisibleTo(Window.get()));
    Window->Analysis1->trigger();
    EXPECT_TRUE(Pane().isVisibleTo(Window.get()));
    EXPECT_TRUE(Window->Analysis1->isChecked());
    EXPECT_TRUE(Window->AnalysisToolButton->isChecked());
    EXPECT_EQ(Window->size(), start + QSize(0, kAnalysisPaneHeight));
    // Several curves bring the function list: wider as well.
    PlotSineAndCosine();
    EXPECT_EQ(Window->size(), start + QSize(kCurveListWidth, kAnalysisPaneHeight));
    Window->AnalysisToolButton->trigger();
    EXPECT_FALSE(Pane().isVisibleTo(Window.get()));
    EXPECT_FALSE(Window->Analysis1->isChecked());
    EXPECT_EQ(Window->size(), start + QSize(kCurveListWidth, 0));
    Window->FunctionList1->trigger();
    EXPECT_EQ(Window->size(), start);
    EXPECT_EQ(Window->minimumSize(), Window->maximumSize()) << "fixed again with neither pane";
}

TEST_F(AnalysisWindow, ListsTheFeaturesOfTheShownCurvesToTheLastDigit)
{
    PlotSineAndCosine();
    Window->ShowAnalysis(true);
    ASSERT_EQ(Pane().Rows().size(), Window->Features().size());
    EXPECT_EQ(Pane().List->rowCount(), static_cast<int>(Pane().Rows().size()));
    struct Row {
        const char* curve;
        const char* kind;
        long double x;
    } rows[] = {
        {"f1", "root", 0},
        {"f1", "maximum", kPi / 2},
        {"f1", "root", kPi},
        {"f1", "minimum", 3 * kPi / 2},
        {"f2", "root", kPi / 2},
        {"f2", "minimum", kPi},
        {"f1, f2", "intersection", kPi / 4},
        {"f1, f2", "intersection", 5 * kPi / 4},
    };
    for (const Row& row : rows) {
        const int r = RowOf(row.curve, row.kind, row.x);
        ASSERT_GE(r, 0) << row.curve << " " << row.kind;
        const long double x = StrToFloat(Pane().Rows()[r].X);
        EXPECT_LE(std::fabs(x - row.x), 1e-18L * std::max(1.0L, row.x)) << row.curve << " " << row.kind;
        EXPECT_EQ(Pane().List->item(r, 2)->text().toStdString(), Pane().Rows()[r].X);
    }
    // A hidden curve has no features, nor any intersection.
    Window->Session->Editor().SetCurveVisible(1, false);
    EXPECT_LT(RowOf("f2", "root", kPi / 2), 0);
    EXPECT_LT(RowOf("f1, f2", "intersection", kPi / 4), 0);
    EXPECT_GE(RowOf("f1", "maximum", kPi / 2), 0);
}

TEST_F(AnalysisWindow, MarksShowOnTheScreenAndInPicturesOnlyWhenAsked)
{
    PlotSineAndCosine();
    Window->ShowAnalysis(true);
    const int row = RowOf("f1", "maximum", kPi / 2);
    ASSERT_GE(row, 0);
    const QPoint at = MarkAt(row);
    EXPECT_GE(DifferAround(Screen(), Picture(), at), 8) << "marked on the screen, not in the picture";
    Pane().MarksInPicturesBox->setChecked(true);
    EXPECT_EQ(DifferAround(Screen(), Picture(), at), 0) << "marked in the picture when asked";
    const QImage marked = Picture();
    Window->ShowAnalysis(false);
    EXPECT_TRUE(Window->Trace->FeatureMarks().empty());
    EXPECT_GE(DifferAround(marked, Picture(), at), 8) << "no marks without the pane";
    EXPECT_EQ(DifferAround(Screen(), Picture(), at), 0);
}

TEST_F(AnalysisWindow, TheTraceSnapsToAMarkWithinSixPixelsAndNamesIt)
{
    PlotSineAndCosine();
    Window->ShowAnalysis(true);
    const int row = RowOf("f1", "maximum", kPi / 2);
    ASSERT_GE(row, 0);
    const QPoint at = MarkAt(row);
    struct Offset {
        QPoint by;
        bool snaps;
    } offsets[] = {{{0, 0}, true}, {{4, 3}, true}, {{-6, 0}, true}, {{5, 5}, false}, {{7, 0}, false}};
    for (const Offset& offset : offsets) {
        QTest::mouseMove(&Chart(), at + offset.by);
        EXPECT_EQ(Window->Trace->ShownFeature() == row, offset.snaps)
            << offset.by.x() << "," << offset.by.y();
        if (offset.snaps) {
            EXPECT_EQ(Window->Trace->ReadoutText(), "maximum f1   x = 1.57079632679   y = 1");
        } else {
            EXPECT_GE(Window->Trace->ShownPoint(), 0) << "the nearest point is traced";
        }
    }
}

TEST_F(AnalysisWindow, ChoosingARowPutsTheTraceOnItsFeature)
{
    PlotSineAndCosine();
    Window->ShowAnalysis(true);
    const int row = RowOf("f1, f2", "intersection", kPi / 4);
    ASSERT_GE(row, 0);
    QTableWidget& list = *Pane().List;
    list.scrollToItem(list.item(row, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row, 1)).center());
    EXPECT_EQ(Window->Trace->ShownFeature(), row);
    EXPECT_TRUE(Window->Trace->ReadoutText().startsWith(
        "intersection f1, f2   x = 0.785398163397   y = 0.707106781187"))
        << Window->Trace->ReadoutText().toStdString();
    // An integral has no point to go to; a table line takes the trace back.
    const int integral = RowOf("f1", "integral", 0);
    ASSERT_GE(integral, 0);
    Window->ChooseFeature(integral);
    EXPECT_EQ(Window->Trace->ShownFeature(), -1);
    Window->ChooseFeature(row);
    Window->Trace->MarkPoint(3);
    EXPECT_EQ(Window->Trace->ShownFeature(), -1);
    EXPECT_EQ(Window->Trace->ShownPoint(), 3);
}

TEST_F(AnalysisWindow, CopyPutsTheSelectedRowsOnTheClipboard)
{
    PlotSineAndCosine();
    Window->ShowAnalysis(true);
    ASSERT_GE(Pane().List->rowCount(), 3);
    const std::vector<TFeatureRow>& rows = Pane().Rows();
    auto line = [](const TFeatureRow& r) { return r.Curve + '\t' + r.Kind + '\t' + r.X + '\t' + r.Y + '\n'; };
    const std::string header = "Curve\tFeature\tx\ty\n";
    Pane().CopyButton->click();
    std::string all = header;
    for (const TFeatureRow& r : rows)
        all += line(r);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), all) << "nothing selected: every row";
    Pane().List->selectRow(2);
    Pane().List->setSelectionMode(QAbstractItemView::MultiSelection);
    Pane().List->selectRow(0);
    Pane().CopyButton->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), header + line(rows[0]) + line(rows[2]));
    EXPECT_TRUE(Dialogs.Messages.empty());
}

TEST_F(AnalysisWindow, EvaluateAtXGivesTheCurrentCurvesJet)
{
    PlotSineAndCosine();
    Window->ShowAnalysis(true);
    Pane().EvaluateField->setText("pi/2");
    QTest::keyClick(Pane().EvaluateField, Qt::Key_Return);
    // cos is the current curve, the second.
    const QStringList lines = Pane().EvaluateResult->text().split('\n');
    ASSERT_EQ(lines.size(), 3) << Pane().EvaluateResult->text().toStdString();
    EXPECT_TRUE(lines[0].startsWith("f2(x) = ")) << lines[0].toStdString();
    EXPECT_LE(std::fabs(StrToFloat(lines[0].mid(8).toStdString())), 1e-18L);
    EXPECT_EQ(lines[1], "f2'(x) = -1");
    // Choosing the first curve evaluates it at the same x.
    Window->SelectCurve(0);
    EXPECT_EQ(Pane().EvaluateResult->text().split('\n').value(0), "f1(x) = 1");
    Pane().EvaluateField->setText("x");
    Pane().Evaluate();
    EXPECT_FALSE(Pane().EvaluateResult->text().startsWith("f1")) << "x has no value here";
    EXPECT_FALSE(Pane().EvaluateResult->text().isEmpty());
}

// A decimal separator chosen in the Settings dialog shows in the listed
// numbers as soon as the dialog closes, not only after the next run.
TEST_F(AnalysisWindow, ShowsANewDecimalSeparatorWhenTheSettingsClose)
{
    TOptionDialog settings;
    Window->SetStartupWindows({nullptr, nullptr, &settings});
    Window->Analysis1Click();
    PlotSineAndCosine();
    const int row = RowOf("f1", "maximum", kPi / 2);
    ASSERT_GE(row, 0);
    EXPECT_EQ(Pane().Rows()[row].X.substr(0, 2), "1.");
    TModalAnswer answer([](QDialog&) {
        SetDecimalSeparator(',');
        return int(QDialog::Accepted);
    });
    Window->Settings1Click();
    EXPECT_EQ(Pane().Rows()[row].X.substr(0, 2), "1,");
}

} // namespace
} // namespace qrv::test
