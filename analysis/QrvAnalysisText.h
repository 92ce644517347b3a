// The texts of the analysis: why an integral has no value. Keyed like the
// program's messages, so every text stands in one table.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace qrv
{

enum class AnalysisText { PoleAbout, FormulaFails, NotFinite, NoConvergence, Count_ };

// The text with its placeholders replaced, in order, by the arguments.
std::string FormatAnalysisText(AnalysisText id, std::initializer_list<std::string_view> args = {});

} // namespace qrv
