#include "QrvSettingAccess.h"

#include "QrvIniValues.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"

#include <QFile>

namespace qrv
{

void LoadLineColor(const std::string& path)
{
    TSettingsFile file(path.empty() ? SettingsFilePath()
                                    : QFile::decodeName(QByteArray::fromStdString(path)));
    // The section and key under which the settings dialog stores the colour.
    auto value = ParseInteger(file.ReadString("Appearance", "Element_Color", ""));
    if (value) Element_Color = static_cast<TColor>(*value);
}

} // namespace qrv
