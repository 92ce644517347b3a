#include "QrvAnalysisText.h"

#include "QrvMessageTable.h"

namespace qrv
{

namespace
{

constexpr TMessageTable<AnalysisText> kTexts{
    {AnalysisText::PoleAbout, "pole at about x = %s"},
    {AnalysisText::FormulaFails, "the formula fails at x = %s: %s"},
    {AnalysisText::NotFinite, "the value is not a finite number"},
    {AnalysisText::NoConvergence, "the integral does not converge (estimated error %s)"},
};

} // namespace

std::string FormatAnalysisText(AnalysisText id, std::initializer_list<std::string_view> args)
{
    return FormatPattern(kTexts.Text(id), args);
}

} // namespace qrv
