#include "QrvSettingAccess.h"

#include "QrvChartPicture.h"
#include "QrvFileNames.h"
#include "QrvIniValues.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"

namespace qrv
{

void LoadBatchSettings(const std::string& path)
{
    TSettingsFile file(path.empty() ? SettingsFilePath() : FileNameFromBytes(path));
    // Read as the setting variables read them: an integer, and a Boolean
    // stored as an integer, 0 for off.
    if (auto color = ParseInteger(file.ReadString(kElementColorKey.Section, kElementColorKey.Key, "")))
        Element_Color = static_cast<TColor>(*color);
    const auto readChoice = [&file](const TSettingKey<bool>& key, bool& value) {
        if (auto stored = ParseInteger(file.ReadString(key.Section, key.Key, ""))) value = *stored != 0;
    };
    readChoice(kBreakAtPolesKey, Break_At_Poles);
    readChoice(kEqualScalesKey, Equal_Scales);
    readChoice(kFineLabelsKey, Fine_Labels);
}

void ApplyChartViewSettings(TChartPicture& chart)
{
    chart.SetEqualScales(Equal_Scales);
    chart.SetFineLabels(Fine_Labels);
}

} // namespace qrv
