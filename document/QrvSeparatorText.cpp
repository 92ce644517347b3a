#include "QrvSeparatorText.h"

#include "QrvExprLexer.h"

namespace qrv
{

namespace
{

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsNameChar(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

} // namespace

std::string ConvertRangeText(std::string_view text, char from, char to)
{
    std::string out(text);
    if (from == to) return out;
    for (char& c : out) {
        if (c == from)
            c = to;
        else if (c == to)
            c = from;
    }
    return out;
}

std::string ConvertFormulaText(std::string_view text, char from, char to)
{
    if (from == to) return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] != '\0') {
        const char c = text[i];
        if (IsNameChar(c) && !IsDigit(c)) {
            // A name, digits and all: nothing in it is a number.
            while (i < n && IsNameChar(text[i]))
                out += text[i++];
            continue;
        }
        if (!IsDigit(c)) {
            out += c;
            ++i;
            continue;
        }
        // A number, as far as the lexer reads it under `from`.
        const std::size_t numberEnd = NumberTokenEnd(text, i, from);
        std::size_t digitsEnd = i;
        while (digitsEnd < numberEnd && IsDigit(text[digitsEnd]))
            ++digitsEnd;
        out.append(text.substr(i, numberEnd - i));
        if (digitsEnd < numberEnd && text[digitsEnd] == from) out[out.size() - (numberEnd - digitsEnd)] = to;
        // Under `to` the lexer would take a `to` that directly follows a
        // number of bare digits into it (a "." it took here already).
        if (digitsEnd == numberEnd && numberEnd < n && text[numberEnd] == to) out += ' ';
        i = numberEnd;
    }
    out.append(text.substr(i));
    return out;
}

void ConvertDocumentSeparator(TDocument& document, char to)
{
    const char from = document.DecimalSeparator;
    if (from == to) return;
    for (TCurve& curve : document.Curves) {
        for (std::string* formula : {&curve.Formula, &curve.XOfT, &curve.YOfT})
            *formula = ConvertFormulaText(*formula, from, to);
        for (std::string* range :
             {&curve.XMin, &curve.XMax, &curve.YMin, &curve.YMax, &curve.TMin, &curve.TMax, &curve.Step})
            *range = ConvertRangeText(*range, from, to);
    }
    document.DecimalSeparator = to;
}

} // namespace qrv
