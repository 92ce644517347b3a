// The main window's export commands: Save as and the three Copy commands of
// the Edit menu. Save as runs TSaveAs (QrvExportSaveAs.h) on the window's
// table and chart; its save dialog lives as long as the window, so the file
// type chosen last stays selected.
#pragma once

namespace qrv
{

class TF_Main_GRF;
class TSaveAs;

void SaveResultAs(TF_Main_GRF& window);
void CopyResultText(TF_Main_GRF& window);
void CopyResultCsv(TF_Main_GRF& window);
void CopyResultBitmap(TF_Main_GRF& window);
void CopyResultMetafile(TF_Main_GRF& window);

// The window's Save as state: SaveDialog1 and SaveFileName, made on first
// use.
TSaveAs& SaveAsOf(TF_Main_GRF& window);

} // namespace qrv
