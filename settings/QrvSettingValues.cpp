#include "QrvSettingValues.h"

#include "QrvVariables.h"

namespace qrv
{

TColor Element_Color = kElementColorKey.Default;
std::string Output_File{kOutputFileKey.Default};
bool Use_Enhanced_Metafiles = kUseEnhancedMetafilesKey.Default;
bool Break_At_Poles = kBreakAtPolesKey.Default;

void SetOutputFile(const std::string& fileName)
{
    if (auto* variable = BoundVariable<std::string>(Output_File))
        variable->SetValue(fileName);
    else
        Output_File = fileName;
}

} // namespace qrv
