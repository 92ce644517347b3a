// The command line's table output, and the table-only batch run, which
// needs no Qt at all: the program starts only what it uses.
#pragma once

#include "QrvCommandLine.h"
#include "QrvPlotProgress.h"
#include "QrvPlotRun.h"

#include <iosfwd>
#include <string>

namespace qrv
{

// The fields of a command line: the start-up texts (the formula with the
// current decimal separator), replaced by those given.
TPlotFields FieldsFor(const TCommandLine& commandLine);

// The table as a saved text file: every line ended by CR LF; a name ending
// in ".csv" gets the table as comma-separated values instead. Written the
// one way every file is (WriteWholeFile): a failure never leaves a
// half-written or destroyed file. A failure raises "Cannot create file <name>".
void WriteTableFile(const std::string& fileName, const TTableText& table);

// Writes the table where --table says: "-" is standard output, one line per
// point ended by a line feed ("Cannot write to standard output" when that
// fails).
void WriteTable(const std::string& destination, const TTableText& table, std::ostream& out);

// Runs `step`; an error is written to `errors` as the error display would
// show it, and the status becomes 1.
template <class Step> void RunReporting(Step&& step, std::ostream& errors, int& status);

// Makes the target warn on `errors` ("warning: Ignored after the formula:
// ^2") when the formula leaves text unread; the exit status stays as it is.
void WarnAboutIgnoredText(TTableTarget& target, std::ostream& errors);

// The Plot run of the command line, watched by `progress` when there is one,
// its error written to `errors` (status 1). Returns whether the run started:
// false for an error that stops it before its first point can be made (a
// range field, a range check, the formula), after which nothing is written
// and files named on the command line stay as they are; true otherwise,
// also after an error part-way, when what was produced is written.
bool RunBatchPlot(const TPlotFields& fields, TPlotTarget& target, std::ostream& errors, int& status,
                  TProgressView* progress = nullptr, const TPlotOptions& options = {});

// Plots as the command line asks and writes the table (--table without
// --image). Returns the exit status: 0, or 1 after any error; an error of
// the run still writes the lines produced before it. A long run shows its
// progress through `progress` when there is one.
int RunTableBatch(const TCommandLine& commandLine, std::ostream& out, std::ostream& errors,
                  TProgressView* progress = nullptr);

} // namespace qrv

#include "QrvErrorText.h"

#include <ostream>

template <class Step> void qrv::RunReporting(Step&& step, std::ostream& errors, int& status)
{
    try {
        step();
    } catch (const std::exception& e) {
        std::string text = ExceptionDisplayText(e);
        if (!text.empty()) errors << text << '\n';
        status = 1;
    }
}
