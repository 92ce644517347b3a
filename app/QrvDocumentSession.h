// The main window's document and its chart, without any widget: which
// curve is the current one (the fields show it), the runs of the shown
// curves into the chart's series (one series per curve, in the document's
// order), each curve's table and error, and the document's file (new, open,
// save, the caption and whether closing should ask first).
//
//   fields --Plot--> current curve (an undo step) --> runs of every shown curve
//   TDocumentEditor signals --> series follow, and the chart is run again
//                               once it has been plotted
//
// The chart's first series stays the first curve's whatever happens to the
// list (the window and its trace hold it), so the series are matched to the
// curves by position and every structural change runs the curves again.
#pragma once

#include "QrvCurveRun.h"
#include "QrvDocumentEditor.h"
#include "QrvKindFields.h"
#include "QrvPlotChart.h"
#include "QrvRecoveryFile.h"

#include <QObject>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qrv
{

class TChartPicture;
class TLineSeries;
struct TCurveColumn;

// The window's caption for a document: the program's own caption while the
// document is an unnamed single curve; otherwise the file's name (or
// "Untitled"), a "*" while changes are unsaved, " - " and the caption.
std::string DocumentCaption(const std::string& fileName, int curveCount, bool clean);

// Whether closing (or New, or Open) should first ask to save: there are
// unsaved changes in a document that has a file or several curves.
bool AsksBeforeClosing(const std::string& fileName, int curveCount, bool clean);

// The recent documents after `file` was opened or saved: it comes first,
// an earlier entry of it goes, and the list keeps at most `most` entries.
std::vector<std::string> RecentDocumentsWith(std::vector<std::string> list, const std::string& file,
                                             std::size_t most);

class TDocumentSession : public QObject
{
    Q_OBJECT
public:
    // The chart's series belong to the document's curves; `first` is the
    // chart's first series. Starts with one function curve of `startup`'s
    // texts in the colour in force, clean, as the window starts.
    TDocumentSession(TChartPicture& chart, TLineSeries& first, const TPlotFields& startup,
                     QObject* parent = nullptr);
    ~TDocumentSession() override;

    TDocumentEditor& Editor() { return editor_; }
    const TDocument& Document() const { return editor_.Document(); }
    int CurveCount() const { return editor_.CurveCount(); }

    // The curve the fields show and Plot edits.
    int Current() const { return current_; }
    void SetCurrent(int index);
    TPlotFields CurrentFields() const;
    // The current curve's kind and the texts its fields show.
    TCurveKind CurrentKind() const;
    TKindFieldTexts CurrentFieldTexts() const;

    // Puts the fields' texts into the current curve: one undo step when they
    // differ from it, none otherwise.
    void EditCurrent(const TPlotFields& fields);
    // The same for the fields of the current curve's kind.
    void EditCurrentTexts(const TKindFieldTexts& texts);

    // "Add curve": a new empty curve after the current one, over the current
    // curve's range, in the next palette colour; it becomes the current one.
    // A curve of another kind starts from its kind's texts (StartCurve).
    void AddCurve(TCurveKind kind = TCurveKind::Function);
    // "Keep curve": the fields go into the current curve, which stays on
    // the chart, and a copy of its texts becomes a new current curve (in
    // the next colour) to be changed from there.
    void KeepCurve(const TPlotFields& fields);

    // How runs are watched (the window's progress bar and clock).
    void SetRunOptions(const TCurveRunOptions& options) { runOptions_ = options; }

    // The Plot: the fields go into the current curve, then every shown
    // curve is run into its series. The current curve runs first, through
    // `runCurrent`, which runs it into the target given (the window watches
    // it) and returns false when the user stopped it: then no other curve
    // runs. An error of the current curve leaves Plot after the other
    // curves have run; theirs are kept as CurveError.
    // `texts`, when given, are the fields of a current curve of another kind
    // than a function, which go into it in place of `fields`.
    void Plot(const TPlotFields& fields,
              const std::function<bool(const TPlotFields&, TPlotTarget&)>& runCurrent,
              const TKindFieldTexts* texts = nullptr);

    // Runs every shown curve again without Plot (after a change of the
    // document, or of a View choice), when the chart has been plotted
    // since the document was made or opened; errors are kept as CurveError.
    void Refresh();
    // Whether the chart shows runs of the document.
    bool Plotted() const { return plotted_; }

    // The series of a curve.
    TLineSeries& SeriesOf(int index) const;
    // The current curve's table and what was read of its formula; empty
    // before its first run.
    const TTableTarget& CurrentTable() const;
    // The error of a curve's last run as the error display shows it;
    // empty when it ran well or did not run.
    const std::string& CurveError(int index) const;
    // The shown curves that ran, as columns of the table of several
    // curves.
    std::vector<TCurveColumn> ShownColumns() const;

    // The document the window starts with (the command line's curves), not
    // plotted yet, without a file, clean.
    void StartWith(TDocument document);
    // New: one empty curve over the current range, no file, clean.
    void NewDocument();
    // Open: the file's document replaces this one (its texts moved to the
    // current decimal separator) and its curves are plotted; a document
    // that cannot be used raises EQrvDocumentError and nothing changes.
    void OpenDocument(const std::string& fileName);
    // Restore: a document kept by the recovery file replaces this one (its
    // texts moved to the current decimal separator), under the file name it
    // had, with its changes unsaved, and its curves are plotted.
    void RestoreDocument(TRecoveredDocument recovered);
    // Save: the document under `fileName`, which it keeps; clean afterwards.
    void SaveDocument(const std::string& fileName);

    std::string Caption() const;
    bool AsksBeforeClosing() const;

signals:
    // The current curve changed, or its texts did.
    void CurrentChanged();
    // The curves ran: the chart, the tables and the errors are new.
    void CurvesRan();
    // A curve's entry in a list (name, colour, check, error) may differ.
    void ListChanged();
    // The caption changed (file name or clean state).
    void CaptionChanged();
    // The document's angle mode changed (the program's follows it).
    void AngleChanged();
    // Series at the end of the chart are about to be removed: whoever
    // holds one (the trace) lets go of it.
    void SeriesRemoving();

private:
    struct TCurveRun;
    // The series follow the curves: one per curve, styled as its curve.
    void SyncSeries();
    void StyleSeries(int index);
    // Runs the shown curves except `skip`, keeping their errors.
    void RunOthers(int skip);
    TSeriesTableTarget& TargetOf(int index);
    void StructureChanged();
    void ClampCurrent();
    TCurve NewCurveAfterCurrent() const;
    void InsertAfterCurrent(const TCurve& curve);

    TChartPicture& chart_;
    TLineSeries& first_;
    TDocumentEditor editor_;
    int current_ = 0;
    bool plotted_ = false;
    bool running_ = false;
    TCurveRunOptions runOptions_;
    std::vector<TLineSeries*> series_;
    std::vector<std::unique_ptr<TCurveRun>> runs_;
};

} // namespace qrv
