#include "QrvDocumentSession.h"

#include "QrvAngleMode.h"
#include "QrvAppTexts.h"
#include "QrvChartPicture.h"
#include "QrvChartSetup.h"
#include "QrvCurveSeries.h"
#include "QrvCurveTable.h"
#include "QrvDocumentFile.h"
#include "QrvErrorText.h"
#include "QrvNumberText.h"
#include "QrvPalette.h"
#include "QrvSeparatorText.h"
#include "QrvSettingValues.h"

#include <QFileInfo>

#include <algorithm>
#include <exception>

namespace qrv
{

namespace
{

TCurve FunctionCurve(const TPlotFields& fields)
{
    TCurve curve;
    curve.Formula = fields.Formula;
    curve.XMin = fields.XMin;
    curve.XMax = fields.XMax;
    curve.Step = fields.Step;
    return curve;
}

TDocument StartDocument(const TPlotFields& fields)
{
    TDocument document;
    document.Angle = CurrentAngleMode();
    document.DecimalSeparator = DecimalSeparator();
    TCurve curve = FunctionCurve(fields);
    curve.Color = NextCurveColor(document, Element_Color);
    document.Curves.push_back(std::move(curve));
    return document;
}

const std::string kNoError;

} // namespace

std::string DocumentCaption(const std::string& fileName, int curveCount, bool clean)
{
    if (fileName.empty() && curveCount <= 1) return Text::MainCaption;
    std::string name = fileName.empty()
                           ? std::string(Text::UntitledDocument)
                           : QFileInfo(QString::fromStdString(fileName)).fileName().toStdString();
    if (!clean) name += '*';
    return name + " - " + Text::MainCaption;
}

std::vector<std::string> RecentDocumentsWith(std::vector<std::string> list, const std::string& file,
                                             std::size_t most)
{
    std::erase_if(list, [&](const std::string& entry) { return entry.empty() || entry == file; });
    list.insert(list.begin(), file);
    if (list.size() > most) list.resize(most);
    return list;
}

bool AsksBeforeClosing(const std::string& fileName, int curveCount, bool clean)
{
    return !clean && (!fileName.empty() || curveCount > 1);
}

// What the last run of a curve left: its target (series and table) and
// its error.
struct TDocumentSession::TCurveRun {
    explicit TCurveRun(TLineSeries* series) : Target(series) {}
    TSeriesTableTarget Target;
    std::string Error;
};

TDocumentSession::TDocumentSession(TChartPicture& chart, TLineSeries& first, const TPlotFields& startup,
                                   QObject* parent)
    : QObject(parent), chart_(chart), first_(first)
{
    editor_.ResetDocument(StartDocument(startup), {});
    SyncSeries();
    // From here on every reset follows the connections below.
    // A curve added (or brought back by undo) becomes the current one.
    connect(&editor_, &TDocumentEditor::CurveInserted, this, [this](int index) {
        current_ = index;
        StructureChanged();
    });
    connect(&editor_, &TDocumentEditor::CurveRemoved, this, [this](int index) {
        if (index < current_) --current_;
        StructureChanged();
    });
    connect(&editor_, &TDocumentEditor::CurveMoved, this, [this](int from, int to) {
        if (current_ == from)
            current_ = to;
        else if (from < current_ && to >= current_)
            --current_;
        else if (from > current_ && to <= current_)
            ++current_;
        StructureChanged();
    });
    connect(&editor_, &TDocumentEditor::CurveChanged, this, [this](int index) {
        StyleSeries(index);
        emit ListChanged();
        if (index == current_) emit CurrentChanged();
        // Texts, look or visibility: the chart follows at once.
        Refresh();
    });
    connect(&editor_, &TDocumentEditor::DocumentReset, this, [this] {
        current_ = 0;
        SetCurrentAngleMode(Document().Angle);
        emit AngleChanged();
        StructureChanged();
    });
    connect(&editor_, &TDocumentEditor::AngleChanged, this, [this] {
        SetCurrentAngleMode(Document().Angle);
        emit AngleChanged();
    });
    connect(&editor_, &TDocumentEditor::CleanChanged, this, &TDocumentSession::CaptionChanged);
    connect(&editor_, &TDocumentEditor::FileNameChanged, this, &TDocumentSession::CaptionChanged);
}

TDocumentSession::~TDocumentSession() = default;

void TDocumentSession::ClampCurrent()
{
    current_ = std::clamp(current_, 0, std::max(0, CurveCount() - 1));
}

void TDocumentSession::StructureChanged()
{
    ClampCurrent();
    SyncSeries();
    emit ListChanged();
    emit CurrentChanged();
    emit CaptionChanged();
    if (plotted_)
        Refresh();
    else
        emit CurvesRan();
}

void TDocumentSession::SetCurrent(int index)
{
    if (index < 0 || index >= CurveCount() || index == current_) return;
    current_ = index;
    emit CurrentChanged();
    // The table shows the current curve.
    emit CurvesRan();
}

TPlotFields TDocumentSession::CurrentFields() const
{
    if (CurveCount() == 0) return {};
    return FunctionFields(editor_.Curve(current_));
}

TCurveKind TDocumentSession::CurrentKind() const
{
    return CurveCount() == 0 ? TCurveKind::Function : editor_.Curve(current_).Kind;
}

TKindFieldTexts TDocumentSession::CurrentFieldTexts() const
{
    if (CurveCount() == 0) return {};
    return FieldTextsOf(editor_.Curve(current_));
}

void TDocumentSession::EditCurrentTexts(const TKindFieldTexts& texts)
{
    if (CurveCount() == 0 || CurrentKind() == TCurveKind::Function) {
        EditCurrent({texts[std::size_t(TKindField::Formula)], texts[std::size_t(TKindField::Range1)],
                     texts[std::size_t(TKindField::Range2)], texts[std::size_t(TKindField::Range3)]});
        return;
    }
    editor_.EditCurve(current_, WithFieldTexts(editor_.Curve(current_), texts));
}

void TDocumentSession::EditCurrent(const TPlotFields& fields)
{
    if (CurveCount() == 0) {
        TCurve curve = FunctionCurve(fields);
        curve.Color = NextCurveColor(Document(), Element_Color);
        editor_.AddCurve(0, curve);
        return;
    }
    TCurve texts = editor_.Curve(current_);
    // The fields hold a function's texts; a curve of another kind keeps its own.
    if (texts.Kind != TCurveKind::Function) return;
    texts.Formula = fields.Formula;
    texts.XMin = fields.XMin;
    texts.XMax = fields.XMax;
    texts.Step = fields.Step;
    editor_.EditCurve(current_, texts);
}

TCurve TDocumentSession::NewCurveAfterCurrent() const
{
    TCurve curve;
    if (CurveCount() > 0) {
        const TCurve& current = editor_.Curve(current_);
        curve.XMin = current.XMin;
        curve.XMax = current.XMax;
        curve.Step = current.Step;
    }
    curve.Color = NextCurveColor(Document(), Element_Color);
    return curve;
}

void TDocumentSession::AddCurve(TCurveKind kind)
{
    if (kind == TCurveKind::Function) {
        InsertAfterCurrent(NewCurveAfterCurrent());
        return;
    }
    TCurve curve = StartCurve(kind, DecimalSeparator());
    curve.Color = NextCurveColor(Document(), Element_Color);
    InsertAfterCurrent(curve);
}

void TDocumentSession::KeepCurve(const TPlotFields& fields)
{
    EditCurrent(fields);
    TCurve copy = NewCurveAfterCurrent();
    if (CurveCount() > 0) {
        const TCurve& current = editor_.Curve(current_);
        copy.Kind = current.Kind;
        copy.Formula = current.Formula;
        copy.XOfT = current.XOfT;
        copy.YOfT = current.YOfT;
        copy.YMin = current.YMin;
        copy.YMax = current.YMax;
        copy.TMin = current.TMin;
        copy.TMax = current.TMax;
        copy.Of = current.Of;
        copy.Order = current.Order;
    }
    InsertAfterCurrent(copy);
}

void TDocumentSession::InsertAfterCurrent(const TCurve& curve)
{
    QUndoStack& stack = editor_.UndoStack();
    const std::string_view name = DocumentText(DocText::EditAddCurve);
    stack.beginMacro(QString::fromUtf8(name.data(), qsizetype(name.size())));
    // A lone curve is drawn in the colour in force; it keeps that colour
    // once others join it.
    if (CurveCount() == 1 && editor_.Curve(0).Color != Element_Color) {
        TCurveLook look = LookOf(editor_.Curve(0));
        look.Color = Element_Color;
        editor_.RestyleCurve(0, look);
    }
    const int at = CurveCount() == 0 ? 0 : current_ + 1;
    editor_.AddCurve(at, curve);
    stack.endMacro();
    current_ = at;
    emit CurrentChanged();
    emit CurvesRan();
}

void TDocumentSession::SyncSeries()
{
    const int wanted = std::max(1, CurveCount());
    // The table's series may be among those going: the window moves its
    // trace off them first.
    if (chart_.SeriesCount() > wanted) emit SeriesRemoving();
    while (chart_.SeriesCount() > wanted)
        chart_.RemoveSeries(chart_.SeriesCount() - 1);
    series_.assign(1, &first_);
    for (int i = 1; i < chart_.SeriesCount(); ++i)
        series_.push_back(static_cast<TLineSeries*>(&chart_.Series(i)));
    while (int(series_.size()) < wanted)
        series_.push_back(&AddGraphSeries(chart_));
    runs_.clear();
    for (int i = 0; i < wanted; ++i) {
        series_[std::size_t(i)]->ClearPoints();
        runs_.push_back(std::make_unique<TCurveRun>(series_[std::size_t(i)]));
        StyleSeries(i);
    }
}

void TDocumentSession::StyleSeries(int index)
{
    if (index < 0 || index >= CurveCount()) return;
    const TCurve& curve = editor_.Curve(index);
    ApplyCurveStyle(*series_.at(std::size_t(index)), curve, DisplayName(curve, index));
    // A lone curve takes the colour in force at its Plot, as the program
    // always did; several each keep their own.
    if (CurveCount() > 1) runs_.at(std::size_t(index))->Target.SetPointColor(curve.Color);
}

TSeriesTableTarget& TDocumentSession::TargetOf(int index)
{
    return runs_.at(std::size_t(index))->Target;
}

TLineSeries& TDocumentSession::SeriesOf(int index) const
{
    return *series_.at(std::size_t(index));
}

const TTableTarget& TDocumentSession::CurrentTable() const
{
    return runs_.at(std::size_t(current_))->Target;
}

const std::string& TDocumentSession::CurveError(int index) const
{
    if (index < 0 || index >= int(runs_.size())) return kNoError;
    return runs_[std::size_t(index)]->Error;
}

void TDocumentSession::RunOthers(int skip)
{
    const TDocument& document = Document();
    std::vector<TPlotTarget*> targets(document.Curves.size(), nullptr);
    for (int i = 0; i < CurveCount(); ++i) {
        const TCurve& curve = document.Curves[std::size_t(i)];
        // A curve not yet written is not plotted; Plot on it says why.
        const bool empty = curve.Kind == TCurveKind::Function && curve.Formula.empty();
        if (i == skip || !curve.Visible || empty) continue;
        runs_[std::size_t(i)]->Error.clear();
        targets[std::size_t(i)] = &TargetOf(i);
    }
    TCurveRunOptions options = runOptions_;
    options.Plot.BreakAtPoles = Break_At_Poles;
    RunCurves(document, targets, options, [this](std::size_t index, const TCurveOutcome& outcome) {
        runs_[index]->Error = outcome.Error;
    });
}

void TDocumentSession::Plot(const TPlotFields& fields,
                            const std::function<bool(const TPlotFields&, TPlotTarget&)>& runCurrent,
                            const TKindFieldTexts* texts)
{
    running_ = true;
    struct TDone {
        bool& flag;
        ~TDone() { flag = false; }
    } done{running_};
    // The edit runs nothing of its own: the Plot runs every curve below.
    if (texts)
        EditCurrentTexts(*texts);
    else
        EditCurrent(fields);
    for (int i = 0; i < CurveCount(); ++i) {
        TargetOf(i).ClearPoints();
        runs_[std::size_t(i)]->Error.clear();
    }
    plotted_ = true;
    std::exception_ptr currentError;
    bool goOn = true;
    try {
        const TCurve& curve = editor_.Curve(current_);
        if (curve.Kind == TCurveKind::Function) {
            goOn = runCurrent(FunctionFields(curve), TargetOf(current_));
        } else {
            // Another kind runs as its kind does, in the document's mode.
            TCurveRunOptions options = runOptions_;
            options.Plot.BreakAtPoles = Break_At_Poles;
            RunCurve(curve, TargetOf(current_), options);
        }
    } catch (const EAbort&) {
        goOn = false;
    } catch (...) {
        currentError = std::current_exception();
    }
    if (goOn && CurveCount() > 1) RunOthers(current_);
    running_ = false;
    emit CurvesRan();
    emit ListChanged();
    if (currentError) std::rethrow_exception(currentError);
}

void TDocumentSession::Refresh()
{
    if (!plotted_ || running_ || CurveCount() == 0) return;
    running_ = true;
    struct TDone {
        bool& flag;
        ~TDone() { flag = false; }
    } done{running_};
    for (int i = 0; i < CurveCount(); ++i) {
        TargetOf(i).ClearPoints();
        runs_[std::size_t(i)]->Error.clear();
    }
    RunOthers(-1);
    emit CurvesRan();
    emit ListChanged();
}

std::vector<TCurveColumn> TDocumentSession::ShownColumns() const
{
    std::vector<TCurveColumn> columns;
    for (int i = 0; i < CurveCount(); ++i) {
        const TCurve& curve = editor_.Curve(i);
        if (!curve.Visible || runs_[std::size_t(i)]->Target.Table().Text().empty()) continue;
        columns.push_back({DisplayName(curve, i), CurveGrid(curve), &runs_[std::size_t(i)]->Target.Table(),
                           CurveTableShape(curve)});
    }
    return columns;
}

void TDocumentSession::NewDocument()
{
    const TPlotFields range = CurrentFields();
    TPlotFields fields;
    fields.XMin = range.XMin;
    fields.XMax = range.XMax;
    fields.Step = range.Step;
    plotted_ = false;
    editor_.ResetDocument(StartDocument(fields), {});
}

void TDocumentSession::StartWith(TDocument document)
{
    plotted_ = false;
    editor_.ResetDocument(std::move(document), {});
}

void TDocumentSession::OpenDocument(const std::string& fileName)
{
    TDocument document = LoadDocument(fileName, Element_Color);
    ConvertDocumentSeparator(document, DecimalSeparator());
    plotted_ = true;
    SetCurrentAngleMode(document.Angle);
    editor_.ResetDocument(std::move(document), fileName);
}

void TDocumentSession::RestoreDocument(TRecoveredDocument recovered)
{
    ConvertDocumentSeparator(recovered.Document, DecimalSeparator());
    plotted_ = true;
    SetCurrentAngleMode(recovered.Document.Angle);
    editor_.ResetDocument(std::move(recovered.Document), std::move(recovered.FileName));
    editor_.MarkUnsaved();
}

void TDocumentSession::SaveDocument(const std::string& fileName)
{
    qrv::SaveDocument(fileName, Document());
    editor_.SetFileName(fileName);
    editor_.SetClean();
    emit CaptionChanged();
}

std::string TDocumentSession::Caption() const
{
    return DocumentCaption(editor_.FileName(), CurveCount(), editor_.IsClean());
}

bool TDocumentSession::AsksBeforeClosing() const
{
    return qrv::AsksBeforeClosing(editor_.FileName(), CurveCount(), editor_.IsClean());
}

} // namespace qrv
