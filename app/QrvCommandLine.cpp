#include "QrvCommandLine.h"

#include "QrvDocument.h"

#include <algorithm>
#include <charconv>

namespace qrv
{

namespace
{

int ReadSide(std::string_view text, std::string_view whole)
{
    int side = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), side);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || side < 1 ||
        side > kMaxImageSide)
        throw TUsageError(Msg::UsageBadSize, {std::to_string(kMaxImageSide), whole});
    return side;
}

// The option that starts a curve of the kind.
const char* CurveOptionName(TCurveKind kind)
{
    switch (kind) {
    case TCurveKind::Parametric:
        return "--x-of-t";
    case TCurveKind::Polar:
        return "--r-of-t";
    default:
        return "--formula";
    }
}

// A document names the curves, their ranges and colours and the angle
// mode itself: an option that would describe them too is refused rather
// than quietly ignored or mixed in. A document is saved with plain
// colours, which a colour number above 0x00FFFFFF (a system colour, say)
// is not.
void CheckCombinations(const TCommandLine& cl)
{
    const bool curveColor = std::any_of(cl.Curves.begin(), cl.Curves.end(),
                                        [](const TCurveOption& curve) { return curve.Color.has_value(); });
    if (cl.Document) {
        const std::pair<bool, const char*> describing[] = {
            {!cl.Curves.empty(), cl.Curves.empty() ? "" : CurveOptionName(cl.Curves.front().Kind)},
            {cl.XMin.has_value(), "--xmin"},
            {cl.XMax.has_value(), "--xmax"},
            {cl.Step.has_value(), "--step"},
            {cl.Mode.has_value(), "--mode"},
            {cl.Color.has_value() || curveColor, "--color"},
            {cl.TMin.has_value(), "--tmin"},
            {cl.TMax.has_value(), "--tmax"},
        };
        for (const auto& [given, name] : describing)
            if (given) throw TUsageError(Msg::UsageDocumentWith, {name});
    }
    // A document's derivative curve derives another curve; the command
    // line's derives its own formula, which a document cannot hold.
    if (cl.SaveDocument && std::any_of(cl.Curves.begin(), cl.Curves.end(),
                                       [](const TCurveOption& curve) { return curve.Derivative != 0; }))
        throw TUsageError(Msg::UsageDerivativeNotSaved);
    if (cl.SaveDocument && !cl.Document) {
        std::vector<std::uint32_t> colors;
        if (cl.Color) colors.push_back(*cl.Color);
        for (const TCurveOption& curve : cl.Curves)
            if (curve.Color) colors.push_back(*curve.Color);
        for (const std::uint32_t color : colors)
            if (color > 0x00FFFFFFu) throw TUsageError(Msg::UsageColorNotPlain, {std::to_string(color)});
    }
}

} // namespace

int ReadDerivativeOrder(std::string_view value)
{
    if (value == "1") return 1;
    if (value == "2") return 2;
    throw TUsageError(Msg::UsageDerivativeOrder, {value});
}

void CheckCurvesComplete(const TCommandLine& cl)
{
    for (const TCurveOption& curve : cl.Curves) {
        if (curve.Kind != TCurveKind::Parametric) continue;
        if (!curve.YOfT) throw TUsageError(Msg::UsageHalfParametric, {"--x-of-t", *curve.XOfT, "--y-of-t"});
        if (!curve.XOfT) throw TUsageError(Msg::UsageHalfParametric, {"--y-of-t", *curve.YOfT, "--x-of-t"});
    }
}

std::optional<std::string> TCommandLine::FirstFormula() const
{
    for (const TCurveOption& curve : Curves)
        if (curve.Kind == TCurveKind::Function) return curve.Formula;
    return std::nullopt;
}

std::optional<std::uint32_t> TCommandLine::FirstColor() const
{
    if (!Curves.empty() && Curves.front().Color) return Curves.front().Color;
    return Color;
}

TUsageError::TUsageError(Msg id, std::initializer_list<std::string_view> args)
    : std::runtime_error(FormatMessage(id, args))
{
}

TAngleMode ReadAngleMode(std::string_view value)
{
    if (EqualIgnoringCase(value, "radians")) return TAngleMode::Radians;
    if (EqualIgnoringCase(value, "degrees")) return TAngleMode::Degrees;
    if (EqualIgnoringCase(value, "grads")) return TAngleMode::Grads;
    throw TUsageError(Msg::UsageBadMode, {value});
}

char ReadDecimalSeparator(std::string_view value)
{
    if (value == "." || value == ",") return value[0];
    throw TUsageError(Msg::UsageBadSeparator, {value});
}

std::uint32_t ReadColorNumber(std::string_view value)
{
    std::string_view digits = value;
    int base = 10;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        digits.remove_prefix(2);
        base = 16;
    } else if (digits.starts_with("$")) {
        digits.remove_prefix(1);
        base = 16;
    }
    std::uint32_t color = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), color, base);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
        throw TUsageError(Msg::UsageBadColor, {value});
    return color;
}

TImageSize ReadImageSize(std::string_view value)
{
    auto x = value.find_first_of("xX");
    if (x == std::string_view::npos) ReadSide("", value);
    return {ReadSide(value.substr(0, x), value), ReadSide(value.substr(x + 1), value)};
}

void SetDocument(TCommandLine& cl, std::string_view fileName)
{
    if (fileName.empty()) throw TUsageError(Msg::UsageDocumentName);
    if (cl.Document) throw TUsageError(Msg::UsageTwoDocuments, {fileName});
    cl.Document = fileName;
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    TCommandLine cl;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool named = arg.starts_with("--");
        // "--name=value" carries its value; only a named option can.
        std::string_view name = arg;
        std::optional<std::string_view> attached;
        if (const auto eq = arg.find('='); named && eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            attached = arg.substr(eq + 1);
        }
        const TOptionInfo* option = FindOption(name);
        if (!option && !named && HasExtension(arg, kDocumentExtension)) {
            SetDocument(cl, arg);
            continue;
        }
        if (!option)
            throw TUsageError(named ? Msg::UsageUnknownOption : Msg::UsageUnexpectedArgument, {name});
        if (!option->Value) {
            if (attached) throw TUsageError(Msg::UsageUnknownOption, {name});
            option->Apply(cl, {});
            continue;
        }
        if (!attached && i + 1 >= args.size()) throw TUsageError(Msg::UsageNeedsValue, {name});
        option->Apply(cl, attached ? *attached : std::string_view(args[++i]));
    }
    CheckCombinations(cl);
    return cl;
}

bool CanWriteImage(TImageFormat format)
{
#ifdef QURVIA_HAVE_SVG
    (void)format;
    return true;
#else
    return format != TImageFormat::Svg;
#endif
}

} // namespace qrv
