// The View menu rules and the table text, without a window.
#include "DecimalSeparatorScope.h"
#include "QrvNumberText.h"
#include "QrvPanelArrangement.h"
#include "QrvTableText.h"

#include <gtest/gtest.h>

namespace qrv::test
{
namespace
{

TEST(PanelArrangement, TogglesKeepOnePanelShown)
{
    struct Row {
        const char* name;
        std::vector<void (*)(TViewMarks&)> toggles;
        TViewMarks marks;
    };
    const Row rows[] = {
        {"graphics off", {ToggleGraphics}, {false, true, true}},
        {"text off", {ToggleText}, {true, false, true}},
        {"graphics off then text off", {ToggleGraphics, ToggleText}, {true, false, true}},
        {"text off then graphics off", {ToggleText, ToggleGraphics}, {false, true, true}},
        {"graphics off and on", {ToggleGraphics, ToggleGraphics}, {true, true, true}},
        {"toolbar alone", {ToggleToolbar}, {true, true, false}},
        {"toolbar twice", {ToggleToolbar, ToggleToolbar}, {true, true, true}},
    };
    for (const Row& row : rows) {
        TViewMarks marks;
        for (auto toggle : row.toggles)
            toggle(marks);
        EXPECT_EQ(marks, row.marks) << row.name;
    }
}

TEST(PanelArrangement, WhatTheResultAreaShows)
{
    struct Row {
        const char* name;
        TViewMarks marks;
        TPanelArrangement arrangement;
    };
    const Row rows[] = {
        {"both", {true, true, true}, {true, true, true, TTextDock::Right, true, true}},
        {"text only", {false, true, true}, {false, false, true, TTextDock::Client, false, true}},
        {"graphics only", {true, false, true}, {true, false, false, TTextDock::Right, false, true}},
        {"both, no toolbar", {true, true, false}, {true, true, true, TTextDock::Right, true, false}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ArrangeResultPanels(row.marks), row.arrangement) << row.name;
}

TEST(TableText, LinesInTheThreeDecimalFormat)
{
    struct Row {
        double x, y;
        char separator;
        const char* line;
    };
    for (Row row : {Row{817, 5.22, '.', "817.000   5.220"}, Row{837, 5.20912, '.', "837.000   5.209"},
                    Row{817, 5.22, ',', "817,000   5,220"}, Row{-2.0625, -0.0004, '.', "-2.063   0.000"},
                    Row{709, 8.218407461554972e307, '.', "709.000   8.21840746155497E307"}}) {
        test::TDecimalSeparatorScope separator(row.separator);
        EXPECT_EQ(TableLine(row.x, row.y), row.line);
    }
}

TEST(TableText, JoinedForTheControlTerminatedForFiles)
{
    TTableText table;
    EXPECT_EQ(table.Text(), "");
    EXPECT_EQ(table.Terminated("\r\n"), "");
    table.AddLine(1, 2);
    table.AddLine(3, 4);
    EXPECT_EQ(table.LineCount(), 2u);
    EXPECT_EQ(table.Text(), "1.000   2.000\n3.000   4.000");
    EXPECT_EQ(table.Terminated("\r\n"), "1.000   2.000\r\n3.000   4.000\r\n");
    EXPECT_EQ(table.Terminated("\n"), "1.000   2.000\n3.000   4.000\n");
    table.Clear();
    EXPECT_TRUE(table.Empty());
    EXPECT_EQ(table.Text(), "");
}

} // namespace
} // namespace qrv::test
