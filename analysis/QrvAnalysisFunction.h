// What the analysis asks of a curve: its value with the first and second
// derivative at any x, and whether it has a pole between two neighbouring
// samples. The program answers with the compiled formula (its derivatives)
// and the pole probe of the Plot run; the tests with functions of their own.
#pragma once

#include "QrvFloat.h"

#include <optional>
#include <string>

namespace qrv
{

// The value of a curve at one x and its first two derivatives. A derivative
// that does not exist there (a corner of abs, a step of div: "not
// differentiable") has its Has flag false; its number means nothing then.
struct TJet {
    Float Value = 0;
    Float D1 = 0;
    Float D2 = 0;
    bool HasD1 = false;
    bool HasD2 = false;
};

// How much of the jet a caller needs at a point; an implementation may
// always give more. The integral needs values only, root refinement the
// first derivative, everything else both.
enum class TJetNeed { Value, First, Second };

class TAnalysisFunction
{
public:
    virtual ~TAnalysisFunction() = default;

    // The jet at x; nothing when the formula raises an error there.
    virtual std::optional<TJet> At(Float x, TJetNeed need) = 0;

    // The message of the error raised by the latest At that gave nothing.
    virtual std::string FailureText() const = 0;

    // Whether the curve has a pole (or is undefined) strictly between the
    // points (xa, ya) and (xb, yb), where At succeeded. The analysis asks
    // only between neighbouring points where f, f' or f'' changes sign, so
    // the program's probe (which needs values at both ends) costs little.
    virtual bool PoleBetween(Float xa, Float ya, Float xb, Float yb) = 0;
};

} // namespace qrv
