// The program-wide printer: its list, page geometry, and print jobs written
// to PDF files and read back.
#include "FormsTestSupport.h"
#include "MessageOf.h"
#include "QrvPrintJob.h"
#include "QrvPrinter.h"
#include "QrvPrinterErrors.h"
#include "RowNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/resource.h>

namespace qrv::test
{
namespace
{

using PrinterJobTest = PdfPrinterTest;

TEST(PrinterListTest, PdfPrinterIsAlwaysOfferedLast)
{
    const QStringList names = Printer().Printers();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.last(), "Print to PDF");
    EXPECT_EQ(names.count("Print to PDF"), 1);
}

TEST(PrinterListTest, IndexOutsideTheListIsRefusedAndChangesNothing)
{
    TPrinter& printer = Printer();
    const int before = printer.PrinterIndex();
    const int count = static_cast<int>(printer.Printers().size());
    for (int index : {-1, count, count + 5}) {
        EXPECT_EQ(MessageOf<EPrinter>([&] { printer.SetPrinterIndex(index); }), "Printer index out of range")
            << index;
        EXPECT_EQ(printer.PrinterIndex(), before) << index;
    }
}

struct PageCase {
    const char* name;
    QPageSize::PageSizeId size;
    TPrinterOrientation orientation;
    int width, height; // at 600 pixels per inch
};

class PrinterPageTest : public PdfPrinterTest, public ::testing::WithParamInterface<PageCase>
{
};

TEST_P(PrinterPageTest, PageIsTheWholeSheetInDevicePixels)
{
    const PageCase& c = GetParam();
    TPrinter& printer = Printer();
    printer.SetPageSize(QPageSize(c.size));
    printer.SetOrientation(c.orientation);
    EXPECT_EQ(printer.XDpi(), 600);
    EXPECT_EQ(printer.YDpi(), 600);
    EXPECT_NEAR(printer.PageWidth(), c.width, 1);
    EXPECT_NEAR(printer.PageHeight(), c.height, 1);
    EXPECT_EQ(printer.Orientation(), c.orientation);
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, PrinterPageTest,
    ::testing::Values(
        PageCase{"A4Portrait", QPageSize::A4, TPrinterOrientation::poPortrait, 4958, 7017},
        PageCase{"A4Landscape", QPageSize::A4, TPrinterOrientation::poLandscape, 7017, 4958},
        PageCase{"LetterPortrait", QPageSize::Letter, TPrinterOrientation::poPortrait, 5100, 6600},
        PageCase{"LetterLandscape", QPageSize::Letter, TPrinterOrientation::poLandscape, 6600, 5100}),
    test::RowName{});

TEST_F(PrinterJobTest, JobWritesItsPagesAndTitleIntoThePdf)
{
    TPrinter& printer = Printer();
    printer.SetOrientation(TPrinterOrientation::poLandscape);
    {
        TPrintJob job(printer, "Chart1");
        EXPECT_TRUE(printer.Printing());
        EXPECT_EQ(job.PageNumber(), 1);
        job.Canvas().drawText(100, 200, "one");
        job.NewPage();
        job.Canvas().drawText(100, 200, "two");
        job.NewPage();
        EXPECT_EQ(job.PageNumber(), 3);
        job.End();
    }
    EXPECT_FALSE(printer.Printing());
    const auto info = PdfInfo(OutputFile());
    EXPECT_EQ(info.value("Title"), "Chart1");
    EXPECT_EQ(info.value("Pages"), "3");
    EXPECT_TRUE(info.value("Page size").startsWith("842 x 595 pts")) << info.value("Page size").toStdString();
    const QStringList pages = PdfPages(OutputFile());
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[0].trimmed(), "one");
    EXPECT_EQ(pages[1].trimmed(), "two");
    EXPECT_EQ(pages[2].trimmed(), "");
}

TEST_F(PrinterJobTest, CallsOutsideAJobAreRefused)
{
    TPrinter& printer = Printer();
    struct Case {
        const char* name;
        std::function<void()> call;
    } cases[] = {
        {"NewPage", [&] { printer.NewPage(); }},
        {"EndDoc", [&] { printer.EndDoc(); }},
        {"Canvas", [&] { printer.Canvas(); }},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MessageOf<EPrinter>(c.call), "Printer is not currently printing") << c.name;
    EXPECT_NO_THROW(printer.Abort());
}

