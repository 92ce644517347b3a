// What the monkey types: formulas built from the engine's grammar, numbers
// as users write them (and as they should not), garbage, very long texts
// and text beyond ASCII. Plain functions of a generator, so a seed gives the
// same text everywhere.
#pragma once

#include "MonkeyRandom.h"

#include <string>

namespace qrv::monkey
{

// A formula in x: numbers (with `separator` as decimal separator), the
// operators, built-in names and parentheses, nested up to `depth`.
std::string RandomFormula(TRandom& random, char separator, int depth = 4);
// A number as a range field may hold it: plain, signed, with an exponent,
// huge, tiny, with the other separator, with blanks, or a word.
std::string RandomNumber(TRandom& random, char separator);
// Printable and control characters at random.
std::string RandomGarbage(TRandom& random, std::size_t length);
// Text beyond ASCII: accents, symbols, other scripts, emoji, combining and
// zero-width characters, right-to-left text (UTF-8).
std::string RandomUnicode(TRandom& random);
// A long text, from a few thousand up to `maxLength` characters: a long
// sum, deep nesting, long digit strings or repeated garbage.
std::string RandomLongText(TRandom& random, char separator, std::size_t maxLength);

// Any of the above, in the mix the monkey types into a field.
std::string RandomFieldText(TRandom& random, char separator);

} // namespace qrv::monkey
