#include "QrvSettingValues.h"

namespace qrv
{

TColor Element_Color = kElementColorKey.Default;
std::string Output_File{kOutputFileKey.Default};
bool Use_Enhanced_Metafiles = kUseEnhancedMetafilesKey.Default;
bool Break_At_Poles = kBreakAtPolesKey.Default;
bool Equal_Scales = kEqualScalesKey.Default;
bool Fine_Labels = kFineLabelsKey.Default;
std::array<std::string, kRecentDocumentCount> Recent_Documents;

} // namespace qrv
