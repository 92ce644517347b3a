// The Plot run: reads and checks the range, compiles the formula once and
// evaluates it from X min towards X max in steps, handing every point to a
// target. The main window and the command line both plot through RunPlot.
//
//   fields (text) -> range (doubles, checked) -> evaluator -> target
#pragma once

#include "QrvTableText.h"

#include <string>

namespace qrv
{

// The four fields of a Plot, as typed.
struct TPlotFields {
    std::string Formula;
    std::string XMin;
    std::string XMax;
    std::string Step;
};

// The fields at program start; the formula is written with the given
// decimal separator so that it compiles in every locale.
TPlotFields StartupFields(char decimalSeparator);

struct TPlotRange {
    double XMin = 0;
    double XMax = 0;
    double Step = 0;
};

// Converts the three range fields in the order X min, X max, Step (a field
// that is not a number raises EConvertError, one beyond the double range
// EOverflow; later fields are then not read) and checks the range (TMathExpr).
TPlotRange ReadPlotRange(const TPlotFields& fields);

// The checks of a converted range, in order: direction against the sign of
// the step, a zero step, more than 10 000 steps.
void CheckPlotRange(const TPlotRange& range);

// Where the points of a run go.
class TPlotTarget
{
public:
    virtual ~TPlotTarget() = default;
    // Called first, before anything is read: every failure leaves the target
    // empty or holding the points produced before it.
    virtual void ClearPoints() = 0;
    virtual void AddPoint(double x, double y) = 0;
};

// The text table of the run's points.
class TTableTarget : public TPlotTarget
{
public:
    void ClearPoints() override { FTable.Clear(); }
    void AddPoint(double x, double y) override { FTable.AddLine(x, y); }
    const TTableText& Table() const { return FTable; }

private:
    TTableText FTable;
};

// The run. Every error leaves it as an exception; the points handed to the
// target before the error stay there.
void RunPlot(const TPlotFields& fields, TPlotTarget& target);

} // namespace qrv
