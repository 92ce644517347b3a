// The runs of a document's curves. A curve is plotted by the run of its
// kind (a function curve through RunPlot, with its own evaluator), into a
// target of its own; a run of all curves gives each curve's error to that
// curve and goes on with the next one. The window and the command line
// plot documents through these functions.
//
//   curve -> run of its kind -> target of the curve
//                            -> outcome (started? the error as shown)
#pragma once

#include "QrvCurveTable.h"
#include "QrvDocument.h"
#include "QrvImplicitRun.h"
#include "QrvPlotProgress.h"
#include "QrvPlotRun.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qrv
{

// The Plot fields of a function curve: its formula and range texts.
TPlotFields FunctionFields(const TCurve& curve);

// How the curves of a run are plotted and watched.
struct TCurveRunOptions {
    TPlotOptions Plot;
    // Watches each curve's run when set; Clock then times it (the system's
    // steady clock when none is given).
    TProgressView* Progress = nullptr;
    TRunClock* Clock = nullptr;
    TProgressTimes Times;
    // The curves of the document being run (RunCurves sets them): a
    // derivative curve finds the curve it derives there.
    std::span<const TCurve> Curves = {};
    // The chart an implicit curve is drawn on; its grid is as fine as that.
    TChartPixels Pixels;
};

// Plots one curve into `target` through the run of its kind, in the angle
// mode in force. Every error leaves it as an exception, as RunPlot's do; a
// kind that this program cannot plot yet raises Msg::CurveKindNotPlotted.
void RunCurve(const TCurve& curve, TPlotTarget& target, const TCurveRunOptions& options = {});

// The x values a curve's points lie on: for a function curve its range as
// read, which gives every curve of the same range the same x values;
// nothing for a range that cannot be read and for kinds whose points lie
// on no grid of x.
std::optional<TPlotRange> CurveGrid(const TCurve& curve);

// The lines the curve's run writes into its table: x and y (a function),
// t, x and y (parametric, polar), or a note instead of values (implicit).
TTableShape CurveTableShape(const TCurve& curve);

// Whether the curve is a function of x, whose series keeps its points in x
// order; the other kinds are drawn in the order their runs make the points.
bool CurvePointsInXOrder(const TCurve& curve);

// The document's curves with their texts as the current decimal separator
// reads them: the document's own, or those of a converted copy that
// `converted` keeps.
const std::vector<TCurve>& CurvesInCurrentSeparator(const TDocument& document,
                                                    std::optional<TDocument>& converted);

// What became of one curve of a run of several.
struct TCurveOutcome {
    bool Ran = false;     // it had a target and its turn came
    bool Started = false; // its formula was read: its target holds what it made
    bool Failed = false;  // an error (or a stop) ended it
    std::string Error;    // the error as the error display shows it; empty for a stop
};

// Runs curve i of the document into targets[i], in the order of the
// curves, skipping those whose target is null. The document's angle mode is
// in force for the runs, and its texts are read with the current decimal
// separator (converted first when the document names another one). An
// error ends that curve's run only; a stop (EAbort, a progress view asking
// to stop) ends the whole run, leaving the later curves not run.
// `curveDone`, when given, hears of each curve that ran as soon as it ends.
std::vector<TCurveOutcome>
RunCurves(const TDocument& document, std::span<TPlotTarget* const> targets,
          const TCurveRunOptions& options = {},
          const std::function<void(std::size_t index, const TCurveOutcome&)>& curveDone = {});

} // namespace qrv
