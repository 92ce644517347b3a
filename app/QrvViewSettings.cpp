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
    for (std::size_t i = 0; i < kRecentDocumentCount; ++i) {
        recent_[i] = std::make_unique<TStr>();
        recent_[i]->setObjectName(QStringLiteral("varRecent_%1").arg(i + 1));
        Describe(*recent_[i], kRecentDocumentKeys[i]);
        recent_[i]->Loaded();
        recent_[i]->SetData(&Recent_Documents[i]);
    }
}

TViewSettings::~TViewSettings() = default;

void TViewSettings::SetRecentDocuments(const std::vector<std::string>& files)
{
    for (std::size_t i = 0; i < kRecentDocumentCount; ++i)
        recent_[i]->SetValue(i < files.size() ? files[i] : std::string());
}

} // namespace qrv
