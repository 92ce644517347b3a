// The main window on a document of several curves: the function list, a
// series and a legend row per shown curve, errors kept at their curve,
// undo and redo, New, Open and Save with the question before unsaved
// changes go, the trace over two curves, and documents that the window and
// the command line write alike.
#include "DecimalSeparatorScope.h"
#include "MainWindowFixture.h"
#include "MessageOf.h"
#include "QrvChart.h"
#include "QrvChartTrace.h"
#include "QrvCommandLine.h"
#include "QrvCurveList.h"
#include "QrvCurveListModel.h"
#include "QrvDocumentFile.h"
#include "QrvDocumentSession.h"
#include "QrvPlatform.h"
#include "QrvSettingValues.h"
#include "QrvTableBatch.h"
#include "QrvTableView.h"
#include "WholeFile.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QUndoStack>

#include <cstring>
#include <fstream>

namespace qrv::test
{
namespace
{

// Save dialogs confirmed with the next name queued (cancelled once none is
// left); everything else goes to the recording dialogs below.
class TSaveAnswers : public TPlatformDouble
{
public:
    std::optional<TSaveDialogChoice> ShowSaveDialog(const TSaveDialog& dialog) override
    {
        Proposed.push_back(dialog.FileName);
        if (Names.empty()) return std::nullopt;
        TSaveDialogChoice choice{Names.front(), 1};
        Names.pop_front();
        return choice;
    }
    std::deque<std::string> Names;
    std::vector<std::string> Proposed;
};

TEST(DocumentCaption, NamesTheDocumentOnceItMatters)
{
    struct Row {
        const char* File;
        int Curves;
        bool Clean;
        const char* Caption;
        bool Asks;
    };
    const Row rows[] = {
        {"", 1, false, "Equation Plotter - Qurvia", false}, // the window of one curve
        {"", 2, true, "Untitled - Equation Plotter - Qurvia", false},
        {"", 2, false, "Untitled* - Equation Plotter - Qurvia", true},
        {"/d/waves.qurvia", 1, true, "waves.qurvia - Equation Plotter - Qurvia", false},
        {"/d/waves.qurvia", 1, false, "waves.qurvia* - Equation Plotter - Qurvia", true},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(DocumentCaption(r.File, r.Curves, r.Clean), r.Caption) << r.Caption;
        EXPECT_EQ(AsksBeforeClosing(r.File, r.Curves, r.Clean), r.Asks) << r.Caption;
    }
}

TEST(RecentDocuments, NewestFirstEachOnceAtMostSoMany)
{
    using List = std::vector<std::string>;
    EXPECT_EQ(RecentDocumentsWith({}, "a", 3), List{"a"});
    EXPECT_EQ(RecentDocumentsWith({"a", "", "b"}, "b", 3), (List{"b", "a"}));
    EXPECT_EQ(RecentDocumentsWith({"a", "b", "c"}, "d", 3), (List{"d", "a", "b"}));
}

class DocumentWindow : public TMainWindowFixture
{
protected:
    void SetUp() override
    {
        TMainWindowFixture::SetUp();
        for (std::string& entry : Recent_Documents)
            entry.clear();
    }
    std::string At(const char* name) const { return folder.filePath(name).toStdString(); }
    TDocumentSession& Session() { return *Window->Session; }
    // Two curves, x*2 then x*x over 0..10: the first kept, the second plotted.
    void PlotTwo()
    {
        Window->SetFields({"x*2", "0", "10", "1"});
        Window->KeepCurve1Click();
        Window->Edit1->setText("x*x");
        Window->PlotSpdBtnClick();
    }
    std::vector<std::string> Formulas() const
    {
        std::vector<std::string> formulas;
        for (const TCurve& curve : Window->Session->Document().Curves)
            formulas.push_back(curve.Formula);
        return formulas;
    }
    QString RowText(int row) const
    {
        return Window->CurveModel->data(Window->CurveModel->index(row, 0)).toString();
    }

