// Printing the report: page splitting, and whole jobs read back from PDF.
#include "FormsTestSupport.h"
#include "QrvPrinterErrors.h"
#include "QrvReportPrint.h"
#include "RowNames.h"

#include <QFont>

namespace qrv::test
{
namespace
{

// ---- page splitting -------------------------------------------------------

// `count` lines of equal height, one under the other.
std::vector<TLineBox> EvenLines(int count, qreal height)
{
    std::vector<TLineBox> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back({i * height, height});
    return lines;
}

struct SplitCase {
    const char* name;
    std::vector<TLineBox> lines;
    qreal pageHeight;
    std::vector<std::pair<int, int>> pages; // first, count
};

class SplitIntoPagesTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitIntoPagesTest, PagesContinueWhereThePreviousOneEnded)
{
    const SplitCase& c = GetParam();
    const auto pages = SplitIntoPages(c.lines, c.pageHeight);
    std::vector<std::pair<int, int>> got;
    for (const auto& page : pages)
        got.emplace_back(page.First, page.Count);
    EXPECT_EQ(got, c.pages);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitIntoPagesTest,
    ::testing::Values(
        SplitCase{"NoLinesIsOneEmptyPage", {}, 100, {{0, 0}}},
        SplitCase{"AllOnOnePage", EvenLines(5, 10), 100, {{0, 5}}},
        SplitCase{"ExactlyFullPage", EvenLines(10, 10), 100, {{0, 10}}},
        SplitCase{"OneLineMoreStartsAPage", EvenLines(11, 10), 100, {{0, 10}, {10, 1}}},
        SplitCase{"LineCrossingThePageEndMovesOn", EvenLines(4, 30), 100, {{0, 3}, {3, 1}}},
        SplitCase{"ManyPages", EvenLines(25, 10), 100, {{0, 10}, {10, 10}, {20, 5}}},
        SplitCase{
            "LineTallerThanAPageGetsItsOwn", {{0, 10}, {10, 250}, {260, 10}}, 100, {{0, 1}, {1, 1}, {2, 1}}},
        SplitCase{"UnevenLinesWithGaps", {{0, 40}, {45, 40}, {90, 20}, {115, 40}}, 100, {{0, 2}, {2, 2}}},
        SplitCase{"RoundingSlackStillFits", {{0, 50}, {50, 50.0000000001}}, 100, {{0, 2}}}),
    test::RowName{});

TEST(SplitIntoPagesTest, EveryLineIsOnExactlyOnePage)
{
    const auto lines = EvenLines(10001, 7.3);
    const auto pages = SplitIntoPages(lines, 1000);
    int next = 0;
    for (const auto& page : pages) {
        EXPECT_EQ(page.First, next);
        EXPECT_GT(page.Count, 0);
        const auto& last = lines[page.First + page.Count - 1];
        EXPECT_LE(last.Top + last.Height - lines[page.First].Top, 1000 + 1e-6);
        next = page.First + page.Count;
    }
    EXPECT_EQ(next, 10001);
}

// ---- table text -----------------------------------------------------------

struct TableTextCase {
    const char* name;
    const char* table;
    const char* report;
};

class ReportTextTest : public ::testing::TestWithParam<TableTextCase>
{
};

TEST_P(ReportTextTest, TableLinesBecomeReportParagraphs)
{
    EXPECT_EQ(ReportTextFromTable(GetParam().table), GetParam().report);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportTextTest,
                         ::testing::Values(TableTextCase{"Empty", "", ""},
                                           TableTextCase{"WindowsBreaks", "a\r\nb\r\n", "a\nb"},
                                           TableTextCase{"OldMacBreaks", "a\rb", "a\nb"},
                                           TableTextCase{"NoFinalBreak", "a\nb", "a\nb"},
                                           TableTextCase{"InnerEmptyLineKept", "a\n\nb\n", "a\n\nb"},
                                           TableTextCase{"OnlyOneFinalBreakDropped", "a\n\n", "a\n"}),
                         test::RowName{});

TEST(PrintFontTest, ScreenPixelsPrintAtTheirScreenSize)
{
    QFont font("Sans Serif");
    font.setPixelSize(11);
    EXPECT_DOUBLE_EQ(PrintFont(font).pointSizeF(), 8.25);
    QFont points("Sans Serif", 12);
    EXPECT_DOUBLE_EQ(PrintFont(points).pointSizeF(), 12);
}

// ---- whole jobs -----------------------------------------------------------

QString Table(int lines)
{
    QStringList rows;
    for (int i = 0; i < lines; ++i)
        rows.append(QString("%1.000   %2.500").arg(i).arg(i * 2));
    return rows.join('\n');
}

QFont WindowFont()
{
    QFont font("Sans Serif");
    font.setPixelSize(11);
    return font;
}

using ReportJobTest = PdfPrinterTest;

TEST_F(ReportJobTest, SixtyLineTableIsOnePageOfSixtyLines)
{
    const QString table = Table(60);
    EXPECT_EQ(PrintReportText(table, WindowFont(), Printer()), 1);
    const auto info = PdfInfo(OutputFile());
    EXPECT_EQ(info.value("Title"), "Report");
    EXPECT_EQ(info.value("Pages"), "1");
    EXPECT_EQ(PdfLines(OutputFile()), Simplified(table.split('\n')));
}

TEST_F(ReportJobTest, LongTableContinuesOverPagesWithoutLosingOrRepeatingALine)
{
    const QString table = Table(10001);
    const int pages = PrintReportText(table, WindowFont(), Printer());
    EXPECT_GT(pages, 10);
    EXPECT_EQ(PdfInfo(OutputFile()).value("Pages"), QString::number(pages));
    const QStringList printed = PdfLines(OutputFile());
    const QStringList expected = Simplified(table.split('\n'));
    ASSERT_EQ(printed.size(), expected.size());
    EXPECT_EQ(printed, expected);
    // Every page but the last is filled: a page ends only where the next
    // line would not fit.
    const QStringList perPage = PdfPages(OutputFile());
    ASSERT_EQ(perPage.size(), pages);
    const auto full = perPage.first().split('\n', Qt::SkipEmptyParts).size();
    for (int p = 0; p + 1 < pages; ++p)
        EXPECT_EQ(perPage[p].split('\n', Qt::SkipEmptyParts).size(), full) << "page " << p + 1;
}

TEST_F(ReportJobTest, LandscapePagesHoldFewerLinesButAllOfThem)
{
    const QString table = Table(300);
    const int portrait = PrintReportText(table, WindowFont(), Printer());
    Printer().SetOrientation(TPrinterOrientation::poLandscape);
    const int landscape = PrintReportText(table, WindowFont(), Printer());
    EXPECT_GT(landscape, portrait);
    EXPECT_EQ(PdfLines(OutputFile()), Simplified(table.split('\n')));
    const QString size = PdfInfo(OutputFile()).value("Page size");
    EXPECT_TRUE(size.startsWith("842 x 595 pts")) << size.toStdString();
}

TEST_F(ReportJobTest, EmptyReportIsOneEmptyPage)
{
    EXPECT_EQ(PrintReportText(QString(), WindowFont(), Printer()), 1);
    const auto info = PdfInfo(OutputFile());
    EXPECT_EQ(info.value("Title"), "Report");
    EXPECT_EQ(info.value("Pages"), "1");
    EXPECT_TRUE(PdfLines(OutputFile()).isEmpty());
}

TEST_F(ReportJobTest, LongLinesWrapAtTheSheetEdgeAndStayComplete)
{
    const QString word = "abcdefghij";
    QStringList words;
    for (int i = 0; i < 200; ++i)
        words.append(word + QString::number(i));
    PrintReportText(words.join(' '), WindowFont(), Printer());
    const QStringList printed = PdfLines(OutputFile());
    EXPECT_GT(printed.size(), 1);
    EXPECT_EQ(printed.join(' ').simplified(), words.join(' '));
}

TEST_F(ReportJobTest, PrinterErrorLeavesNoJobOpen)
{
    Printer().SetOutputFileName(ScratchPath("no/such/folder/report.pdf"));
    EXPECT_THROW(PrintReportText(Table(3), WindowFont(), Printer()), EPrinter);
    EXPECT_FALSE(Printer().Printing());
}

} // namespace
} // namespace qrv::test
