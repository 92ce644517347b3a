// The search for the features of one function over its samples (see
// QrvFeatures.h for the rules): pieces between failures and poles, sign
// changes, runs of zeros, and the refinement of each bracket.
#pragma once

#include "QrvFeatures.h"
#include "QrvSampledCurve.h"

#include <vector>

namespace qrv
{

struct TFoundPoint {
    TFeatureKind Kind = TFeatureKind::Root;
    Float X = 0;
    TJet Jet;
};

// A pole between two neighbouring samples.
struct TPoleInterval {
    Float XA = 0;
    Float XB = 0;
};

struct TSearchResult {
    std::vector<TFoundPoint> Features; // by ascending x, kinds Root..Inflection
    std::vector<TPoleInterval> Poles;  // by ascending x
};

// The features of `function` from its samples (ascending x). Without
// inflections f'' neither splits pieces nor yields features.
TSearchResult SearchFeatures(TAnalysisFunction& function, const std::vector<TSample>& samples,
                             bool inflections);

// The point strictly between a and b (a < b, not neighbours) that a
// bisection of the Floats takes: 0 between signs, the arithmetic middle
// within a factor of two, otherwise the middle of the exponents, so that any
// bracket closes in well under 100 halvings.
Float Between(Float a, Float b);

} // namespace qrv
