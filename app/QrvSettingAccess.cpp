#include "QrvSettingAccess.h"

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
    if (auto breaks = ParseInteger(file.ReadString(kBreakAtPolesKey.Section, kBreakAtPolesKey.Key, "")))
        Break_At_Poles = *breaks != 0;
}

} // namespace qrv
