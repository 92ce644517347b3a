// The table of several curves, as text and as comma-separated values. Each
// curve brings the text table of its run (x and y per line, see
// QrvTableText.h); curves whose points lie on the same x values stand side
// by side, x once and then one y per curve:
//
//   x   sin(x)   cos(x)          the header line: x, then each curve's name
//   0.000   0.000   1.000        x and the y of each curve, three blanks apart
//   1.000   0.841   0.540
//
// A block is a run of consecutive curves of the same grid (the same range
// as read); a curve of another grid starts a new block under a header line
// of its own, after an empty line. A curve that stopped early leaves its
// later cells empty: in the text the line ends after its last value, in CSV
// the field is empty. A table of one curve is exactly the table of its run
// (TTableText, TableCsv): no header in the text, "x" and "y" in CSV.
//
// A curve of a parameter (parametric, polar) lists t, x and y, and an
// implicit curve a note instead of values; each stands in a block of its
// own under its name, the columns named below it in the first case:
//
//   x(t)=cos(t), y(t)=sin(t)     the curve's name
//   t   x   y                    "t,x,y" in CSV
//   0.000   1.000   0.000
#pragma once

#include "QrvPlotRun.h"
#include "QrvTableText.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qrv
{

// The lines a curve's run writes into its table.
enum class TTableShape {
    XY,  // x and y
    TXY, // t, x and y
    Note // one line of text instead of values
};

// One curve of the table.
struct TCurveColumn {
    std::string Name;               // the header (the curve's label, or its formula)
    std::optional<TPlotRange> Grid; // where its x values lie; none shares no block
    const TTableText* Table = nullptr;
    TTableShape Shape = TTableShape::XY; // any other shares no block
};

// Whether two columns stand in one block.
bool SameGrid(const TCurveColumn& a, const TCurveColumn& b);

// The text table, every line followed by `lineEnd`. A name's line breaks
// are written as blanks, so the header stays one line.
std::string CurveTableText(std::span<const TCurveColumn> columns, std::string_view lineEnd);

// The CSV: fields separated as CsvFieldSeparator says for the decimal
// separator, quoted where RFC 4180 asks, every line ended by CR LF.
std::string CurveTableCsv(std::span<const TCurveColumn> columns, char decimalSeparator);

} // namespace qrv
