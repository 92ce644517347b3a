// The command line's --analyze: the features of a document's curves as the
// lines of FeatureLine (tab separated, LF, always a decimal point), written
// to a file or standard output.
#pragma once

#include "QrvDocument.h"

#include <ostream>
#include <string>

namespace qrv
{

// The features of the shown function and derivative curves of the
// document, in its angle mode, each over its own range; curves whose
// formula or range cannot be read have none, and a curve whose formula
// fails inside its range reports what its points allowed. A derivative
// curve is analysed as its own function (f' of its formula), through the
// jets of the formula it derives.
std::string AnalysisText(const TDocument& document);

// Writes AnalysisText to `destination` ("-": `out`); raises what writing
// raises.
void WriteAnalysis(const std::string& destination, const TDocument& document, std::ostream& out);

} // namespace qrv
