// The analysis of a document: the features of its shown curves of x
// (functions and derivatives), each over its own range, and the value with
// its first two derivatives of one curve at any x. The command line's
// --analyze writes the one, the window's Analysis pane lists both.
#pragma once

#include "QrvDocument.h"
#include "QrvFeatures.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qrv
{

// The features of the shown function and derivative curves of the
// document, in its angle mode, each over its own range, sorted as
// SortFeatures sorts them. Curves whose formula or range cannot be read
// have none, and a curve whose formula fails inside its range reports what
// its points allowed. A derivative curve is analysed as its own function
// (f' of its formula), through the jets of the formula it derives.
std::vector<TFeature> AnalyzeDocument(const TDocument& document);

// One of f, f' and f'' at a point: its value, or why it has none (the
// formula's error message, "not differentiable", or that the order is
// beyond what the jets carry).
struct TPointValue {
    std::optional<Float> Value;
    std::string Why;
};

// f, f' and f'' of the curve at `index` (0-based) at x, in the document's
// angle mode; nothing when the curve is no curve of x or its formula cannot
// be read.
std::optional<std::array<TPointValue, 3>> EvaluateCurveAt(const TDocument& document, int index, Float x);

// The x typed for EvaluateCurveAt: a number with the current decimal
// separator (blanks around it ignored), else a formula without x ("pi/2")
// in the document's angle mode. Raises what reading the formula raises.
Float EvaluationX(const TDocument& document, std::string_view text);

// The three for people, one line each, the curve named f<number> as the
// list names it (DisplayNumber's digits):
//   f1(x) = 0.8414709848078965066
//   f1'(x) = 0.54030230586813971741
//   f1''(x) = not differentiable
std::string EvaluationText(const std::array<TPointValue, 3>& values, int number, char decimalSeparator);

} // namespace qrv
