#include "QrvOptionTable.h"

#include "QrvCommandLine.h"
#include "QrvPlotRun.h"

#include <vector>

namespace qrv
{

namespace
{

// --- handlers: each writes its option's value into the command line --------

// A value taken as typed, such as a field's text.
template <std::optional<std::string> TCommandLine::*Member>
void SetText(TCommandLine& cl, std::string_view value)
{
    cl.*Member = value;
}

// A flag that is on once given.
template <bool TCommandLine::*Member> void SetFlag(TCommandLine& cl, std::string_view)
{
    cl.*Member = true;
}

void SetMode(TCommandLine& cl, std::string_view value)
{
    cl.Mode = ReadAngleMode(value);
}

void SetDecimalSeparator(TCommandLine& cl, std::string_view value)
{
    cl.DecimalSeparator = ReadDecimalSeparator(value);
}

// Each --formula starts a curve.
void AddFormula(TCommandLine& cl, std::string_view value)
{
    cl.Curves.push_back({std::string(value), std::nullopt, TCurveKind::Function});
}

// --x-of-t and --y-of-t each start a parametric curve, unless the latest
// curve is one still waiting for that half.
template <std::optional<std::string> TCurveOption::*Half>
void SetParametricHalf(TCommandLine& cl, std::string_view value)
{
    if (cl.Curves.empty() || cl.Curves.back().Kind != TCurveKind::Parametric || cl.Curves.back().*Half)
        cl.Curves.push_back({{}, std::nullopt, TCurveKind::Parametric});
    cl.Curves.back().*Half = value;
}

// --r-of-t starts a polar curve.
void AddROfT(TCommandLine& cl, std::string_view value)
{
    cl.Curves.push_back({std::string(value), std::nullopt, TCurveKind::Polar});
}

// --derivative belongs to the latest --formula.
void SetDerivative(TCommandLine& cl, std::string_view value)
{
    const int order = ReadDerivativeOrder(value);
    if (cl.Curves.empty() || cl.Curves.back().Kind != TCurveKind::Function)
        throw TUsageError(Msg::UsageDerivativeFirst);
    cl.Curves.back().Derivative = order;
}

void SetAnalyze(TCommandLine& cl, std::string_view value)
{
    if (value.empty()) throw TUsageError(Msg::UsageAnalyzeName);
    cl.Analyze = value;
}

// A colour after a --formula is that curve's; before the first, the one in force.
void SetColor(TCommandLine& cl, std::string_view value)
{
    const std::uint32_t color = ReadColorNumber(value);
    if (cl.Curves.empty())
        cl.Color = color;
    else
        cl.Curves.back().Color = color;
}

void SetSaveDocument(TCommandLine& cl, std::string_view value)
{
    if (value.empty()) throw TUsageError(Msg::UsageSaveDocumentName);
    cl.SaveDocument = value;
}

void SetTable(TCommandLine& cl, std::string_view value)
{
    if (value.empty()) throw TUsageError(Msg::UsageTableName);
    cl.Table = value;
}

void SetImage(TCommandLine& cl, std::string_view value)
{
    const auto format = ImageFormatFor(value);
    if (!format) throw TUsageError(Msg::UsageImageName, {ImageExtensionList()});
    cl.Image = value;
    cl.ImageFormat = format;
}

void SetSize(TCommandLine& cl, std::string_view value)
{
    cl.Size = ReadImageSize(value);
}

void BreakAtPoles(TCommandLine& cl, std::string_view)
{
    cl.BreakAtPoles = true;
}

void NoBreakAtPoles(TCommandLine& cl, std::string_view)
{
    cl.BreakAtPoles = false;
}

// A View choice given on the command line: on or off.
template <std::optional<bool> TCommandLine::*Member, bool On>
void SetChoice(TCommandLine& cl, std::string_view)
{
    cl.*Member = On;
}

void SetSettings(TCommandLine& cl, std::string_view value)
{
    if (value.empty()) throw TUsageError(Msg::UsageSettingsName);
    cl.Settings = value;
}

// --- the rows ----------------------------------------------------------------

constexpr TOptionSection kFields{
    .Heading = "Fields",
    .Intro =
        "Each field is given as it would be typed into the window; an omitted one keeps its start-up text."};
constexpr TOptionSection kBatch{.Heading = "Plotting without a window",
                                .Intro = "Qurvia plots without a window when --table or --image is given."};
constexpr TOptionSection kDocuments{
    .Heading = "Documents",
    .Intro =
        "A document (FILE.qurvia) keeps several curves with their ranges and looks, and the angle mode. "
        "qurvia FILE.qurvia opens it in the window; with --table or --image it is plotted as with --document "
        "FILE. A document that cannot be read is refused with one message naming the file, exit status 1, "
        "and nothing is written. Errors of several curves are each preceded by the curve's number, as in "
        "\"curve 2: \". In the window, the File menu's New document, Open document, Save document and Save "
        "document as work on documents, the function list beside the chart shows, hides, restyles and orders "
        "the curves, and Undo and Redo take back every change."};
constexpr TOptionSection kOther{.Heading = "Other options"};

// "X min (start-up: 817).": a range field with the text it starts with.
std::string StartupNote(std::string_view field, const std::string& startup)
{
    return std::string(field) + " (start-up: " + startup + ").";
}

// Every option, in the order --help lists them. A new option is a row here
// with a handler above (SetText serves any value taken as typed).
std::vector<TOptionInfo> MakeOptions()
{
    // The range fields start with the same texts in every locale.
    const TPlotFields start = StartupFields('.');
    return {
        {.Name = "--formula",
         .Value = "TEXT",
         .Help = "The formula for y in terms of x. Given again, it starts another curve; the range, mode and "
                 "separator options hold for every curve.",
         .Section = &kFields,
         .Apply = AddFormula},
        {.Name = "--derivative",
         .Value = "N",
         .Help = "After a --formula: that curve is the N-th derivative (1 or 2) of its formula, computed "
                 "exactly from the formula rather than from its points.",
         .Section = &kFields,
         .Apply = SetDerivative},
        {.Name = "--xmin",
         .Value = "TEXT",
         .Help = StartupNote("X min", start.XMin),
         .Section = &kFields,
         .Apply = SetText<&TCommandLine::XMin>},
        {.Name = "--xmax",
         .Value = "TEXT",
         .Help = StartupNote("X max", start.XMax),
         .Section = &kFields,
         .Apply = SetText<&TCommandLine::XMax>},
        {.Name = "--step",
         .Value = "TEXT",
         .Help = StartupNote("Step", start.Step),
         .Section = &kFields,
         .Apply = SetText<&TCommandLine::Step>},
        {.Name = "--tmin",
         .Value = "TEXT",
         .Help = std::string("T min of every parametric and polar curve, read as X min is (default: ") +
                 kDefaultTMin + ").",
         .Section = &kFields,
         .Apply = SetText<&TCommandLine::TMin>},
        {.Name = "--tmax",
         .Value = "TEXT",
         .Help = std::string("T max of every parametric and polar curve (default: ") + kDefaultTMax +
                 "). Their step is --step (default for them: " + kDefaultTStep +
                 "), and the range has the checks of X min, X max and Step, at most 10000 steps.",
         .Section = &kFields,
         .Apply = SetText<&TCommandLine::TMax>},
        {.Name = "--x-of-t",
         .Value = "TEXT",
         .Help =
             "The formula for x in terms of t of a parametric curve, drawn at (x(t), y(t)) for t from "
             "--tmin to --tmax in steps of --step; its table lists t, x and y. It and the --y-of-t next to "
             "it make one curve; given again, they start another.",
         .Section = &kFields,
         .Apply = SetParametricHalf<&TCurveOption::XOfT>},
        {.Name = "--y-of-t",
         .Value = "TEXT",
         .Help = "The formula for y in terms of t of the parametric curve of the --x-of-t next to it.",
         .Section = &kFields,
         .Apply = SetParametricHalf<&TCurveOption::YOfT>},
        {.Name = "--r-of-t",
         .Value = "TEXT",
         .Help =
             "The formula for the radius r in terms of the angle t of a polar curve, drawn at (r cos t, r "
             "sin t) with t in the angle mode of --mode (0 to 360 is one turn in degrees). Each --r-of-t "
             "starts another curve; its table lists t, x and y.",
         .Section = &kFields,
         .Apply = AddROfT},
        {.Name = "--mode",
         .Value = "MODE",
         .Help = "Angle mode of the trigonometric functions: radians (default), degrees or grads.",
         .Section = &kFields,
         .Apply = SetMode},
        {.Name = "--decimal-separator",
         .Value = "C",
         .Help = "Decimal separator of the numbers in the fields and the table: . or , (default: the "
                 "locale's).",
         .Section = &kFields,
         .Apply = SetDecimalSeparator},
        {.Name = "--color",
         .Value = "N",
         .Help =
             "Line colour as 0x00BBGGRR, decimal or hexadecimal after 0x. After a --formula (or --x-of-t, "
             "--y-of-t, --r-of-t) it is that curve's colour; before the first it is the colour in force, the "
             "first curve's unless that one "
             "has its own. Later curves without one take the next colour of a palette that colour-blind "
             "readers can tell apart.",
         .Section = &kFields,
         .Apply = SetColor},
        {.Name = "--table",
         .Value = "FILE|-",
         .Help =
             "Write the table: to FILE with CR LF line ends (as comma-separated values when FILE ends in "
             ".csv), or one line per point to standard output for -. With several curves a header line "
             "names the columns, x and then each curve's label or formula, and each line holds x and one y "
             "per curve; curves over another range follow in a block of their own, after an empty line and "
             "under their own header. A curve that stopped early leaves its later cells empty. A parametric "
             "or polar curve of several lists t, x and y in a block of its own under its name (\"t,x,y\" in "
             "CSV), and an implicit curve of a document a line saying that the table has no values for it.",
         .Section = &kBatch,
         .Apply = SetTable},
        {.Name = "--analyze",
         .Value = "FILE|-",
         .Help = "Write the features of every curve to FILE, or to standard output for -: one line per root, "
                 "minimum, maximum, inflection point, intersection of two curves and integral, fields "
                 "separated by a tab, sorted by curve and x. Numbers have 21 significant digits (the "
                 "integral's error 3) and always a decimal point. Combines with --table and --image.",
         .Section = &kBatch,
         .Apply = SetAnalyze},
        {.Name = "--image",
         .Value = "FILE",
         .Help = "Write the chart; the extension picks the format: " + ImageExtensionList() +
                 ". Its text is drawn in Liberation Sans, the metric twin of Arial, anti-aliased with slight "
                 "hinting, so a picture is the same on every machine; with FONTCONFIG_FILE set, that font "
                 "configuration is used instead.",
         .Section = &kBatch,
         .Apply = SetImage},
        {.Name = "--size",
         .Value = "WxH",
         .Help = "Image size in pixels (default: the chart's size in the main window, 353x305).",
         .Section = &kBatch,
         .Apply = SetSize},
        {.Name = "--break-at-poles",
         .Help = "Break the chart's line where the curve has a pole, and scale the vertical axis to the "
                 "finite curve; the table keeps every point. Remembered from the window's View menu unless "
                 "given.",
         .Section = &kBatch,
         .Apply = BreakAtPoles},
        {.Name = "--no-break-at-poles",
         .Help = "Draw the line through poles (the default).",
         .Section = &kBatch,
         .Apply = NoBreakAtPoles},
        {.Name = "--equal-scales",
         .Help = "Draw one unit as long on both axes, so that a circle looks round: the axis that needs it "
                 "shows a wider range. Remembered from the window's View menu unless given.",
         .Section = &kBatch,
         .Apply = SetChoice<&TCommandLine::EqualScales, true>},
        {.Name = "--no-equal-scales",
         .Help = "Scale each axis to its own range (the default).",
         .Section = &kBatch,
         .Apply = SetChoice<&TCommandLine::EqualScales, false>},
        {.Name = "--fine-labels",
         .Help =
             "Label the axes in finer steps where the usual steps would leave fewer than three labels, and "
             "label an axis end that falls on a step. Remembered from the window's View menu unless given.",
         .Section = &kBatch,
         .Apply = SetChoice<&TCommandLine::FineLabels, true>},
        {.Name = "--no-fine-labels",
         .Help = "Label the axes in the usual steps (the default).",
         .Section = &kBatch,
         .Apply = SetChoice<&TCommandLine::FineLabels, false>},
        {.Name = "--document",
         .Value = "FILE",
         .Help =
             "Plot the document FILE to --table or --image: its curves with their ranges, colours, widths "
             "and styles, and its angle mode (hidden curves are left out). Without --table, --image or "
             "--save-document the window opens it. The options that describe curves cannot be given with "
             "it.",
         .Section = &kDocuments,
         .Apply = SetDocument},
        {.Name = "--save-document",
         .Value = "FILE",
         .Help = "Write the document that the other options describe (or that --document reads) to FILE; "
                 "nothing else is needed with it.",
         .Section = &kDocuments,
         .Apply = SetSaveDocument},
        {.Name = "--settings",
         .Value = "FILE",
         .Help = "Read (and in the window, save) the settings in FILE.",
         .Section = &kOther,
         .Apply = SetSettings},
        {.Name = "--help",
         .Help = "Show this text and exit.",
         .Section = &kOther,
         .Apply = SetFlag<&TCommandLine::Help>,
         .Alias = "-h"},
        {.Name = "--version",
         .Help = "Show the version and exit.",
         .Section = &kOther,
         .Apply = SetFlag<&TCommandLine::Version>},
    };
}

const std::vector<TOptionInfo>& Options()
{
    static const std::vector<TOptionInfo> options = MakeOptions();
    return options;
}

constexpr const char* kSynopsis =
    "Plot y = f(x) over a range: in a window, or straight to a table or an image.";
constexpr const char* kExitStatus =
    "0 on success, 1 when the plot fails (the message goes to standard error; what was produced before the "
    "error is still written), when any curve of several fails, or when a document is refused; 2 for a "
    "command "
    "line that cannot be used.";

// The manual's files.
constexpr const char* kFiles =
    "$XDG_STATE_HOME/qurvia, or ~/.local/state/qurvia: the window's copies of documents with unsaved "
    "changes, offered back at the next start when Qurvia ended without closing.";

// The manual's examples, one command line each.
constexpr const char* kExamples[] = {
    "qurvia --formula 'sin(x)' --xmin 0 --xmax 90 --step 30 --mode degrees --table -",
    "qurvia --formula 'sin(x)' --formula 'cos(x)' --color 0xFF0000 --xmin 0 --xmax 6.3 --step 0.1 "
    "--table waves.csv",
    "qurvia --formula 'sin(x)' --formula 'cos(x)' --xmin 0 --xmax 6.3 --step 0.1 --save-document "
    "waves.qurvia",
    "qurvia --document waves.qurvia --image waves.png",
    "qurvia --x-of-t 'sin(3*t)' --y-of-t 'sin(2*t)' --r-of-t '1+cos(t)' --equal-scales --image curves.png",
    "qurvia waves.qurvia",
};

std::string Heading(const TOptionInfo& option)
{
    std::string text = option.Name;
    if (option.Value) {
        text += ' ';
        text += option.Value;
    }
    return text;
}

// Appends `text` broken into lines of at most `width` characters, each
// starting with `indent` blanks (the first one after `first` characters
// already on the line).
void AppendWrapped(std::string& out, std::string_view text, std::size_t indent, std::size_t first,
                   std::size_t width = 79)
{
    std::size_t column = first;
    if (column < indent) {
        out.append(indent - column, ' ');
        column = indent;
    }
    bool lineStart = true;
    while (!text.empty()) {
        const auto space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        if (!lineStart && column + 1 + word.size() > width) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineStart = false;
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
    }
    out += '\n';
}

// Roff text: a leading dot or quote would start a request, and "-" should
// print as a hyphen-minus in options.
std::string Roff(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '-')
            out += "\\-";
        else if (c == '\\')
            out += "\\e";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

} // namespace

std::span<const TOptionInfo> CommandLineOptions()
{
    return Options();
}

const TOptionInfo* FindOption(std::string_view name)
{
    for (const TOptionInfo& option : Options())
        if (name == option.Name || (option.Alias && name == option.Alias)) return &option;
    return nullptr;
}

std::string UsageText()
{
    std::string out = "Usage: qurvia [OPTION]... [FILE.qurvia]\n";
    out += kSynopsis;
    out += '\n';
    const TOptionSection* section = nullptr;
    for (const TOptionInfo& option : Options()) {
        if (option.Section != section) {
            section = option.Section;
            out += '\n';
            if (section->Intro) AppendWrapped(out, section->Intro, 0, 0);
        }
        std::string head = "  " + Heading(option);
        out += head;
        if (head.size() + 2 > 28) {
            out += '\n';
            AppendWrapped(out, option.Help, 28, 0);
        } else {
            AppendWrapped(out, option.Help, 28, head.size());
        }
    }
    out += '\n';
    AppendWrapped(out, std::string("Exit status: ") + kExitStatus, 0, 0);
    return out;
}

std::string ManPageText(std::string_view version)
{
    std::string out;
    out += ".TH QURVIA 1 \"\" \"qurvia " + Roff(version) + "\" \"User Commands\"\n";
    out += ".SH NAME\nqurvia \\- equation plotter\n";
    out += ".SH SYNOPSIS\n.B qurvia\n[\\fIOPTION\\fR]... [\\fIFILE\\fR.qurvia]\n";
    out += ".SH DESCRIPTION\n";
    out += Roff(kSynopsis) + "\n";
    out += ".PP\nFormulas are computed in 80\\-bit extended arithmetic; every error is reported with a clear "
           "message.\n";
    const TOptionSection* section = nullptr;
    for (const TOptionInfo& option : Options()) {
        if (option.Section != section) {
            section = option.Section;
            out += ".SS " + Roff(section->Heading) + "\n";
            if (section->Intro) out += Roff(section->Intro) + "\n";
        }
        out += ".TP\n";
        if (option.Value)
            out += ".BI " + Roff(option.Name) + " \" " + Roff(option.Value) + "\"\n";
        else
            out += ".B " + Roff(option.Name) + "\n";
        out += Roff(option.Help) + "\n";
    }
    out += ".SH EXIT STATUS\n" + Roff(kExitStatus) + "\n";
    out += ".SH FILES\n" + Roff(kFiles) + "\n";
    out += ".SH EXAMPLES\n.EX\n";
    for (const char* example : kExamples)
        out += Roff(example) + "\n";
    out += ".EE\n";
    return out;
}

} // namespace qrv
