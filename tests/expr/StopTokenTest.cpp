// Where Compile stopped reading a formula: the token a failed parse gave up
// at, and the text a complete formula left unread.
#include "ExprTestSupport.h"

namespace qrv::test
{
namespace
{

struct StopRow {
    const char* name;
    const char* text;
    bool compiles;
    const char* stopToken; // the text of the span
    std::size_t start;
    const char* ignored; // what IgnoredText gives after a success
};

class StopTokenCase : public ::testing::TestWithParam<StopRow>
{
};

TEST_P(StopTokenCase, CoversTheTokenWhereReadingStopped)
{
    const StopRow& row = GetParam();
    Formula f;
    bool compiled = true;
    try {
        f.Evaluator().Compile(row.text);
    } catch (const EQrvError&) {
        compiled = false;
    } catch (const EConvertError&) {
        compiled = false;
    }
    ASSERT_EQ(compiled, row.compiles);
    const TTextSpan span = f.Evaluator().StopToken();
    EXPECT_EQ(span.Start, row.start);
    EXPECT_EQ(std::string(row.text).substr(span.Start, span.Length), row.stopToken);
    EXPECT_EQ(f.Evaluator().IgnoredText(), row.ignored);
}

INSTANTIATE_TEST_SUITE_P(
    Compile, StopTokenCase,
    ::testing::Values(
        // Complete formulas: the rest after them is ignored, and said so.
        StopRow{"WholeText", "x*2", true, "", 3, ""}, StopRow{"TrailingBlanks", "x*2   ", true, "", 6, ""},
        StopRow{"PowerSign", "x^2", true, "^", 1, "^2"}, StopRow{"ImplicitProduct", "2x", true, "x", 1, "x"},
        StopRow{"SecondFormula", "sin(x) cos(x)", true, "cos", 7, "cos(x)"},
        StopRow{"ClosingParenthesis", "(x+1))", true, ")", 5, ")"},
        // Failures: the token the parse gave up at.
        StopRow{"MissingFactor", "x*", false, "", 2, ""},
        StopRow{"OperatorForFactor", "x*/2", false, "/", 2, ""},
        StopRow{"UnknownName", "1+foo*2", false, "foo", 2, ""},
        StopRow{"MissingParenthesis", "sin(x", false, "", 5, ""},
        StopRow{"WrongCloser", "power(x;2]", false, "]", 9, ""}, StopRow{"Empty", "", false, "", 0, ""}),
    RowName{});

TEST(StopToken, MalformedNumberIsTheWholeNumber)
{
    // Under a decimal comma "2.55" is not a number, wherever it stands.
    SeparatorScope comma(',');
    for (const auto& [text, start] : {std::pair<const char*, std::size_t>{"x+2.55*3", 2}, {"  2.55*3", 2}}) {
        Formula f;
        EXPECT_THROW(f.Evaluator().Compile(text), EConvertError) << text;
        EXPECT_EQ(f.Evaluator().StopToken(), (TTextSpan{start, 4})) << text;
    }
}

TEST(StopToken, ASecondCompileOfTheSameTextKeepsIt)
{
    Formula f;
    f.Evaluator().Compile("x^2");
    f.Evaluator().Compile("x^2");
    EXPECT_EQ(f.Evaluator().IgnoredText(), "^2");
    f.Evaluator().Compile("x");
    EXPECT_EQ(f.Evaluator().IgnoredText(), "");
}

} // namespace
} // namespace qrv::test
