// The command line's table output, and the table-only batch run, which
// needs no Qt at all: the program starts only what it uses.
#pragma once

#include "QrvCommandLine.h"
#include "QrvCurveRun.h"
#include "QrvDocument.h"
#include "QrvPlotProgress.h"
#include "QrvPlotRun.h"

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

namespace qrv
{

// The fields of a command line: the start-up texts (the formula with the
// current decimal separator), replaced by those given; the formula is the
// first --formula.
TPlotFields FieldsFor(const TCommandLine& commandLine);

// The document a command line describes: the angle mode of --mode
// (radians unless given), the current decimal separator, and a curve per
// --formula (the start-up formula's alone when none is given), each over
// the range of FieldsFor. A curve's colour is its --color; the first one
// without takes `colorInForce`, later ones the palette (NextCurveColor).
TDocument CommandLineDocument(const TCommandLine& commandLine, TColor colorInForce);

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
// ^2", after `prefix`) when the formula leaves text unread; the exit
// status stays as it is.
void WarnAboutIgnoredText(TTableTarget& target, std::ostream& errors, std::string prefix = {});

// What goes before the messages about curve `index` (0-based) of a
// document: "curve 2: " when it has several curves, nothing for one.
std::string CurveMessagePrefix(const TDocument& document, std::size_t index);

// The Plot runs of the command line: curve i of the document into
// targets[i] (nullptr: not run), watched by `progress` when there is one.
// Each curve's warnings and error go to `errors` as it ends, after its
// CurveMessagePrefix; any error makes the status 1. Implicit curves are
// traced for a chart of `pixels`.
std::vector<TCurveOutcome> RunBatchCurves(const TDocument& document, std::span<TTableTarget* const> targets,
                                          std::ostream& errors, int& status,
                                          TProgressView* progress = nullptr, const TPlotOptions& options = {},
                                          TChartPixels pixels = {});

// Whether a run made anything to write: some curve started, or there was
// no curve to run (an empty table, an empty chart). When every curve run
// stopped before its first point could be made (a range field, a range
// check, the formula), nothing is written and files named on the command
// line stay as they are.
bool RunProducedOutput(const std::vector<TCurveOutcome>& outcomes);

// Writes the table of the curves that started, where --table says: the
// table of one curve as WriteTable writes it, that of several as
// QrvCurveTable.h describes (text, or CSV for a name ending in ".csv").
void WriteCurveTable(const std::string& destination, const TDocument& document,
                     std::span<TTableTarget* const> targets, const std::vector<TCurveOutcome>& outcomes,
                     std::ostream& out);

// Plots the shown curves of the document (its texts written with the
// current separator) and writes their table where --table says. Returns
// the exit status: 0, or 1 after any error; an error of a run still
// writes the lines produced before it. A long run shows its progress
// through `progress` when there is one.
int RunDocumentTable(const TDocument& document, const TCommandLine& commandLine, std::ostream& out,
                     std::ostream& errors, TProgressView* progress = nullptr);

// Plots as the command line asks and writes the table (--table without
// --image and without documents).
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
