#include "QrvTableBatch.h"

#include "QrvAngleSource.h"
#include "QrvErrors.h"
#include "QrvFileWriter.h"
#include "QrvNumberText.h"

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
    WriteWholeFile(fileName, table.Terminated("\r\n"));
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

bool RunBatchPlot(const TPlotFields& fields, TPlotTarget& target, std::ostream& errors, int& status)
{
    // The range is read once more before the run only to tell its errors
    // from those of the loop; reading it has no effects.
    bool started = true;
    RunReporting(
        [&] {
            try {
                ReadPlotRange(fields);
            } catch (...) {
                started = false;
                throw;
            }
            try {
                RunPlot(fields, target);
            } catch (const EQrvExprEvalError&) {
                started = false;
                throw;
            }
        },
        errors, status);
    return started;
}

int RunTableBatch(const TCommandLine& cl, std::ostream& out, std::ostream& errors)
{
    const TPlotFields fields = FieldsFor(cl);
    const TAngleMode mode = cl.Mode.value_or(TAngleMode::Radians);
    SetAngleModeSource([mode] { return mode; });

    int status = 0;
    TTableTarget target;
    if (RunBatchPlot(fields, target, errors, status) && cl.Table)
        RunReporting([&] { WriteTable(*cl.Table, target.Table(), out); }, errors, status);
    SetAngleModeSource({});
    return status;
}

} // namespace qrv
