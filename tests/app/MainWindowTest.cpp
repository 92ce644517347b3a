// The main window without plotting: start-up state, controls, toolbar and
// menu, view toggles, the Mode group, the Enter filter and the commands.
#include "ChartProbe.h"
#include "DecimalSeparatorScope.h"
#include "MainWindowFixture.h"
#include "QrvAngleMode.h"
#include "QrvApplication.h"
#include "QrvChartPreview.h"
#include "QrvErrors.h"
#include "QrvHelperForm.h"
#include "QrvNumberText.h"
#include "QrvOptionDialog.h"
#include "QrvSplitter.h"
#include "QrvTableView.h"
#include "QrvTextPrintForm.h"
#include "m_grf_w.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace qrv::test
{
namespace
{

class MainWindow : public TMainWindowFixture
{
protected:
    void SetUp() override
    {
        TMainWindowFixture::SetUp();
        ShowWindow();
    }
    // Lets the layouts settle after panels were shown or hidden.
    void Settle() { QApplication::processEvents(); }
};

TEST_F(MainWindow, StartsWithItsCaptionSizeAndFields)
{
    EXPECT_EQ(Window->windowTitle(), "Equation Plotter - Qurvia");
    EXPECT_EQ(Window->centralWidget()->size(), QSize(537, 469));
    EXPECT_EQ(Window->Edit1->text(), "5.22 - 5.44E-4 * (x - 817)");
    EXPECT_EQ(Window->E_X_i->text(), "817");
    EXPECT_EQ(Window->E_X_Fi->text(), "2000");
    EXPECT_EQ(Window->E_Step->text(), "20");
    EXPECT_TRUE(Window->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(PointCount(*Window), 0);
    EXPECT_EQ(ChartSize(*Window), QSize(353, 305));
    EXPECT_EQ(Window->GroupBox4->width(), 175);
    EXPECT_FALSE(Window->Memo1->isReadOnly());
    EXPECT_EQ(Window->PlotSpdBtn->focusPolicy(), Qt::NoFocus);
}

TEST_F(MainWindow, StartsWithRadiansAndEveryPanelShown)
{
    EXPECT_TRUE(Window->Radians1->isChecked());
    EXPECT_FALSE(Window->Degrees1->isChecked());
    EXPECT_FALSE(Window->Grads1->isChecked());
    EXPECT_EQ(Window->AngleMode(), TAngleMode::Radians);
    for (QAction* mark : {Window->Graphics1, Window->Text1, Window->Toolbar2})
        EXPECT_TRUE(mark->isChecked()) << mark->objectName().toStdString();
    for (QWidget* panel : {static_cast<QWidget*>(Window->GroupBox2), static_cast<QWidget*>(Window->GroupBox4),
                           static_cast<QWidget*>(Window->Splitter1), static_cast<QWidget*>(Window->ToolBar1)})
        EXPECT_TRUE(panel->isVisible()) << panel->objectName().toStdString();
    EXPECT_LT(Window->GroupBox2->x(), Window->Splitter1->x());
    EXPECT_LT(Window->Splitter1->x(), Window->GroupBox4->x());
}

TEST(MainWindowLocale, StartupFormulaUsesTheDecimalSeparator)
{
    struct Row {
        char separator;
        const char* formula;
    };
    for (Row row : {Row{'.', "5.22 - 5.44E-4 * (x - 817)"}, Row{',', "5,22 - 5,44E-4 * (x - 817)"}}) {
        test::TDecimalSeparatorScope separator(row.separator);
        TF_Main_GRF window;
        EXPECT_EQ(window.Edit1->text().toStdString(), row.formula) << "separator " << row.separator;
    }
}

TEST_F(MainWindow, LabelsCaptionsAndHints)
{
    struct Row {
        QWidget* widget;
        const char* text;
    };
    auto caption = [](QWidget* w) {
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        if (auto* box = qobject_cast<QGroupBox*>(w)) return box->title();
        if (auto* button = qobject_cast<QToolButton*>(w)) return button->text();
        return QString();
    };
    for (Row row : {Row{Window->Label1, "Formula: y="}, Row{Window->Label5, "X min"},
                    Row{Window->Label6, "X max"}, Row{Window->Label10, "Step"},
                    Row{Window->GroupBox3, "Plot range"}, Row{Window->GroupBox2, "Graphic result"},
                    Row{Window->GroupBox4, "Text result: X versus Y"}, Row{Window->PlotSpdBtn, "Plot"}})
        EXPECT_EQ(caption(row.widget).toStdString(), row.text);

    for (Row row :
         {Row{Window->Edit1, "Enter equation into the editor"},
          Row{Window->E_X_i, "Assign minimum initial value for variable \"x\""},
          Row{Window->E_X_Fi, "Assign maximum final value for variable \"x\""},
          Row{Window->E_Step,
              "Step-value. The smaller the\nvalue it has, the more accurate\ndrawing you get."},
          Row{Window->PlotSpdBtn, "Plot the graph of the equation\nand also display the text value"}})
        EXPECT_EQ(row.widget->toolTip().toStdString(), row.text) << row.widget->objectName().toStdString();
}

TEST_F(MainWindow, ToolbarButtonsInOrderWithHintsAndIcons)
{
    std::vector<std::string> order;
    for (QAction* action : Window->ToolBar1->actions())
        if (!action->objectName().isEmpty()) order.push_back(action->objectName().toStdString());
    EXPECT_EQ(order, (std::vector<std::string>{"ExitToolButton", "AboutToolButton", "HelpToolButton",
                                               "ReportToolButton", "GraphToolButton", "SaveAsToolButton",
                                               "AnalysisToolButton"}));
    struct Row {
        QAction* button;
        const char* hint;
    };
    for (Row row : {Row{Window->ExitToolButton, "Exit"}, Row{Window->AboutToolButton, "About Qurvia"},
                    Row{Window->HelpToolButton, "Help"}, Row{Window->ReportToolButton, "Print report"},
                    Row{Window->GraphToolButton, "Print graph"}, Row{Window->SaveAsToolButton, "SaveAs"}}) {
        EXPECT_EQ(row.button->toolTip().toStdString(), row.hint);
        EXPECT_EQ(row.button->icon().pixmap(16, 16).size(), QSize(16, 16)) << row.hint;
    }
    EXPECT_EQ(Window->ToolBar1->height(), 29);
}

TEST_F(MainWindow, MenusHoldTheirItemsInOrder)
{
    std::vector<std::string> seen;
    for (QAction* menuAction : Window->menuBar()->actions()) {
        // The words as shown: a mnemonic's "&" only underlines a letter.
        seen.push_back("[" + menuAction->text().remove('&').toStdString() + "]");
        for (QAction* item : menuAction->menu()->actions())
            seen.push_back(item->isSeparator() ? "-" : item->text().remove('&').toStdString());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"[File]",
                                              "New document",
                                              "Open document...",
                                              "Save document",
                                              "Save document as...",
                                              "Recent documents",
                                              "-",
                                              "Save as...",
                                              "-",
                                              "Print report...",
                                              "Print graph...",
                                              "-",
                                              "Exit",
                                              "[View]",
                                              "Graphics",
                                              "Text",
                                              "-",
                                              "Toolbar",
                                              "-",
                                              "Break the line at poles",
                                              "Equal scales",
                                              "Finer axis labels",
                                              "-",
                                              "Function list",
                                              "Analysis",
                                              "[Edit]",
                                              "Copy text",
                                              "Copy as CSV",
                                              "Copy bitmap",
                                              "Copy metafile",
                                              "-",
                                              "Undo",
                                              "Redo",
                                              "-",
                                              "Add curve",
                                              "Add curve of kind",
                                              "Keep curve",
                                              "Remove curve",
                                              "Move curve up",
                                              "Move curve down",
                                              "Curve style...",
                                              "[Option]",
                                              "Settings...",
                                              "[Mode]",
                                              "Radians",
                                              "Degrees",
                                              "Grads",
                                              "[Help]",
                                              "Documentation...",
                                              "About..."}));
    for (QAction* withIcon : {Window->Saveas1, Window->Printreport1, Window->Printgraph1, Window->Exit1,
                              Window->Documentation1, Window->About1})
        EXPECT_FALSE(withIcon->icon().isNull()) << withIcon->objectName().toStdString();
    EXPECT_TRUE(Window->Settings1->icon().isNull());
}

TEST_F(MainWindow, ModeItemsFormOneRadioGroupThatTheBuiltinsFollow)
{
    struct Row {
        QAction* item;
        TAngleMode mode;
    };
    for (Row row : {Row{Window->Degrees1, TAngleMode::Degrees}, Row{Window->Grads1, TAngleMode::Grads},
                    Row{Window->Radians1, TAngleMode::Radians}, Row{Window->Grads1, TAngleMode::Grads}}) {
        row.item->trigger();
        EXPECT_TRUE(row.item->isChecked());
        int marked = 0;
        for (QAction* item : {Window->Radians1, Window->Degrees1, Window->Grads1})
            marked += item->isChecked();
        EXPECT_EQ(marked, 1);
        EXPECT_EQ(Window->AngleMode(), row.mode);
        EXPECT_EQ(CurrentAngleMode(), row.mode);
    }
    // Triggering the marked item again keeps it marked.
    Window->Grads1->trigger();
    EXPECT_TRUE(Window->Grads1->isChecked());
    EXPECT_EQ(CurrentAngleMode(), TAngleMode::Grads);
    // Without the window the built-ins go back to Radians.
    Window.reset();
    EXPECT_EQ(CurrentAngleMode(), TAngleMode::Radians);
}

TEST_F(MainWindow, UnmarkingGraphicsLetsTheTextFillTheResultArea)
{
    Window->Graphics1->trigger();
    Settle();
    EXPECT_FALSE(Window->Graphics1->isChecked());
    EXPECT_TRUE(Window->Text1->isChecked());
    EXPECT_FALSE(Window->GroupBox2->isVisible());
    EXPECT_FALSE(Window->Splitter1->isVisible());
    EXPECT_TRUE(Window->GroupBox4->isVisible());
    EXPECT_EQ(Window->GroupBox4->width(), Window->Panel3->width());

    // Unmarking the only shown panel swaps to the other one.
    Window->Text1->trigger();
    Settle();
    EXPECT_TRUE(Window->Graphics1->isChecked());
    EXPECT_FALSE(Window->Text1->isChecked());
    EXPECT_TRUE(Window->GroupBox2->isVisible());
    EXPECT_FALSE(Window->GroupBox4->isVisible());
    EXPECT_EQ(Window->GroupBox2->width(), Window->Panel3->width());
}

TEST_F(MainWindow, ShowingBothPanelsAgainGivesTheTextPanel172Pixels)
{
    struct Row {
        const char* name;
        void (TF_Main_GRF::*away)();
        void (TF_Main_GRF::*back)();
    };
    for (Row row : {Row{"graphics only", &TF_Main_GRF::Text1Click, &TF_Main_GRF::Text1Click},
                    Row{"text only", &TF_Main_GRF::Graphics1Click, &TF_Main_GRF::Graphics1Click}}) {
        // Whatever width the splitter had given the text panel before.
        Window->GroupBox4->setFixedWidth(250);
        Settle();
        (Window.get()->*row.away)();
        Settle();
        (Window.get()->*row.back)();
        Settle();
        EXPECT_EQ(Window->GroupBox4->width(), 172) << row.name;
        EXPECT_TRUE(Window->Splitter1->isVisible()) << row.name;
        EXPECT_LT(Window->Splitter1->x(), Window->GroupBox4->x()) << row.name;
        EXPECT_EQ(Window->GroupBox2->width() + 3 + 172, Window->Panel3->width()) << row.name;
    }
}

TEST_F(MainWindow, DraggingTheSplitterResizesTheTextPanel)
{
    QPoint start(1, 10);
    QTest::mousePress(Window->Splitter1, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start.x() - 40, start.y()),
                     Window->Splitter1->mapToGlobal(QPointF(start.x() - 40, start.y())), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Window->Splitter1, &move);
    QTest::mouseRelease(Window->Splitter1, Qt::LeftButton, {}, QPoint(start.x() - 40, start.y()));
    Settle();
    EXPECT_EQ(Window->GroupBox4->width(), 175 + 40);
}

