// The lexer: turns formula text into a pulled stream of tokens.
//
// It knows no keywords and no symbol names. It skips blanks, scans numbers
// and identifiers, recognises "<>", "<=" and ">=", and reports every other
// character as a single-character token. Its only error is a number text the
// conversion rejects.
#pragma once

#include "QrvFloat.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qrv
{

// The kind of a token, one byte. Kinds 38 to 68 are the printable ASCII
// punctuation characters in order; 69 to 197 are the bytes 127 to 255.
enum class TExprTokenKind : std::uint8_t {
    End = 0,
    Number = 1,
    Identifier = 2,
    FirstUser = 3, // 3..34: reserved for other lexers; this one never yields them
    LastUser = 34,
    NotEqual = 35,     // <>
    LessEqual = 36,    // <=
    GreaterEqual = 37, // >=
    Exclamation = 38,
    DoubleQuote = 39,
    NumberSign = 40,
    Dollar = 41,
    Percent = 42,
    Ampersand = 43,
    Apostrophe = 44,
    LeftParen = 45,
    RightParen = 46,
    Asterisk = 47,
    Plus = 48,
    Comma = 49,
    Minus = 50,
    Dot = 51,
    Slash = 52,
    Colon = 53,
    Semicolon = 54,
    Less = 55,
    Equal = 56,
    Greater = 57,
    Question = 58,
    At = 59,
    LeftBracket = 60,
    Backslash = 61,
    RightBracket = 62,
    Caret = 63,
    Backquote = 64,
    LeftBrace = 65,
    Bar = 66,
    RightBrace = 67,
    Tilde = 68,
    FirstHighByte = 69, // byte 127; byte b gives b - 58
    LastHighByte = 197, // byte 255
    Invalid = 198,      // blanks, digits, letters, "_": never looked up
};

// The kind of a single character; Invalid for the characters that never
// form a single-character token.
TExprTokenKind SingleCharTokenKind(unsigned char c);

// The abstract lexer. A concrete lexer's constructor calls Reset once its
// input is in place, so a freshly constructed lexer already holds the first
// token.
class TExprLexer
{
public:
    TExprLexer(const TExprLexer&) = delete;
    TExprLexer& operator=(const TExprLexer&) = delete;
    virtual ~TExprLexer() = default;

    // Scans the next token into CurrentToken, TokenNumber and TokenText.
    virtual void NextToken() = 0;
    // Restarts at the beginning of the input and scans the first token.
    virtual void Reset() { NextToken(); }

    TExprTokenKind CurrentToken() const { return currentToken_; }
    // The value of the current token when it is a number.
    Float TokenNumber() const { return tokenNumber_; }
    // The text of the current token when it is a number or an identifier;
    // other tokens leave the text of the last one in place.
    const std::string& TokenText() const { return tokenText_; }
    // Where the current token lies in the input, as byte offsets: from its
    // first character to just after its last; at the end both are the
    // length of the text that was read.
    std::size_t TokenStart() const { return tokenStart_; }
    std::size_t TokenEnd() const { return tokenEnd_; }

protected:
    TExprLexer() = default;

    TExprTokenKind currentToken_ = TExprTokenKind::End;
    Float tokenNumber_ = 0;
    std::string tokenText_;
    std::size_t tokenStart_ = 0;
    std::size_t tokenEnd_ = 0;
};

// The end of a number token that starts at `start` (a digit): digits, a
// decimal point or separator with more digits, an exponent. The lexer reads
// numbers this far before converting them.
std::size_t NumberTokenEnd(std::string_view text, std::size_t start, char decimalSeparator);

// The lexer over a formula string (an owned copy). A byte 0 ends the text
// like its real end does.
class TExprSimpleLexer final : public TExprLexer
{
public:
    // Can raise "'<text>' is not a valid floating point value" when the text
    // begins with a malformed number.
    explicit TExprSimpleLexer(std::string_view text);

    void NextToken() override;
    void Reset() override;

private:
    void ScanNumber();
    char At(std::size_t index) const { return index < text_.size() ? text_[index] : '\0'; }

    std::string text_;
    std::size_t position_ = 0;
};

} // namespace qrv
