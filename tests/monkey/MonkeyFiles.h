// The files a run leaves: every file the program writes must be complete and
// valid, whatever went wrong while it was written. A table file holds
// exactly the table's text; a picture or PDF is recognised by its signature
// and its own record of its length, so a cut-off file does not pass.
#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>
#include <string>

namespace qrv::monkey
{

// Empty when `bytes` is a complete file the program could have written from
// `tableText` (the table shown), from the chart, as the document or as
// `curvesCsv` (the CSV of several curves, when the document has them);
// otherwise what is wrong.
std::string SavedFileProblem(const QByteArray& bytes, const QString& tableText,
                             const std::optional<std::string>& curvesCsv = std::nullopt);

// The files below a folder (recursively, hidden ones included) with their
// contents.
using TFolderContents = std::map<QString, QByteArray>;
TFolderContents ReadFolder(const QString& folder);

} // namespace qrv::monkey
