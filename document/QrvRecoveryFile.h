// The recovery file: a copy of a document with unsaved changes, kept so
// that a crash or a kill loses nothing. TRecoveryKeeper follows an editor
// and writes the document (through the one file writer, so a kill while
// writing leaves the previous copy whole) a little while after a change
// leaves it unsaved; a save, a discard or a clean exit removes the file.
// The next start finds the files that no running program keeps and offers
// to restore them.
//
// Each running program keeps its own file, named by its process number,
// in the user's state folder: $XDG_STATE_HOME/qurvia, or
// ~/.local/state/qurvia where XDG_STATE_HOME is not set.
#pragma once

#include "QrvDocument.h"

#include <QObject>
#include <QTimer>

#include <optional>
#include <string>
#include <vector>

namespace qrv
{

class TDocumentEditor;

// The folder of the recovery files (not created).
std::string RecoveryFolder();

// The recovery file of the process `pid` in `folder`.
std::string RecoveryFileName(const std::string& folder, long pid);

// The recovery files in `folder` whose program no longer runs, newest first.
std::vector<std::string> OrphanedRecoveryFiles(const std::string& folder);

// What a recovery file holds: the document and the name of the file it
// was opened from or saved to (empty for a new one).
struct TRecoveredDocument {
    TDocument Document;
    std::string FileName;
};

// Reads a recovery file; EQrvDocumentError when it cannot be used.
TRecoveredDocument ReadRecoveryFile(const std::string& fileName);

// The recovery file's text for the editor's document.
std::string RecoveryJson(const TDocument& document, const std::string& fileName);

class TRecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    // Follows `editor` and keeps `fileName` (its folder is made when first
    // written); `delayMs` is the wait after a change before the copy is
    // written, measured from the first change not yet written.
    TRecoveryKeeper(TDocumentEditor& editor, std::string fileName, int delayMs = 3000,
                    QObject* parent = nullptr);
    // A clean exit: the file goes.
    ~TRecoveryKeeper() override;

    const std::string& FileName() const { return fileName_; }

    // Writes the copy now when the document has unsaved changes, removes
    // it when not. A failure to write is swallowed: the copy is a
    // safeguard, and the document itself is still in the window.
    void WriteNow();

    // Whether a copy is waiting to be written.
    bool Pending() const { return timer_.isActive(); }

private:
    void Changed();
    void Remove();

    TDocumentEditor& editor_;
    std::string fileName_;
    QTimer timer_;
};

} // namespace qrv
