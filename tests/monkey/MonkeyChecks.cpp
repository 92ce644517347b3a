#include "MonkeyDetail.h"

#include "MonkeyFiles.h"
#include "MonkeyRandom.h"
#include "MonkeyTexts.h"

#include "QrvAngleMode.h"
#include "QrvAppTexts.h"
#include "QrvApplication.h"
#include "QrvChart.h"
#include "QrvDocumentSession.h"
#include "QrvErrorText.h"
#include "QrvHelperForm.h"
#include "QrvNumberText.h"
#include "QrvOptionDialog.h"
#include "QrvPlotProgress.h"
#include "QrvPlotProgressBar.h"
#include "QrvPlotRun.h"
#include "QrvPrinter.h"
#include "QrvSeries.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"
#include "QrvTableView.h"
#include "QrvTestPlatform.h"
#include "QrvTextPrintForm.h"
#include "QrvViewSettings.h"
#include "m_grf_w.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <csignal>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace qrv::monkey
{

TFileStamp StampOf(const QString& path)
{
    struct stat info {
    };
    if (stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    return {info.st_ino, info.st_size, info.st_mtim.tv_sec * 1000000000ll + info.st_mtim.tv_nsec};
}

std::map<QString, TFileStamp> StampFolder(const QString& folder)
{
    std::map<QString, TFileStamp> stamps;
    for (const auto& [path, bytes] : ReadFolder(folder)) {
        (void)bytes;
        stamps[path] = StampOf(path);
    }
    return stamps;
}

// An error box whose text comes from no message of the program: an internal
// assertion, an exception of the standard library, or none at all.
std::string InternalErrorIn(const std::string& message)
{
    // What the user typed, quoted in the message, says nothing.
    std::string text = message;
    if (const auto open = text.find('\''), close = text.rfind('\'');
        open != close && close != std::string::npos)
        text.erase(open, close - open + 1);
    if (text.find(", line ") != std::string::npos && text.find('(') != std::string::npos)
        return "an internal assertion reached the error box";
    for (const char* marker : {"std::", "basic_string", "vector::", "_M_", "Unknown error", "bad_alloc"})
        if (text.find(marker) != std::string::npos)
            return "an error of no program message reached the error box";
    if (text.empty()) return "an empty error box";
    return {};
}

void TMonkeyRun::TDetail::CaptureChart()
{
    chartPoints.clear();
    TLineSeries& series = *Window().Series1;
    for (int i = 0; i < series.PointCount(); ++i)
        chartPoints.emplace_back(series.XValueAt(i), series.YValueAt(i));
    tableText = Window().Memo1->toPlainText();
    tableEdited = false;
}

std::string TMonkeyRun::TDetail::CheckPlot()
{
    if (!capture.Checked || !Window().isVisible()) {
        // Several curves: the window's own document tests check their runs;
        // a window that closed took the fields into its curve on the way.
        CaptureChart();
        return {};
    }
    TReferenceTarget reference;
    std::string referenceError;
    {
        const TScopedAngleMode mode(capture.Mode);
        try {
            RunPlot(capture.Fields, reference, {.BreakAtPoles = capture.BreakAtPoles});
        } catch (const std::exception& e) {
            referenceError = ExceptionDisplayText(e);
        }
    }
    const QString full = QString::fromLatin1(reference.Table().Text());
    // Typing into the table in the same event, after the Plot, is the
    // user's edit.
    const bool edited = tableEdited && editedInEvent;
    CaptureChart();
    tableEdited = edited;
    if (chartPoints.size() > reference.Points.size())
        return "the chart holds more points than the Plot makes";
    // The chart keeps its points in the order of x, the run makes them in
    // the order of the step: the points are compared as sets.
    auto made = std::vector(reference.Points.begin(), reference.Points.begin() + long(chartPoints.size()));
    auto shown = chartPoints;
    std::sort(made.begin(), made.end());
    std::sort(shown.begin(), shown.end());
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (shown[i] != made[i])
            return "the chart's points differ from the Plot's (" + std::to_string(i) + " of " +
                   std::to_string(shown.size()) + " in the order of x)";
    const bool stoppedShown = Window().PlotProgress->isVisible() &&
                              Window().PlotProgress->Button->text() == QString::fromUtf8(Text::ProgressClose);
    // A document made or opened is not plotted until a Plot (or a run of
    // its curves): its chart stays empty.
    if (!Window().Session->Plotted())
        return chartPoints.empty() ? std::string() : "the chart shows points of a document not plotted";
    if (chartPoints.size() < reference.Points.size()) {
        if (!stoppedShown) return "the Plot ended early without an error or the notice of a stop";
        if (!edited && !full.startsWith(tableText))
            return "the table of a stopped Plot is not the start of the Plot's";
        return {};
    }
    if (!edited && tableText != full) return "the table differs from the Plot's";
    // Plot shows the error; a View choice that runs the curve again keeps
    // it at the curve (or, for a curve left blank, draws nothing); a new
    // document empties the chart without a run.
    // A curve left blank is not run again: it draws nothing and says nothing
    // until a Plot on it, whatever other box the event showed.
    const bool blankCurve = capture.Fields.Formula.empty() && chartPoints.empty();
    const bool errorShown = (!errorsThisEvent.empty() && errorsThisEvent.back() == referenceError) ||
                            Window().Session->CurveError(0) == referenceError || blankCurve ||
                            !Window().Session->Plotted() || (errorsThisEvent.empty() && chartPoints.empty());
    if (!referenceError.empty() && !stoppedShown && !errorShown)
        return "the Plot's error '" + referenceError + "' was not shown";
    return {};
}

std::optional<QString> TMonkeyRun::TDetail::ReadOnlyText(QWidget* w)
{
    if (auto* line = qobject_cast<QLineEdit*>(w); line && line->isReadOnly()) return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w); plain && plain->isReadOnly())
        return plain->toPlainText();
    if (auto* rich = qobject_cast<QTextEdit*>(w); rich && rich->isReadOnly()) return rich->toPlainText();
    return std::nullopt;
}

