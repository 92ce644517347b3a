// The plain document model: texts moved between decimal separators keep
// their meaning to the lexer and the range fields, the palette hands out
// distinct colours, and curves are named as the list and the legend show them.
#include "DecimalSeparatorScope.h"
#include "QrvCurve.h"
#include "QrvErrors.h"
#include "QrvExprLexer.h"
#include "QrvNumberText.h"
#include "QrvPalette.h"
#include "QrvSeparatorText.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace qrv
{
namespace
{

// What the lexer reads from a formula under a decimal separator: one entry
// per token (numbers by value), or where it stops with a conversion error.
std::vector<std::string> Tokens(const std::string& text, char separator)
{
    test::TDecimalSeparatorScope scope(separator);
    std::vector<std::string> tokens;
    try {
        TExprSimpleLexer lexer(text);
        while (lexer.CurrentToken() != TExprTokenKind::End) {
            std::string token = std::to_string(int(lexer.CurrentToken()));
            if (lexer.CurrentToken() == TExprTokenKind::Number)
                token += " " + FormatGeneral15(double(lexer.TokenNumber()), '.');
            else if (lexer.CurrentToken() == TExprTokenKind::Identifier)
                token += " " + lexer.TokenText();
            tokens.push_back(token);
            lexer.NextToken();
        }
    } catch (const EConvertError&) {
        tokens.push_back("conversion error");
    }
    return tokens;
}

struct FormulaCase {
    const char* name;
    std::string text;
    char from;
    char to;
    std::string expected;
    bool sameTokens = true; // false: the text was an error where it was written
};

class FormulaSeparator : public ::testing::TestWithParam<FormulaCase>
{
};

TEST_P(FormulaSeparator, RewritesNumbersOnlyAndKeepsTheTokens)
{
    const FormulaCase& c = GetParam();
    const std::string converted = ConvertFormulaText(c.text, c.from, c.to);
    EXPECT_EQ(converted, c.expected);
    if (c.sameTokens) {
        EXPECT_EQ(Tokens(converted, c.to), Tokens(c.text, c.from));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormulaSeparator,
    ::testing::Values(FormulaCase{"fraction", "2.55*x", '.', ',', "2,55*x"},
                      FormulaCase{"comma_after_bare_number_gets_a_blank", "max(1,2)", '.', ',', "max(1 ,2)"},
                      FormulaCase{"comma_after_fraction_needs_none", "max(1.5,2)", '.', ',', "max(1,5,2)"},
                      FormulaCase{"comma_after_exponent_needs_none", "max(1e3,2)", '.', ',', "max(1e3,2)"},
                      FormulaCase{"exponent_with_sign", "sin(2.5e-3*x)", '.', ',', "sin(2,5e-3*x)"},
                      FormulaCase{"second_dot_is_a_token", "1.5.2", '.', ',', "1,5.2"},
                      FormulaCase{"leading_dot_is_a_token", ".5+x", '.', ',', ".5+x"},
                      FormulaCase{"empty_fraction", "3.*x", '.', ',', "3,*x"},
                      FormulaCase{"digits_in_a_name", "x1.5+a2,3", '.', ',', "x1.5+a2,3"},
                      FormulaCase{"high_byte_before_number",
                                  "\xC3\xA9"
                                  "1.5",
                                  '.', ',',
                                  "\xC3\xA9"
                                  "1,5"},
                      FormulaCase{"text_after_nul_copied",
                                  std::string("1.5\0"
                                              "2.5",
                                              7),
                                  '.', ',',
                                  std::string("1,5\0"
                                              "2.5",
                                              7)},
                      FormulaCase{"comma_number", "2,55*x", ',', '.', "2.55*x"},
                      FormulaCase{"comma_arguments", "max(1,5,2)", ',', '.', "max(1.5,2)"},
                      FormulaCase{"comma_text_exponent_then_comma", "max(1e3,5)", ',', '.', "max(1e3,5)"},
                      FormulaCase{"dot_number_in_comma_text", "1.5", ',', '.', "1.5", false},
                      FormulaCase{"same_separator", "max(1,2)", '.', '.', "max(1,2)"}),
    test::RowName{});

TEST(RangeSeparator, SeparatorsTradePlacesSoNoFieldChangesWhetherItReads)
{
    EXPECT_EQ(ConvertRangeText(" -1.5e3 ", '.', ','), " -1,5e3 ");
    EXPECT_EQ(ConvertRangeText("1,5", '.', ','), "1.5");
    EXPECT_EQ(ConvertRangeText("1,5", ',', '.'), "1.5");
    EXPECT_EQ(ConvertRangeText("1.5", '.', '.'), "1.5");
    for (const char* text : {"1.5", "1,5", "-0.25", "1,000.5", "7"}) {
        const auto before = TextToFloat(text, Blanks::Ignored, '.');
        const auto after = TextToFloat(ConvertRangeText(text, '.', ','), Blanks::Ignored, ',');
        EXPECT_EQ(before.has_value(), after.has_value()) << text;
        if (before && after) {
            EXPECT_EQ(*before, *after) << text;
        }
    }
}

TEST(DocumentSeparator, ConvertsEveryTextOfEveryCurve)
{
    TDocument document;
    TCurve function;
    function.Formula = "max(1,2.5)";
    function.XMin = "0.5";
    function.XMax = "1";
    function.Step = "0.1";
    function.Label = "a.b"; // a label is no formula
    TCurve parametric;
    parametric.Kind = TCurveKind::Parametric;
    parametric.XOfT = "1.5*cos(t)";
    parametric.YOfT = "2.5*sin(t)";
    parametric.TMin = "0.0";
    parametric.TMax = "6.28";
    TCurve implicit;
    implicit.Kind = TCurveKind::Implicit;
    implicit.YMin = "-1.5";
    implicit.YMax = "1.5";
    document.Curves = {function, parametric, implicit};

    ConvertDocumentSeparator(document, ',');
    EXPECT_EQ(document.DecimalSeparator, ',');
    const TCurve& f = document.Curves[0];
    EXPECT_EQ(f.Formula, "max(1 ,2,5)");
    EXPECT_EQ(f.XMin + f.XMax + f.Step, "0,510,1");
    EXPECT_EQ(f.Label, "a.b");
    const TCurve& p = document.Curves[1];
    EXPECT_EQ(p.XOfT + " " + p.YOfT + " " + p.TMin + " " + p.TMax, "1,5*cos(t) 2,5*sin(t) 0,0 6,28");
    EXPECT_EQ(document.Curves[2].YMin + document.Curves[2].YMax, "-1,51,5");
}

// ---- palette ----------------------------------------------------------------

TDocument WithColors(std::initializer_list<TColor> colors)
{
    TDocument document;
    for (const TColor color : colors) {
        TCurve curve;
        curve.Color = color;
        document.Curves.push_back(curve);
    }
    return document;
}

TEST(Palette, HoldsDistinctColoursWithoutYellowOrTheFirstCurvesRed)
{
    const std::set<TColor> colors(kCurvePalette.begin(), kCurvePalette.end());
    EXPECT_EQ(colors.size(), kCurvePalette.size());
    EXPECT_EQ(colors.count(RGB(0xF0, 0xE4, 0x42)), 0u);
    EXPECT_EQ(colors.count(clRed), 0u);
}

TEST(Palette, FirstCurveGetsTheGivenColourAndLaterOnesTheFirstUnused)
{
    EXPECT_EQ(NextCurveColor(TDocument{}, clRed), clRed);
    EXPECT_EQ(NextCurveColor(WithColors({clRed}), clRed), kCurvePalette[0]);
    EXPECT_EQ(NextCurveColor(WithColors({clRed, kCurvePalette[0]}), clRed), kCurvePalette[1]);
    // A colour removed from the middle is handed out again first.
    EXPECT_EQ(NextCurveColor(WithColors({kCurvePalette[2], kCurvePalette[0]}), clRed), kCurvePalette[1]);
}

TEST(Palette, CyclesInItsOrderOnceEveryColourIsUsed)
{
    TDocument document = WithColors({clRed});
    std::vector<TColor> handedOut;
    for (std::size_t i = 0; i < 2 * kCurvePalette.size(); ++i) {
        const TColor color = NextCurveColor(document, clRed);
        handedOut.push_back(color);
        document.Curves.push_back(TCurve{});
        document.Curves.back().Color = color;
    }
    for (std::size_t i = 0; i < handedOut.size(); ++i)
        EXPECT_EQ(handedOut[i], kCurvePalette[i % kCurvePalette.size()]) << i;
}

// ---- names ------------------------------------------------------------------

struct NameCase {
    const char* name;
    TCurve curve;
    int index;
    const char* expected;
};

TCurve Curve(TCurveKind kind, std::string formula, std::string label = "")
{
    TCurve curve;
    curve.Kind = kind;
    curve.Formula = std::move(formula);
    curve.Label = std::move(label);
    return curve;
}

TCurve Derivative(int of, int order)
{
    TCurve curve = Curve(TCurveKind::Derivative, "");
    curve.Of = of;
    curve.Order = order;
    return curve;
}

TCurve Parametric(std::string x, std::string y)
{
    TCurve curve = Curve(TCurveKind::Parametric, "");
    curve.XOfT = std::move(x);
    curve.YOfT = std::move(y);
    return curve;
}

class CurveName : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(CurveName, IsTheLabelOrMadeOfTheFormula)
{
    EXPECT_EQ(DisplayName(GetParam().curve, GetParam().index), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CurveName,
    ::testing::Values(NameCase{"label_wins", Curve(TCurveKind::Function, "sin(x)", "wave"), 0, "wave"},
                      NameCase{"function", Curve(TCurveKind::Function, "sin(x)"), 0, "sin(x)"},
                      NameCase{"empty_function", Curve(TCurveKind::Function, ""), 2, "f3"},
                      NameCase{"first_derivative", Derivative(1, 1), 1, "f1'"},
                      NameCase{"second_derivative", Derivative(4, 2), 1, "f4''"},
                      NameCase{"parametric", Parametric("cos(t)", "sin(t)"), 0, "x(t)=cos(t), y(t)=sin(t)"},
                      NameCase{"empty_parametric", Parametric("", ""), 1, "f2"},
                      NameCase{"polar", Curve(TCurveKind::Polar, "1+cos(t)"), 0, "r(t)=1+cos(t)"},
                      NameCase{"implicit", Curve(TCurveKind::Implicit, "x*x+y*y-4"), 0, "x*x+y*y-4 = 0"}),
    test::RowName{});

} // namespace
} // namespace qrv
