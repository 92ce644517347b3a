#include "QrvTableBatch.h"

#include "QrvAngleMode.h"
#include "QrvAppTexts.h"
#include "QrvErrors.h"
#include "QrvFileWriter.h"
#include "QrvNumberText.h"
#include "QrvTableCsv.h"
#include "QrvTerminalProgress.h"

namespace qrv
{

TPlotFields FieldsFor(const TCommandLine& cl)
{
    TPlotFields fields = StartupFields(DecimalSeparator());
    if (cl.Formula) fields.Formula = *cl.Formula;
    if (cl.XMin) fields.XMin = *cl.XMin;
    if (cl.XMax) fields.XMax = *cl.XMax;
    if (cl.Step) fields.Step = *cl.Step;
    return fields;
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

namespace
{

// Passes everything on to the target and notes whether the formula was
// compiled: only then has the run started making points.
class TStartWatch : public TPlotTarget
{
public:
    explicit TStartWatch(TPlotTarget& target) : target_(target) {}
    void ClearPoints() override { target_.ClearPoints(); }
    void AddPoint(double x, double y) override { target_.AddPoint(x, y); }
    void BreakLine() override { target_.BreakLine(); }
    void FormulaRead(bool compiled, TTextSpan stopToken, std::string_view ignored) override
    {
        Started = compiled;
        target_.FormulaRead(compiled, stopToken, ignored);
    }
    bool Started = false;

private:
    TPlotTarget& target_;
};

} // namespace

bool RunBatchPlot(const TPlotFields& fields, TPlotTarget& target, std::ostream& errors, int& status,
                  TProgressView* progress, const TPlotOptions& options)
{
    // The range is read and checked, and the formula compiled, before the
    // first point: an error there means the run never started.
    TStartWatch watch(target);
    TSteadyClock clock;
    RunReporting([&] { RunPlotWatched(fields, watch, progress, clock, TerminalProgressTimes(), options); },
                 errors, status);
    return watch.Started;
}

void WarnAboutIgnoredText(TTableTarget& target, std::ostream& errors)
{
    target.OnIgnoredText = [&errors](std::string_view ignored) {
        errors << Text::WarningPrefix << IgnoredTextHint(ignored) << '\n';
    };
}

int RunTableBatch(const TCommandLine& cl, std::ostream& out, std::ostream& errors, TProgressView* progress)
{
    const TPlotFields fields = FieldsFor(cl);
    const TScopedAngleMode mode(cl.Mode.value_or(TAngleMode::Radians));

    int status = 0;
    TTableTarget target;
    WarnAboutIgnoredText(target, errors);
    if (RunBatchPlot(fields, target, errors, status, progress) && cl.Table)
        RunReporting([&] { WriteTable(*cl.Table, target.Table(), out); }, errors, status);
    return status;
}

} // namespace qrv
