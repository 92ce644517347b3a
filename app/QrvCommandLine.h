// The command line of the qurvia program, read into plain values. Parsing is
// pure logic: it does not touch the fields, the settings or any Qt object.
//
// The options are the rows of the option table (QrvOptionTable.cpp): the
// parser finds an argument's row by name and hands the value to the row's
// handler, which writes it into the TCommandLine. Every option that takes a
// value takes the next argument, even one that starts with "-" (so
// "--xmin -5" works); "--option=value" is read the same way.
#pragma once

#include "QrvAngleMode.h"
#include "QrvCurve.h"
#include "QrvFileTypes.h"
#include "QrvMessages.h"
#include "QrvOptionTable.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qrv
{

struct TImageSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const TImageSize&) const = default;
};

// The largest width or height --size accepts: a picture of that size is
// already several hundred megabytes.
inline constexpr int kMaxImageSide = 16384;

// A curve of the command line: one --formula (or --x-of-t with its
// --y-of-t, or --r-of-t) and the --color after it.
struct TCurveOption {
    std::string Formula; // y of x, or r of t (polar)
    std::optional<std::uint32_t> Color;
    TCurveKind Kind = TCurveKind::Function;
    // A parametric curve's x and y of t, each set by its option.
    std::optional<std::string> XOfT{};
    std::optional<std::string> YOfT{};
    int Derivative = 0; // --derivative after it: 1 or 2 plots that derivative of the formula
    bool operator==(const TCurveOption&) const = default;
};

// The range of t of parametric and polar curves when no --tmin, --tmax or
// --step is given: one turn in radians, in steps of 0.01.
inline constexpr const char* kDefaultTMin = "0";
inline constexpr const char* kDefaultTMax = "6.2832";
inline constexpr const char* kDefaultTStep = "0.01";

struct TCommandLine {
    // One curve per --formula, --x-of-t and --r-of-t, in their order; none
    // keeps the start-up formula for the one curve.
    std::vector<TCurveOption> Curves;
    // The range fields, shared by every curve, as they would be typed;
    // unset keeps the start-up text.
    std::optional<std::string> XMin;
    std::optional<std::string> XMax;
    std::optional<std::string> Step;
    // The range of t, shared by every parametric and polar curve (whose
    // step is --step); unset keeps kDefaultTMin and kDefaultTMax.
    std::optional<std::string> TMin;
    std::optional<std::string> TMax;
    std::optional<TAngleMode> Mode;
    std::optional<char> DecimalSeparator;
    // --color before the first --formula: the line colour in force (the
    // first curve's, when it has none of its own).
    std::optional<std::uint32_t> Color;
    // --document FILE, or FILE.qurvia given without an option: the document
    // plotted by a run without a window, or opened by the window.
    std::optional<std::string> Document;
    std::optional<std::string> SaveDocument; // --save-document FILE
    std::optional<std::string> Table;        // "-" is standard output
    std::optional<std::string> Analyze;      // --analyze FILE, "-" is standard output
    std::optional<std::string> Image;
    std::optional<TImageFormat> ImageFormat; // set with Image
    std::optional<TImageSize> Size;
    std::optional<std::string> Settings;
    // --break-at-poles / --no-break-at-poles; unset keeps the stored choice.
    std::optional<bool> BreakAtPoles;
    // --equal-scales / --no-equal-scales and --fine-labels /
    // --no-fine-labels; unset keeps the stored View choice.
    std::optional<bool> EqualScales;
    std::optional<bool> FineLabels;
    bool Help = false;
    bool Version = false;

    // Run without a window: a table, an analysis, an image or a saved document
    // is asked for.
    bool IsBatch() const
    {
        return Table.has_value() || Analyze.has_value() || Image.has_value() || SaveDocument.has_value();
    }
    // A document is read or written, which needs the JSON reader of Qt Core.
    bool UsesDocuments() const { return Document.has_value() || SaveDocument.has_value(); }
    // The first --formula (of a function curve), the one of the fields.
    std::optional<std::string> FirstFormula() const;
    // The line colour of the first curve: its own --color, else the one
    // given before it; unset leaves the stored colour in force.
    std::optional<std::uint32_t> FirstColor() const;
};

// A command line that cannot be carried out as written; the program prints
// the text and exits with status 2.
class TUsageError : public std::runtime_error
{
public:
    // The message's text (one of the Msg::Usage... keys) with its
    // placeholders filled.
    explicit TUsageError(Msg id, std::initializer_list<std::string_view> args = {});
};

// Raises TUsageError (Msg::UsageHalfParametric) for a parametric curve
// given only one of --x-of-t and --y-of-t; the launcher checks it before
// any run.
void CheckCurvesComplete(const TCommandLine& commandLine);

// Reads the arguments after the program name. An argument that is no
// option's value and ends in ".qurvia" names the document; a document
// refuses the options that describe curves (Msg::UsageDocumentWith).
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The values of options, for their handlers; each raises TUsageError for a
// text it cannot take.
// "radians", "degrees" or "grads", in any case.
TAngleMode ReadAngleMode(std::string_view value);
// "." or ",".
char ReadDecimalSeparator(std::string_view value);
// A colour number: decimal, or hexadecimal after "0x" or "$".
std::uint32_t ReadColorNumber(std::string_view value);
// The order of --derivative: "1" or "2".
int ReadDerivativeOrder(std::string_view value);
// WIDTHxHEIGHT, each from 1 to kMaxImageSide.
TImageSize ReadImageSize(std::string_view value);
// The document, named by --document or on its own: one at most.
void SetDocument(TCommandLine& commandLine, std::string_view fileName);

// Whether this build can write pictures of the format (.svg needs Qt SVG).
bool CanWriteImage(TImageFormat format);

} // namespace qrv
