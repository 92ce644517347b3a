// Plotting from the command line without a window: the same Plot run as the
// window's, its table written to a file or standard output and its chart to
// an image file.
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

// The table as a saved text file: every line ended by CR LF. Written
// through a temporary file, so a failure leaves an existing file as it was;
// a failure raises "Cannot create file <name>".
void WriteTableFile(const std::string& fileName, const TTableText& table);

// Whether this build can write pictures of the format (.svg needs Qt SVG).
bool CanWriteImage(TImageFormat format);

// Plots as the command line asks and writes what was asked for; an error
// of the run still writes what was produced before it. Messages go to
// `errors` as the error display would show them. Returns the exit status:
// 0, or 1 after any error. Creates the Qt application object it needs
// (none for a table, an offscreen one for an image).
int RunBatch(const TCommandLine& commandLine, int& argc, char** argv, std::ostream& out,
             std::ostream& errors);

} // namespace qrv
