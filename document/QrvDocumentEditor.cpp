#include "QrvDocumentEditor.h"

#include "QrvDocumentText.h"
#include "QrvMessages.h"

#include <QUndoCommand>

#include <functional>
#include <utility>

namespace qrv
{

namespace
{

// Every change is one command: its text, and the editor's own changes that
// make it and take it back.
class TDocumentCommand : public QUndoCommand
{
public:
    TDocumentCommand(DocText text, std::function<void()> redo, std::function<void()> undo)
        : redo_(std::move(redo)), undo_(std::move(undo))
    {
        const std::string_view name = DocumentText(text);
        setText(QString::fromUtf8(name.data(), qsizetype(name.size())));
    }
    void redo() override { redo_(); }
    void undo() override { undo_(); }

private:
    std::function<void()> redo_;
    std::function<void()> undo_;
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
    Push(
        DocText::EditAddCurve, [this, index, curve] { InsertCurveNow(index, curve); },
        [this, index] { RemoveCurveNow(index); });
}

void TDocumentEditor::RemoveCurve(int index)
{
    CheckIndex(index, CurveCount());
    Push(
        DocText::EditRemoveCurve, [this, index] { RemoveCurveNow(index); },
        [this, index, curve = Curve(index)] { InsertCurveNow(index, curve); });
}

void TDocumentEditor::MoveCurve(int from, int to)
{
    CheckIndex(from, CurveCount());
    CheckIndex(to, CurveCount());
    if (from != to)
        Push(
            DocText::EditMoveCurve, [this, from, to] { MoveCurveNow(from, to); },
            [this, from, to] { MoveCurveNow(to, from); });
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
    if (after != before) Replace(DocText::EditEditCurve, index, after);
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
    Replace(DocText::EditRestyleCurve, index, after);
}

void TDocumentEditor::SetCurveVisible(int index, bool visible)
{
    const TCurve& before = Curve(index);
    if (before.Visible == visible) return;
    TCurve after = before;
    after.Visible = visible;
    Replace(visible ? DocText::EditShowCurve : DocText::EditHideCurve, index, after);
}

void TDocumentEditor::SetAngle(TAngleMode angle)
{
    if (angle != document_.Angle)
        Push(
            DocText::EditAngleMode, [this, angle] { SetAngleNow(angle); },
            [this, before = document_.Angle] { SetAngleNow(before); });
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

void TDocumentEditor::Push(DocText text, std::function<void()> redo, std::function<void()> undo)
{
    stack_.push(new TDocumentCommand(text, std::move(redo), std::move(undo)));
}

void TDocumentEditor::Replace(DocText text, int index, const TCurve& after)
{
    Push(
        text, [this, index, after] { ReplaceCurveNow(index, after); },
        [this, index, before = Curve(index)] { ReplaceCurveNow(index, before); });
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
