// The compile parser: precedence, associativity, word operators, function
// calls, trailing text, every parse error and the nesting bound.
#include "ExprTestSupport.h"

#include <cctype>

namespace qrv::test
{
namespace
{

struct ValueRow {
    const char* name;
    const char* text;
    Float expected;
    double x = 0;
};

class ParserValue : public ::testing::TestWithParam<ValueRow>
{
};

TEST_P(ParserValue, Evaluates)
{
    SeparatorScope dot('.');
    Formula f;
    EXPECT_EQ(f.Eval(GetParam().text, GetParam().x), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Precedence, ParserValue,
    ::testing::Values(
        ValueRow{"DivideThenMultiply", "8/2*4", 16}, ValueRow{"MultiplyThenDivide", "8*2/4", 4},
        ValueRow{"SubtractThenAdd", "4 - 2 + 1", 3}, ValueRow{"MultiplyBeforeAdd", "2 + 3 * 4", 14},
        ValueRow{"ParenthesesFirst", "(2 + 3) * 4", 20}, ValueRow{"NegateBindsTightest", "-2 * 3", -6},
        ValueRow{"NegateRightOperand", "2 * -3", -6}, ValueRow{"DoubleNegation", "--2", 2},
        ValueRow{"UnaryPlus", "+-+2", -2}, ValueRow{"SubtractNegative", "3--2", 5},
        ValueRow{"ComparisonsChain", "1 < 2 < 3", 1}, ValueRow{"ChainIsLeftToRight", "3 > 2 > 1", 0},
        ValueRow{"LessThenEqual", "1 < 2 = 1", 1}, ValueRow{"CompareWord", "x cmp 3", -1, 2},
        ValueRow{"CompareWordEqual", "x cmp 3", 0, 3}, ValueRow{"NotEqual", "1 <> 2", 1},
        ValueRow{"LessEqual", "2 <= 2", 1}, ValueRow{"GreaterEqual", "1 >= 2", 0},
        ValueRow{"Equal", "2 = 2", 1}, ValueRow{"ComparisonLoosestOfAll", "1 + 1 = 2", 1}),
    RowName{});

INSTANTIATE_TEST_SUITE_P(
    WordOperators, ParserValue,
    ::testing::Values(
        ValueRow{"DivAsMultiplicative", "1 + 7 div 2", 4}, ValueRow{"UpperCaseDiv", "7 DIV 2", 3},
        ValueRow{"MixedCaseMod", "7 MoD 4", 3}, ValueRow{"AndBindsLikeMultiply", "1 or 0 and 0", 1},
        ValueRow{"OrBindsLikeAdd", "2 * 0 or 1", 1}, ValueRow{"XorIsAdditive", "1 xor 1 * 0", 1},
        ValueRow{"BitwiseOrIsAdditive", "1 bor 2 band 3", 3}, ValueRow{"BitwiseXorIsAdditive", "6 bxor 3", 5},
        ValueRow{"ShiftIsMultiplicative", "1 + 1 shl 2", 5}, ValueRow{"ShiftRight", "16 shr 2 * 2", 8},
        // x > 0 and x < 1 reads (x > (0 and x)) < 1
        ValueRow{"WordsBindTighterThanComparisons", "x > 0 and x < 1", 0, 0.5},
        ValueRow{"ParenthesesForTheIntendedTest", "(x > 0) and (x < 1)", 1, 0.5},
        ValueRow{"NotIsPrefix", "not 1 = 2", 0}, ValueRow{"NotOfComparisonNeedsParens", "not (1 = 2)", 1},
        ValueRow{"NotRepeats", "not not 5", 1}, ValueRow{"BitwiseNot", "bnot 0", -1},
        ValueRow{"BitwiseNotPrefixBindsTight", "bnot 0 * 2", -2}),
    RowName{});

INSTANTIATE_TEST_SUITE_P(
    CallsAndNames, ParserValue,
    ::testing::Values(ValueRow{"ConstantCaseInsensitive", "PI - pi", 0},
                      ValueRow{"VariableCaseInsensitive", "X * 2", 3, 1.5},
                      ValueRow{"UnaryCall", "sin(0)", 0}, ValueRow{"BinaryCall", "power(2;10)", 1024},
                      ValueRow{"ArgumentsAreFullExpressions", "power(1 < 2; 3 = 3)", 1},
                      ValueRow{"NestedCalls", "sqrt(sqrt(x))", 2, 16},
                      ValueRow{"CallInsideArguments", "power(sqrt(x); power(2; 1))", 9, 9},
                      ValueRow{"ConstantsTakeNoArguments", "pi*0 + 2", 2}),
    RowName{});

// Parsing stops at the first token that cannot continue the expression.
INSTANTIATE_TEST_SUITE_P(TrailingText, ParserValue,
                         ::testing::Values(ValueRow{"CaretEndsTheFormula", "x^2", 3, 3},
                                           ValueRow{"JuxtapositionEndsIt", "2x", 2, 7},
                                           ValueRow{"BlankJuxtaposition", "2 x", 2, 7},
                                           ValueRow{"ExtraClosingParen", "sqrt(x)) + 1", 2, 4},
                                           ValueRow{"FreeTextAfterFormula", "x + 1 this is ignored (", 2, 1},
                                           ValueRow{"CommaEndsTheFormula", "1,5", 1}),
                         RowName{});

struct ErrorRow {
    const char* name;
    const char* text;
    const char* message;
};

class ParserError : public ::testing::TestWithParam<ErrorRow>
{
};

TEST_P(ParserError, Raises)
{
    SeparatorScope dot('.');
    Formula f;
    EXPECT_EQ(MessageOf<EQrvExprEvalError>([&] { f.Evaluator().Compile(GetParam().text); }),
              GetParam().message)
        << GetParam().text;
    EXPECT_FALSE(f.Evaluator().HasProgram());
}

constexpr const char* kFactor = "Parse error: Factor expected";
constexpr const char* kParen = "Parse error: ')' expected";
constexpr const char* kOpen = "Parse error: '(' and function's first parameter expected";
constexpr const char* kComma = "Parse error: ',' and another parameter expected";
constexpr const char* kClose = "Parse error: ')' to close function's parameters expected";

INSTANTIATE_TEST_SUITE_P(
    Messages, ParserError,
    ::testing::Values(
        ErrorRow{"Empty", "", kFactor}, ErrorRow{"OnlyBlanks", " \t ", kFactor},
        ErrorRow{"DoubleOperator", "2 * * 3", kFactor}, ErrorRow{"TrailingOperator", "x +", kFactor},
        ErrorRow{"LeadingDot", ".5", kFactor}, ErrorRow{"HighByteOperand", "\xC8", kFactor},
        ErrorRow{"EmptyParentheses", "()", kFactor}, ErrorRow{"UnclosedParenthesis", "(2", kParen},
        ErrorRow{"WrongCloser", "(2]", kParen},
        ErrorRow{"UnknownName", "foo", "Parse error: Unknown symbol: 'foo'"},
        ErrorRow{"UnknownKeepsCase", "1 + FoO", "Parse error: Unknown symbol: 'FoO'"},
        ErrorRow{"WordOperatorAsOperand", "div", "Parse error: Unknown symbol: 'div'"},
        ErrorRow{"FunctionWithoutParenthesis", "sin x", kOpen}, ErrorRow{"FunctionAtEnd", "sin", kOpen},
        ErrorRow{"FunctionUnclosed", "sin(x", kClose}, ErrorRow{"FunctionEmptyArgument", "sin()", kFactor},
        ErrorRow{"CommaIsNotASeparator", "power(2,3)", kComma},
        ErrorRow{"MissingSecondArgument", "power(2)", kComma},
        ErrorRow{"ThirdArgument", "power(2;3;4)", kClose}, ErrorRow{"UnaryGivenTwo", "sin(1;2)", kClose},
        ErrorRow{"ErrorInsideArgument", "power(2; (3)", kClose}),
    RowName{});

TEST(Parser, WithoutContextEveryNameIsUnknown)
{
    TExprSimpleLexer lexer("x");
    TExprVirtMachNodeFactory factory;
    TExprCompileParser parser(&lexer, &factory);
    EXPECT_EQ(MessageOf<EQrvExprEvalError>([&] { parser.Compile(); }), "Parse error: Unknown symbol: 'x'");
}

TEST(Parser, MalformedNumberAfterTheFormulaStillRaises)
{
    SeparatorScope dot('.');
    Formula f;
    EXPECT_EQ(MessageOf<EConvertError>([&] { f.Evaluator().Compile("x 1e99999"); }),
              "'1e99999' is not a valid floating point value");
}

TEST(Parser, SymbolBindingIsRestoredAfterNestedCompiles)
{
    Formula f;
    f.Evaluator().Compile("sin(sin(x))");
    TExprSym* sin = f.Builtins().Find("sin");
    EXPECT_EQ(sin->Lexer(), nullptr);
    EXPECT_EQ(sin->CompileParser(), nullptr);
    EXPECT_EQ(sin->NodeFactory(), nullptr);
    EXPECT_THROW(f.Evaluator().Compile("sin(sin(x)"), EQrvExprEvalError);
    EXPECT_EQ(sin->Lexer(), nullptr); // restored on the error path too
}

TEST(Parser, CompileMakesOneNodePerOperatorWithoutFolding)
{
    Formula f;
    EXPECT_EQ(f.Listing("2 + 3"), "const 2 | const 3 | add");
    EXPECT_EQ(f.Listing("--x"), "load x | neg | neg");
    EXPECT_EQ(f.Listing("+x"), "load x");
    EXPECT_EQ(f.Listing("not x bor bnot x"), "load x | not | load x | bnot | bor");
    EXPECT_EQ(f.Listing("x cmp 1 <> 2"), "const 1 | const 2 | load x | cmp | ne");
}

// Every operator makes its own node at its own level, its word in any letter
// case. With x on every side, the listing shows the operation a spelling
// made and, by where it lands against + and *, how tightly it binds.
struct OperatorRow {
    const char* name;
    const char* spelling;
    const char* mnemonic;
    int level; // 0 comparisons, 1 additive, 2 multiplicative, 3 prefix
};

class ParserOperator : public ::testing::TestWithParam<OperatorRow>
{
};

TEST_P(ParserOperator, MakesItsNodeAtItsLevel)
{
    const OperatorRow& row = GetParam();
    const std::string op = std::string(" ") + row.spelling + " ", m = row.mnemonic;
    std::string upper = op;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    Formula f;
    for (const std::string& spelled : {op, upper}) {
        if (row.level == 3) {
            EXPECT_EQ(f.Listing(spelled + "x * x"), "load x | " + m + " | load x | mul") << spelled;
            continue;
        }
        EXPECT_EQ(f.Listing("x" + spelled + "x + x"), row.level == 0
                                                          ? "load x | load x | load x | add | " + m
                                                          : "load x | load x | " + m + " | load x | add")
            << spelled;
        EXPECT_EQ(f.Listing("x + x" + spelled + "x"), row.level == 2
                                                          ? "load x | load x | load x | " + m + " | add"
                                                          : "load x | load x | add | load x | " + m)
            << spelled;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParserOperator,
    ::testing::Values(OperatorRow{"Compare", "cmp", "cmp", 0}, OperatorRow{"NotEqual", "<>", "ne", 0},
                      OperatorRow{"LessEqual", "<=", "le", 0}, OperatorRow{"GreaterEqual", ">=", "ge", 0},
                      OperatorRow{"Less", "<", "lt", 0}, OperatorRow{"Equal", "=", "eq", 0},
                      OperatorRow{"Greater", ">", "gt", 0}, OperatorRow{"LogicalOr", "or", "or", 1},
                      OperatorRow{"LogicalXor", "xor", "xor", 1}, OperatorRow{"BitwiseOr", "bor", "bor", 1},
                      OperatorRow{"BitwiseXor", "bxor", "bxor", 1}, OperatorRow{"Add", "+", "add", 1},
                      OperatorRow{"Subtract", "-", "sub", 1}, OperatorRow{"IntegerDivide", "div", "idiv", 2},
                      OperatorRow{"Modulo", "mod", "mod", 2}, OperatorRow{"LogicalAnd", "and", "and", 2},
                      OperatorRow{"ShiftLeft", "shl", "shl", 2}, OperatorRow{"ShiftRight", "shr", "shr", 2},
                      OperatorRow{"BitwiseAnd", "band", "band", 2}, OperatorRow{"Multiply", "*", "mul", 2},
                      OperatorRow{"Divide", "/", "div", 2}, OperatorRow{"LogicalNot", "not", "not", 3},
                      OperatorRow{"BitwiseNot", "bnot", "bnot", 3}, OperatorRow{"Negate", "-", "neg", 3}),
    RowName{});

// ---- nesting bound ---------------------------------------------------------

std::string Repeat(std::string_view piece, std::size_t n)
{
    std::string text;
    text.reserve(piece.size() * n);
    for (std::size_t i = 0; i < n; ++i)
        text += piece;
    return text;
}

constexpr std::size_t kMax = TExprCompileParser::kMaxNesting;

TEST(ParserNesting, DeepestAllowedLevelsCompile)
{
    Formula f;
    EXPECT_EQ(f.Eval(Repeat("(", kMax) + "x" + Repeat(")", kMax), 4), 4);
    EXPECT_EQ(f.Eval(Repeat("-", kMax) + "x", 4), 4); // an even count
    EXPECT_EQ(f.Eval(Repeat("sqrt(", kMax) + "x" + Repeat(")", kMax), 1), 1);
    EXPECT_EQ(f.Eval(Repeat("not ", kMax) + "x", 1), 1);
}

struct NestingRow {
    const char* name;
    std::string text;
};

class ParserNestingError : public ::testing::TestWithParam<NestingRow>
{
};

TEST_P(ParserNestingError, RaisesInsteadOfOverflowingTheStack)
{
    Formula f;
    EXPECT_EQ(MessageOf<EQrvExprEvalError>([&] { f.Evaluator().Compile(GetParam().text); }),
              "Parse error: Expression is nested too deeply");
}

INSTANTIATE_TEST_SUITE_P(Parser, ParserNestingError,
                         ::testing::Values(NestingRow{"OneParenthesisTooMany",
                                                      Repeat("(", kMax + 1) + "x" + Repeat(")", kMax + 1)},
                                           NestingRow{"OneMinusTooMany", Repeat("-", kMax + 1) + "x"},
                                           NestingRow{"HundredThousandParentheses", Repeat("(", 100000)},
                                           NestingRow{"HundredThousandMinus", Repeat("-", 100000)},
                                           NestingRow{"HundredThousandNot", Repeat("not ", 100000) + "1"},
                                           NestingRow{"DeepCalls", Repeat("sin(", 100000)},
                                           NestingRow{"DeepBinaryCalls", Repeat("power(1;", 100000)}),
                         RowName{});

// Long but flat formulas are not nested: a chain of 100 000 additions builds
// a tree 100 000 deep on its left side, which compiles, runs and is freed
// without recursion.
TEST(ParserNesting, LongFlatChainsAreFine)
{
    Formula f;
    EXPECT_EQ(f.Eval("x" + Repeat("+1", 100000), 1), 100001);
    EXPECT_EQ(f.Evaluator().Machine().Code().size(), 100001u);
}

} // namespace
} // namespace qrv::test
