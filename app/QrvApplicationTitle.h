// The program's name and version as the toolkit knows them, for the window
// and for the command line's pictures alike.
#pragma once

namespace qrv
{

// Names the application: title (the caption of error boxes), program name
// and version. Works for any Qt application object, also the batch ones.
void SetApplicationTitle();

} // namespace qrv
