// The tables of built-in names: the constants bit for bit, the functions in
// order with their number of arguments, and the context built from them.
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
    std::uint16_t SignExponent;
    std::uint64_t Significand;
};

// The encodings as published, in registration order.
constexpr ConstantRow kExpectedConstants[] = {
    {"pi", 0x4000, 0xC90FDAA22168C236},         {"bernstein", 0x3FFD, 0x8F72606749D77241},
    {"cbrt2", 0x3FFF, 0xA14517CC6B945712},      {"cbrt3", 0x3FFF, 0xB89BA24891F7B2E9},
    {"cbrt10", 0x4000, 0x89E24209C3827652},     {"cbrt100", 0x4001, 0x9487E54E3B0FBC5D},
    {"cbrtPi", 0x3FFF, 0xBB77BF398825BC58},     {"catalan", 0x3FFE, 0xEA7CB89F409AE847},
    {"pion2", 0x3FFF, 0xC90FDAA22168C236},      {"pion3", 0x3FFF, 0x860A91C16B9B2C24},
    {"pion4", 0x3FFE, 0xC90FDAA22168C235},      {"sqrt2", 0x3FFF, 0xB504F333F9DE6486},
    {"sqrt3", 0x3FFF, 0xDDB3D742C265539B},      {"sqrt5", 0x4000, 0x8F1BBCDCBFA53E09},
    {"sqrt10", 0x4000, 0xCA62C1D6D2DA9490},     {"sqrtpi", 0x3FFF, 0xE2DFC48DA77B553C},
    {"sqrt2pi", 0x4000, 0xA06C98FFB1382CB2},    {"twopi", 0x4001, 0xC90FDAA22168C235},
    {"threepi", 0x4002, 0x96CBE3F9990E91A8},    {"ln2", 0x3FFE, 0xB17217F7D1CF79AA},
    {"ln10", 0x4000, 0x935D8DDDAAA8AC16},       {"lnpi", 0x3FFF, 0x928682473D0DE85F},
    {"log2", 0x3FFD, 0x9A209A84FBCFF79B},       {"log3", 0x3FFD, 0xF4493CB27EAFE845},
    {"logpi", 0x3FFD, 0xFE8A6D98DD1DD806},      {"loge", 0x3FFD, 0xDE5BD8A937287197},
    {"Nconst", 0x4000, 0xADF85458A2BB4A9B},     {"hln2pi", 0x3FFE, 0xEB3F8E4325F5A533},
    {"inv2pi", 0x3FFC, 0xA2F9836E4E43B463},     {"twotopower63", 0x403E, 0x8000000000000000},
    {"goldenmean", 0x3FFF, 0xCF1BBCDCBFA53E09}, {"eulermascheroni", 0x3FFE, 0x93C467E37DB0C7A5},
    {"deg", 0x4004, 0xE52EE0D31E0FBDC2},        {"amu", 0x3FA6, 0x8390F829CCE910CA},
    {"avog", 0x404D, 0xFF10136A1D7DF7D0},       {"boltz", 0x3FB3, 0x85838644A0961BE8},
    {"echarge", 0x3FC0, 0xBD2730F5C3A06C70},    {"emass", 0x3F9B, 0x93D175A21EAB2E74},
    {"evolt", 0x3FC0, 0xBD217AA4B23FD8B6},      {"farad", 0x400F, 0xBC7047AE147AE148},
    {"gas", 0x4002, 0x8507D2C7B890D5A6},        {"neutron", 0x3FA6, 0x84B0FAC757300FA3},
    {"planck", 0x3F90, 0xDC2FC62A22F81183},     {"proton", 0x3FA6, 0x8482547EF3450334},
    {"light", 0x401B, 0x8EF3758000000000},      {"gravity", 0x4002, 0x9CE809D495182A99},
    {"pressure", 0x400F, 0xC5E6800000000000},   {"stefan", 0x3FE6, 0xF389D3E6405E1105},
    {"bohr", 0x3FDC, 0xE8BC0A4E32FFEB7C},
};

TEST(BuiltinConstants, AreTheTableInOrderBitForBit)
{
    auto constants = BuiltinConstants();
    ASSERT_EQ(constants.size(), std::size(kExpectedConstants));
    for (std::size_t i = 0; i < constants.size(); ++i) {
        const ConstantRow& expected = kExpectedConstants[i];
        SCOPED_TRACE(expected.Name);
        EXPECT_EQ(constants[i].Name, expected.Name);
        FloatPattern pattern = PatternOf(constants[i].Value);
        EXPECT_EQ(pattern.SignExponent, expected.SignExponent) << std::hex << pattern.SignExponent;
        EXPECT_EQ(pattern.Significand, expected.Significand) << std::hex << pattern.Significand;
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
