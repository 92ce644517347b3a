#include "QrvOptionTable.h"

#include <array>

namespace qrv
{

namespace
{

constexpr const char* kFields = "Fields";
constexpr const char* kBatch = "Plotting without a window";
constexpr const char* kOther = "Other options";

constexpr std::array kOptions = {
    TOptionInfo{"--formula", "TEXT", "The formula for y in terms of x.", kFields},
    TOptionInfo{"--xmin", "TEXT", "X min (start-up: 817).", kFields},
    TOptionInfo{"--xmax", "TEXT", "X max (start-up: 2000).", kFields},
    TOptionInfo{"--step", "TEXT", "Step (start-up: 20).", kFields},
    TOptionInfo{"--mode", "MODE",
                "Angle mode of the trigonometric functions: radians (default), degrees or grads.", kFields},
    TOptionInfo{
        "--decimal-separator", "C",
        "Decimal separator of the numbers in the fields and the table: . or , (default: the locale's).",
        kFields},
    TOptionInfo{"--color", "N", "Line colour as 0x00BBGGRR, decimal or hexadecimal after 0x.", kFields},
    TOptionInfo{"--table", "FILE|-",
                "Write the table: to FILE with CR LF line ends (as comma-separated values when FILE ends in "
                ".csv), or one line per point to standard output for -.",
                kBatch},
    TOptionInfo{
        "--image", "FILE",
        "Write the chart; the extension picks the format: .bmp, .wmf, .emf, .png, .svg or .pdf. Its "
        "text is drawn in Liberation Sans, the metric twin of Arial, anti-aliased with slight hinting, "
        "so a picture is the same on every machine; with FONTCONFIG_FILE set, that font "
        "configuration is used instead.",
        kBatch},
    TOptionInfo{"--size", "WxH",
                "Image size in pixels (default: the chart's size in the main window, 353x305).", kBatch},
    TOptionInfo{
        "--break-at-poles", nullptr,
        "Break the chart's line where the curve has a pole, and scale the vertical axis to the finite "
        "curve; the table keeps every point. Remembered from the window's View menu unless given.",
        kBatch},
    TOptionInfo{"--no-break-at-poles", nullptr, "Draw the line through poles (the default).", kBatch},
    TOptionInfo{"--settings", "FILE", "Read (and in the window, save) the settings in FILE.", kOther},
    TOptionInfo{"--help", nullptr, "Show this text and exit.", kOther},
    TOptionInfo{"--version", nullptr, "Show the version and exit.", kOther},
};

constexpr const char* kSynopsis =
    "Plot y = f(x) over a range: in a window, or straight to a table or an image.";
constexpr const char* kFieldsIntro =
    "Each field is given as it would be typed into the window; an omitted one keeps its start-up text.";
constexpr const char* kBatchIntro = "Qurvia plots without a window when --table or --image is given.";
constexpr const char* kExitStatus =
    "0 on success, 1 when the plot fails (the message goes to standard error; what was produced before the "
    "error is still written), 2 for a command line that cannot be used.";

const char* IntroOf(const char* section)
{
    if (section == kFields) return kFieldsIntro;
    if (section == kBatch) return kBatchIntro;
    return nullptr;
}

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
    return kOptions;
}

const TOptionInfo* FindOption(std::string_view name)
{
    for (const TOptionInfo& option : kOptions)
        if (name == option.Name) return &option;
    return nullptr;
}

std::string UsageText()
{
    std::string out = "Usage: qurvia [OPTION]...\n";
    out += kSynopsis;
    out += '\n';
    const char* section = nullptr;
    for (const TOptionInfo& option : kOptions) {
        if (option.Section != section) {
            section = option.Section;
            out += '\n';
            if (const char* intro = IntroOf(section)) AppendWrapped(out, intro, 0, 0);
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
    out += ".SH SYNOPSIS\n.B qurvia\n[\\fIOPTION\\fR]...\n";
    out += ".SH DESCRIPTION\n";
    out += Roff(kSynopsis) + "\n";
    out += ".PP\nFormulas are computed in 80\\-bit extended arithmetic; every error is reported with a clear "
           "message.\n";
    const char* section = nullptr;
    for (const TOptionInfo& option : kOptions) {
        if (option.Section != section) {
            section = option.Section;
            out += ".SS " + Roff(section) + "\n";
            if (const char* intro = IntroOf(section)) out += Roff(intro) + "\n";
        }
        out += ".TP\n";
        if (option.Value)
            out += ".BI " + Roff(option.Name) + " \" " + Roff(option.Value) + "\"\n";
        else
            out += ".B " + Roff(option.Name) + "\n";
        out += Roff(option.Help) + "\n";
    }
    out += ".SH EXIT STATUS\n" + Roff(kExitStatus) + "\n";
    out += ".SH EXAMPLES\n.EX\nqurvia \\-\\-formula 'sin(x)' \\-\\-xmin 0 \\-\\-xmax 90 \\-\\-step 30 "
           "\\-\\-mode "
           "degrees \\-\\-table \\-\n.EE\n";
    return out;
}

} // namespace qrv
