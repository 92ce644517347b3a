// The Plot cases run straight through RunPlot into a plain table target, as
// the command line does and without a window, so they also run in the
// sanitizer build. A few of them also go end to end through the window and
// the qurvia program (MainWindowPlotTest, BatchTest).
#include "PlotCases.h"
#include "DecimalSeparatorScope.h"
#include "QrvAngleMode.h"
#include "QrvErrors.h"
#include "QrvPlotRun.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qrv::test
{
namespace
{

std::vector<std::string> LinesOf(std::string_view text)
{
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        lines.emplace_back(text.substr(start, end - start));
    lines.emplace_back(text.substr(start));
    return lines;
}

class PlotCase : public ::testing::TestWithParam<TPlotCase>
{
};

TEST_P(PlotCase, GivesTheTableAndTheMessage)
{
    const TPlotCase& c = GetParam();
    TDecimalSeparatorScope separator(c.Separator);
    TScopedAngleMode mode(c.Mode);
    TPlotFields fields = StartupFields(c.Separator);
    if (c.Formula) fields.Formula = *c.Formula;
    if (c.XMin) fields.XMin = *c.XMin;
    if (c.XMax) fields.XMax = *c.XMax;
    if (c.Step) fields.Step = *c.Step;

    TTableTarget target;
    std::string shown;
    try {
        RunPlot(fields, target);
    } catch (const Exception& error) {
        shown = DisplayText(error.Message());
    }

    const auto lines = LinesOf(target.Table().Text());
    ASSERT_EQ(lines.size(), c.Lines);
    EXPECT_EQ(target.Table().LineCount(), c.Lines);
    if (!c.FirstLine.empty()) {
        EXPECT_EQ(lines.front(), c.FirstLine);
    }
    if (!c.LastLine.empty()) {
        EXPECT_EQ(lines.back(), c.LastLine);
    }
    EXPECT_EQ(shown, c.Error);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlotCase, ::testing::ValuesIn(PlotCases()), RowName{});

} // namespace
} // namespace qrv::test
