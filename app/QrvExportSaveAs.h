// The Save as command: the save dialog with its file types and type-change
// handler, the target name, its checks and messages, the overwrite question,
// writing by the target's extension and remembering the name in
// Output_File. What is written comes from a TExportSource, so the command
// runs against the main window or against a test's data alike.
#pragma once

#include "QrvExportNames.h"
#include "QrvSaveDialog.h"

#include <QByteArray>
#include <QString>

#include <string>

namespace qrv
{

// The results Save as writes.
class TExportSource
{
public:
    virtual ~TExportSource() = default;
    // The table's text as it is shown now, edits included.
    virtual QString TableText() const = 0;
    // The CSV file's bytes: the table's, unless the source has several
    // curves, whose table it gives instead.
    virtual QByteArray CsvBytes() const;
    // Saves the chart as a picture file of the kind (never Text).
    virtual void SaveChart(TExportKind kind, const QString& fileName) = 0;
};

class TSaveAs
{
public:
    TSaveAs();
    TSaveAs(const TSaveAs&) = delete;
    TSaveAs& operator=(const TSaveAs&) = delete;

    // Runs Save as: raises the I/O errors of writing; shows its messages
    // through the message dialogs.
    void SaveAsToolButtonClick(TExportSource& source);
    // Rewrites the open dialog's file-name box with the extension of the
    // file type just selected.
    void SaveDialog1TypeChange(TOpenSaveDialog& dialog);

    TSaveDialog SaveDialog1;
    // The target of the current Save as.
    std::string SaveFileName;
};

} // namespace qrv
