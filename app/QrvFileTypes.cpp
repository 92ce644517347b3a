#include "QrvFileTypes.h"

namespace qrv
{

namespace
{

// The table is indexed by format.
constexpr bool FormatsInOrder()
{
    for (std::size_t i = 0; i < kImageFileTypes.size(); ++i)
        if (static_cast<std::size_t>(kImageFileTypes[i].Format) != i) return false;
    return true;
}
static_assert(FormatsInOrder(), "kImageFileTypes lists the formats in the order of TImageFormat");

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string_view LastPathComponent(std::string_view path)
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view FileExtension(std::string_view path)
{
    const std::string_view name = LastPathComponent(path);
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string_view BareFileName(std::string_view path)
{
    std::string_view name = LastPathComponent(path);
    name.remove_suffix(FileExtension(name).size());
    return name;
}

std::string ChangeFileExtension(std::string_view path, std::string_view ext)
{
    path.remove_suffix(FileExtension(path).size());
    std::string result(path);
    result += ext;
    return result;
}

std::string FolderOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {};
    return std::string(path.substr(0, slash == 0 ? 1 : slash));
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

bool HasExtension(std::string_view path, std::string_view extension)
{
    return EqualIgnoringCase(FileExtension(path), extension);
}

std::optional<TImageFormat> ImageFormatFor(std::string_view fileName)
{
    for (const TImageFileType& type : kImageFileTypes)
        if (HasExtension(fileName, type.Extension)) return type.Format;
    return std::nullopt;
}

std::string ImageExtensionList()
{
    std::string list;
    for (std::size_t i = 0; i < kImageFileTypes.size(); ++i) {
        if (i > 0) list += i + 1 == kImageFileTypes.size() ? " or " : ", ";
        list += kImageFileTypes[i].Extension;
    }
    return list;
}

} // namespace qrv
