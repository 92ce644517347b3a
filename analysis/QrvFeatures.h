// The features of plotted curves: over each curve's own range the roots,
// minima, maxima and inflection points, the intersections of each pair of
// curves over their common range, and each curve's definite integral.
//
// How they are found. The curve is evaluated (value, f', f'') at the run's
// sample xs (SampleXs). Samples where the formula fails split the range into
// pieces, and so does a pole: wherever f, f' or f'' changes sign between two
// neighbouring samples the curve is asked whether a pole lies between them.
// Nothing is ever found across a failing sample or a pole.
// Within a piece, inflection points come from sign changes of f'', minima
// and maxima from sign changes of f' (minimum: from - to +), roots from sign
// changes of f or an exact zero at a point. Each is refined inside its
// bracket until the two ends are neighbouring Floats or the quantity is
// exactly zero: Newton's method on the exact derivative (f' for roots, f''
// for extrema; a secant for inflections), kept inside the bracket, with a
// bisection whenever the bracket has not halved in two steps. The search
// for extrema also looks at the inflection points, and the search for roots
// at the extrema too, so two roots (or two extrema) between neighbouring
// samples are found from the extremum (inflection) between them.
// Minima, maxima and inflections are local to the open range: they need a
// sign on both sides. Roots include an exact zero at X min or X max.
//
// What users expect in the special cases:
// - Touching roots: a minimum or maximum where f reaches zero without a sign
//   change ((x-1)^2, (x-pi)^2, sin(x)^2 at pi) is also a root, when f there
//   is zero to the precision of its terms: |f| <= 128 eps (|x f'| +
//   |x^2 f''|/2). A minimum above that (x^2 + 1e-6) is no root; one below
//   zero between positive samples gives the two roots around it.
// - Flat pieces: where f is exactly zero at two or more neighbouring
//   samples, each end of the piece inside the range is a root (found to the
//   last Float where f is still zero); the points inside are none, and a
//   curve that is zero everywhere has no roots. Zero at one sample only
//   (with points found beside it) is one root: 1 - cos(x) is exactly 0 for
//   |x| < 3e-10, and has one root, at 0. The same for runs of f' = 0 (a plateau between
//   a fall and a rise gives a minimum at each end; a terrace none) and f''.
// - Jumps: a sign change where the curve is not continuous (x div 1 + 0.5,
//   a step of f' where f jumps) is neither a root nor an extremum. A corner
//   of a continuous curve (abs(x - 0.3)) is an extremum.
// - Intersections of two curves are the roots of their difference over the
//   union of both sample grids inside the common range (with the usual
//   shared grid no point is evaluated twice); two curves equal over a piece
//   intersect at its ends only.
// - The integral runs from X min to X max (negative when X min > X max) by
//   adaptive Gauss-Kronrod (G10-K21) in Float. A failing sample or a pole
//   anywhere in the range, a failure at a node, or no convergence gives no
//   value and the reason.
#pragma once

#include "QrvAnalysisFunction.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qrv
{

// In the order features at the same x are listed.
enum class TFeatureKind { Root, Minimum, Maximum, Inflection, Intersection, Integral };

// Why an integral has no value.
enum class TNoValue { None, Pole, Failure, NoConvergence };

struct TFeature {
    TFeatureKind Kind = TFeatureKind::Root;
    int Curve = 0;
    // Intersections: the second curve (greater than Curve); otherwise 0.
    int OtherCurve = 0;
    // The point: x, and y = f(x) of Curve.
    Float X = 0;
    Float Y = 0;

    // Integrals only: the value and its estimated absolute error, or why
    // there is none.
    Float Value = 0;
    Float Error = 0;
    TNoValue NoValue = TNoValue::None;
    // Pole: about where (the middle of the sample interval) and the width of
    // that interval; failure: where, and the formula's message; no
    // convergence: Error holds the estimate reached.
    Float FaultX = 0;
    Float FaultWidth = 0;
    std::string FaultMessage;

    bool HasValue() const { return NoValue == TNoValue::None; }
};

// One curve to analyse: its number (as the document counts, from 1), the
// function and the run's range (checked: see CheckPlotRange).
struct TCurveInput {
    int Number = 1;
    TAnalysisFunction* Function = nullptr;
    double XMin = 0;
    double XMax = 0;
    double Step = 0;
};

// What an analysis cost.
struct TAnalysisCounts {
    std::uint64_t Evaluations = 0;   // calls of At
    std::uint64_t PoleQuestions = 0; // calls of PoleBetween
};

// Every feature of the curves and of each pair, sorted (SortFeatures).
// Raises what SampleXs raises for a bad range.
std::vector<TFeature> AnalyzeCurves(const std::vector<TCurveInput>& curves,
                                    TAnalysisCounts* counts = nullptr);

// Single curves first by curve number, then pairs (1&2, 1&3, 2&3, ...);
// within each by x, at equal x in the order of TFeatureKind; a curve's
// integral last.
void SortFeatures(std::vector<TFeature>& features);

} // namespace qrv
