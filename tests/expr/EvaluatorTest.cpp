// Program building through the node factory, and the evaluators' life cycle.
#include "ExprTestSupport.h"
#include "ListingRow.h"

namespace qrv::test
{
namespace
{

class ProgramListing : public ::testing::TestWithParam<ListingRow>
{
};

TEST_P(ProgramListing, Builds)
{
    SeparatorScope dot('.');
    Formula f;
    EXPECT_EQ(f.Listing(GetParam().text), GetParam().listing);
}

INSTANTIATE_TEST_SUITE_P(
    NodeFactory, ProgramListing,
    ::testing::Values(
        ListingRow{"SingleConstant", "2.5", "const 2.5"},
        ListingRow{"VariablePlusConstant", "x + 2", "const 2 | load x | add"},
        ListingRow{"NoSharingOfRepeats", "(x + 1) * (x + 1)",
                   "const 1 | const 1 | load x | add | load x | add | mul"},
        ListingRow{"CallsInCreationOrder", "2*x + sin(x)",
                   "const 2 | load x | mul | load x | call sin | add"},
        ListingRow{"NamedConstantIsAConstant", "pi", "const 3.14159265358979324"},
        ListingRow{"BinaryCall", "power(x; 2)", "const 2 | load x | call power"},
        ListingRow{"StartupFormula", "5.22 - 5.44E-4 * (x - 817)",
                   "const 5.22 | const 0.000544 | const 817 | load x | sub | mul | sub"},
        ListingRow{
            "EveryComparison", "x cmp x = x <> x < x <= x > x >= x",
            "load x | load x | cmp | load x | eq | load x | ne | load x | lt | load x | le | load x | gt | "
            "load x | ge"},
        ListingRow{
            "EveryWord", "x div x mod x and x shl x shr x band x or x xor x bor x bxor x",
            "load x | load x | idiv | load x | mod | load x | and | load x | shl | load x | shr | load x | "
            "band | load x | or | load x | xor | load x | bor | load x | bxor"}),
    RowName{});

TEST(NodeFactory, BuildingTwiceGivesTheSameProgram)
{
    double x = 3;
    TExprVirtMachNodeFactory factory;
    TExprNode* load = factory.LoadVar64(&x);
    TExprNode* sum = factory.Add(load, factory.LoadConst64(0.5));
    factory.Negate(sum);
    TExprVirtMach machine;
    factory.BuildProgram(machine);
    std::string first = Dump(machine);
    EXPECT_EQ(machine.Execute(), -3.5L);
    factory.BuildProgram(machine);
    EXPECT_EQ(Dump(machine), first);
    EXPECT_EQ(first, "const 0.5 | load var1 | add | neg");
    EXPECT_EQ(machine.Code().size(), 3u);
    EXPECT_EQ(machine.Execute(), -3.5L);
}

TEST(NodeFactory, WidthsOfConstantsAndVariables)
{
    float f32 = 1.5f;
    Float f80 = 2;
    TExprVirtMachNodeFactory factory;
    // one statement per node: argument evaluation order is unspecified
    TExprNode* narrow = factory.LoadVar32(&f32);
    TExprNode* sum = factory.Add(narrow, factory.LoadConst32(0.25f));
    factory.Multiply(sum, factory.LoadVar80(&f80));
    TExprVirtMach machine;
    factory.BuildProgram(machine);
    EXPECT_EQ(machine.Execute(), 3.5L);
    EXPECT_EQ(Dump(machine), "const 0.25 | load32 var1 | add | load80 var2 | mul");
}

TEST(NodeFactory, OperatorNodesCheckTheirOperandCount)
{
    TExprVirtMachNodeFactory factory;
    TExprNode* a = factory.LoadConst80(1);
    auto message = MessageOf<EAssertionFailed>([&] {
        TExprUnaryVmNode node(&CreateUnaryOp<TExprNegateVmOp>, {a, a});
    });
    EXPECT_EQ(message.rfind("Assertion failure (", 0), 0u) << message;
    EXPECT_THROW(TExprBinaryVmNode(&CreateBinaryOp<TExprAddVmOp>, {a}), EAssertionFailed);
}

// ---- evaluator life cycle --------------------------------------------------

Float Sine(Float v)
{
    return std::sin(v);
}

TEST(CompiledEvaluator, CompileOnceEvaluateMany)
{
    TExprHashContext shared(false, 100);
    shared.Add(std::make_unique<TExprUnaryFuncSym>("sin", &Sine));
    double x = 0;
    TCompiledEvaluator evaluator;
    evaluator.ExternalContexts().Add(&shared);
    evaluator.AddVar("x", x);
    evaluator.Compile("sin(x)*2");
    EXPECT_EQ(evaluator.Evaluate(), 0);
    x = 1;
    EXPECT_EQ(evaluator.Evaluate(), std::sin(1.0L) * 2);
    EXPECT_EQ(evaluator.BuildCount(), 1u);
}

TEST(CompiledEvaluator, VariableFoundInAnyCase)
{
    Formula f;
    EXPECT_EQ(f.Eval("X", 4), 4);
}

TEST(CompiledEvaluator, OwnVariablesHideSharedSymbols)
{
    Formula f;
    double pi = 3;
    f.Evaluator().AddVar("PI", pi);
    EXPECT_EQ(f.Eval("pi"), 3);
}

TEST(CompiledEvaluator, LaterAttachedContextsWin)
{
    Formula f;
    TExprHashContext overriding(false, 7);
    overriding.Add(std::make_unique<TExprConstSym>("e", 5));
    f.Evaluator().ExternalContexts().Add(&overriding);
    EXPECT_EQ(f.Eval("e"), 5);
}

TEST(CompiledEvaluator, DuplicateVariable)
{
    Formula f;
    double y = 0;
    EXPECT_EQ(MessageOf<EQrvStringHashMapError>([&] { f.Evaluator().AddVar("X", y); }),
              "Duplicate hash list entry: X");
}

TEST(CompiledEvaluator, SameTextBuildsOnce)
{
    Formula f;
    f.Evaluator().Compile("x + 1");
    f.Evaluator().Compile("x + 1");
    EXPECT_EQ(f.Evaluator().BuildCount(), 1u);
    f.Evaluator().Compile("x + 1 "); // any difference is a new text
    EXPECT_EQ(f.Evaluator().BuildCount(), 2u);
}

TEST(CompiledEvaluator, ConstantFormulaHasNoCode)
{
    Formula f;
    EXPECT_EQ(f.Eval("5"), 5);
    EXPECT_TRUE(f.Evaluator().Machine().Code().empty());
}

TEST(CompiledEvaluator, NewEvaluatorHasNoProgram)
{
    TCompiledEvaluator evaluator;
    EXPECT_FALSE(evaluator.HasProgram());
    EXPECT_EQ(MessageOf<EListError>([&] { evaluator.Evaluate(); }), "List index out of bounds (0)");
}

struct BlankRow {
    const char* name;
    const char* text;
};

class CompiledEvaluatorBlank : public ::testing::TestWithParam<BlankRow>
{
};

// An empty formula is a parse error, not a program that fails later.
TEST_P(CompiledEvaluatorBlank, EmptyFormulaIsAFactorError)
{
    TCompiledEvaluator evaluator;
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt == 0 ? "first compile" : "second compile");
        EXPECT_EQ(MessageOf<EQrvExprEvalError>([&] { evaluator.Compile(GetParam().text); }),
                  "Parse error: Factor expected");
    }
}

