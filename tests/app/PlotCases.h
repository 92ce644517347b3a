// The Plot run's cases. All of them run through RunPlot into a table
// (PlotCasesTest); the end-to-end ones also through the main window and the
// qurvia program, which must give the same table and the same message.
#pragma once

#include "QrvAngleMode.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qrv::test
{

struct TPlotCase {
    const char* Name;
    // Unset fields keep their start-up texts.
    std::optional<std::string> Formula, XMin, XMax, Step;
    TAngleMode Mode = TAngleMode::Radians;
    char Separator = '.';
    std::size_t Lines = 0;
    std::string FirstLine; // empty: not checked
    std::string LastLine;
    std::string Error; // as shown, "." rule applied; empty: none
};

inline std::ostream& operator<<(std::ostream& os, const TPlotCase& c)
{
    return os << c.Name;
}

inline std::vector<TPlotCase> PlotCases()
{
    const std::string tooSmall = "Too small absolute step value.";
    return {
        {"StartupInputs",
         {},
         {},
         {},
         {},
         TAngleMode::Radians,
         '.',
         60,
         "817.000   5.220",
         "1997.000   4.578",
         ""},
        {"EqualEndsPositiveStep",
         {},
         "5",
         "5",
         "1",
         TAngleMode::Radians,
         '.',
         1,
         "5.000   5.662",
         "5.000   5.662",
         ""},
        {"EqualEndsNegativeStep", {}, "5", "5", "-1", TAngleMode::Radians, '.', 1, "5.000   5.662", "", ""},
        {"TenthsReachOne", "x", "0", "1", "0.1", TAngleMode::Radians, '.', 11, "0.000   0.000",
         "1.000   1.000", ""},
        {"TenthsDescending", "x", "1", "0", "-0.1", TAngleMode::Radians, '.', 11, "1.000   1.000",
         "0.000   0.000", ""},
        {"RunsDownwards",
         {},
         "2000",
         "817",
         "-20",
         TAngleMode::Radians,
         '.',
         60,
         "2000.000   4.576",
         "820.000   5.218",
         ""},
        {"TenThousandSteps", "x", "0", "10000", "1", TAngleMode::Radians, '.', 10001, "0.000   0.000",
         "10000.000   10000.000", ""},
        {"TenThousandAndOneSteps", "x", "0", "10001", "1", TAngleMode::Radians, '.', 0, "", "", tooSmall},
        {"InitialGreater",
         {},
         "2000",
         "817",
         "20",
         TAngleMode::Radians,
         '.',
         0,
         "",
         "",
         "Initial value is greater than the final one."},
        {"InitialSmaller",
         {},
         "817",
         "2000",
         "-20",
         TAngleMode::Radians,
         '.',
         0,
         "",
         "",
         "Initial value is smaller than the final one."},
        {"StepZero", {}, "2000", "817", "0", TAngleMode::Radians, '.', 0, "", "", "Step must be non zero."},
        {"DivisionByZeroAfterFour", "1/(x-5)", "0", "10", "1", TAngleMode::Radians, '.', 5, "0.000   -0.200",
         "4.000   -1.000", "Floating point division by zero."},
        {"ExpOverflowAfter709", "exp(x)", "700", "720", "1", TAngleMode::Radians, '.', 10, "",
         "709.000   8.21840746155497E307", "Floating point overflow."},
        {"FieldNotANumber",
         {},
         "abc",
         {},
         {},
         TAngleMode::Radians,
         '.',
         0,
         "",
         "",
         "'abc' is not a valid floating point value."},
        {"FieldBeyondDouble",
         {},
         {},
         "1E400",
         {},
         TAngleMode::Radians,
         '.',
         0,
         "",
         "",
         "Floating point overflow."},
        {"CommaSeparator", "x", "0,5", "0,5", "1", TAngleMode::Radians, ',', 1, "0,500   0,500", "", ""},
        {"CommaStartupFormula",
         {},
         {},
         {},
         {},
         TAngleMode::Radians,
         ',',
         60,
         "817,000   5,220",
         "1997,000   4,578",
         ""},
        {"ConstantFormula",
         "20000",
         {},
         {},
         {},
         TAngleMode::Radians,
         '.',
         60,
         "817.000   20000.000",
         "1997.000   20000.000",
         ""},
        {"SineInDegrees", "sin(x)", "0", "90", "30", TAngleMode::Degrees, '.', 4, "0.000   0.000",
         "90.000   1.000", ""},
        {"SineInGrads", "sin(x)", "0", "100", "50", TAngleMode::Grads, '.', 3, "0.000   0.000",
         "100.000   1.000", ""},
        {"ParseError",
         "2*",
         {},
         {},
         {},
         TAngleMode::Radians,
         '.',
         0,
         "",
         "",
         "Parse error: Factor expected."},
        {"UnknownName",
         "foo(x)",
         {},
         {},
         {},
         TAngleMode::Radians,
         '.',
         0,
         "",
         "",
         "Parse error: Unknown symbol: 'foo'"},
        {"MathDomainError", "arcsin(x)", "-1", "2", "1", TAngleMode::Radians, '.', 3, "-1.000   -1.571",
         "1.000   1.571", "Domain check failure in QrvMath."},
        {"InvalidOperation", "sqrt(x)", "1", "-1", "-1", TAngleMode::Radians, '.', 2, "1.000   1.000",
         "0.000   0.000", "Invalid floating point operation."},
    };
}

// The cases that also run end to end: one of each kind (a table, a range
// error, an error after some points, a parse error, another separator, an
// angle mode).
inline std::vector<TPlotCase> EndToEndPlotCases()
{
    const std::string_view kept[] = {"StartupInputs",   "StepZero",       "DivisionByZeroAfterFour",
                                     "FieldNotANumber", "CommaSeparator", "SineInDegrees",
                                     "ParseError"};
    std::vector<TPlotCase> cases;
    for (const TPlotCase& c : PlotCases())
        for (std::string_view name : kept)
            if (name == c.Name) cases.push_back(c);
    return cases;
}

} // namespace qrv::test
