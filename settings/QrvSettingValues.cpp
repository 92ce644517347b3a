#include "QrvSettingValues.h"

namespace qrv
{

TColor Element_Color = kDefaultElementColor;
std::string Output_File = kDefaultOutputFile;
bool Use_Enhanced_Metafiles = kDefaultUseEnhancedMetafiles;
bool Break_At_Poles = kDefaultBreakAtPoles;

} // namespace qrv
