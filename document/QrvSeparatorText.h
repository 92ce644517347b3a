// Moving the texts of a document from the decimal separator they were
// written with to another one (a document saved under a "." locale opened
// under a "," locale, say), so that every text means what it meant.
//
// The formula lexer takes "." and the current separator inside a number but
// converts only the current one; the range fields take only the current one.
#pragma once

#include "QrvDocument.h"

#include <string>
#include <string_view>

namespace qrv
{

// A range field (X min, Step, ...): holds one number, so the two separators
// simply trade places. "1.5" becomes "1,5"; "1,5", which the field read as
// no number, becomes "1.5", which the other locale does not read either.
std::string ConvertRangeText(std::string_view text, char from, char to);

// A formula, scanned as the lexer scans it (with its NumberTokenEnd): a
// number starts at a digit (never inside a name such as x1) and runs through
// its digits, at most one separator and its digits, and an exponent. Only
// the separator inside a number is rewritten, from `from` to `to`. Where
// `to` directly follows a number of bare digits, a blank goes between them,
// so that "max(1,2)" written with "." stays two arguments under ","
// ("max(1 ,2)") rather than becoming the number 1,2. Text after a NUL
// character, which ends the formula for the lexer, is copied as it is.
// A "." inside a number of a "," text (a number the lexer could not convert
// there) is kept and so reads as a number under ".".
std::string ConvertFormulaText(std::string_view text, char from, char to);

// Converts every formula and range text of the document from its
// DecimalSeparator to `to` and makes `to` its separator.
void ConvertDocumentSeparator(TDocument& document, char to);

} // namespace qrv
