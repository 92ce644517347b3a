#include "QrvViewSettings.h"

#include "QrvSettingValues.h"

namespace qrv
{

TViewSettings::TViewSettings()
{
    FBreakAtPoles.setObjectName(QStringLiteral("varBreak_At_Poles"));
    FBreakAtPoles.SetSection(kBreakAtPolesSection);
    FBreakAtPoles.SetGlobalName(kBreakAtPolesKey);
    FBreakAtPoles.SetDefault(kDefaultBreakAtPoles);
    FBreakAtPoles.Loaded();
    FBreakAtPoles.SetData(&Break_At_Poles);
}

} // namespace qrv
