// The document file (.qurvia): UTF-8 JSON, read with Qt's JSON reader and
// written by the program's one file writer (QrvFileWriter.h).
//
//   {
//     "qurvia": 1,
//     "angle": "radians",            radians | degrees | grads
//     "decimal-separator": ".",      how the curves' texts are written: . or ,
//     "curves": [
//       {
//         "kind": "function",        function | derivative | parametric | polar | implicit
//         "formula": "sin(x)", "xmin": "0", "xmax": "10", "step": "0.1",
//         "color": "#ff0000", "width": 1, "style": "solid", "label": "", "visible": true
//       }
//     ]
//   }
//
// The members each kind reads (all required) stand after "kind":
//   function    formula, xmin, xmax, step
//   derivative  of (the number of a function curve), order (1 or 2)
//   parametric  x, y, tmin, tmax, step
//   polar       formula, tmin, tmax, step
//   implicit    formula, xmin, xmax, ymin, ymax
// Optional, with their defaults: "angle" radians, "decimal-separator" ".",
// "curves" none; per curve "color" from the palette (QrvPalette.h), "width"
// 1, "style" solid, "label" empty, "visible" true. Members of other names
// (including those of another kind) are kept and written back after the
// known ones.
//
// A document that cannot be used raises EQrvDocumentError with one message
// naming the file (and the curve, or the line and column of a JSON error);
// the caller then has no document at all.
#pragma once

#include "QrvDocument.h"
#include "QrvDocumentText.h"

#include <QByteArray>

#include <string>

namespace qrv
{

// Reads the bytes of a document file; `fileName` names it in the messages.
// Curves without a colour get what NextCurveColor gives after the ones
// before them, `firstColor` for the first curve.
TDocument ReadDocument(const QByteArray& bytes, const std::string& fileName, TColor firstColor = clRed);

// Reads a document file. A file over kMaxDocumentBytes is refused before it
// is read whole; so is one that cannot be opened or read.
TDocument LoadDocument(const std::string& fileName, TColor firstColor = clRed);

// The document's file text: UTF-8, indented by two blanks, the known members
// in the order shown above, unknown ones after them, LF line ends and a
// final line end. Colours are written as plain colours (#rrggbb).
std::string DocumentJson(const TDocument& document);

// Writes the document's file text through WriteWholeFile (EFileWrite on
// failure); a text longer than kMaxDocumentBytes, which could not be opened
// again, is refused with EQrvDocumentError and nothing is written.
void SaveDocument(const std::string& fileName, const TDocument& document);

} // namespace qrv