TEST_F(MainWindow, ToolbarToggleKeepsTheSplit)
{
    Window->GroupBox4->setFixedWidth(200);
    Settle();
    Window->Toolbar2->trigger();
    Settle();
    EXPECT_FALSE(Window->Toolbar2->isChecked());
    EXPECT_FALSE(Window->ToolBar1->isVisible());
    EXPECT_EQ(Window->GroupBox4->width(), 200);
    EXPECT_EQ(Window->Panel1->y(), 0);
    Window->Toolbar2->trigger();
    Settle();
    EXPECT_TRUE(Window->ToolBar1->isVisible());
    EXPECT_EQ(Window->GroupBox4->width(), 200);
    EXPECT_EQ(Window->Panel1->y(), 29);
}

TEST_F(MainWindow, EnterInTheFormulaFieldIsDiscarded)
{
    Window->Edit1->setFocus();
    const QString before = Window->Edit1->text();
    QTest::keyClick(Window->Edit1, Qt::Key_Return);
    QTest::keyClick(Window->Edit1, Qt::Key_Enter);
    EXPECT_EQ(Window->Edit1->text(), before);
    EXPECT_EQ(PointCount(*Window), 0);
    EXPECT_TRUE(Window->Memo1->toPlainText().isEmpty());
    EXPECT_TRUE(Dialogs.Messages.empty());
    // Every other key passes unchanged.
    Window->Edit1->end(false);
    QTest::keyClicks(Window->Edit1, "+1");
    EXPECT_EQ(Window->Edit1->text(), before + "+1");
}

