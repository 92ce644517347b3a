// The definite integral of a curve by adaptive Gauss-Kronrod (G10-K21) in
// Float: the interval with the largest error estimate is halved until the
// estimates together fall to the rounding level of the integrand's size.
#pragma once

#include "QrvAnalysisFunction.h"
#include "QrvFeatures.h"

namespace qrv
{

struct TIntegral {
    Float Value = 0;
    Float Error = 0; // estimated absolute error
    TNoValue NoValue = TNoValue::None;
    // Failure: where the formula failed, and its message.
    Float FaultX = 0;
    std::string FaultMessage;
};

// The integral from a to b (negative for a > b), starting from `pieces`
// equal intervals. A failure at a node gives no value (Failure); so does an
// estimate that stays above a millionth of the value after 1000 intervals
// or where an interval cannot be halved any more (NoConvergence, Error
// holding the estimate).
TIntegral Integrate(TAnalysisFunction& function, Float a, Float b, int pieces = 1);

} // namespace qrv
