// The parts of the Copy commands that need no chart: copying the table's
// text, as it is or as comma-separated values, and the confirmation message
// each command shows.
#pragma once

#include <QByteArray>

#include <string_view>

class QString;

namespace qrv
{

// Puts the whole text of the table on the clipboard. Raises "Cannot open
// clipboard".
void CopyTableText(const QString& tableText);

// Puts the table's text on the clipboard as comma-separated values, under
// text/csv and as plain text, so that a spreadsheet pastes it as cells.
// Raises "Cannot open clipboard".
void CopyTableCsv(const QString& tableText);
// The same for CSV bytes made elsewhere (the table of several curves).
void CopyCsvBytes(const QByteArray& csv);

// The information box "<name> copied to Clipboard" / "Use Paste command in
// another application".
void ShowCopiedMessage(std::string_view name);

} // namespace qrv
