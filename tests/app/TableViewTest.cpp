// The text table control on its own: lines as an edit control counts them,
// only the rows in view painted, selection by mouse and keyboard, copying,
// the hand-over to an edit control when the user types, and the highlighted
// line of the trace.
#include "QrvTableView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace qrv::test
{
namespace
{

QString Lines(int count)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        if (i) text += u'\n';
        text += QStringLiteral("%1.000   %2.000").arg(i).arg(2 * i);
    }
    return text;
}

class TableView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        View.resize(170, 300);
        View.show();
        View.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&View));
    }
    // A point at the left end of a line's row in the viewport.
    QPoint RowStart(int line) const { return QPoint(1, View.LineRect(line).center().y()); }
    // Mouse moves with the button held, as a drag sends them.
    void DragTo(const QPoint& point)
    {
        QMouseEvent move(QEvent::MouseMove, point, View.viewport()->mapToGlobal(point), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(View.viewport(), &move);
    }

    TTableView View;
};

TEST_F(TableView, CountsLinesAsAnEditControlDoes)
{
    struct Row {
        const char* name;
        QString text;
        QString appended;
        int lines;
        QString after;
    };
    const Row rows[] = {
        {"empty", "", "a", 1, "a"},
        {"one line", "a", "b", 1, "a\nb"},
        {"two lines", "a\nb", "c", 2, "a\nb\nc"},
        {"ends with a line feed", "a\n", "b", 2, "a\n\nb"},
    };
    for (const Row& row : rows) {
        View.setPlainText(row.text);
        EXPECT_EQ(View.LineCount(), row.lines) << row.name;
        EXPECT_EQ(View.toPlainText(), row.text) << row.name;
        View.appendPlainText(row.appended);
        EXPECT_EQ(View.toPlainText(), row.after) << row.name;
    }
    View.SetLatin1Text("1.000   2.000\n3.000   4.000");
    EXPECT_EQ(View.LineCount(), 2);
    EXPECT_FALSE(View.isReadOnly());
}

TEST_F(TableView, PaintsOnlyTheRowsInView)
{
    View.setPlainText(Lines(10001));
    View.viewport()->repaint();
    const int rows = View.LastPaintedRows();
    EXPECT_GT(rows, 5);
    EXPECT_LT(rows, 40) << "a few hundred pixels hold a few dozen rows, not 10 001";
    View.verticalScrollBar()->setValue(View.verticalScrollBar()->maximum());
    View.viewport()->repaint();
    EXPECT_LE(View.LastPaintedRows(), rows);
    EXPECT_EQ(View.LineAt(QPoint(1, View.viewport()->height() - 2)), 10000)
        << "the last line can be scrolled to";
}

TEST_F(TableView, MouseSelectsRangesAndWholeLines)
{
    View.setPlainText(Lines(10));
    QTest::mousePress(View.viewport(), Qt::LeftButton, Qt::NoModifier, RowStart(1));
    DragTo(RowStart(3));
    QTest::mouseRelease(View.viewport(), Qt::LeftButton, Qt::NoModifier, RowStart(3));
    EXPECT_EQ(View.SelectedText(), "1.000   2.000\n2.000   4.000\n");

    QTest::mouseClick(View.viewport(), Qt::LeftButton, Qt::ShiftModifier, RowStart(5));
    EXPECT_EQ(View.SelectionStart(), 14) << "shift+click keeps the anchor";
    EXPECT_EQ(View.SelectedText(), Lines(5).mid(14) + u'\n');

    QTest::mouseDClick(View.viewport(), Qt::LeftButton, Qt::NoModifier, RowStart(2));
    EXPECT_EQ(View.SelectedText(), "2.000   4.000");

    QSignalSpy chosen(&View, &TTableView::LineChosen);
    QTest::mouseClick(View.viewport(), Qt::LeftButton, Qt::NoModifier, RowStart(4));
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.front().front().toInt(), 4);
    EXPECT_FALSE(View.HasSelection());
}

