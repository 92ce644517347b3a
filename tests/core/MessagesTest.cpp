#include "QrvErrors.h"

#include <gtest/gtest.h>

using namespace qrv;

namespace
{

TEST(MessagesTest, EveryMessageHasText)
{
    for (int i = 0; i < static_cast<int>(Msg::Count_); ++i)
        EXPECT_FALSE(MessageText(static_cast<Msg>(i)).empty()) << "message " << i;
}

TEST(MessagesTest, PlaceholdersAreFilledInOrder)
{
    EXPECT_EQ(EConvertError("abc").Message(), "'abc' is not a valid floating point value");
    EXPECT_EQ(EListError(0).Message(), "List index out of bounds (0)");
    EXPECT_EQ(EAssertionFailed("Assertion failure", "QrvExprSym.cpp", 42).Message(),
              "Assertion failure (QrvExprSym.cpp, line 42)");
    EXPECT_EQ(EQrvExprEvalError(Msg::UnknownSymbol, {"foo"}).Message(), "Parse error: Unknown symbol: 'foo'");
    EXPECT_EQ(EQrvMathError().Message(), "Domain check failure in QrvMath");
}

TEST(MessagesTest, AssertMacroNamesFileAndLine)
{
    try {
        QRV_ASSERT(false, "HashList must have traits");
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message().rfind("HashList must have traits (MessagesTest.cpp, line ", 0), 0u)
            << e.Message();
    }
}

struct DisplayCase {
    const char* name;
    const char* message;
    const char* shown;
};

void PrintTo(const DisplayCase& c, std::ostream* os)
{
    *os << c.name;
}

const DisplayCase kDisplayCases[] = {
    {"letter_gets_full_stop", "Step must be non zero", "Step must be non zero."},
    {"digit_gets_full_stop", "List index out of bounds (0", "List index out of bounds (0."},
    {"closing_paren_sorts_before_dot", "List index out of bounds (0)", "List index out of bounds (0)"},
    {"apostrophe_sorts_before_dot", "Parse error: Unknown symbol: 'q'", "Parse error: Unknown symbol: 'q'"},
    {"full_stop_kept", "Done.", "Done."},
    {"empty", "", ""},
};

class DisplayTextTest : public ::testing::TestWithParam<DisplayCase>
{
};

TEST_P(DisplayTextTest, FullStopRule)
{
    EXPECT_EQ(DisplayText(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, DisplayTextTest, ::testing::ValuesIn(kDisplayCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HierarchyTest, EngineErrorsShareTheirBases)
{
    EXPECT_THROW(throw EZeroDivide(), EMathError);
    EXPECT_THROW(throw EQrvStringHashMapError(Msg::HashMustBeEmpty), EQrvError);
    EXPECT_THROW(throw TMathExpr(Msg::StepZero), Exception);
    EXPECT_EQ(TMathExpr(Msg::StepZero).Message(), "Step must be non zero");
}

} // namespace
