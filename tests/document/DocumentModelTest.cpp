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

TCurve Colored(TColor color)
{
    TCurve curve;
    curve.Color = color;
    return curve;
}

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

TEST(DocumentSeparator, ConvertsEveryFormulaAndRangeTextButNoLabel)
{
    TDocument document;
    document.Curves.resize(2);
    TCurve& f = document.Curves[0];
    f.Formula = "max(1,2.5)";
    f.XMin = "0.5";
    f.Step = "1.5";
    f.Label = "a.b";
    TCurve& p = document.Curves[1];
    p.Kind = TCurveKind::Parametric;
    p.XOfT = "1.5*t";
    p.YOfT = "2.5";
    for (std::string* range : {&p.XMax, &p.YMin, &p.YMax, &p.TMin, &p.TMax})
        *range = "0.1";
    ConvertDocumentSeparator(document, ',');
    EXPECT_EQ(document.DecimalSeparator, ',');
    EXPECT_EQ(f.Formula + " " + f.XMin + " " + f.Step + " " + f.Label, "max(1 ,2,5) 0,5 1,5 a.b");
    EXPECT_EQ(p.XOfT + " " + p.YOfT + " " + p.XMax + " " + p.YMin + " " + p.YMax + " " + p.TMin + " " +
                  p.TMax,
              "1,5*t 2,5 0,1 0,1 0,1 0,1 0,1");
}

// ---- palette ----------------------------------------------------------------

TEST(Palette, HoldsDistinctColoursWithoutYellowOrTheFirstCurvesRed)
{
    const std::set<TColor> colors(kCurvePalette.begin(), kCurvePalette.end());
    EXPECT_EQ(colors.size(), kCurvePalette.size());
    EXPECT_EQ(colors.count(RGB(0xF0, 0xE4, 0x42)) + colors.count(clRed), 0u);
}

TEST(Palette, HandsOutTheFirstUnusedColourAndCyclesOnceAllAreUsed)
{
    TDocument document;
    EXPECT_EQ(NextCurveColor(document, clRed), clRed);
    document.Curves = {Colored(kCurvePalette[2]), Colored(kCurvePalette[0])};
    EXPECT_EQ(NextCurveColor(document, clRed), kCurvePalette[1]); // a gap is filled first
    document.Curves = {Colored(clRed)};
    for (std::size_t i = 0; i < 2 * kCurvePalette.size(); ++i) {
        const TColor color = NextCurveColor(document, clRed);
        EXPECT_EQ(color, kCurvePalette[i % kCurvePalette.size()]) << i;
        document.Curves.push_back(Colored(color));
    }
}

// ---- names ------------------------------------------------------------------

struct NameCase {
    const char* name;
    TCurveKind kind;
    const char* formula; // the formula, or x(t) and y(t) between "|"
    const char* label;
    int of, order, index;
    const char* expected;
};

class CurveName : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(CurveName, IsTheLabelOrMadeOfTheFormula)
{
    const NameCase& c = GetParam();
    TCurve curve;
    curve.Kind = c.kind;
    const std::string formula = c.formula;
    if (c.kind == TCurveKind::Parametric && formula.find('|') != std::string::npos) {
        curve.XOfT = formula.substr(0, formula.find('|'));
        curve.YOfT = formula.substr(formula.find('|') + 1);
    } else {
        curve.Formula = formula;
    }
    curve.Label = c.label;
    curve.Of = c.of;
    curve.Order = c.order;
    EXPECT_EQ(DisplayName(curve, c.index), c.expected);
}

using K = TCurveKind;
INSTANTIATE_TEST_SUITE_P(
    Cases, CurveName,
    ::testing::Values(NameCase{"label_wins", K::Function, "sin(x)", "wave", 1, 1, 0, "wave"},
                      NameCase{"function", K::Function, "sin(x)", "", 1, 1, 0, "sin(x)"},
                      NameCase{"empty_function", K::Function, "", "", 1, 1, 2, "f3"},
                      NameCase{"first_derivative", K::Derivative, "", "", 1, 1, 1, "f1'"},
                      NameCase{"second_derivative", K::Derivative, "", "", 4, 2, 1, "f4''"},
                      NameCase{"parametric", K::Parametric, "cos(t)|sin(t)", "", 1, 1, 0,
                               "x(t)=cos(t), y(t)=sin(t)"},
                      NameCase{"empty_parametric", K::Parametric, "", "", 1, 1, 1, "f2"},
                      NameCase{"polar", K::Polar, "1+cos(t)", "", 1, 1, 0, "r(t)=1+cos(t)"},
                      NameCase{"implicit", K::Implicit, "x*x+y*y-4", "", 1, 1, 0, "x*x+y*y-4 = 0"}),
    test::RowName{});

} // namespace
} // namespace qrv
