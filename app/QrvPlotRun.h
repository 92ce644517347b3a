// The Plot run: reads and checks the range, compiles the formula once and
// evaluates it from X min towards X max in steps, handing every point to a
// target. The main window and the command line both plot through RunPlot.
//
//   fields (text) -> range (doubles, checked) -> evaluator -> target
#pragma once

#include "QrvExprEval.h"
#include "QrvTableText.h"

#include <functional>
#include <string>
#include <string_view>

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

// One range field converted as the Plot run converts it: the locale's
// decimal separator, blanks around the number ignored; a text that is not a
// number raises EConvertError, a number beyond the double range EOverflow.
double ReadRangeField(const std::string& text);

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
    // A point of a curve of a parameter (parametric, polar): drawn at (x, y),
    // listed in the table as t, x and y. Without a table of its own kind the
    // target takes it as the point (x, y).
    virtual void AddCurvePoint(double /*t*/, double x, double y) { AddPoint(x, y); }
    // A point that is drawn but has no line in the table (an implicit
    // curve's vertices, which lie on no grid).
    virtual void AddDrawnPoint(double x, double y) { AddPoint(x, y); }
    // A line of text for the table instead of values: why a curve lists none.
    virtual void AddTableNote(std::string_view /*note*/) {}
    // With line breaks at poles asked for: the curve has a pole between the
    // point added last and the next one, so no line joins them.
    virtual void BreakLine() {}
    // Called once the formula has been read, after a successful compile and
    // before the rethrow of a failed one: where reading stopped, and the
    // text after a complete formula that is not part of it (empty when the
    // whole text was used). The window selects the stop token of an error
    // and shows a hint for ignored text; the command line warns.
    virtual void FormulaRead(bool /*compiled*/, TTextSpan /*stopToken*/, std::string_view /*ignored*/) {}
};

// How the formula of a run was read.
struct TFormulaReading {
    bool Compiled = false;
    TTextSpan StopToken;     // see TCompiledEvaluator::StopToken
    std::string IgnoredText; // text after a complete formula
};

// The text table of the run's points.
class TTableTarget : public TPlotTarget
{
public:
    void ClearPoints() override { table_.Clear(); }
    void AddPoint(double x, double y) override
    {
        if (listsPoints_) table_.AddLine(x, y);
    }
    void AddCurvePoint(double t, double x, double y) override
    {
        if (listsPoints_) table_.AddLine(t, x, y);
    }
    void AddDrawnPoint(double, double) override {}
    void AddTableNote(std::string_view note) override { table_.AddNote(note); }
    void FormulaRead(bool compiled, TTextSpan stopToken, std::string_view ignored) override
    {
        reading_ = {compiled, stopToken, std::string(ignored)};
        if (!ignored.empty() && OnIgnoredText) OnIgnoredText(ignored);
    }
    const TTableText& Table() const { return table_; }
    const TFormulaReading& Reading() const { return reading_; }

    // Told at once about text after a complete formula.
    std::function<void(std::string_view)> OnIgnoredText;

    // A run whose table nobody reads (the command line's --analyze without
    // --table) lists no points: it runs for its errors and exit status.
    void SetListsPoints(bool lists) { listsPoints_ = lists; }

private:
    bool listsPoints_ = true;
    TTableText table_;
    TFormulaReading reading_;
};

// The quiet hint about text after a complete formula: "Ignored after the
// formula: ^2".
std::string IgnoredTextHint(std::string_view ignored);

// Choices of a run beyond its fields.
struct TPlotOptions {
    // Probe the formula between neighbouring points and tell the target
    // where a pole lies between them (BreakLine). The points are the same.
    bool BreakAtPoles = false;
};

// Compiles the formula of a run into the evaluator, whose variables are
// bound, and tells the target how it was read (FormulaRead), also before
// the rethrow of a compile error. A run of two formulas (x and y of t)
// tells of each in turn.
void CompileFormula(TCompiledEvaluator& evaluator, const std::string& formula, TPlotTarget& target);

// The run. Every error leaves it as an exception; the points handed to the
// target before the error stay there.
void RunPlot(const TPlotFields& fields, TPlotTarget& target, const TPlotOptions& options = {});

} // namespace qrv
