#include "QrvViewSettings.h"

#include "QrvSettingValues.h"

namespace qrv
{

TViewSettings::TViewSettings()
{
    breakAtPoles_.setObjectName(QStringLiteral("varBreak_At_Poles"));
    Describe(breakAtPoles_, kBreakAtPolesKey);
    breakAtPoles_.Loaded();
    breakAtPoles_.SetData(&Break_At_Poles);
}

} // namespace qrv
