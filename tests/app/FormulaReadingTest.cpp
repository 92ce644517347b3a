// Where the formula went wrong, shown in the window: a formula that does not
// compile has the token at which reading stopped selected; a formula that
// compiled with text left over gets a quiet hint beside it, and no box.
#include "QrvTableView.h"
#include "RecordingDialogs.h"
#include "RowNames.h"
#include "m_grf_w.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace qrv::test
{
namespace
{

struct TStopCase {
    const char* Name;
    const char* Formula;
    const char* Selected; // the selected text
    int Cursor;           // the caret (the end of the selection)
    const char* Message;
};
void PrintTo(const TStopCase& c, std::ostream* os)
{
    *os << c.Name;
}

class FormulaError : public testing::TestWithParam<TStopCase>
{
protected:
    TRecordingDialogs Dialogs;
    TF_Main_GRF Window;
};

TEST_P(FormulaError, SelectsTheTokenWhereReadingStopped)
{
    const TStopCase& c = GetParam();
    Window.Edit1->setText(QString::fromUtf8(c.Formula));
    Window.Edit1->setCursorPosition(0);
    QTest::mouseClick(Window.PlotSpdBtn, Qt::LeftButton);

    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Dialogs.Messages[0].text, c.Message) << "the message stays as it was";
    EXPECT_EQ(Window.Edit1->selectedText(), QString::fromUtf8(c.Selected));
    EXPECT_EQ(Window.Edit1->cursorPosition(), c.Cursor);
    EXPECT_EQ(Window.Edit1->text(), QString::fromUtf8(c.Formula)) << "the text is not changed";
    EXPECT_FALSE(Window.FormulaNote->isVisibleTo(&Window));
}

INSTANTIATE_TEST_SUITE_P(
    Window, FormulaError,
    testing::Values(TStopCase{"Operator", "x*/2", "/", 3, "Parse error: Factor expected."},
                    TStopCase{"UnknownName", "1+foo*2", "foo", 5, "Parse error: Unknown symbol: 'foo'"},
                    TStopCase{"EndsTooEarly", "sin(x", "", 5,
                              "Parse error: ')' to close function's parameters expected."},
                    TStopCase{"AfterNonAscii", "\xCF\x80+\xC3\xBC", "\xCF\x80", 1,
                              "Parse error: Factor expected."}),
    test::RowName{});

class FormulaHint : public testing::Test
{
protected:
    void Plot(const char* formula)
    {
        Window.Edit1->setText(QString::fromUtf8(formula));
        QTest::mouseClick(Window.PlotSpdBtn, Qt::LeftButton);
    }
    TRecordingDialogs Dialogs;
    TF_Main_GRF Window;
};

TEST_F(FormulaHint, NamesTheIgnoredTextQuietly)
{
    Plot("x^2");
    EXPECT_TRUE(Dialogs.Messages.empty()) << "no box: the formula compiled";
    EXPECT_TRUE(Window.FormulaNote->isVisibleTo(&Window));
    EXPECT_EQ(Window.FormulaNote->text(), QStringLiteral("Ignored after the formula: ^2"));
    EXPECT_EQ(Window.Memo1->toPlainText().split('\n').size(), 60) << "x is plotted as before";

    // Editing the formula makes the hint stale; a formula read whole has none.
    Window.Edit1->setText("x*x");
    EXPECT_FALSE(Window.FormulaNote->isVisibleTo(&Window));
    Plot("2x");
    EXPECT_EQ(Window.FormulaNote->text(), QStringLiteral("Ignored after the formula: x"));
    Plot("x*2");
    EXPECT_FALSE(Window.FormulaNote->isVisibleTo(&Window));
}

TEST_F(FormulaHint, FitsInItsRowAndLeavesTheCaptionFree)
{
    Plot("sin(x) * 2 cos(x) + extra words that go on");
    const QLabel& note = *Window.FormulaNote;
    EXPECT_TRUE(note.isVisibleTo(&Window));
    EXPECT_LE(note.fontMetrics().horizontalAdvance(note.text()), note.width());
    const int captionRight =
        Window.GroupBox3->fontMetrics().horizontalAdvance(Window.GroupBox3->title()) + 16;
    EXPECT_GT(note.geometry().left(), captionRight);
}

} // namespace
} // namespace qrv::test
