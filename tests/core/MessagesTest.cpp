#include "QrvErrors.h"
#include "QrvMessageTable.h"
#include "RowNames.h"

#include <gtest/gtest.h>

using namespace qrv;

namespace
{

// A table whose entries are out of order, missing or empty does not compile;
// the check that stops it is this one.
enum class Key { First, Second, Count_ };

TEST(MessageTableTest, FindsEveryKindOfFaultyTable)
{
    using F = TMessageTableFault;
    struct Row {
        const char* name;
        std::initializer_list<TMessageEntry<Key>> entries;
        F fault;
    };
    const Row rows[] = {
        {"in_order", {{Key::First, "a"}, {Key::Second, "b"}}, F::None},
        {"swapped", {{Key::Second, "b"}, {Key::First, "a"}}, F::OutOfOrder},
        {"key_twice", {{Key::First, "a"}, {Key::First, "b"}}, F::OutOfOrder},
        {"one_missing", {{Key::First, "a"}}, F::WrongCount},
        {"one_too_many", {{Key::First, "a"}, {Key::Second, "b"}, {Key::Second, "c"}}, F::WrongCount},
        {"empty_text", {{Key::First, "a"}, {Key::Second, ""}}, F::EmptyText},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CheckMessageEntries(row.entries, 2), row.fault) << row.name;
    static_assert(CheckMessageEntries<Key>({{Key::Second, "b"}, {Key::First, "a"}}, 2) == F::OutOfOrder);
}

TEST(MessageTableTest, TextsFollowTheirKeys)
{
    constexpr TMessageTable<Key> table{{Key::First, "one %s"}, {Key::Second, "two"}};
    static_assert(table.Text(Key::Second) == "two");
    EXPECT_EQ(FormatPattern(table.Text(Key::First), {"x"}), "one x");
}

TEST(MessageTableTest, PatternPlaceholders)
{
    struct Row {
        const char* name;
        const char* pattern;
        std::initializer_list<std::string_view> args;
        const char* text;
    };
    const Row rows[] = {
        {"in_order", "%s (%s, line %d)", {"a", "b", "3"}, "a (b, line 3)"},
        {"percent_sign", "100%% of %s", {"x"}, "100% of x"},
        {"argument_kept_as_given", "'%s'", {"%s%d"}, "'%s%d'"},
        {"fewer_arguments", "%s and %s", {"a"}, "a and "},
        {"more_arguments", "%s", {"a", "b"}, "a"},
        {"lone_percent_at_end", "50%", {}, "50%"},
        {"other_letter_kept", "%x", {"a"}, "%x"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FormatPattern(row.pattern, row.args), row.text) << row.name;
}

TEST(MessagesTest, PlaceholdersAreFilledInOrder)
{
    EXPECT_EQ(EConvertError("abc").Message(), "'abc' is not a valid floating point value");
    EXPECT_EQ(EListError(0).Message(), "List index out of bounds (0)");
    EXPECT_EQ(EAssertionFailed("Assertion failure", "QrvExprSym.cpp", 42).Message(),
              "Assertion failure (QrvExprSym.cpp, line 42)");
    EXPECT_EQ(EQrvExprEvalError(Msg::UnknownSymbol, {"foo"}).Message(), "Parse error: Unknown symbol: 'foo'");
    EXPECT_EQ(EQrvMathError().Message(), "Domain check failure in QrvMath");
    EXPECT_EQ(TMathExpr(Msg::StepZero).Message(), "Step must be non zero");
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

INSTANTIATE_TEST_SUITE_P(Cases, DisplayTextTest, ::testing::ValuesIn(kDisplayCases), test::RowName{});

} // namespace