void TMonkeyRun::TDetail::NoteReadOnlyTexts()
{
    readOnlyTexts.clear();
    for (QWidget* w : WidgetsIn(Tops(), [](QWidget* w) { return ReadOnlyText(w).has_value(); }))
        readOnlyTexts.emplace_back(w, *ReadOnlyText(w));
}

std::string TMonkeyRun::TDetail::CheckReadOnlyTexts()
{
    for (const auto& [widget, text] : readOnlyTexts) {
        if (!widget || !widget->isVisible()) continue;
        const auto now = ReadOnlyText(widget);
        if (now && *now != text) return "the read-only text of " + Name(widget) + " changed";
    }
    // The window has its fixed size while the function list and the
    // Analysis pane are hidden; either enlarges it and lets the user size it.
    const bool free = Window().FunctionListShown() || Window().AnalysisShown();
    if (!free && Window().size() != windowSize) return "the window of fixed size changed its size";
    if (Window().AnalysisShown() != Window().Analysis1->isChecked() ||
        Window().AnalysisShown() != Window().AnalysisToolButton->isChecked())
        return "the Analysis pane does not follow its marks";
    return {};
}

// The marks of the View and Mode menus and what they stand for agree.
std::string TMonkeyRun::TDetail::CheckMarks()
{
    TF_Main_GRF& w = Window();
    const int modes =
        int(w.Radians1->isChecked()) + int(w.Degrees1->isChecked()) + int(w.Grads1->isChecked());
    if (modes != 1) return "the Mode menu has " + std::to_string(modes) + " marked items";
    if (CurrentAngleMode() != w.AngleMode()) return "the angle mode is not the marked Mode item";
    if (!w.Graphics1->isChecked() && !w.Text1->isChecked())
        return "neither the chart nor the table is marked";
    if (w.GroupBox2->isVisible() != w.Graphics1->isChecked())
        return "the chart panel does not follow its mark";
    if (w.GroupBox4->isVisible() != w.Text1->isChecked()) return "the table panel does not follow its mark";
    if (w.ToolBar1->isVisible() != w.Toolbar2->isChecked()) return "the toolbar does not follow its mark";
    if (w.BreakAtPoles1->isChecked() != Break_At_Poles) return "the pole mark is not the pole setting";
    return {};
}

std::string TMonkeyRun::TDetail::CheckChartAndTable()
{
    TLineSeries& series = *Window().Series1;
    if (std::size_t(series.PointCount()) != chartPoints.size())
        return "the chart's points changed without a Plot";
    for (int i = 0; i < series.PointCount(); ++i)
        if (std::pair(series.XValueAt(i), series.YValueAt(i)) != chartPoints[std::size_t(i)])
            return "the chart's point " + std::to_string(i) + " changed without a Plot";
    const QString now = Window().Memo1->toPlainText();
    // With several curves the table follows the one chosen in the list.
    const bool follows = Window().Session->CurveCount() != 1;
    if (!tableEdited && !follows && now != tableText) return "the table changed without a Plot or an edit";
    tableText = now;
    return {};
}

std::string TMonkeyRun::TDetail::CheckFiles()
{
    if (StampOf(settingsPath) != settingsStamp) return "the settings file changed while the program runs";
    auto now = StampFolder(root);
    now.erase(settingsPath);
    now.erase(blockedPath);
    const QString table = Window().Memo1->toPlainText();
    for (const auto& [path, stamp] : now) {
        auto old = files.find(path);
        if (old != files.end() && old->second == stamp) continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return "a written file cannot be read: " + path.toStdString();
        const std::string problem = SavedFileProblem(file.readAll(), table, Window().CurvesCsv());
        if (!problem.empty())
            return "a file written incomplete or wrong, " + problem + ": " + path.toStdString();
    }
    files = std::move(now);
    return {};
}

} // namespace qrv::monkey
