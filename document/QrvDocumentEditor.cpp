#include "QrvDocumentEditor.h"

#include "QrvDocumentText.h"
#include "QrvMessages.h"

#include <QUndoCommand>

#include <utility>

namespace qrv
{

// The base of every command: its text, and the editor's own changes.
class TDocumentCommand : public QUndoCommand
{
protected:
    TDocumentCommand(TDocumentEditor& editor, DocText text) : editor_(editor)
    {
        const std::string_view name = DocumentText(text);
        setText(QString::fromUtf8(name.data(), qsizetype(name.size())));
    }

    void Insert(int index, const TCurve& curve) { editor_.InsertCurveNow(index, curve); }
    TCurve Remove(int index) { return editor_.RemoveCurveNow(index); }
    void Move(int from, int to) { editor_.MoveCurveNow(from, to); }
    void Replace(int index, const TCurve& curve) { editor_.ReplaceCurveNow(index, curve); }
    void SetAngle(TAngleMode angle) { editor_.SetAngleNow(angle); }

private:
    TDocumentEditor& editor_;
};

namespace
{

class TAddCommand : public TDocumentCommand
{
public:
    TAddCommand(TDocumentEditor& editor, int index, TCurve curve)
        : TDocumentCommand(editor, DocText::EditAddCurve), index_(index), curve_(std::move(curve))
    {
    }
    void redo() override { Insert(index_, curve_); }
    void undo() override { Remove(index_); }

private:
    int index_;
    TCurve curve_;
};

class TRemoveCommand : public TDocumentCommand
{
public:
    TRemoveCommand(TDocumentEditor& editor, int index)
        : TDocumentCommand(editor, DocText::EditRemoveCurve), index_(index)
    {
    }
    void redo() override { curve_ = Remove(index_); }
    void undo() override { Insert(index_, curve_); }

private:
    int index_;
    TCurve curve_;
};

class TMoveCommand : public TDocumentCommand
{
public:
    TMoveCommand(TDocumentEditor& editor, int from, int to)
        : TDocumentCommand(editor, DocText::EditMoveCurve), from_(from), to_(to)
    {
    }
    void redo() override { Move(from_, to_); }
    void undo() override { Move(to_, from_); }

private:
    int from_;
    int to_;
};

// Edit, restyle, show and hide: the curve before and after.
class TReplaceCommand : public TDocumentCommand
{
public:
    TReplaceCommand(TDocumentEditor& editor, DocText text, int index, TCurve before, TCurve after)
        : TDocumentCommand(editor, text), index_(index), before_(std::move(before)), after_(std::move(after))
    {
    }
    void redo() override { Replace(index_, after_); }
    void undo() override { Replace(index_, before_); }

private:
    int index_;
    TCurve before_;
    TCurve after_;
};

class TAngleCommand : public TDocumentCommand
{
public:
    TAngleCommand(TDocumentEditor& editor, TAngleMode before, TAngleMode after)
        : TDocumentCommand(editor, DocText::EditAngleMode), before_(before), after_(after)
    {
    }
    void redo() override { SetAngle(after_); }
    void undo() override { SetAngle(before_); }

private:
    TAngleMode before_;
    TAngleMode after_;
};

} // namespace

TCurveLook LookOf(const TCurve& curve)
{
    return {curve.Color, curve.Width, curve.Style, curve.Label};
}

TDocumentEditor::TDocumentEditor(QObject* parent) : QObject(parent)
{
    connect(&stack_, &QUndoStack::cleanChanged, this, &TDocumentEditor::CleanChanged);
}

void TDocumentEditor::CheckIndex(int index, int end) const
{
    QRV_ASSERT(index >= 0 && index < end, MessageText(Msg::AssertionFailure));
}

const TCurve& TDocumentEditor::Curve(int index) const
{
    CheckIndex(index, CurveCount());
    return document_.Curves[std::size_t(index)];
}

void TDocumentEditor::AddCurve(int index, const TCurve& curve)
{
    CheckIndex(index, CurveCount() + 1);
    if (document_.Curves.size() >= kMaxCurves)
        throw EQrvDocumentError(DocText::EditCurveLimit, {std::to_string(kMaxCurves)});
    stack_.push(new TAddCommand(*this, index, curve));
}

void TDocumentEditor::RemoveCurve(int index)
{
    CheckIndex(index, CurveCount());
    stack_.push(new TRemoveCommand(*this, index));
}

void TDocumentEditor::MoveCurve(int from, int to)
{
    CheckIndex(from, CurveCount());
    CheckIndex(to, CurveCount());
    if (from != to) stack_.push(new TMoveCommand(*this, from, to));
}

void TDocumentEditor::EditCurve(int index, const TCurve& texts)
{
    const TCurve& before = Curve(index);
    TCurve after = before;
    after.Kind = texts.Kind;
    for (std::string TCurve::*field :
         {&TCurve::Formula, &TCurve::XOfT, &TCurve::YOfT, &TCurve::XMin, &TCurve::XMax, &TCurve::YMin,
          &TCurve::YMax, &TCurve::TMin, &TCurve::TMax, &TCurve::Step})
        after.*field = texts.*field;
    after.Of = texts.Of;
    after.Order = texts.Order;
    if (after != before)
        stack_.push(new TReplaceCommand(*this, DocText::EditEditCurve, index, before, after));
}

void TDocumentEditor::RestyleCurve(int index, const TCurveLook& look)
{
    const TCurve& before = Curve(index);
    if (LookOf(before) == look) return;
    TCurve after = before;
    after.Color = look.Color;
    after.Width = look.Width;
    after.Style = look.Style;
    after.Label = look.Label;
    stack_.push(new TReplaceCommand(*this, DocText::EditRestyleCurve, index, before, after));
}

void TDocumentEditor::SetCurveVisible(int index, bool visible)
{
    const TCurve& before = Curve(index);
    if (before.Visible == visible) return;
    TCurve after = before;
    after.Visible = visible;
    stack_.push(new TReplaceCommand(*this, visible ? DocText::EditShowCurve : DocText::EditHideCurve, index,
                                    before, after));
}

void TDocumentEditor::SetAngle(TAngleMode angle)
{
    if (angle != document_.Angle) stack_.push(new TAngleCommand(*this, document_.Angle, angle));
}

void TDocumentEditor::ResetDocument(TDocument document, std::string fileName)
{
    // The new document and name first, so that whoever follows the clean
    // state already sees them.
    document_ = std::move(document);
    const bool renamed = fileName != fileName_;
    fileName_ = std::move(fileName);
    stack_.clear();
    stack_.setClean();
    emit DocumentReset();
    if (renamed) emit FileNameChanged();
}

void TDocumentEditor::SetFileName(std::string fileName)
{
    if (fileName == fileName_) return;
    fileName_ = std::move(fileName);
    emit FileNameChanged();
}

void TDocumentEditor::InsertCurveNow(int index, const TCurve& curve)
{
    document_.Curves.insert(document_.Curves.begin() + index, curve);
    emit CurveInserted(index);
}

TCurve TDocumentEditor::RemoveCurveNow(int index)
{
    TCurve curve = std::move(document_.Curves[std::size_t(index)]);
    document_.Curves.erase(document_.Curves.begin() + index);
    emit CurveRemoved(index);
    return curve;
}

void TDocumentEditor::MoveCurveNow(int from, int to)
{
    auto& curves = document_.Curves;
    TCurve curve = std::move(curves[std::size_t(from)]);
    curves.erase(curves.begin() + from);
    curves.insert(curves.begin() + to, std::move(curve));
    emit CurveMoved(from, to);
}

void TDocumentEditor::ReplaceCurveNow(int index, const TCurve& curve)
{
    document_.Curves[std::size_t(index)] = curve;
    emit CurveChanged(index);
}

void TDocumentEditor::SetAngleNow(TAngleMode angle)
{
    document_.Angle = angle;
    emit AngleChanged();
}

} // namespace qrv