TEST_F(TableView, KeysMoveSelectAndCopy)
{
    View.setPlainText(QStringLiteral("0.000   1.000\n1.000   2.000\n2.000   3.000"));
    View.setFocus();
    struct Row {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int start, end;
    };
    const Row rows[] = {
        {"shift+down selects a line", Qt::Key_Down, Qt::ShiftModifier, 0, 14},
        {"shift+end to the line's end", Qt::Key_End, Qt::ShiftModifier, 0, 27},
        {"left ends the selection at its start", Qt::Key_Left, Qt::NoModifier, 0, 0},
        {"ctrl+end", Qt::Key_End, Qt::ControlModifier, 41, 41},
        {"shift+up keeps the column", Qt::Key_Up, Qt::ShiftModifier, 27, 41},
        {"shift+ctrl+home", Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier, 0, 41},
        {"right ends the selection at its end", Qt::Key_Right, Qt::NoModifier, 41, 41},
        {"home", Qt::Key_Home, Qt::NoModifier, 28, 28},
    };
    for (const Row& row : rows) {
        QTest::keyClick(&View, row.key, row.modifiers);
        EXPECT_EQ(View.SelectionStart(), row.start) << row.name;
        EXPECT_EQ(View.SelectionEnd(), row.end) << row.name;
    }
    QTest::keySequence(&View, QKeySequence::SelectAll);
    EXPECT_EQ(View.SelectedText(), View.toPlainText());
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    View.SetSelection(14, 27);
    // A window command on the same key does not take it from the table.
    QAction windowCommand(QStringLiteral("window command"));
    windowCommand.setShortcut(QKeySequence::Copy);
    View.addAction(&windowCommand);
    QSignalSpy triggered(&windowCommand, &QAction::triggered);
    QTest::keySequence(&View, QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1.000   2.000");
    EXPECT_EQ(triggered.size(), 0);
    View.removeAction(&windowCommand);
    EXPECT_FALSE(View.Editing()) << "moving, selecting and copying change nothing";
}

TEST_F(TableView, TypingHandsTheTextToAnEditorUntilTheNextText)
{
    View.setPlainText(QStringLiteral("1.000   2.000\n3.000   4.000"));
    View.setFocus();
    View.SetSelection(0, 5);
    QTest::keyClicks(&View, QStringLiteral("9"));
    ASSERT_TRUE(View.Editing());
    EXPECT_TRUE(View.hasFocus()) << "the editor has the focus on the table's behalf";
    EXPECT_EQ(View.toPlainText(), "9   2.000\n3.000   4.000");
    QTest::keyClick(&View, Qt::Key_Backspace);
    QTest::keyClick(&View, Qt::Key_Return);
    EXPECT_EQ(View.toPlainText(), "\n   2.000\n3.000   4.000");
    EXPECT_EQ(View.LineCount(), 3);
    View.SetHighlightedLine(1);
    EXPECT_EQ(View.HighlightedLine(), -1) << "edited lines no longer stand for points";

    View.setPlainText(QStringLiteral("new"));
    EXPECT_FALSE(View.Editing());
    EXPECT_EQ(View.toPlainText(), "new");
    EXPECT_TRUE(View.hasFocus());
}

TEST_F(TableView, EscapeAndTabAreLeftToTheWindow)
{
    View.setPlainText(QStringLiteral("1.000   2.000"));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&View, &escape);
    EXPECT_FALSE(escape.isAccepted()) << "Esc stops a run in the window";
    QTest::keyClick(&View, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&View, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(View.toPlainText(), "1.000   2.000\t");
    QTest::keyClick(&View, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(View.toPlainText(), "1.000   2.000\t\t") << "also once the editor has taken over";
}

TEST_F(TableView, HighlightedLineComesIntoView)
{
    View.setPlainText(Lines(1000));
    View.SetHighlightedLine(900);
    EXPECT_EQ(View.HighlightedLine(), 900);
    const int first = View.FirstVisibleLine();
    EXPECT_LE(first, 900);
    EXPECT_EQ(View.LineAt(View.LineRect(900).center()), 900) << "the line is in view";
    View.SetHighlightedLine(5000);
    EXPECT_EQ(View.HighlightedLine(), -1) << "no such line";
    View.SetHighlightedLine(900);
    View.setPlainText(Lines(3));
    EXPECT_EQ(View.HighlightedLine(), -1) << "a new text has no highlighted line";
    EXPECT_EQ(View.FirstVisibleLine(), 0);
}

} // namespace
} // namespace qrv::test
