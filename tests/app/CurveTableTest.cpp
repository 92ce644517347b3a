// The table of several curves: x once and a y per curve, blocks for other
// grids, empty cells after an early stop, CSV quoting of the headers, and
// exactly the single run's table for one curve.
#include "DecimalSeparatorScope.h"
#include "QrvCurveTable.h"
#include "QrvTableCsv.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>

namespace qrv::test
{
namespace
{

// A curve's table: y = factor * x at x = 0, 1, ... lines - 1.
struct TColumnShape {
    std::string Name;
    int Grid = 1; // 0: none; equal numbers are one grid
    std::size_t Lines = 3;
    double Factor = 1;
};

struct TTableCase {
    const char* Name;
    std::vector<TColumnShape> Columns;
    char Decimal;
    const char* Text; // lines ended by "|"
    const char* Csv;  // lines ended by "|"
};
void PrintTo(const TTableCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CurveTable : public testing::TestWithParam<TTableCase>
{
protected:
    std::vector<TCurveColumn> Columns()
    {
        std::vector<TCurveColumn> columns;
        for (const TColumnShape& shape : GetParam().Columns) {
            TTableText& table = tables_.emplace_back();
            for (std::size_t i = 0; i < shape.Lines; ++i)
                table.AddLine(double(i), shape.Factor * double(i));
            std::optional<TPlotRange> grid;
            if (shape.Grid) grid = TPlotRange{0, double(shape.Grid), 1};
            columns.push_back({shape.Name, grid, &table});
        }
        return columns;
    }

private:
    std::deque<TTableText> tables_; // stays where it is as it grows
};

std::string Lines(std::string text, const char* end)
{
    for (std::size_t at = 0; (at = text.find('|', at)) != std::string::npos; at += std::strlen(end))
        text.replace(at, 1, end);
    return text;
}

TEST_P(CurveTable, WritesTheCurvesSideBySide)
{
    const TDecimalSeparatorScope separator(GetParam().Decimal);
    const auto columns = Columns();
    EXPECT_EQ(CurveTableText(columns, "\n"), Lines(GetParam().Text, "\n"));
    EXPECT_EQ(CurveTableText(columns, "\r\n"), Lines(GetParam().Text, "\r\n"));
    EXPECT_EQ(CurveTableCsv(columns, GetParam().Decimal), Lines(GetParam().Csv, "\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CurveTable,
    testing::Values(
        TTableCase{"NoCurve", {}, '.', "", "x|"},
        TTableCase{"SameGrid",
                   {{"x", 1, 2, 1}, {"2*x", 1, 2, 2}},
                   '.',
                   "x   x   2*x|0.000   0.000   0.000|1.000   1.000   2.000|",
                   "x,x,2*x|0.000,0.000,0.000|1.000,1.000,2.000|"},
        TTableCase{"EarlyStopLeavesLaterCellsEmpty",
                   {{"a", 1, 3, 1}, {"b", 1, 1, 2}, {"c", 1, 2, 3}},
                   '.',
                   "x   a   b   c|0.000   0.000   0.000   0.000|1.000   1.000      3.000|2.000   2.000|",
                   "x,a,b,c|0.000,0.000,0.000,0.000|1.000,1.000,,3.000|2.000,2.000,,|"},
        TTableCase{"TheXOfALaterCurveThatWentFurther",
                   {{"a", 1, 1, 1}, {"b", 1, 2, 2}},
                   '.',
                   "x   a   b|0.000   0.000   0.000|1.000      2.000|",
                   "x,a,b|0.000,0.000,0.000|1.000,,2.000|"},
        TTableCase{"NoPointAtAll", {{"a", 1, 0, 1}, {"b", 1, 0, 2}}, '.', "x   a   b|", "x,a,b|"},
        TTableCase{"OtherGridsAreBlocks",
                   {{"a", 1, 1, 1}, {"b", 2, 2, 2}, {"c", 2, 1, 3}, {"d", 1, 1, 4}},
                   '.',
                   "x   a|0.000   0.000||x   b   c|0.000   0.000   0.000|1.000   2.000||x   d|0.000   0.000|",
                   "x,a|0.000,0.000||x,b,c|0.000,0.000,0.000|1.000,2.000,||x,d|0.000,0.000|"},
        TTableCase{"NoGridSharesNoBlock",
                   {{"a", 0, 1, 1}, {"b", 0, 1, 2}},
                   '.',
                   "x   a|0.000   0.000||x   b|0.000   0.000|",
                   "x,a|0.000,0.000||x,b|0.000,0.000|"},
        TTableCase{
            "HeadersAreQuotedWhereNeeded",
            {{"max(x;1)", 1, 1, 1}, {"1,5*x", 1, 1, 2}, {"say \"y\"", 1, 1, 3}, {"two\nlines", 1, 1, 4}},
            '.',
            "x   max(x;1)   1,5*x   say \"y\"   two lines|0.000   0.000   0.000   0.000   0.000|",
            "x,max(x;1),\"1,5*x\",\"say \"\"y\"\"\",\"two\nlines\"|0.000,0.000,0.000,0.000,0.000|"},
        TTableCase{"DecimalCommaQuotesSemicolons",
                   {{"max(x;1)", 1, 2, 1}, {"x*0,5", 1, 2, 0.5}},
                   ',',
                   "x   max(x;1)   x*0,5|0,000   0,000   0,000|1,000   1,000   0,500|",
                   "x;\"max(x;1)\";x*0,5|0,000;0,000;0,000|1,000;1,000;0,500|"}),
    RowName{});

TEST(CurveTable, OneCurveIsExactlyTheSingleTable)
{
    // The table of a run of one curve, edits of big numbers included.
    const TDecimalSeparatorScope point('.');
    TTableText table;
    for (const double x : {-2.0625, 1e20, 0.0625, -0.0004})
        table.AddLine(x, x * 3);
    const TCurveColumn one[] = {{"ignored", TPlotRange{0, 1, 1}, &table}};
    EXPECT_EQ(CurveTableText(one, "\r\n"), table.Terminated("\r\n"));
    EXPECT_EQ(CurveTableCsv(one, '.'), TableCsv(table.Text(), '.'));
}

} // namespace
} // namespace qrv::test
