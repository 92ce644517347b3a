// The one table of error messages. Every exception the program raises takes
// its text from here; call sites name a message, never a string literal. The
// texts themselves stand only in the table (QrvMessages.cpp).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace qrv
{

enum class Msg {
    // floating-point unit and run-time library
    InvalidOp,
    ZeroDivide,
    Overflow,
    DivByZero,
    InvalidFloat,
    ListIndex,
    AssertionFormat,
    AssertionFailure,
    CannotCreateFile,
    CannotOpenClipboard,
    CannotWriteOutput,
    ImageTooLarge,
    // command line: arguments that cannot be used (TUsageError)
    UsageUnexpectedArgument,
    UsageUnknownOption,
    UsageNeedsValue,
    UsageBadMode,
    UsageBadSeparator,
    UsageBadColor,
    UsageBadSize,
    UsageTableName,
    UsageImageName,
    UsageSettingsName,
    UsageDocumentName,
    UsageSaveDocumentName,
    UsageTwoDocuments,
    UsageDocumentWith,
    UsageColorNotPlain,
    UsageHalfParametric,
    UsageDerivativeOrder,
    UsageDerivativeFirst,
    UsageDerivativeNotSaved,
    UsageAnalyzeName,
    // expression engine: compile parser
    FactorExpected,
    RightParenExpected,
    UnknownSymbol,
    FuncLeftParenExpected,
    FuncCommaExpected,
    FuncRightParenExpected,
    NestedTooDeeply,
    // expression engine: string hash map
    DuplicateHashEntry,
    HashMustBeEmpty,
    HashNeedsTraits,
    // math library
    DomainCheck,
    PowerComplex,
    PowerInfinite,
    // plot run range checks
    InitialGreater,
    InitialSmaller,
    StepZero,
    StepTooSmall,
    // curves of a document
    CurveKindNotPlotted,
    ImplicitXRange,
    ImplicitYRange,
    ImplicitNoTableValues,
    DerivativeOfNoFunction,
    NotDifferentiable,
    // analysis: why an integral has no value
    AnalysisPoleAbout,
    AnalysisFormulaFails,
    AnalysisNotFinite,
    AnalysisNoConvergence,
    Count_
};

// The raw text of a message, placeholders (%s, %d) still in it.
std::string_view MessageText(Msg id);

// The text with its placeholders replaced, in order, by the arguments (see
// FormatPattern).
std::string FormatMessage(Msg id, std::initializer_list<std::string_view> args = {});

// The text an error display shows for a message: when the message's last
// character sorts after "." (a letter or a digit, for instance), a "." is
// appended, so "Step must be non zero" reads "Step must be non zero.".
std::string DisplayText(std::string_view message);

} // namespace qrv
