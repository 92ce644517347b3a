#include "QrvMessages.h"

#include "QrvMessageTable.h"

namespace qrv
{

namespace
{

constexpr TMessageTable<Msg> kMessages{
    {Msg::InvalidOp, "Invalid floating point operation"},
    {Msg::ZeroDivide, "Floating point division by zero"},
    {Msg::Overflow, "Floating point overflow"},
    {Msg::DivByZero, "Division by zero"},
    {Msg::InvalidFloat, "'%s' is not a valid floating point value"},
    {Msg::ListIndex, "List index out of bounds (%d)"},
    {Msg::AssertionFormat, "%s (%s, line %d)"},
    {Msg::AssertionFailure, "Assertion failure"},
    {Msg::CannotCreateFile, "Cannot create file %s"},
    {Msg::CannotOpenClipboard, "Cannot open clipboard"},
    {Msg::CannotWriteOutput, "Cannot write to standard output"},
    {Msg::ImageTooLarge, "The image is too large for the memory available"},
    {Msg::UsageUnexpectedArgument, "unexpected argument '%s'"},
    {Msg::UsageUnknownOption, "unknown option '%s'"},
    {Msg::UsageNeedsValue, "option '%s' needs a value"},
    {Msg::UsageBadMode, "--mode must be radians, degrees or grads, not '%s'"},
    {Msg::UsageBadSeparator, "--decimal-separator must be '.' or ',', not '%s'"},
    {Msg::UsageBadColor, "--color must be a colour number from 0 to 4294967295 (0xFFFFFFFF), not '%s'"},
    {Msg::UsageBadSize, "--size must be WIDTHxHEIGHT with each from 1 to %d, not '%s'"},
    {Msg::UsageTableName, "--table needs a file name or -"},
    {Msg::UsageImageName, "--image needs a file name ending in %s"},
    {Msg::UsageSettingsName, "--settings needs a file name"},
    {Msg::UsageDocumentName, "--document needs a file name"},
    {Msg::UsageSaveDocumentName, "--save-document needs a file name"},
    {Msg::UsageTwoDocuments, "only one document can be given, not also '%s'"},
    {Msg::UsageDocumentWith,
     "%s cannot be given with a document: the document holds its curves, their ranges "
     "and colours, and the angle mode"},
    {Msg::UsageColorNotPlain,
     "--color %s cannot be saved in a document, which holds plain colours from 0 to 16777215 (0x00FFFFFF)"},
    {Msg::UsageHalfParametric, "%s '%s' needs a %s: a parametric curve has both"},
    {Msg::UsageDerivativeOrder, "--derivative must be 1 or 2, not '%s'"},
    {Msg::UsageDerivativeFirst, "--derivative needs a --formula before it"},
    {Msg::UsageDerivativeNotSaved, "--derivative cannot be saved in a document, whose derivative curves name "
                                   "a function curve of their own"},
    {Msg::UsageAnalyzeName, "--analyze needs a file name or -"},
    {Msg::FactorExpected, "Parse error: Factor expected"},
    {Msg::RightParenExpected, "Parse error: ')' expected"},
    {Msg::UnknownSymbol, "Parse error: Unknown symbol: '%s'"},
    {Msg::FuncLeftParenExpected, "Parse error: '(' and function's first parameter expected"},
    {Msg::FuncCommaExpected, "Parse error: ',' and another parameter expected"},
    {Msg::FuncRightParenExpected, "Parse error: ')' to close function's parameters expected"},
    {Msg::NestedTooDeeply, "Parse error: Expression is nested too deeply"},
    {Msg::DuplicateHashEntry, "Duplicate hash list entry: %s"},
    {Msg::HashMustBeEmpty, "HashList: must be empty to set size to zero"},
    {Msg::HashNeedsTraits, "HashList must have traits"},
    {Msg::DomainCheck, "Domain check failure in QrvMath"},
    {Msg::PowerComplex, "Power function: Result is complex"},
    {Msg::PowerInfinite, "Power function: Result is infinite"},
    {Msg::InitialGreater, "Initial value is greater than the final one"},
    {Msg::InitialSmaller, "Initial value is smaller than the final one"},
    {Msg::StepZero, "Step must be non zero"},
    {Msg::StepTooSmall, "Too small absolute step value"},
    {Msg::CurveKindNotPlotted, "%s curves cannot be plotted by this version of Qurvia"},
    {Msg::ImplicitXRange, "X min must be smaller than X max"},
    {Msg::ImplicitYRange, "Y min must be smaller than Y max"},
    {Msg::ImplicitNoTableValues, "The table has no values for an implicit curve: it is drawn, not listed"},
    {Msg::DerivativeOfNoFunction, "Curve %s is not a function curve: its derivative cannot be drawn"},
    {Msg::NotDifferentiable, "not differentiable"},
    {Msg::AnalysisPoleAbout, "pole at about x = %s"},
    {Msg::AnalysisFormulaFails, "the formula fails at x = %s: %s"},
    {Msg::AnalysisNotFinite, "the value is not a finite number"},
    {Msg::AnalysisNoConvergence, "the integral does not converge (estimated error %s)"},
};

} // namespace

std::string_view MessageText(Msg id)
{
    return kMessages.Text(id);
}

std::string FormatMessage(Msg id, std::initializer_list<std::string_view> args)
{
    return kMessages.Format(id, args);
}

std::string FormatPattern(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    std::string out;
    out.reserve(pattern.size() + 32);
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            char k = pattern[i + 1];
            if (k == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (k == 's' || k == 'd') {
                if (next != args.end()) out.append(*next++);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::string DisplayText(std::string_view message)
{
    std::string out(message);
    if (!out.empty() && static_cast<unsigned char>(out.back()) > static_cast<unsigned char>('.')) out += '.';
    return out;
}

} // namespace qrv
