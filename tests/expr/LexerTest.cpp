// Token streams of the formula lexer.
#include "ExprTestSupport.h"

#include <vector>

namespace qrv::test
{
namespace
{

using Kind = TExprTokenKind;

// One token as the lexer reports it: kind, plus text for numbers and
// identifiers and the value for numbers.
struct Token {
    Kind kind;
    std::string text;
    Float number = 0;
    bool operator==(const Token&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Token& t)
{
    return out << "{" << int(t.kind) << " '" << t.text << "' " << double(t.number) << "}";
}

Token Num(std::string text, Float value)
{
    return {Kind::Number, std::move(text), value};
}
Token Id(std::string text)
{
    return {Kind::Identifier, std::move(text)};
}
Token Op(Kind kind)
{
    return {kind, ""};
}

// Every token up to and including the end of text.
std::vector<Token> Scan(std::string_view text)
{
    TExprSimpleLexer lexer(text);
    std::vector<Token> tokens;
    for (int guard = 0; guard < 1000; ++guard) {
        Token t{lexer.CurrentToken(), "", 0};
        if (t.kind == Kind::Number) {
            t.text = lexer.TokenText();
            t.number = lexer.TokenNumber();
        } else if (t.kind == Kind::Identifier) {
            t.text = lexer.TokenText();
        }
        tokens.push_back(t);
        if (t.kind == Kind::End) break;
        lexer.NextToken();
    }
    return tokens;
}

struct StreamRow {
    const char* name;
    std::string text;
    std::vector<Token> tokens; // end of text implied
};

class LexerStream : public ::testing::TestWithParam<StreamRow>
{
};

TEST_P(LexerStream, Tokens)
{
    SeparatorScope dot('.');
    std::vector<Token> expected = GetParam().tokens;
    expected.push_back(Op(Kind::End));
    EXPECT_EQ(Scan(GetParam().text), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lexer, LexerStream,
    ::testing::Values(
        StreamRow{"FormulaWithCallAndCompare",
                  "sin(x)*2.5e-3 <> 1",
                  {Id("sin"), Op(Kind::LeftParen), Id("x"), Op(Kind::RightParen), Op(Kind::Asterisk),
                   Num("2.5e-3", 2.5e-3L), Op(Kind::NotEqual), Num("1", 1)}},
        StreamRow{"Empty", "", {}}, StreamRow{"OnlyBlanksAndControls", " \t\r\n\x01\x1f ", {}},
        StreamRow{"IdentifierWithDigitsAndUnderscores", "a1_b2", {Id("a1_b2")}},
        StreamRow{"NumberThenIdentifier", "1a", {Num("1", 1), Id("a")}},
        StreamRow{"UnderscoreAlone", "_", {Id("_")}},
        StreamRow{"CompoundComparisons",
                  "<=<>>=",
                  {Op(Kind::LessEqual), Op(Kind::NotEqual), Op(Kind::GreaterEqual)}},
        StreamRow{"LessBlankEqual", "< =", {Op(Kind::Less), Op(Kind::Equal)}},
        StreamRow{"EqualLess", "=<", {Op(Kind::Equal), Op(Kind::Less)}},
        StreamRow{"GreaterLess", "><", {Op(Kind::Greater), Op(Kind::Less)}},
        StreamRow{"NoDoubleEqualOrPower",
                  "==**",
                  {Op(Kind::Equal), Op(Kind::Equal), Op(Kind::Asterisk), Op(Kind::Asterisk)}},
        StreamRow{"BangEqualIsTwoTokens", "!=", {Op(Kind::Exclamation), Op(Kind::Equal)}},
        StreamRow{"Exponent", "3e2", {Num("3e2", 300)}},
        StreamRow{"ExponentUpperWithPlus", "3E+2", {Num("3E+2", 300)}},
        StreamRow{"ExponentMinus", "3e-2", {Num("3e-2", 0.03L)}},
        StreamRow{"ExponentWithoutDigits", "3e", {Num("3e", 3)}},
        StreamRow{"ExponentSignWithoutDigits", "3e+", {Num("3e+", 3)}},
        StreamRow{"NumberEndsAtExponentThenIdentifier", "2ex", {Num("2e", 2), Id("x")}},
        StreamRow{"LeadingDotIsAToken", ".5", {Op(Kind::Dot), Num("5", 5)}},
        StreamRow{"OneSeparatorOnly", "1.5.2", {Num("1.5", 1.5L), Op(Kind::Dot), Num("2", 2)}},
        StreamRow{"TrailingSeparator", "7.", {Num("7.", 7)}},
        StreamRow{"CommaUnderDotLocale", "1,5", {Num("1", 1), Op(Kind::Comma), Num("5", 5)}},
        StreamRow{"NoSignInNumbers", "-2", {Op(Kind::Minus), Num("2", 2)}},
        StreamRow{"TabsAndLineBreaksSkipped", "x\t+\n1", {Id("x"), Op(Kind::Plus), Num("1", 1)}},
        StreamRow{"EmbeddedZeroEndsText", std::string("x\0+1", 4), {Id("x")}},
        StreamRow{"HighByteIsOwnToken",
                  "a\xC8"
                  "b",
                  {Id("a"), Op(Kind(142)), Id("b")}},
        StreamRow{"SemicolonAndBrackets",
                  ";[]{}",
                  {Op(Kind::Semicolon), Op(Kind::LeftBracket), Op(Kind::RightBracket), Op(Kind::LeftBrace),
                   Op(Kind::RightBrace)}}),
    RowName{});

// The single-character table: every printable punctuation character and
// every byte from 127 up is its own token, in the documented numbering.
TEST(Lexer, SingleCharacterKinds)
{
    const std::string punctuation = "!\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~";
    for (std::size_t i = 0; i < punctuation.size(); ++i) {
        char c = punctuation[i];
        SCOPED_TRACE(std::string("character ") + c);
        EXPECT_EQ(int(TExprSimpleLexer(std::string(1, c)).CurrentToken()), 38 + int(i));
    }
    for (int b = 127; b <= 255; ++b) {
        SCOPED_TRACE("byte " + std::to_string(b));
        TExprSimpleLexer lexer(std::string(1, char(b)));
        EXPECT_EQ(int(lexer.CurrentToken()), b - 58);
        lexer.NextToken();
        EXPECT_EQ(lexer.CurrentToken(), Kind::End);
    }
    for (char c : std::string("09AZaz_ \t")) {
        SCOPED_TRACE(std::string("character ") + c);
        EXPECT_EQ(SingleCharTokenKind(static_cast<unsigned char>(c)), Kind::Invalid);
    }
}

TEST(Lexer, EndOfTextRepeatsAndResetRestarts)
{
    TExprSimpleLexer lexer("x+");
    lexer.NextToken();
    lexer.NextToken();
    EXPECT_EQ(lexer.CurrentToken(), Kind::End);
    lexer.NextToken();
    EXPECT_EQ(lexer.CurrentToken(), Kind::End);
    lexer.Reset();
    EXPECT_EQ(lexer.CurrentToken(), Kind::Identifier);
    EXPECT_EQ(lexer.TokenText(), "x");
}

TEST(Lexer, PunctuationKeepsPreviousText)
{
    TExprSimpleLexer lexer("sin(");
    lexer.NextToken();
    EXPECT_EQ(lexer.CurrentToken(), Kind::LeftParen);
    EXPECT_EQ(lexer.TokenText(), "sin");
}

TEST(Lexer, IdentifiersKeepTheirCase)
{
    TExprSimpleLexer lexer("PiE");
    EXPECT_EQ(lexer.TokenText(), "PiE");
}

TEST(Lexer, NumberValuesAreExtendedPrecision)
{
    SeparatorScope dot('.');
    TExprSimpleLexer lexer("0.1");
    EXPECT_EQ(lexer.TokenNumber(), 0.1L);
    EXPECT_NE(lexer.TokenNumber(), Float(0.1)); // not read as a double
}

struct ConversionRow {
    const char* name;
    char separator;
    std::string text;
    std::string badNumber; // "" when the text scans without error
    Float firstValue = 0;
};

class LexerConversion : public ::testing::TestWithParam<ConversionRow>
{
};

TEST_P(LexerConversion, NumbersUseTheLocaleSeparator)
{
    const ConversionRow& row = GetParam();
    SeparatorScope scope(row.separator);
    auto scanAll = [&] { Scan(row.text); };
    if (row.badNumber.empty()) {
        EXPECT_EQ(TExprSimpleLexer(row.text).TokenNumber(), row.firstValue);
    } else {
        EXPECT_EQ(MessageOf<EConvertError>(scanAll),
                  "'" + row.badNumber + "' is not a valid floating point value");
    }
}

INSTANTIATE_TEST_SUITE_P(Lexer, LexerConversion,
                         ::testing::Values(ConversionRow{"CommaLocaleReadsComma", ',', "2,55", "", 2.55L},
                                           ConversionRow{"CommaLocaleRejectsDot", ',', "2.55", "2.55"},
                                           ConversionRow{"DotLocaleSplitsAtComma", '.', "2,55", "", 2},
                                           ConversionRow{"BeyondFloatRange", '.', "1e5000", "1e5000"},
                                           ConversionRow{"BadNumberLaterInText", '.', "x + 1e9999", "1e9999"},
                                           ConversionRow{"TinyBecomesZero", '.', "1e-5000", "", 0}),
                         RowName{});

} // namespace
} // namespace qrv::test
