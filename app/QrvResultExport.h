// The main window's export commands: Save as and the three Copy commands of
// the Edit menu. For now they hand the results straight to the clipboard
// and the chart's exports; the save dialog with its file types, the
// overwrite question and the confirmation messages come with the export
// work.
#pragma once

namespace qrv
{

class TF_Main_GRF;

void SaveResultAs(TF_Main_GRF& window);
void CopyResultText(TF_Main_GRF& window);
void CopyResultBitmap(TF_Main_GRF& window);
void CopyResultMetafile(TF_Main_GRF& window);

} // namespace qrv
