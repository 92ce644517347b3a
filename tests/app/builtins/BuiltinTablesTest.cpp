// The tables of built-in names: the constants in order with their values,
// the functions in order with their number of arguments, and the context
// built from them.
#include "QrvBuiltins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>
#include <string>

namespace qrv::test
{
namespace
{

struct ConstantRow {
    const char* Name;
    Float Value; // a decimal whose nearest Float is the constant
};

// The constants in registration order, each given by a decimal with enough
// digits to single out one Float: the compiler's reading of the decimal is
// a route to the value independent of the encodings in the table. Several
// of them are not the Float nearest to the mathematical constant (pi lies
// one unit above it); the decimal is what counts. The electron volt is
// 1.602E-19 joules.
constexpr ConstantRow kExpectedConstants[] = {
    {"pi", 3.1415926535897932387L},
    {"bernstein", 2.8016949902386913306E-1L},
    {"cbrt2", 1.2599210498948731649L},
    {"cbrt3", 1.4422495703074083825L},
    {"cbrt10", 2.1544346900318837213L},
    {"cbrt100", 4.641588833612778893L},
    {"cbrtPi", 1.464591887561523263L},
    {"catalan", 9.1596559417721901516E-1L},
    {"pion2", 1.5707963267948966194L},
    {"pion3", 1.0471975511965977462L},
    {"pion4", 7.8539816339744830963E-1L},
    {"sqrt2", 1.414213562373095049L},
    {"sqrt3", 1.7320508075688772932L},
    {"sqrt5", 2.236067977499789696L},
    {"sqrt10", 3.162277660168379332L},
    {"sqrtpi", 1.7724538509055160272L},
    {"sqrt2pi", 2.5066282746310005023L},
    {"twopi", 6.283185307179586477L},
    {"threepi", 9.424777960769379716L},
    {"ln2", 6.931471805599453093E-1L},
    {"ln10", 2.3025850929940456838L},
    {"lnpi", 1.1447298858494001742L},
    {"log2", 3.0102999566398119528E-1L},
    {"log3", 4.7712125471966243727E-1L},
    {"logpi", 4.9714987269413385434E-1L},
    {"loge", 4.342944819032518277E-1L},
    {"Nconst", 2.7182818284590452354L},
    {"hln2pi", 9.189385332046727417E-1L},
    {"inv2pi", 1.59154943091895E-1L},
    {"twotopower63", 9.223372036854775808E18L},
    {"goldenmean", 1.618033988749894848L},
    {"eulermascheroni", 5.772156649015328606E-1L},
    {"deg", 5.7295779513082320873E1L},
    {"amu", 1.6606E-27L},
    {"avog", 6.0225E23L},
    {"boltz", 1.3805E-23L},
    {"echarge", 1.602189E-19L},
    {"emass", 9.11E-31L},
    {"evolt", 1.602E-19L},
    {"farad", 9.648056E4L},
    {"gas", 8.31441L},
    {"neutron", 1.6748E-27L},
    {"planck", 6.626E-34L},
    {"proton", 1.6725E-27L},
    {"light", 2.9979E8L},
    {"gravity", 9.80665L},
    {"pressure", 1.01325E5L},
    {"stefan", 5.67032E-8L},
    {"bohr", 5.2917706E-11L},
};

TEST(BuiltinConstants, AreTheTableInOrderWithTheirDecimalValues)
{
    auto constants = BuiltinConstants();
    ASSERT_EQ(constants.size(), std::size(kExpectedConstants));
    for (std::size_t i = 0; i < constants.size(); ++i) {
        const ConstantRow& expected = kExpectedConstants[i];
        SCOPED_TRACE(expected.Name);
        EXPECT_EQ(constants[i].Name, expected.Name);
        EXPECT_EQ(constants[i].Value, expected.Value) << std::hex << PatternOf(constants[i].Value).Significand
                                                      << " against " << PatternOf(expected.Value).Significand;
    }
}

struct KnownValue {
    const char* Name;
    Float Value;
    double RelativeTolerance; // 0: exact
};

Float ConstantNamed(std::string_view name)
{
    for (const TBuiltinConstant& constant : BuiltinConstants())
        if (constant.Name == name) return constant.Value;
    ADD_FAILURE() << "no constant " << name;
    return 0;
}

TEST(BuiltinConstants, HoldTheirStatedValues)
{
    for (KnownValue row : {
             KnownValue{"twotopower63", 9223372036854775808.0L, 0},
             KnownValue{"pressure", 101325, 0},
             KnownValue{"light", 299790000, 0},
             KnownValue{"farad", 96480.56L, 1e-19},
             KnownValue{"gas", 8.31441L, 1e-19},
             KnownValue{"evolt", 1.602e-19L, 1e-19}, // the electron volt in joules
             KnownValue{"inv2pi", 0.159154943091895L, 1e-19},
             KnownValue{"deg", DegreesPerRadian, 0},
             // one unit in the last place above the Float nearest to pi
             KnownValue{"pi", std::nextafter(3.14159265358979323846264338327950288L, 4.0L), 0},
         }) {
        Float value = ConstantNamed(row.Name);
        if (row.RelativeTolerance == 0)
            EXPECT_EQ(value, row.Value) << row.Name;
        else
            EXPECT_LE(std::fabs(value / row.Value - 1), row.RelativeTolerance) << row.Name;
    }
}

TEST(BuiltinFunctions, AreTheTableInOrderWithTheirArity)
{
    const char* unary[] = {"sin",     "cos",       "exp",      "ln",        "square",   "sqrt",
                           "abs",     "tan",       "arctan",   "logbase10", "logbase2", "cot",
                           "sec",     "csc",       "arcsin",   "arccos",    "arccot",   "arcsec",
                           "arccsc",  "cosh",      "coth",     "csch",      "sech",     "sinh",
                           "tanh",    "arccosh",   "arccoth",  "arccsch",   "arcsech",  "arcsinh",
                           "arctanh", "coversine", "exsecans", "haversine", "versine"};
    auto functions = BuiltinFunctions();
    ASSERT_EQ(functions.size(), std::size(unary) + 2);
    for (std::size_t i = 0; i < std::size(unary); ++i) {
        EXPECT_EQ(functions[i].Name, unary[i]);
        EXPECT_NE(functions[i].Unary, nullptr) << unary[i];
        EXPECT_EQ(functions[i].Binary, nullptr) << unary[i];
    }
    EXPECT_EQ(functions[35].Name, "power");
    EXPECT_EQ(functions[36].Name, "logbasen");
    for (std::size_t i = 35; i < 37; ++i) {
        EXPECT_EQ(functions[i].Unary, nullptr);
        EXPECT_NE(functions[i].Binary, nullptr);
    }
}

TEST(BuiltinNames, OccurOnceIgnoringCase)
{
    std::set<std::string> seen;
    auto lower = [](std::string_view name) {
        std::string text(name);
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        return text;
    };
    for (const TBuiltinConstant& constant : BuiltinConstants())
        EXPECT_TRUE(seen.insert(lower(constant.Name)).second) << constant.Name;
    for (const TBuiltinFunction& function : BuiltinFunctions())
        EXPECT_TRUE(seen.insert(lower(function.Name)).second) << function.Name;
    EXPECT_EQ(seen.size(), 86u);
}

TEST(BuiltinContext, IsBuiltOnceWithEverySymbol)
{
    TExprHashContext* context = BuiltinContext();
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(BuiltinContext(), context);
    EXPECT_EQ(context->Count(), 86u);
    for (const TBuiltinConstant& constant : BuiltinConstants()) {
        auto* symbol = dynamic_cast<TExprConstSym*>(context->Find(constant.Name));
        ASSERT_NE(symbol, nullptr) << constant.Name;
        EXPECT_EQ(symbol->Value(), constant.Value) << constant.Name;
    }
    for (const TBuiltinFunction& function : BuiltinFunctions()) {
        TExprSym* symbol = context->Find(function.Name);
        if (function.Unary != nullptr) {
            auto* unary = dynamic_cast<TExprUnaryFuncSym*>(symbol);
            ASSERT_NE(unary, nullptr) << function.Name;
            EXPECT_EQ(unary->Function(), function.Unary) << function.Name;
        } else {
            auto* binary = dynamic_cast<TExprBinaryFuncSym*>(symbol);
            ASSERT_NE(binary, nullptr) << function.Name;
            EXPECT_EQ(binary->Function(), function.Binary) << function.Name;
        }
    }
}

TEST(BuiltinContext, IgnoresLetterCase)
{
    TExprHashContext* context = BuiltinContext();
    TExprSym* pi = context->Find("pi");
    ASSERT_NE(pi, nullptr);
    EXPECT_EQ(context->Find("PI"), pi);
    EXPECT_EQ(context->Find("Pi"), pi);
    EXPECT_NE(context->Find("CBRTPI"), nullptr);
    EXPECT_NE(context->Find("nconst"), nullptr);
    EXPECT_EQ(context->Find("x"), nullptr);
}

} // namespace
} // namespace qrv::test
