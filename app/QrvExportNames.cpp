#include "QrvExportNames.h"

#include "QrvExportTexts.h"

#include <array>

namespace qrv
{

namespace
{

constexpr std::array<std::string_view, 8> kExtensions = {
    kTextExtension,
    ImageExtension(TImageFormat::Bmp),
    ImageExtension(TImageFormat::Wmf),
    ImageExtension(TImageFormat::Emf),
    kCsvExtension,
    ImageExtension(TImageFormat::Png),
    ImageExtension(TImageFormat::Svg),
    ImageExtension(TImageFormat::Pdf),
};
constexpr std::array<TExportKind, 8> kKinds = {
    TExportKind::Text, TExportKind::Bitmap, TExportKind::Metafile, TExportKind::EnhMetafile,
    TExportKind::Csv,  TExportKind::Png,    TExportKind::Svg,      TExportKind::Pdf};

} // namespace

std::optional<std::string_view> ExtensionOfFilterIndex(int index)
{
    if (index < 1 || index > static_cast<int>(kExtensions.size())) return std::nullopt;
    return kExtensions[static_cast<std::size_t>(index - 1)];
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
    for (std::size_t i = 0; i < kExtensions.size(); ++i)
        if (HasExtension(target, kExtensions[i])) return kKinds[i];
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
