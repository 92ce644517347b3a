// The main window's export commands: Save as and the Copy commands of the
// Edit menu, on the results they take (the table's text as shown, the
// chart) rather than on the window. Save as runs TSaveAs (QrvExportSaveAs.h),
// whose save dialog the window keeps, so the file type chosen last stays
// selected.
#pragma once

#include <optional>
#include <string>

class QString;

namespace qrv
{

class TChart;
class TSaveAs;

// `curvesCsv`, when given, is the CSV of a document's shown curves, which
// Save as's CSV and Copy as CSV write instead of the table's.
void SaveResultAs(TSaveAs& saveAs, const QString& tableText, TChart& chart,
                  const std::optional<std::string>& curvesCsv = std::nullopt);
void CopyResultText(const QString& tableText);
void CopyResultCsv(const QString& tableText, const std::optional<std::string>& curvesCsv = std::nullopt);
void CopyResultBitmap(TChart& chart);
void CopyResultMetafile(TChart& chart);

} // namespace qrv
