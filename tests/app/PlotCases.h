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

// A row names only what it sets: the fields it leaves out keep their
// start-up texts, the angle mode is radians and the separator a point.
struct TPlotCase {
    const char* Name;
    std::optional<std::string> Formula{}, XMin{}, XMax{}, Step{};
    TAngleMode Mode = TAngleMode::Radians;
    char Separator = '.';
    std::size_t Lines = 0;
    std::string FirstLine{}; // empty: not checked
    std::string LastLine{};
    std::string Error{}; // as shown, "." rule applied; empty: none
};

inline std::ostream& operator<<(std::ostream& os, const TPlotCase& c)
{
    return os << c.Name;
}

inline std::vector<TPlotCase> PlotCases()
{
    const std::string tooSmall = "Too small absolute step value.";
    return {
        {.Name = "StartupInputs",
         .Lines = 60,
         .FirstLine = "817.000   5.220",
         .LastLine = "1997.000   4.578"},
        {.Name = "EqualEndsPositiveStep",
         .XMin = "5",
         .XMax = "5",
         .Step = "1",
         .Lines = 1,
         .FirstLine = "5.000   5.662",
         .LastLine = "5.000   5.662"},
        {.Name = "EqualEndsNegativeStep",
         .XMin = "5",
         .XMax = "5",
         .Step = "-1",
         .Lines = 1,
         .FirstLine = "5.000   5.662"},
        {.Name = "TenthsReachOne",
         .Formula = "x",
         .XMin = "0",
         .XMax = "1",
         .Step = "0.1",
         .Lines = 11,
         .FirstLine = "0.000   0.000",
         .LastLine = "1.000   1.000"},
        {.Name = "TenthsDescending",
         .Formula = "x",
         .XMin = "1",
         .XMax = "0",
         .Step = "-0.1",
         .Lines = 11,
         .FirstLine = "1.000   1.000",
         .LastLine = "0.000   0.000"},
        {.Name = "RunsDownwards",
         .XMin = "2000",
         .XMax = "817",
         .Step = "-20",
         .Lines = 60,
         .FirstLine = "2000.000   4.576",
         .LastLine = "820.000   5.218"},
        {.Name = "TenThousandSteps",
         .Formula = "x",
         .XMin = "0",
         .XMax = "10000",
         .Step = "1",
         .Lines = 10001,
         .FirstLine = "0.000   0.000",
         .LastLine = "10000.000   10000.000"},
        {.Name = "TenThousandAndOneSteps",
         .Formula = "x",
         .XMin = "0",
         .XMax = "10001",
         .Step = "1",
         .Lines = 0,
         .Error = tooSmall},
        {.Name = "InitialGreater",
         .XMin = "2000",
         .XMax = "817",
         .Step = "20",
         .Lines = 0,
         .Error = "Initial value is greater than the final one."},
        {.Name = "InitialSmaller",
         .XMin = "817",
         .XMax = "2000",
         .Step = "-20",
         .Lines = 0,
         .Error = "Initial value is smaller than the final one."},
        {.Name = "StepZero",
         .XMin = "2000",
         .XMax = "817",
         .Step = "0",
         .Lines = 0,
         .Error = "Step must be non zero."},
        {.Name = "DivisionByZeroAfterFour",
         .Formula = "1/(x-5)",
         .XMin = "0",
         .XMax = "10",
         .Step = "1",
         .Lines = 5,
         .FirstLine = "0.000   -0.200",
         .LastLine = "4.000   -1.000",
         .Error = "Floating point division by zero."},
        {.Name = "ExpOverflowAfter709",
         .Formula = "exp(x)",
         .XMin = "700",
         .XMax = "720",
         .Step = "1",
         .Lines = 10,
         .LastLine = "709.000   8.21840746155497E307",
         .Error = "Floating point overflow."},
        {.Name = "FieldNotANumber",
         .XMin = "abc",
         .Lines = 0,
         .Error = "'abc' is not a valid floating point value."},
        {.Name = "FieldBeyondDouble", .XMax = "1E400", .Lines = 0, .Error = "Floating point overflow."},
        {.Name = "CommaSeparator",
         .Formula = "x",
         .XMin = "0,5",
         .XMax = "0,5",
         .Step = "1",
         .Separator = ',',
         .Lines = 1,
         .FirstLine = "0,500   0,500"},
        {.Name = "CommaStartupFormula",
         .Separator = ',',
         .Lines = 60,
         .FirstLine = "817,000   5,220",
         .LastLine = "1997,000   4,578"},
        {.Name = "ConstantFormula",
         .Formula = "20000",
         .Lines = 60,
         .FirstLine = "817.000   20000.000",
         .LastLine = "1997.000   20000.000"},
        {.Name = "SineInDegrees",
         .Formula = "sin(x)",
         .XMin = "0",
         .XMax = "90",
         .Step = "30",
         .Mode = TAngleMode::Degrees,
         .Lines = 4,
         .FirstLine = "0.000   0.000",
         .LastLine = "90.000   1.000"},
        {.Name = "SineInGrads",
         .Formula = "sin(x)",
         .XMin = "0",
         .XMax = "100",
         .Step = "50",
         .Mode = TAngleMode::Grads,
         .Lines = 3,
         .FirstLine = "0.000   0.000",
         .LastLine = "100.000   1.000"},
        {.Name = "ParseError", .Formula = "2*", .Lines = 0, .Error = "Parse error: Factor expected."},
        {.Name = "UnknownName",
         .Formula = "foo(x)",
         .Lines = 0,
         .Error = "Parse error: Unknown symbol: 'foo'"},
        {.Name = "MathDomainError",
         .Formula = "arcsin(x)",
         .XMin = "-1",
         .XMax = "2",
         .Step = "1",
         .Lines = 3,
         .FirstLine = "-1.000   -1.571",
         .LastLine = "1.000   1.571",
         .Error = "Domain check failure in QrvMath."},
        {.Name = "InvalidOperation",
         .Formula = "sqrt(x)",
         .XMin = "1",
         .XMax = "-1",
         .Step = "-1",
         .Lines = 2,
         .FirstLine = "1.000   1.000",
         .LastLine = "0.000   0.000",
         .Error = "Invalid floating point operation."},
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
