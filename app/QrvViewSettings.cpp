#include "QrvViewSettings.h"

#include "QrvSettingValues.h"

namespace qrv
{

TViewSettings::TViewSettings()
{
    FBreakAtPoles.setObjectName(QStringLiteral("varBreak_At_Poles"));
    Describe(FBreakAtPoles, kBreakAtPolesKey);
    FBreakAtPoles.Loaded();
    FBreakAtPoles.SetData(&Break_At_Poles);
}

} // namespace qrv
