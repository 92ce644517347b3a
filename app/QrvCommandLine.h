// The command line of the qurvia program, read into plain values. Parsing is
// pure logic: it does not touch the fields, the settings or any Qt object.
//
//   qurvia [--formula TEXT] [--xmin TEXT] [--xmax TEXT] [--step TEXT]
//          [--mode radians|degrees|grads] [--decimal-separator .|,] [--color N]
//          [--table FILE|-] [--image FILE] [--size WxH] [--settings FILE]
//
// Every option takes the next argument as its value, even one that starts
// with "-" (so "--xmin -5" works); "--option=value" is read the same way.
#pragma once

#include "QrvAngleMode.h"
#include "QrvOptionTable.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qrv
{

// The picture formats of --image, chosen by the file's extension.
enum class TImageFormat { Bmp, Wmf, Emf, Png, Svg, Pdf };

struct TImageSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const TImageSize&) const = default;
};

// The largest width or height --size accepts: a picture of that size is
// already several hundred megabytes.
inline constexpr int kMaxImageSide = 16384;

struct TCommandLine {
    // The four fields, as they would be typed; unset keeps the start-up text.
    std::optional<std::string> Formula;
    std::optional<std::string> XMin;
    std::optional<std::string> XMax;
    std::optional<std::string> Step;
    std::optional<TAngleMode> Mode;
    std::optional<char> DecimalSeparator;
    std::optional<std::uint32_t> Color;
    std::optional<std::string> Table; // "-" is standard output
    std::optional<std::string> Image;
    std::optional<TImageFormat> ImageFormat; // set with Image
    std::optional<TImageSize> Size;
    std::optional<std::string> Settings;
    // --break-at-poles / --no-break-at-poles; unset keeps the stored choice.
    std::optional<bool> BreakAtPoles;
    bool Help = false;
    bool Version = false;

    // Plot without a window: a table or an image is asked for.
    bool IsBatch() const { return Table.has_value() || Image.has_value(); }
};

// A command line that cannot be carried out as written; the program prints
// the text and exits with status 2.
class TUsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The format for a file name's extension, compared without regard to case.
std::optional<TImageFormat> ImageFormatFor(const std::string& fileName);

// Whether this build can write pictures of the format (.svg needs Qt SVG).
bool CanWriteImage(TImageFormat format);

} // namespace qrv
