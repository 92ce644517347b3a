#include "QrvViewSettings.h"

#include "QrvSettingValues.h"

namespace qrv
{

namespace
{

void Bind(TChk& variable, const QString& name, const TSettingKey<bool>& key, bool& value)
{
    variable.setObjectName(name);
    Describe(variable, key);
    variable.Loaded();
    variable.SetData(&value);
}

} // namespace

TViewSettings::TViewSettings()
{
    Bind(breakAtPoles_, QStringLiteral("varBreak_At_Poles"), kBreakAtPolesKey, Break_At_Poles);
    Bind(equalScales_, QStringLiteral("varEqual_Scales"), kEqualScalesKey, Equal_Scales);
    Bind(fineLabels_, QStringLiteral("varFine_Labels"), kFineLabelsKey, Fine_Labels);
}

} // namespace qrv
