// The command line's table output, and the table-only batch run, which
// needs no Qt at all: the program starts only what it uses.
#pragma once

#include "QrvCommandLine.h"
#include "QrvPlotRun.h"

#include <iosfwd>
#include <string>

namespace qrv
{

// The fields of a command line: the start-up texts (the formula with the
// current decimal separator), replaced by those given.
TPlotFields FieldsFor(const TCommandLine& commandLine);

// The table as a saved text file: every line ended by CR LF, written the
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

// The Plot run of the command line, its error written to `errors` (status 1).
// Returns whether the run started: false for an error that stops it before
// its first point can be made (a range field, a range check, the formula),
// after which nothing is written and files named on the command line stay
// as they are; true otherwise, also after an error part-way, when what was
// produced is written.
bool RunBatchPlot(const TPlotFields& fields, TPlotTarget& target, std::ostream& errors, int& status);

// Plots as the command line asks and writes the table (--table without
// --image). Returns the exit status: 0, or 1 after any error; an error of
// the run still writes the lines produced before it.
int RunTableBatch(const TCommandLine& commandLine, std::ostream& out, std::ostream& errors);

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
