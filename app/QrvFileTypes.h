// The parts of a file name and the extensions of the files the program
// writes: tables (text and CSV) and pictures. Save as, the command line's
// --table and --image and their help all read the extensions from here.
// Plain string functions: folders are separated by "/", and a name has an
// extension when its last path component contains a ".".
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qrv
{

inline constexpr std::string_view kTextExtension = ".txt";
inline constexpr std::string_view kCsvExtension = ".csv";

// The picture formats the program writes.
enum class TImageFormat { Bmp, Wmf, Emf, Png, Svg, Pdf };

struct TImageFileType {
    TImageFormat Format;
    std::string_view Extension;
};

// Every picture format with its extension, in the order of TImageFormat.
inline constexpr std::array<TImageFileType, 6> kImageFileTypes = {{
    {TImageFormat::Bmp, ".bmp"},
    {TImageFormat::Wmf, ".wmf"},
    {TImageFormat::Emf, ".emf"},
    {TImageFormat::Png, ".png"},
    {TImageFormat::Svg, ".svg"},
    {TImageFormat::Pdf, ".pdf"},
}};

constexpr std::string_view ImageExtension(TImageFormat format)
{
    return kImageFileTypes[static_cast<std::size_t>(format)].Extension;
}

// The part after the last "/" (the whole text when there is none).
std::string_view LastPathComponent(std::string_view path);
// The extension with its ".", from the last "." of the last path component;
// empty when that component has no ".".
std::string_view FileExtension(std::string_view path);
// The last path component without its extension: "curve" for
// "/data/curve.bmp", "" for ".txt".
std::string_view BareFileName(std::string_view path);
// The path with its extension replaced by ext, or ext appended when it has
// none; the folder part is kept as it is.
std::string ChangeFileExtension(std::string_view path, std::string_view ext);
// The folder part of a path, before its last "/" ("/" for a file in the
// root folder); empty for a bare name.
std::string FolderOf(std::string_view path);

// Whether the two texts are equal when ASCII letters are compared without
// regard to case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// Whether the path's extension is `extension` (".csv"), in any case.
bool HasExtension(std::string_view path, std::string_view extension);

// The picture format for a file name's extension, in any case.
std::optional<TImageFormat> ImageFormatFor(std::string_view fileName);

// The picture extensions as a sentence lists them: ".bmp, .wmf, .emf, .png,
// .svg or .pdf".
std::string ImageExtensionList();

} // namespace qrv
