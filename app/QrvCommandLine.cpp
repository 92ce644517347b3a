#include "QrvCommandLine.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace qrv
{

namespace
{

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

[[noreturn]] void Fail(const std::string& text)
{
    throw TUsageError(text);
}

TAngleMode ParseMode(std::string_view value)
{
    std::string mode = Lower(value);
    if (mode == "radians") return TAngleMode::Radians;
    if (mode == "degrees") return TAngleMode::Degrees;
    if (mode == "grads") return TAngleMode::Grads;
    Fail("--mode must be radians, degrees or grads, not '" + std::string(value) + "'");
}

// The two separators numbers are written with.
char ParseSeparator(std::string_view value)
{
    if (value == "." || value == ",") return value[0];
    Fail("--decimal-separator must be '.' or ',', not '" + std::string(value) + "'");
}

// A colour number: decimal, or hexadecimal after "0x" or "$".
std::uint32_t ParseColor(std::string_view value)
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
        Fail("--color must be a colour number from 0 to 4294967295 (0xFFFFFFFF), not '" + std::string(value) +
             "'");
    return color;
}

int ParseSide(std::string_view text, std::string_view whole)
{
    int side = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), side);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || side < 1 ||
        side > kMaxImageSide)
        Fail("--size must be WIDTHxHEIGHT with each from 1 to " + std::to_string(kMaxImageSide) + ", not '" +
             std::string(whole) + "'");
    return side;
}

TImageSize ParseSize(std::string_view value)
{
    auto x = value.find_first_of("xX");
    if (x == std::string_view::npos) ParseSide("", value);
    return {ParseSide(value.substr(0, x), value), ParseSide(value.substr(x + 1), value)};
}

} // namespace

std::optional<TImageFormat> ImageFormatFor(const std::string& fileName)
{
    auto slash = fileName.find_last_of('/');
    auto dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
    std::string ext = Lower(std::string_view(fileName).substr(dot));
    if (ext == ".bmp") return TImageFormat::Bmp;
    if (ext == ".wmf") return TImageFormat::Wmf;
    if (ext == ".emf") return TImageFormat::Emf;
    if (ext == ".png") return TImageFormat::Png;
    if (ext == ".svg") return TImageFormat::Svg;
    if (ext == ".pdf") return TImageFormat::Pdf;
    return std::nullopt;
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    TCommandLine cl;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            cl.Help = true;
            continue;
        }
        if (arg == "--version") {
            cl.Version = true;
            continue;
        }
        if (arg == "--break-at-poles" || arg == "--no-break-at-poles") {
            cl.BreakAtPoles = arg == "--break-at-poles";
            continue;
        }
        if (!arg.starts_with("--")) Fail("unexpected argument '" + std::string(arg) + "'");

        std::string name;
        std::string value;
        if (auto eq = arg.find('='); eq != std::string_view::npos) {
            name = std::string(arg.substr(0, eq));
            value = std::string(arg.substr(eq + 1));
        } else {
            name = std::string(arg);
            const TOptionInfo* option = FindOption(name);
            if (!option || !option->Value) Fail("unknown option '" + name + "'");
            if (i + 1 >= args.size()) Fail("option '" + name + "' needs a value");
            value = args[++i];
        }

        if (name == "--formula")
            cl.Formula = value;
        else if (name == "--xmin")
            cl.XMin = value;
        else if (name == "--xmax")
            cl.XMax = value;
        else if (name == "--step")
            cl.Step = value;
        else if (name == "--mode")
            cl.Mode = ParseMode(value);
        else if (name == "--decimal-separator")
            cl.DecimalSeparator = ParseSeparator(value);
        else if (name == "--color")
            cl.Color = ParseColor(value);
        else if (name == "--table") {
            if (value.empty()) Fail("--table needs a file name or -");
            cl.Table = value;
        } else if (name == "--image") {
            auto format = ImageFormatFor(value);
            if (!format) Fail("--image needs a file name ending in .bmp, .wmf, .emf, .png, .svg or .pdf");
            cl.Image = value;
            cl.ImageFormat = format;
        } else if (name == "--size")
            cl.Size = ParseSize(value);
        else if (name == "--settings") {
            if (value.empty()) Fail("--settings needs a file name");
            cl.Settings = value;
        } else
            Fail("unknown option '" + name + "'");
    }
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
