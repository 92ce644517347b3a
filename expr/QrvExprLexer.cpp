#include "QrvExprLexer.h"

#include "QrvErrors.h"
#include "QrvNumberText.h"

namespace qrv
{

namespace
{

using Kind = TExprTokenKind;

constexpr std::array<std::uint8_t, 256> MakeSingleCharTable()
{
    std::array<std::uint8_t, 256> table{};
    for (auto& entry : table)
        entry = static_cast<std::uint8_t>(Kind::Invalid);
    // "!" .. "/" (33..47) -> 38..52
    for (int c = '!'; c <= '/'; ++c)
        table[c] = static_cast<std::uint8_t>(c + 5);
    // ":" .. "@" (58..64) -> 53..59
    for (int c = ':'; c <= '@'; ++c)
        table[c] = static_cast<std::uint8_t>(c - 5);
    // "[" .. "^" (91..94) -> 60..63; "_" is a letter
    for (int c = '['; c <= '^'; ++c)
        table[c] = static_cast<std::uint8_t>(c - 31);
    table['`'] = static_cast<std::uint8_t>(Kind::Backquote);
    // "{" .. "~" (123..126) -> 65..68
    for (int c = '{'; c <= '~'; ++c)
        table[c] = static_cast<std::uint8_t>(c - 58);
    // bytes 127..255 -> 69..197
    for (int c = 127; c <= 255; ++c)
        table[c] = static_cast<std::uint8_t>(c - 58);
    return table;
}

constexpr std::array<std::uint8_t, 256> kSingleChar = MakeSingleCharTable();

static_assert(kSingleChar['('] == static_cast<std::uint8_t>(Kind::LeftParen));
static_assert(kSingleChar['/'] == static_cast<std::uint8_t>(Kind::Slash));
static_assert(kSingleChar['@'] == static_cast<std::uint8_t>(Kind::At));
static_assert(kSingleChar['^'] == static_cast<std::uint8_t>(Kind::Caret));
static_assert(kSingleChar['~'] == static_cast<std::uint8_t>(Kind::Tilde));
static_assert(kSingleChar[255] == static_cast<std::uint8_t>(Kind::LastHighByte));

constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
constexpr bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

} // namespace

TExprTokenKind SingleCharTokenKind(unsigned char c)
{
    return static_cast<TExprTokenKind>(kSingleChar[c]);
}

TExprSimpleLexer::TExprSimpleLexer(std::string_view text) : text_(text)
{
    Reset();
}

void TExprSimpleLexer::Reset()
{
    position_ = 0;
    TExprLexer::Reset();
}

void TExprSimpleLexer::NextToken()
{
    std::size_t p = position_;
    // Control characters and space are blanks; byte 0 (or the real end)
    // ends the text and the position stays on it.
    while (At(p) != '\0' && static_cast<unsigned char>(At(p)) <= 32)
        ++p;
    position_ = p;
    tokenStart_ = p;
    tokenEnd_ = p;

    char c = At(p);
    if (c == '\0') {
        currentToken_ = Kind::End;
    } else if (IsDigit(c)) {
        ScanNumber();
    } else if (IsLetter(c)) {
        std::size_t end = p + 1;
        while (IsLetter(At(end)) || IsDigit(At(end)))
            ++end;
        tokenText_.assign(text_, p, end - p);
        currentToken_ = Kind::Identifier;
        position_ = end;
    } else if (c == '<' && At(p + 1) == '=') {
        currentToken_ = Kind::LessEqual;
        position_ = p + 2;
    } else if (c == '<' && At(p + 1) == '>') {
        currentToken_ = Kind::NotEqual;
        position_ = p + 2;
    } else if (c == '>' && At(p + 1) == '=') {
        currentToken_ = Kind::GreaterEqual;
        position_ = p + 2;
    } else {
        currentToken_ = SingleCharTokenKind(static_cast<unsigned char>(c));
        position_ = p + 1;
    }
    tokenEnd_ = position_;
}

std::size_t NumberTokenEnd(std::string_view text, std::size_t start, char separator)
{
    auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    std::size_t p = start;
    while (IsDigit(at(p)))
        ++p;
    if (at(p) == '.' || (at(p) == separator && separator != '\0')) {
        ++p;
        while (IsDigit(at(p)))
            ++p;
    }
    if (at(p) == 'E' || at(p) == 'e') {
        ++p;
        if (at(p) == '+' || at(p) == '-') ++p;
        while (IsDigit(at(p)))
            ++p;
    }
    return p;
}

// digits [("." | separator) digits*] [("E" | "e") ["+" | "-"] digits*]
void TExprSimpleLexer::ScanNumber()
{
    const char separator = DecimalSeparator();
    std::size_t start = position_;
    std::size_t p = NumberTokenEnd(text_, start, separator);
    tokenText_.assign(text_, start, p - start);
    position_ = p;
    tokenEnd_ = p;
    currentToken_ = Kind::Number;
    // Only the locale's separator is a decimal point to the conversion, so
    // "2.55" is rejected under a "," locale.
    auto value = TextToFloat(tokenText_, Blanks::Rejected, separator);
    if (!value) throw EConvertError(tokenText_);
    tokenNumber_ = *value;
}

} // namespace qrv
