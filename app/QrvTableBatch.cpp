#include "QrvTableBatch.h"

#include "QrvAnalyzeBatch.h"
#include "QrvAppTexts.h"
#include "QrvCurveTable.h"
#include "QrvErrors.h"
#include "QrvFileWriter.h"
#include "QrvNumberText.h"
#include "QrvPalette.h"
#include "QrvTableCsv.h"
#include "QrvTerminalProgress.h"

namespace qrv
{

TPlotFields FieldsFor(const TCommandLine& cl)
{
    TPlotFields fields = StartupFields(DecimalSeparator());
    if (auto formula = cl.FirstFormula()) fields.Formula = *formula;
    if (cl.XMin) fields.XMin = *cl.XMin;
    if (cl.XMax) fields.XMax = *cl.XMax;
    if (cl.Step) fields.Step = *cl.Step;
    return fields;
}

TDocument CommandLineDocument(const TCommandLine& cl, TColor colorInForce)
{
    const TPlotFields fields = FieldsFor(cl);
    TDocument document;
    document.Angle = cl.Mode.value_or(TAngleMode::Radians);
    document.DecimalSeparator = DecimalSeparator();
    std::vector<TCurveOption> curves = cl.Curves;
    if (curves.empty()) curves.push_back({fields.Formula, std::nullopt, TCurveKind::Function});
    for (const TCurveOption& option : curves) {
        TCurve curve;
        curve.Kind = option.Kind;
        if (option.Kind == TCurveKind::Function) {
            curve.Formula = option.Formula;
            curve.XMin = fields.XMin;
            curve.XMax = fields.XMax;
            curve.Step = fields.Step;
        } else {
            if (option.Kind == TCurveKind::Parametric) {
                curve.XOfT = option.XOfT.value_or(std::string());
                curve.YOfT = option.YOfT.value_or(std::string());
            } else {
                curve.Formula = option.Formula;
            }
            curve.TMin = cl.TMin.value_or(kDefaultTMin);
            curve.TMax = cl.TMax.value_or(kDefaultTMax);
            curve.Step = cl.Step.value_or(kDefaultTStep);
        }
        curve.Color = option.Color ? *option.Color : NextCurveColor(document, colorInForce);
        if (option.Derivative != 0) {
            // A derivative of its own formula, named after itself (f1').
            curve.Kind = TCurveKind::Derivative;
            curve.Of = static_cast<int>(document.Curves.size()) + 1;
            curve.Order = option.Derivative;
        }
        document.Curves.push_back(std::move(curve));
    }
    return document;
}

void WriteTableFile(const std::string& fileName, const TTableText& table)
{
    WriteWholeFile(fileName, IsCsvFileName(fileName) ? TableCsv(table.Text(), DecimalSeparator())
                                                     : table.Terminated("\r\n"));
}

void WriteTable(const std::string& destination, const TTableText& table, std::ostream& out)
{
    if (destination != "-") {
        WriteTableFile(destination, table);
        return;
    }
    out << table.Terminated("\n");
    out.flush();
    if (!out) throw Exception(Msg::CannotWriteOutput);
}

void WarnAboutIgnoredText(TTableTarget& target, std::ostream& errors, std::string prefix)
{
    target.OnIgnoredText = [&errors, prefix = std::move(prefix)](std::string_view ignored) {
        errors << prefix << Text::WarningPrefix << IgnoredTextHint(ignored) << '\n';
    };
}

std::string CurveMessagePrefix(const TDocument& document, std::size_t index)
{
    if (document.Curves.size() < 2) return {};
    return Text::CurvePrefix + std::to_string(index + 1) + ": ";
}

std::vector<TCurveOutcome> RunBatchCurves(const TDocument& document, std::span<TTableTarget* const> targets,
                                          std::ostream& errors, int& status, TProgressView* progress,
                                          const TPlotOptions& options, TChartPixels pixels)
{
    std::vector<TPlotTarget*> plotTargets(targets.begin(), targets.end());
    for (std::size_t i = 0; i < targets.size(); ++i)
        if (targets[i]) WarnAboutIgnoredText(*targets[i], errors, CurveMessagePrefix(document, i));
    TSteadyClock clock;
    const TCurveRunOptions runOptions{.Plot = options,
                                      .Progress = progress,
                                      .Clock = &clock,
                                      .Times = TerminalProgressTimes(),
                                      .Pixels = pixels};
    return RunCurves(document, plotTargets, runOptions, [&](std::size_t index, const TCurveOutcome& outcome) {
        if (!outcome.Failed) return;
        status = 1;
        if (!outcome.Error.empty()) errors << CurveMessagePrefix(document, index) << outcome.Error << '\n';
    });
}

bool RunProducedOutput(const std::vector<TCurveOutcome>& outcomes)
{
    bool ran = false;
    for (const TCurveOutcome& outcome : outcomes) {
        if (outcome.Started) return true;
        ran = ran || outcome.Ran;
    }
    return !ran;
}

void WriteCurveTable(const std::string& destination, const TDocument& document,
                     std::span<TTableTarget* const> targets, const std::vector<TCurveOutcome>& outcomes,
                     std::ostream& out)
{
    std::vector<TCurveColumn> columns;
    for (std::size_t i = 0; i < outcomes.size() && i < targets.size(); ++i) {
        if (!outcomes[i].Started || !targets[i]) continue;
        const TCurve& curve = document.Curves[i];
        columns.push_back(
            {DisplayName(curve, int(i)), CurveGrid(curve), &targets[i]->Table(), CurveTableShape(curve)});
    }
    if (columns.size() == 1) {
        WriteTable(destination, *columns.front().Table, out);
        return;
    }
    if (destination != "-") {
        WriteWholeFile(destination, IsCsvFileName(destination) ? CurveTableCsv(columns, DecimalSeparator())
                                                               : CurveTableText(columns, "\r\n"));
        return;
    }
    out << CurveTableText(columns, "\n");
    out.flush();
    if (!out) throw Exception(Msg::CannotWriteOutput);
}

int RunDocumentTable(const TDocument& document, const TCommandLine& cl, std::ostream& out,
                     std::ostream& errors, TProgressView* progress)
{
    int status = 0;
    std::vector<TTableTarget> tables(document.Curves.size());
    std::vector<TTableTarget*> targets(document.Curves.size(), nullptr);
    for (std::size_t i = 0; i < document.Curves.size(); ++i) {
        if (document.Curves[i].Visible) targets[i] = &tables[i];
        tables[i].SetListsPoints(cl.Table.has_value());
    }
    const auto outcomes = RunBatchCurves(document, targets, errors, status, progress);
    if (RunProducedOutput(outcomes) && cl.Table)
        RunReporting([&] { WriteCurveTable(*cl.Table, document, targets, outcomes, out); }, errors, status);
    // The features come from the formulas themselves, so a curve whose run
    // failed still has those its points allow.
    if (cl.Analyze) RunReporting([&] { WriteAnalysis(*cl.Analyze, document, out); }, errors, status);
    return status;
}

int RunTableBatch(const TCommandLine& cl, std::ostream& out, std::ostream& errors, TProgressView* progress)
{
    // The colour does not show in a table.
    return RunDocumentTable(CommandLineDocument(cl, cl.FirstColor().value_or(clRed)), cl, out, errors,
                            progress);
}

} // namespace qrv
