// The parts of the Copy commands that need no chart: copying the table's
// text with its selection kept, and the confirmation message each command
// shows.
#pragma once

#include <string_view>

namespace qrv
{

class TTableView;

// Copies the whole text of the table to the clipboard and puts the
// selection back: the same text selected, or the caret at the start when
// nothing was selected. Raises "Cannot open clipboard".
void CopyTableText(TTableView& memo);

// Puts the table's text on the clipboard as comma-separated values, under
// text/csv and as plain text, so that a spreadsheet pastes it as cells.
// Raises "Cannot open clipboard".
void CopyTableCsv(const TTableView& memo);

// The information box "<name> copied to Clipboard" / "Use Paste command in
// another application".
void ShowCopiedMessage(std::string_view name);

} // namespace qrv