INSTANTIATE_TEST_SUITE_P(CompiledEvaluator, CompiledEvaluatorBlank,
                         ::testing::Values(BlankRow{"Empty", ""}, BlankRow{"Spaces", "   "},
                                           BlankRow{"ControlCharacters", "\t\r\n"}),
                         RowName{});

TEST(CompiledEvaluator, FailedTextFailsAgain)
{
    Formula f;
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt == 0 ? "first compile" : "second compile");
        EXPECT_EQ(MessageOf<EQrvExprEvalError>([&] { f.Evaluator().Compile("(x"); }),
                  "Parse error: ')' expected");
        EXPECT_FALSE(f.Evaluator().HasProgram());
        EXPECT_EQ(f.Evaluator().Text(), "");
        EXPECT_THROW(f.Evaluator().Evaluate(), EListError);
    }
}

TEST(CompiledEvaluator, FailureClearsTheOldProgramAndRecoveryWorks)
{
    Formula f;
    EXPECT_EQ(f.Eval("x * 2", 3), 6);
    EXPECT_THROW(f.Evaluator().Compile("x * "), EQrvExprEvalError);
    EXPECT_THROW(f.Evaluator().Evaluate(), EListError);
    EXPECT_EQ(f.Eval("x * 2", 4), 8); // the same text as before the failure builds again
    EXPECT_EQ(f.Evaluator().BuildCount(), 2u);
}

TEST(CompiledEvaluator, ConversionErrorLeavesNoProgram)
{
    SeparatorScope comma(',');
    Formula f;
    EXPECT_EQ(MessageOf<EConvertError>([&] { f.Evaluator().Compile("2.5"); }),
              "'2.5' is not a valid floating point value");
    EXPECT_FALSE(f.Evaluator().HasProgram());
    EXPECT_EQ(f.Eval("2,5"), 2.5L);
}

TEST(CompiledEvaluator, SharedContextOutlivesTheEvaluator)
{
    auto shared = MakeTestBuiltins();
    {
        TCompiledEvaluator evaluator;
        evaluator.ExternalContexts().Add(shared.get());
        evaluator.Compile("pi");
    }
    ASSERT_NE(shared->Find("pi"), nullptr);
    EXPECT_EQ(shared->Count(), 6u);
}

// ---- direct evaluation of symbols -------------------------------------------

TEST(ExprSymbols, DirectEvaluation)
{
    Formula f;
    double y = 2.5;
    TExprVar64Sym var("y", &y);
    EXPECT_EQ(var.Evaluate(), 2.5L);
    EXPECT_EQ(f.Builtins().Find("pi")->Evaluate(), 3.14159265358979323846264338327950288L);

    // A function reads its arguments from the bound lexer, as when compiling.
    TExprSimpleLexer lexer("(power(2; 3) + 1; 2) rest");
    TExprVirtMachNodeFactory factory;
    TExprCompileParser parser(&lexer, &factory);
    parser.Context = &f.Builtins();
    TExprSym* power = f.Builtins().Find("power");
    power->SetBinding({&lexer, &parser, &factory});
    EXPECT_EQ(power->Evaluate(), 81);
    EXPECT_EQ(lexer.TokenText(), "rest");
    EXPECT_EQ(power->CompileParser(), &parser); // its binding is its own again
    power->SetBinding({});
    EXPECT_THROW(power->Evaluate(), EAssertionFailed);
}

} // namespace
} // namespace qrv::test
