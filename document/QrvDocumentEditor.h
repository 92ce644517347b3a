// The document the window works on, changed only through commands on an
// undo stack, so that undo, redo and the unsaved-changes mark come from one
// place. A QObject without widgets (Qt GUI's QUndoStack): the window and the
// chart follow it through its signals, tests drive it without a window.
//
// Every change below pushes one command whose redo() makes it and whose
// undo() takes it back; each emits the signal of what changed, for the
// change and for its undo and redo alike. A change that changes nothing
// pushes nothing. Curve indexes are 0-based; an index out of range is a
// fault of the caller (EAssertionFailed).
#pragma once

#include "QrvDocument.h"
#include "QrvDocumentText.h"

#include <QObject>
#include <QUndoStack>

#include <functional>
#include <string>

namespace qrv
{

// What "Restyle curve" changes.
struct TCurveLook {
    TColor Color = clRed;
    int Width = 1;
    TLineStyle Style = TLineStyle::Solid;
    std::string Label;
    bool operator==(const TCurveLook&) const = default;
};

TCurveLook LookOf(const TCurve& curve);

class TDocumentEditor : public QObject
{
    Q_OBJECT

public:
    // An empty document without a file name, clean.
    explicit TDocumentEditor(QObject* parent = nullptr);

    const TDocument& Document() const { return document_; }
    int CurveCount() const { return int(document_.Curves.size()); }
    const TCurve& Curve(int index) const;

    // For the Undo and Redo actions (QUndoStack::createUndoAction).
    QUndoStack& UndoStack() { return stack_; }

    // "Add curve": inserts the curve before `index` (CurveCount() appends).
    // A document of kMaxCurves curves takes no more: EQrvDocumentError.
    void AddCurve(int index, const TCurve& curve);
    // "Remove curve".
    void RemoveCurve(int index);
    // "Move curve": the curve at `from` ends up at `to`, the curves between
    // them move by one.
    void MoveCurve(int from, int to);
    // "Edit curve": the kind and every formula, range, "of" and "order"
    // field come from `texts`; the look, visibility and unknown members of
    // the curve stay.
    void EditCurve(int index, const TCurve& texts);
    // "Restyle curve".
    void RestyleCurve(int index, const TCurveLook& look);
    // "Show curve" or "Hide curve".
    void SetCurveVisible(int index, bool visible);
    // "Change angle mode".
    void SetAngle(TAngleMode angle);

    // New and Open: the document and its file name replace the current
    // ones; the undo stack is emptied and clean. Emits DocumentReset.
    void ResetDocument(TDocument document, std::string fileName);

    // The document as last saved (or opened) has not changed since.
    bool IsClean() const { return stack_.isClean(); }
    // After a save: the current state is the saved one.
    void SetClean() { stack_.setClean(); }

    // The file the document was opened from or saved to; empty for a new one.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string fileName);

signals:
    void CurveInserted(int index);
    void CurveRemoved(int index);
    void CurveMoved(int from, int to);
    // The curve's texts, look or visibility changed.
    void CurveChanged(int index);
    void AngleChanged();
    // The whole document was replaced.
    void DocumentReset();
    // The document became clean (saved) or left that state.
    void CleanChanged(bool clean);
    void FileNameChanged();

private:
    // Pushes a command that makes a change by `redo` and takes it back by
    // `undo`.
    void Push(DocText text, std::function<void()> redo, std::function<void()> undo);
    // Pushes a command that replaces the curve at `index` by `after`.
    void Replace(DocText text, int index, const TCurve& after);
    // The changes themselves, made by the commands' redo and undo.
    void InsertCurveNow(int index, const TCurve& curve);
    TCurve RemoveCurveNow(int index);
    void MoveCurveNow(int from, int to);
    void ReplaceCurveNow(int index, const TCurve& curve);
    void SetAngleNow(TAngleMode angle);
    void CheckIndex(int index, int end) const;

    TDocument document_;
    QUndoStack stack_;
    std::string fileName_;
};

} // namespace qrv
