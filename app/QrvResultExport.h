// The main window's export commands: Save as and the Copy commands of the
// Edit menu, on the results they take (the table's text as shown, the
// chart) rather than on the window. Save as runs TSaveAs (QrvExportSaveAs.h),
// whose save dialog the window keeps, so the file type chosen last stays
// selected.
#pragma once

class QString;

namespace qrv
{

class TChart;
class TSaveAs;

void SaveResultAs(TSaveAs& saveAs, const QString& tableText, TChart& chart);
void CopyResultText(const QString& tableText);
void CopyResultCsv(const QString& tableText);
void CopyResultBitmap(TChart& chart);
void CopyResultMetafile(TChart& chart);

} // namespace qrv