TEST_F(MainWindow, ExitClosesTheWindowFromButtonAndMenu)
{
    for (QAction* exit : {Window->ExitToolButton, Window->Exit1}) {
        Window->show();
        ASSERT_TRUE(Window->isVisible());
        exit->trigger();
        EXPECT_FALSE(Window->isVisible()) << exit->objectName().toStdString();
    }
}

TEST_F(MainWindow, SettingsShowsTheSettingsDialogModally)
{
    TOptionDialog settings;
    Window->SetStartupWindows({nullptr, nullptr, &settings});
    int shown = 0;
    TModalAnswer answer([&](QDialog& dialog) {
        EXPECT_EQ(&dialog, &settings);
        ++shown;
        return int(QDialog::Accepted);
    });
    Window->Settings1->trigger();
    EXPECT_EQ(shown, 1);
}

TEST_F(MainWindow, DocumentationShowsWithoutBlocking)
{
    THelperForm documentation;
    Window->SetStartupWindows({nullptr, &documentation, nullptr});
    for (QAction* command : {Window->HelpToolButton, Window->Documentation1}) {
        documentation.hide();
        command->trigger();
        EXPECT_TRUE(documentation.isVisible()) << command->objectName().toStdString();
    }
}

TEST_F(MainWindow, CommandsOfWindowsNotCreatedYetDoNothing)
{
    for (QAction* command :
         {Window->Settings1, Window->HelpToolButton, Window->ReportToolButton, Window->Printreport1})
        command->trigger();
    EXPECT_TRUE(Dialogs.Messages.empty());
    EXPECT_TRUE(Window->isVisible());
}

