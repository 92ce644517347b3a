// Plotting from the command line without a window, with an image: the same
// Plot run as the window's, its chart written to an image file (and its
// table where --table says).
#pragma once

#include "QrvCommandLine.h"

#include <iosfwd>

namespace qrv
{

class TProgressView;

// Plots as the command line asks and writes what was asked for; an error
// of the run still writes what was produced before it. The curves are those
// of --document, or those the options describe; --save-document writes
// them first. A document that cannot be read is its one message on
// `errors`, status 1, and nothing is written. Messages go to `errors` as
// the error display would show them. Returns the exit status: 0, or 1
// after any error. Creates the Qt application it needs: an offscreen one
// for an image, Qt Core's for documents, none for a table alone. A long
// run shows its progress through `progress` when there is one.
int RunBatch(const TCommandLine& commandLine, int& argc, char** argv, std::ostream& out, std::ostream& errors,
             TProgressView* progress = nullptr);

} // namespace qrv