    TDecimalSeparatorScope separators{'.'};
    QTemporaryDir folder;
    TSaveAnswers saves;
};

TEST_F(DocumentWindow, ASecondCurveBringsTheListASeriesAndALegend)
{
    ShowWindow();
    const int width = Window->width();
    EXPECT_FALSE(Window->FunctionListShown());
    PlotTwo();
    ASSERT_EQ(Session().CurveCount(), 2);
    EXPECT_TRUE(Window->FunctionListShown());
    EXPECT_TRUE(Window->CurveList->isVisible());
    EXPECT_EQ(Window->width(), width + kCurveListWidth);
    EXPECT_GT(Window->maximumWidth(), Window->minimumWidth()) << "resizable while the list shows";

    ASSERT_EQ(Window->Chart1->SeriesCount(), 2);
    EXPECT_EQ(Window->Series1->PointCount(), 11);
    EXPECT_EQ(Session().SeriesOf(1).PointCount(), 11);
    EXPECT_EQ(Session().SeriesOf(1).PointColor(0), Session().Document().Curves[1].Color);
    EXPECT_NE(Session().Document().Curves[1].Color, Session().Document().Curves[0].Color);
    // The table is the current (second) curve's, exactly as one curve's.
    EXPECT_TRUE(Window->TableText().startsWith("0.000   0.000\n1.000   1.000\n2.000   4.000"));
    Window->Chart1->repaint();
    const TLegendLayout& legend = Window->Chart1->Layout().Legend;
    ASSERT_TRUE(legend.Shown);
    EXPECT_EQ(legend.Rows.size(), 2u);

    // Back to one curve: the list goes and the fixed size comes back.
    Window->RemoveCurve1Click();
    EXPECT_FALSE(Window->FunctionListShown());
    EXPECT_EQ(Window->width(), width);
    EXPECT_EQ(Window->minimumWidth(), Window->maximumWidth());
    EXPECT_EQ(Window->Chart1->SeriesCount(), 1);
    EXPECT_EQ(Formulas(), std::vector<std::string>{"x*2"});
    EXPECT_TRUE(Window->TableText().startsWith("0.000   0.000\n1.000   2.000\n"));
}

TEST_F(DocumentWindow, TheListChoosesTheCurveOfTheFields)
{
    ShowWindow();
    const QSize start = Window->size();
    // From the View menu with one curve, and back to the fixed size.
    Window->FunctionList1Click();
    EXPECT_TRUE(Window->CurveList->isVisible());
    EXPECT_EQ(Window->width(), start.width() + kCurveListWidth);
    Window->FunctionList1Click();
    EXPECT_EQ(Window->size(), start);

    PlotTwo();
    // Keep curve starts the new curve from a copy of the kept one's texts.
    Window->KeepCurve1Click();
    EXPECT_EQ(Formulas(), (std::vector<std::string>{"x*2", "x*x", "x*x"}));
    EXPECT_EQ(Session().Current(), 2);
    Window->Undo1Click();
    EXPECT_EQ(Session().CurveCount(), 2);
    Window->Edit1->setText("x*x-1"); // typed, not plotted
    QListView& list = *Window->CurveList->List;
    list.setCurrentIndex(list.model()->index(0, 0));
    EXPECT_EQ(Session().Current(), 0);
    EXPECT_EQ(Window->Edit1->text(), "x*2");
    EXPECT_EQ(Formulas(), (std::vector<std::string>{"x*2", "x*x-1"})) << "what was typed is kept";
    EXPECT_TRUE(Window->TableText().startsWith("0.000   0.000\n1.000   2.000\n")) << "the table follows";
    EXPECT_FALSE(Window->MoveCurveUp1->isEnabled());
    EXPECT_TRUE(Window->MoveCurveDown1->isEnabled());
}

TEST_F(DocumentWindow, ErrorsBelongToTheirCurve)
{
    Window->SetFields({"1/(x-3)", "0", "10", "1"});
    Window->KeepCurve1Click();
    Window->Edit1->setText("x+1");
    // The other curve's error is shown at it; Plot itself succeeds.
    EXPECT_NO_THROW(Window->PlotSpdBtnClick());
    EXPECT_EQ(Session().CurveError(0), "Floating point division by zero.");
    EXPECT_TRUE(RowText(0).contains("division by zero")) << RowText(0).toStdString();
    EXPECT_EQ(Window->Series1->PointCount(), 3) << "the points before the error stay";
    EXPECT_EQ(Session().SeriesOf(1).PointCount(), 11);
    // The current curve's error leaves Plot, after the others have run.
    Window->SelectCurve(0);
    EXPECT_EQ(Window->Edit1->text(), "1/(x-3)");
    EXPECT_EQ(MessageOf([&] { Window->PlotSpdBtnClick(); }), "Floating point division by zero");
    EXPECT_EQ(Session().SeriesOf(1).PointCount(), 11);
    EXPECT_TRUE(Window->TableText().contains("2.000   -1.000"));
    EXPECT_FALSE(Window->TableText().contains("3.000"));
}

TEST_F(DocumentWindow, EveryChangeUndoesAndRedoes)
{
    PlotTwo();
    QUndoStack& stack = Session().Editor().UndoStack();
    const TDocument plotted = Session().Document();
    struct Row {
        const char* Name;
        std::function<void()> Change;
        std::vector<std::string> Formulas;
        int SeriesShown;
    };
    auto shown = [&] {
        int count = 0;
        for (int i = 0; i < Window->Chart1->SeriesCount(); ++i)
            count += Window->Chart1->Series(i).Active() && Window->Chart1->Series(i).PointCount() > 0;
        return count;
    };
    const Row rows[] = {
        {"move up", [&] { Window->MoveCurveUp1Click(); }, {"x*x", "x*2"}, 2},
        {"hide by the check box",
         [&] {
             Window->CurveModel->setData(Window->CurveModel->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
         },
         {"x*2", "x*x"},
         1},
        {"remove", [&] { Window->RemoveCurve1Click(); }, {"x*2"}, 1},
        {"add", [&] { Window->AddCurve1Click(); }, {"x*2", "x*x", ""}, 2},
    };
    for (const Row& r : rows) {
        const int before = stack.index();
        r.Change();
        EXPECT_EQ(Formulas(), r.Formulas) << r.Name;
        EXPECT_EQ(shown(), r.SeriesShown) << r.Name << ": the chart follows at once";
        Window->Undo1Click();
        EXPECT_EQ(stack.index(), before) << r.Name;
        EXPECT_EQ(Session().Document(), plotted) << r.Name;
        EXPECT_EQ(shown(), 2) << r.Name;
        Window->Redo1Click();
        EXPECT_EQ(Formulas(), r.Formulas) << r.Name << " again";
        Window->Undo1Click();
    }
    // The edit a Plot made is one step too: the fields follow it back.
    Window->SelectCurve(1);
    Window->Edit1->setText("x*x*x");
    Window->PlotSpdBtnClick();
    Window->Undo1Click();
    EXPECT_EQ(Window->Edit1->text(), "x*x");
    EXPECT_TRUE(Window->TableText().startsWith("0.000   0.000\n1.000   1.000\n2.000   4.000"));
}

TEST_F(DocumentWindow, RestylesThroughTheStyleDialog)
{
    PlotTwo();
    TModalAnswer answer([](QDialog& dialog) {
        auto& style = static_cast<TCurveStyleDialog&>(dialog);
        style.WidthBox->setValue(5);
        style.StyleBox->setCurrentIndex(1);
        style.LabelEdit->setText("parabola");
        return int(QDialog::Accepted);
    });
    Window->CurveStyle1Click();
    const TCurve& curve = Session().Document().Curves[1];
    EXPECT_EQ(curve.Width, 5);
    EXPECT_EQ(curve.Style, TLineStyle::Dash);
    EXPECT_EQ(RowText(1), "parabola");
    EXPECT_EQ(Session().SeriesOf(1).LinePen.Width, 5);
    EXPECT_EQ(Session().SeriesOf(1).Title(), "parabola");
}

TEST_F(DocumentWindow, SavesOpensAndAsksBeforeUnsavedChangesGo)
{
    PlotTwo();
    EXPECT_EQ(Window->windowTitle(), "Untitled* - Equation Plotter - Qurvia");
    const std::string file = At("two.qurvia");
    saves.Names.push_back(At("two")); // the extension is added
    Window->SaveDocument1Click();
    EXPECT_EQ(saves.Proposed, std::vector<std::string>{"Untitled.qurvia"});
    EXPECT_EQ(Window->windowTitle(), "two.qurvia - Equation Plotter - Qurvia");
    EXPECT_EQ(LoadDocument(file), Session().Document());
    EXPECT_EQ(Recent_Documents[0], file);

    Window->Edit1->setText("x*x+1");
    struct Row {
        const char* Name;
        TModalResult Answer;
        bool Replaced;
        std::vector<std::string> Saved;
    };
    const Row rows[] = {
        {"cancel keeps the document", TModalResult::mrCancel, false, {"x*2", "x*x"}},
        {"save writes it first", TModalResult::mrSave, true, {"x*2", "x*x+1"}},
    };
    for (const Row& r : rows) {
        Dialogs.Messages.clear();
        Dialogs.Answers = {r.Answer};
        Window->NewDocument1Click();
        ASSERT_EQ(Dialogs.Messages.size(), 1u) << r.Name;
        EXPECT_EQ(Dialogs.Messages[0].text, "Save the changes to two.qurvia?");
        EXPECT_EQ(Dialogs.Messages[0].buttons, unsigned(mbSave | mbDiscard | mbCancel));
        EXPECT_EQ(Session().CurveCount() == 1, r.Replaced) << r.Name;
        std::vector<std::string> saved;
        for (const TCurve& curve : LoadDocument(file).Curves)
            saved.push_back(curve.Formula);
        EXPECT_EQ(saved, r.Saved) << r.Name;
    }
    // A new document of one curve is the window at start: nothing to ask.
    EXPECT_EQ(Window->windowTitle(), "Equation Plotter - Qurvia");
    EXPECT_EQ(Window->Chart1->SeriesCount(), 1);
    EXPECT_EQ(Window->Series1->PointCount(), 0);

    // Open plots the document, and the recent list names it.
    Dialogs.Messages.clear();
    Dialogs.OpenFiles = {file};
    Window->OpenDocument1Click();
    EXPECT_TRUE(Dialogs.Messages.empty());
    EXPECT_EQ(Formulas(), (std::vector<std::string>{"x*2", "x*x+1"}));
    EXPECT_EQ(Session().SeriesOf(1).PointCount(), 11);
    EXPECT_EQ(Window->RecentDocuments1->actions().size(), 1);

    // Closing with changes asks too; Discard lets the window close.
    Window->AddCurve1Click();
    Dialogs.Answers = {TModalResult::mrCancel, TModalResult::mrDiscard};
    EXPECT_FALSE(Window->close());
    EXPECT_TRUE(Window->close());
    EXPECT_EQ(Dialogs.Messages.size(), 2u);
}

TEST_F(DocumentWindow, ARefusedDocumentLeavesTheWindowAsItWas)
{
    PlotTwo();
    const TDocument before = Session().Document();
    const std::string file = At("broken.qurvia");
    std::ofstream(file) << R"({"qurvia": 1, "curves": [{"kind": "function"}]})";
    const std::string message = MessageOf([&] { Window->OpenDocumentFile(file); });
    EXPECT_NE(message.find(file), std::string::npos) << message;
    EXPECT_EQ(Session().Document(), before);
    EXPECT_EQ(Session().SeriesOf(1).PointCount(), 11);
    EXPECT_EQ(Recent_Documents[0], "");
}

TEST_F(DocumentWindow, WritesDocumentsAsTheCommandLineDoes)
{
    // --save-document's document, opened and saved again by the window,
    // comes out byte for byte.
    const TCommandLine cl =
        ParseCommandLine({"--formula", "sin(x)", "--color", "3", "--formula", "x/2", "--xmin", "0", "--xmax",
                          "4", "--step", "0.5", "--mode", "degrees", "--save-document", At("cli.qurvia")});
    const std::string written = DocumentJson(CommandLineDocument(cl, clRed));
    SaveDocument(At("cli.qurvia"), CommandLineDocument(cl, clRed));
    Window->OpenDocumentFile(At("cli.qurvia"));
    EXPECT_EQ(Window->AngleMode(), TAngleMode::Degrees);
    EXPECT_EQ(Window->Edit1->text(), "sin(x)");
    EXPECT_EQ(Window->E_Step->text(), "0.5");
    saves.Names.push_back(At("window.qurvia"));
    Window->SaveDocumentAs1Click();
    EXPECT_EQ(ReadWholeFile(At("window.qurvia")), written);
}

TEST_F(DocumentWindow, SaveAsWritesEveryShownCurve)
{
    ShowWindow();
    Window->SetFields({"x*2", "0", "2", "1"});
    Window->KeepCurve1Click();
    Window->Edit1->setText("x+1");
    Window->KeepCurve1Click();
    Window->Edit1->setText("x*x");
    Window->PlotSpdBtnClick();
    // The hidden curve is not written.
    Window->CurveModel->setData(Window->CurveModel->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    struct Row {
        const char* Name;
        const char* Expected; // the file's first bytes
    };
    const Row rows[] = {
        {"curves.csv", "x,x*2,x*x\r\n0.000,0.000,0.000\r\n1.000,2.000,1.000\r\n2.000,4.000,4.000\r\n"},
        {"curves.png", "\x89PNG"},
        {"curves.pdf", "%PDF"},
    };
    for (const Row& r : rows) {
        saves.Names.push_back(At(r.Name));
        Window->SaveAsToolButtonClick();
        const std::string bytes = ReadWholeFile(At(r.Name));
        EXPECT_EQ(bytes.substr(0, std::strlen(r.Expected)), r.Expected) << r.Name;
    }
}

TEST_F(DocumentWindow, ViewChoicesActAtOnce)
{
    const bool poles = Break_At_Poles, equal = Equal_Scales, fine = Fine_Labels;
    Break_At_Poles = Equal_Scales = Fine_Labels = false;
    Window->SetFields({"1/x", "-1", "1", "0.3"});
    Window->KeepCurve1Click();
    Window->Edit1->setText("x");
    Window->PlotSpdBtnClick();
    auto breaks = [&] {
        int count = 0;
        for (int i = 0; i < Window->Series1->PointCount(); ++i)
            count += Window->Series1->LineBrokenBefore(i);
        return count;
    };
    EXPECT_EQ(breaks(), 0);
    Window->BreakAtPoles1Click();
    EXPECT_GT(breaks(), 0) << "the curves ran again without Plot";
    EXPECT_EQ(Session().SeriesOf(1).PointCount(), 7);
    Window->EqualScales1Click();
    Window->FineLabels1Click();
    EXPECT_TRUE(Window->Chart1->EqualScales());
    EXPECT_TRUE(Window->Chart1->FineLabels());
    EXPECT_TRUE(Window->EqualScales1->isChecked());
    Window->EqualScales1Click();
    EXPECT_FALSE(Window->Chart1->EqualScales());
    Break_At_Poles = poles;
    Equal_Scales = equal;
    Fine_Labels = fine;
}

TEST_F(DocumentWindow, TheTraceFollowsTheNearestCurveAndNamesIt)
{
    ShowWindow();
    PlotTwo();
    Window->Chart1->repaint();
    const TChartLayout& layout = Window->Chart1->Layout();
    const QPoint onSquare(layout.Bottom().ValueToPixel(8), layout.Left().ValueToPixel(64));
    QTest::mouseMove(Window->Chart1, onSquare);
    EXPECT_EQ(Window->Trace->TracedSeries(), 1);
    EXPECT_EQ(Window->Trace->ReadoutText(), "x*x   x = 8.000   y = 64.000");
    const QPoint onLine(layout.Bottom().ValueToPixel(9), layout.Left().ValueToPixel(18));
    QTest::mouseMove(Window->Chart1, onLine);
    EXPECT_EQ(Window->Trace->TracedSeries(), 0);
    EXPECT_EQ(Window->Trace->ReadoutText(), "x*2   x = 9.000   y = 18.000");
    EXPECT_EQ(Window->Memo1->HighlightedLine(), -1) << "the table shows the other curve";
}

} // namespace
} // namespace qrv::test