TEST_F(MainWindow, PrintReportShowsTheTableLinesOfThisMoment)
{
    TTextPrintForm report(Window.get());
    Window->SetStartupWindows({&report, nullptr, nullptr});
    Window->PlotSpdBtn->click();
    Window->Memo1->appendPlainText("typed in the table");
    QStringList shown;
    QTimer::singleShot(0, [&] {
        shown << report.RichEdit1->toPlainText();
        report.Button2Click();
    });
    Window->ReportToolButton->trigger();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.front(), Window->Memo1->toPlainText());
    EXPECT_TRUE(report.RichEdit1->toPlainText().isEmpty()) << "closing empties the report";
}

TEST_F(MainWindow, PrintGraphShowsThePreviewOfTheChart)
{
    int shown = 0;
    TModalAnswer answer([&](QDialog& dialog) {
        EXPECT_NE(dynamic_cast<TChartPreview*>(&dialog), nullptr);
        ++shown;
        return 0;
    });
    for (QAction* command : {Window->GraphToolButton, Window->Printgraph1})
        command->trigger();
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(Dialogs.Messages.empty());
}

TEST(ExceptionDisplay, ShowsTheMessageWithTheDotRule)
{
    TRecordingDialogs dialogs;
    struct Row {
        const char* name;
        std::function<void()> fail;
        const char* shown; // nullptr: nothing shown
    };
    const Row rows[] = {
        {"conversion", [] { throw EConvertError("abc"); }, "'abc' is not a valid floating point value."},
        {"range", [] { throw TMathExpr(Msg::StepZero); }, "Step must be non zero."},
        {"parse", [] { throw EQrvExprEvalError(Msg::FactorExpected); }, "Parse error: Factor expected."},
        {"domain", [] { throw EQrvMathError(); }, "Domain check failure in QrvMath."},
        {"zero divide", [] { throw EZeroDivide(); }, "Floating point division by zero."},
        {"overflow", [] { throw EOverflow(); }, "Floating point overflow."},
        {"invalid", [] { throw EInvalidOp(); }, "Invalid floating point operation."},
        {"ends in quote", [] { throw EQrvExprEvalError(Msg::UnknownSymbol, {"foo"}); },
         "Parse error: Unknown symbol: 'foo'"},
        {"ends in dot", [] { throw Exception(std::string("Done.")); }, "Done."},
        {"standard", [] { throw std::runtime_error("bad thing"); }, "bad thing."},
        {"silent abort", [] { throw EAbort(); }, nullptr},
    };
    for (const Row& row : rows) {
        dialogs.Messages.clear();
        ExecuteCommand(row.fail);
        if (!row.shown) {
            EXPECT_TRUE(dialogs.Messages.empty()) << row.name;
            continue;
        }
        ASSERT_EQ(dialogs.Messages.size(), 1u) << row.name;
        EXPECT_EQ(dialogs.Messages[0].text, row.shown) << row.name;
        EXPECT_EQ(dialogs.Messages[0].caption, "Qurvia (Veltano)") << row.name;
        EXPECT_EQ(dialogs.Messages[0].type, TMsgDlgType::mtError) << row.name;
    }
}

} // namespace
} // namespace qrv::test
