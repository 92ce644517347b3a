#include "QrvExportNames.h"

#include "QrvExportTexts.h"

#include <array>

namespace qrv
{

namespace
{

constexpr std::array<std::string_view, 5> kExtensions = {".txt", ".bmp", ".wmf", ".emf", ".csv"};
constexpr std::array<TExportKind, 5> kKinds = {TExportKind::Text, TExportKind::Bitmap, TExportKind::Metafile,
                                               TExportKind::EnhMetafile, TExportKind::Csv};

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

} // namespace

std::optional<std::string_view> ExtensionOfFilterIndex(int index)
{
    if (index < 1 || index > static_cast<int>(kExtensions.size())) return std::nullopt;
    return kExtensions[static_cast<std::size_t>(index - 1)];
}

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

std::string ProposedFileName(std::string_view outputFile)
{
    return std::string(BareFileName(outputFile));
}

std::string TargetFileName(std::string_view chosen, int filterIndex)
{
    std::string target(chosen);
    if (FileExtension(chosen).empty())
        if (auto ext = ExtensionOfFilterIndex(filterIndex)) target += *ext;
    return target;
}

std::optional<TExportKind> ExportKindOf(std::string_view target)
{
    const std::string_view ext = FileExtension(target);
    for (std::size_t i = 0; i < kExtensions.size(); ++i)
        if (EqualIgnoringCase(ext, kExtensions[i])) return kKinds[i];
    return std::nullopt;
}

std::optional<std::string> TypeChangedFileName(std::string_view nameBox, int filterIndex)
{
    const auto ext = ExtensionOfFilterIndex(filterIndex);
    if (!ext) return std::nullopt;
    return ChangeFileExtension(nameBox, *ext);
}

std::string OverwriteQuestion(std::string_view target)
{
    std::string text = ExportText::OverwriteQuestion;
    text += LastPathComponent(target);
    text += '?';
    return text;
}

std::string CopiedMessage(std::string_view name)
{
    std::string text(name);
    text += ExportText::CopiedSuffix;
    text += "\n\r";
    text += ExportText::PasteHint;
    return text;
}

} // namespace qrv
