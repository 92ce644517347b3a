#include "QrvSettingAccess.h"

#include "QrvIniValues.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"

namespace qrv
{

std::uint32_t LineColor()
{
    return Element_Color;
}

void SetLineColor(std::uint32_t color)
{
    Element_Color = color;
}

bool UseEnhancedMetafiles()
{
    return Use_Enhanced_Metafiles;
}

void LoadLineColor(const std::string& path)
{
    TSettingsFile file(path.empty() ? SettingsFilePath() : QString::fromStdString(path));
    // The section and key under which the settings dialog stores the colour.
    auto value = ParseInteger(file.ReadString("Appearance", "Element_Color", ""));
    if (value) Element_Color = static_cast<TColor>(*value);
}

} // namespace qrv