TEST_F(PrinterJobTest, ChangesDuringAJobAreRefused)
{
    TPrinter& printer = Printer();
    printer.BeginDoc();
    struct Case {
        const char* name;
        std::function<void()> call;
    } cases[] = {
        {"BeginDoc", [&] { printer.BeginDoc(); }},
        {"SetPrinterIndex", [&] { printer.SetPrinterIndex(0); }},
        {"SetOutputFileName", [&] { printer.SetOutputFileName("other.pdf"); }},
        {"SetOrientation", [&] { printer.SetOrientation(TPrinterOrientation::poLandscape); }},
        {"SetPageSize", [&] { printer.SetPageSize(QPageSize(QPageSize::A3)); }},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MessageOf<EPrinter>(c.call), "Printing in progress") << c.name;
    printer.EndDoc();
    EXPECT_EQ(PdfInfo(OutputFile()).value("Pages"), "1");
    EXPECT_EQ(printer.Orientation(), TPrinterOrientation::poPortrait);
}

TEST_F(PrinterJobTest, UnwritablePdfFileIsReportedAndNoJobIsLeftOpen)
{
    TPrinter& printer = Printer();
    const QString bad = ScratchPath("missing-folder/out.pdf");
    printer.SetOutputFileName(bad);
    EXPECT_EQ(MessageOf<EPrinter>([&] { TPrintJob job(printer, "Report"); }),
              "Cannot create file \"" + bad.toStdString() + "\"");
    EXPECT_FALSE(printer.Printing());
    // The printer is still usable afterwards.
    printer.SetOutputFileName(OutputFile());
    TPrintJob job(printer, "Report");
    job.End();
    EXPECT_EQ(PdfInfo(OutputFile()).value("Pages"), "1");
}

TEST_F(PrinterJobTest, JobLeftByAnErrorIsAbortedAndLeavesNoFile)
{
    TPrinter& printer = Printer();
    try {
        TPrintJob job(printer, "Report");
        job.Canvas().drawText(10, 10, "half");
        throw Exception(std::string("drawing failed"));
    } catch (const Exception&) {
    }
    EXPECT_FALSE(printer.Printing());
    EXPECT_FALSE(QFileInfo::exists(OutputFile()));
}

// A PDF file that is there already stays as it was when a job fails: on a
// full disk (the PDF engine itself reports no failed write) or when the job
// is dropped; no spool file is left beside it.
TEST_F(PrinterJobTest, AFailedJobKeepsTheOldFileWhole)
{
    struct TRow {
        const char* name;
        bool fullDisk;
        const char* message;
    };
    for (const TRow row : {TRow{"full disk", true, "Cannot write file"}, TRow{"dropped", false, ""}}) {
        SCOPED_TRACE(row.name);
        TPrinter& printer = Printer();
        {
            QFile old(OutputFile());
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("the old file");
        }
        std::string message;
        try {
            TPrintJob job(printer, "Report");
            for (int line = 0; line < 200; ++line)
                job.Canvas().drawText(100, 100 + 40 * line,
                                      QStringLiteral("line %1 of the report").arg(line));
            if (row.fullDisk) {
                // Room for a little of the job only, from here on.
                rlimit saved{};
                getrlimit(RLIMIT_FSIZE, &saved);
                const auto handler = std::signal(SIGXFSZ, SIG_IGN);
                rlimit limited = saved;
                limited.rlim_cur = 1500;
                setrlimit(RLIMIT_FSIZE, &limited);
                try {
                    job.End();
                } catch (const EPrinter& e) {
                    message = e.what();
                }
                setrlimit(RLIMIT_FSIZE, &saved);
                std::signal(SIGXFSZ, handler);
            }
        } catch (const EPrinter& e) {
            message = e.what();
        }
        EXPECT_EQ(message.substr(0, std::string(row.message).size()), row.message);
        EXPECT_FALSE(printer.Printing());
        QFile kept(OutputFile());
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), QByteArray("the old file"));
        EXPECT_EQ(QDir(QFileInfo(OutputFile()).path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
}

TEST_F(PrinterJobTest, WithoutAnOutputFileTheJobAsksForOneEachTime)
{
    TPrinter& printer = Printer();
    printer.SetOutputFileName(QString());
    dialogs_.FileAnswer = ScratchPath("asked.pdf");
    {
        TPrintJob job(printer, "Report");
        job.End();
    }
    ASSERT_EQ(dialogs_.FileProposals.size(), 1);
    EXPECT_TRUE(dialogs_.FileProposals[0].endsWith("/Report.pdf")) << dialogs_.FileProposals[0].toStdString();
    EXPECT_EQ(PdfInfo(ScratchPath("asked.pdf")).value("Title"), "Report");
    // The answer served that job only.
    EXPECT_TRUE(printer.OutputFileName().isEmpty());

    dialogs_.FileAnswer.reset();
    EXPECT_THROW(TPrintJob(printer, "Report"), EAbort);
    EXPECT_EQ(dialogs_.FileProposals.size(), 2);
    EXPECT_FALSE(printer.Printing());
}

} // namespace
} // namespace qrv::test
