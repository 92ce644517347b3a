// The table as comma-separated values: separators by decimal separator,
// rows from the table's lines as shown (edits included), quoting, line ends.
#include "QrvTableCsv.h"
#include "RowNames.h"

#include <gtest/gtest.h>

namespace qrv
{
namespace
{

struct TCsvCase {
    const char* Name;
    const char* Table;
    char Decimal;
    const char* Csv;
};
void PrintTo(const TCsvCase& c, std::ostream* os)
{
    *os << c.Name;
}

class TableCsvCase : public testing::TestWithParam<TCsvCase>
{
};

TEST_P(TableCsvCase, GivesOneRowPerLine)
{
    EXPECT_EQ(TableCsv(GetParam().Table, GetParam().Decimal), GetParam().Csv);
}

INSTANTIATE_TEST_SUITE_P(
    Csv, TableCsvCase,
    testing::Values(
        TCsvCase{"Empty", "", '.', "x,y\r\n"},
        TCsvCase{"Point", "817.000   5.220\n837.000   5.209", '.',
                 "x,y\r\n817.000,5.220\r\n837.000,5.209\r\n"},
        TCsvCase{"Comma", "817,000   5,220\n-0,500   1E20", ',', "x;y\r\n817,000;5,220\r\n-0,500;1E20\r\n"},
        TCsvCase{"LargeValues", "1E20   1.23456789012346E20", '.', "x,y\r\n1E20,1.23456789012346E20\r\n"},
        TCsvCase{"TrailingLineBreak", "1.000   2.000\n", '.', "x,y\r\n1.000,2.000\r\n"},
        TCsvCase{"CrLfAndBlankLines", "1.000   2.000\r\n\r\n   \n3.000\t4.000", '.',
                 "x,y\r\n1.000,2.000\r\n3.000,4.000\r\n"},
        TCsvCase{"EditedLineKeepsItsFields", "a b c", '.', "x,y\r\na,b,c\r\n"},
        TCsvCase{"SeparatorInsideAFieldIsQuoted", "1,5   2", '.', "x,y\r\n\"1,5\",2\r\n"},
        TCsvCase{"QuoteIsDoubled", "say\"hi   2", '.', "x,y\r\n\"say\"\"hi\",2\r\n"},
        TCsvCase{"SemicolonQuotedForComma", "1;5   2,0", ',', "x;y\r\n\"1;5\";2,0\r\n"}),
    test::RowName{});

TEST(TableCsv, FileNamesAskingForCsv)
{
    EXPECT_TRUE(IsCsvFileName("a.csv"));
    EXPECT_TRUE(IsCsvFileName("/d/A.CsV"));
    EXPECT_TRUE(IsCsvFileName(".csv"));
    EXPECT_FALSE(IsCsvFileName("a.csv.txt"));
    EXPECT_FALSE(IsCsvFileName("/d.csv/a"));
    EXPECT_FALSE(IsCsvFileName("csv"));
    EXPECT_FALSE(IsCsvFileName("-"));
    EXPECT_FALSE(IsCsvFileName("a.tsv"));
}

} // namespace
} // namespace qrv
