// The print report window.
#include "FormsTestSupport.h"
#include "QrvCommand.h"
#include "QrvTextPrintForm.h"

#include <QFrame>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QtTest/QTest>

namespace qrv::test
{
namespace
{

QString Table(int lines)
{
    QStringList rows;
    for (int i = 0; i < lines; ++i)
        rows.append(QString("%1,000   %2,000").arg(i).arg(i * i));
    return rows.join("\r\n") + "\r\n";
}

using TextPrintFormTest = PdfPrinterTest;

TEST_F(TextPrintFormTest, WindowLayout)
{
    TTextPrintForm form;
    EXPECT_EQ(form.windowTitle(), "Print report");
    EXPECT_EQ(form.size(), QSize(621, 474));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.RichEdit1->geometry(), QRect(0, 0, 516, 474));
    EXPECT_EQ(form.Panel1->geometry(), QRect(516, 0, 105, 474));
    struct Row {
        QPushButton* button;
        const char* caption;
        QRect place;
    } rows[] = {{form.Button3, "Printer &Setup", {8, 8, 90, 25}},
                {form.Button1, "&Print", {8, 38, 90, 25}},
                {form.Button2, "&Close", {8, 68, 90, 25}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        EXPECT_EQ(row.button->text(), row.caption);
        EXPECT_EQ(row.button->geometry(), row.place);
    }
    EXPECT_EQ(form.Button3->nextInFocusChain(), form.Button1);
    EXPECT_EQ(form.Button1->nextInFocusChain(), form.Button2);
    EXPECT_EQ(form.RichEdit1->font().pixelSize(), 11);
}

TEST_F(TextPrintFormTest, ShowsTheTableLinesModallyAndEmptiesOnClose)
{
    TTextPrintForm form;
    int shownLines = -1;
    bool modal = false;
    QTimer::singleShot(0, &form, [&] {
        shownLines = form.RichEdit1->document()->blockCount();
        modal = QApplication::activeModalWidget() == &form;
        QTest::mouseClick(form.Button2, Qt::LeftButton);
    });
    ShowTextPrintForm(form, Table(60));
    EXPECT_EQ(shownLines, 60);
    EXPECT_TRUE(modal);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.RichEdit1->toPlainText().isEmpty());
}

TEST_F(TextPrintFormTest, EveryWayOfClosingEmptiesTheText)
{
    TTextPrintForm form;
    struct Way {
        const char* name;
        std::function<void()> close;
    } ways[] = {{"CloseButton", [&] { form.Button2Click(); }},
                {"CloseBox", [&] { form.close(); }},
                {"Escape", [&] { QTest::keyClick(&form, Qt::Key_Escape); }}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        form.Fill(Table(3));
        form.show();
        way.close();
        EXPECT_FALSE(form.isVisible());
        EXPECT_TRUE(form.RichEdit1->toPlainText().isEmpty());
    }
}

TEST_F(TextPrintFormTest, SecondVisitShowsTheCurrentTableOnly)
{
    TTextPrintForm form;
    form.Fill("old 1\nold 2");
    form.RichEdit1->append("typed");
    form.Button2Click();
    form.Fill("new");
    EXPECT_EQ(form.RichEdit1->toPlainText(), "new");
}

TEST_F(TextPrintFormTest, PrintsTheEditedTextAsTheReportJob)
{
    TTextPrintForm form;
    const QString table = Table(5);
    form.Fill(table);
    form.RichEdit1->append("typed line");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(PdfInfo(OutputFile()).value("Title"), "Report");
    QStringList expected = table.trimmed().split("\r\n");
    expected.append("typed line");
    EXPECT_EQ(PdfLines(OutputFile()), Simplified(expected));
    EXPECT_EQ(table, Table(5));
}

TEST_F(TextPrintFormTest, PrintingTheEmptyWindowGivesOneEmptyPage)
{
    TTextPrintForm form;
    form.Fill(QString());
    form.Button1Click();
    EXPECT_EQ(PdfInfo(OutputFile()).value("Pages"), "1");
    EXPECT_TRUE(PdfLines(OutputFile()).isEmpty());
}

TEST_F(TextPrintFormTest, PrinterSetupButtonGoesThroughTheSetupDialog)
{
    TTextPrintForm form;
    dialogs_.SetupAnswer.reset();
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    EXPECT_EQ(dialogs_.SetupCalls, 1);
    EXPECT_EQ(Printer().Orientation(), TPrinterOrientation::poPortrait);

    auto setup = *dialogs_.SetupShown;
    setup.Orientation = TPrinterOrientation::poLandscape;
    dialogs_.SetupAnswer = setup;
    form.Button3Click();
    EXPECT_EQ(Printer().Orientation(), TPrinterOrientation::poLandscape);
}

TEST_F(TextPrintFormTest, PrintErrorGoesToTheErrorDisplay)
{
    QStringList shown;
    TErrorCatcher display([&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            shown.append(e.what());
        }
    });
    const QString bad = ScratchPath("gone/report.pdf");
    Printer().SetOutputFileName(bad);
    TTextPrintForm form;
    form.Fill("1,000   2,000");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], "Cannot create file \"" + bad + "\"");
    EXPECT_FALSE(Printer().Printing());
    EXPECT_EQ(form.RichEdit1->toPlainText(), "1,000   2,000");
}

TEST_F(TextPrintFormTest, DecliningToNameAPdfFileIsSilent)
{
    int shown = 0;
    TErrorCatcher display([&](std::exception_ptr) { ++shown; });
    Printer().SetOutputFileName(QString());
    dialogs_.FileAnswer.reset();
    TTextPrintForm form;
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(dialogs_.FileProposals.size(), 1);
    EXPECT_EQ(shown, 0);
}

} // namespace
} // namespace qrv::test
