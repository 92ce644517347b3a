// The main window from the keyboard: Tab through the table, the formula
// field's selection without focus, menu mnemonics and command shortcuts,
// Plot with F5, and the popup menus' font.
#include "ChartProbe.h"
#include "MainWindowFixture.h"
#include "QrvTableView.h"
#include "m_grf_w.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include <map>

namespace qrv::test
{
namespace
{

class WindowKeys : public TMainWindowFixture
{
protected:
    void SetUp() override
    {
        TMainWindowFixture::SetUp();
        ActivateWindow();
    }
    void TearDown() override
    {
        for (QWidget* popup = QApplication::activePopupWidget(); popup;
             popup = QApplication::activePopupWidget())
            popup->close();
        TMainWindowFixture::TearDown();
    }
};

TEST_F(WindowKeys, TabLeavesTheTableAndCtrlTabTypesATab)
{
    Window->Memo1->setPlainText(QStringLiteral("1.000   2.000"));
    Window->Memo1->setFocus();
    ASSERT_TRUE(Window->Memo1->hasFocus());
    QTest::keyClick(Window->Memo1, Qt::Key_Tab);
    EXPECT_FALSE(Window->Memo1->hasFocus());
    EXPECT_EQ(Window->Memo1->toPlainText(), "1.000   2.000");

    Window->Memo1->setFocus();
    QTest::keyClick(Window->Memo1, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(Window->Memo1, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(Window->Memo1->hasFocus());
    EXPECT_EQ(Window->Memo1->toPlainText(), "1.000   2.000\t");
}

// Pixels of the colour in the image.
int CountColour(const QImage& image, QColor colour)
{
    int n = 0;
    const QRgb wanted = colour.rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == wanted) ++n;
    return n;
}

TEST_F(WindowKeys, FormulaSelectionStaysAndShowsWithoutFocus)
{
    QLineEdit* edit = Window->Edit1;
    edit->setFocus();
    struct Row {
        const char* name;
        int start;
        int length; // negative: selected backwards, the cursor at the start
    };
    for (Row row : {Row{"forwards", 0, 4}, Row{"backwards", 7, -3}}) {
        edit->setFocus();
        edit->setSelection(row.start, row.length);
        const QString selected = edit->selectedText();
        const int cursor = edit->cursorPosition();
        Window->E_Step->setFocus(); // as a click or Tab would
        ASSERT_FALSE(edit->hasFocus()) << row.name;
        EXPECT_EQ(edit->selectedText(), selected) << row.name;
        EXPECT_EQ(edit->cursorPosition(), cursor) << row.name;
        // Painted in the selection colour, though the field is inactive.
        const QColor highlight = edit->palette().color(QPalette::Inactive, QPalette::Highlight);
        EXPECT_EQ(highlight, edit->palette().color(QPalette::Active, QPalette::Highlight));
        EXPECT_GT(CountColour(edit->grab().toImage(), highlight), 20) << row.name;
    }
    // Back with Tab, the kept selection is not widened to the whole text.
    edit->setSelection(0, 4);
    Window->E_Step->setFocus();
    edit->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(edit->selectedText(), edit->text().left(4));
}

TEST_F(WindowKeys, AltLetterOpensEachMenu)
{
    struct Row {
        Qt::Key key;
        const char* menu;
    };
    for (Row row : {Row{Qt::Key_F, "File"}, Row{Qt::Key_V, "View"}, Row{Qt::Key_E, "Edit"},
                    Row{Qt::Key_O, "Option"}, Row{Qt::Key_M, "Mode"}, Row{Qt::Key_H, "Help"}}) {
        Window->Edit1->setFocus();
        QTest::keyClick(Window->Edit1, row.key, Qt::AltModifier);
        QWidget* popup = QApplication::activePopupWidget();
        auto* menu = qobject_cast<QMenu*>(popup);
        ASSERT_NE(menu, nullptr) << row.menu;
        EXPECT_EQ(menu->title().remove('&').toStdString(), row.menu);
        menu->close();
    }
}

TEST_F(WindowKeys, MenuItemsHaveDistinctMnemonics)
{
    auto mnemonic = [](const QString& text) {
        const qsizetype at = text.indexOf('&');
        return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
    };
    std::map<QChar, QString> bar;
    for (QAction* menuAction : Window->menuBar()->actions()) {
        const QChar key = mnemonic(menuAction->text());
        ASSERT_FALSE(key.isNull()) << menuAction->text().toStdString();
        EXPECT_TRUE(bar.emplace(key, menuAction->text()).second) << menuAction->text().toStdString();
        std::map<QChar, QString> items;
        for (QAction* item : menuAction->menu()->actions()) {
            if (item->isSeparator()) continue;
            const QChar itemKey = mnemonic(item->text());
            ASSERT_FALSE(itemKey.isNull()) << item->text().toStdString();
            EXPECT_TRUE(items.emplace(itemKey, item->text()).second) << item->text().toStdString();
        }
    }
}

TEST_F(WindowKeys, CommandsHaveTheUsualShortcutsShownInTheMenus)
{
    struct Row {
        QAction* item;
        QKeySequence key;
    };
    for (Row row : {Row{Window->Saveas1, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
                    Row{Window->Printreport1, QKeySequence(Qt::CTRL | Qt::Key_P)},
                    Row{Window->Printgraph1, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
                    Row{Window->Exit1, QKeySequence(Qt::CTRL | Qt::Key_Q)},
                    Row{Window->Documentation1, QKeySequence(Qt::Key_F1)}})
        EXPECT_EQ(row.item->shortcut(), row.key) << row.item->objectName().toStdString();
    // The text fields keep their own Ctrl+C: no command of the window takes
    // it (the Analysis list's Copy acts only while the list has the focus).
    for (QAction* action : Window->findChildren<QAction*>()) {
        if (action->shortcutContext() == Qt::WidgetShortcut) continue;
        EXPECT_NE(action->shortcut(), QKeySequence(QKeySequence::Copy)) << action->objectName().toStdString();
    }
}

TEST_F(WindowKeys, ShortcutsRunTheirCommandsFromTheFields)
{
    // Commands whose windows do not open in a test: counted through the
    // triggered signal of their items.
    struct Row {
        QAction* item;
        QKeySequence key;
    };
    for (Row row : {Row{Window->Printreport1, QKeySequence(Qt::CTRL | Qt::Key_P)},
                    Row{Window->Documentation1, QKeySequence(Qt::Key_F1)},
                    Row{Window->Exit1, QKeySequence(Qt::CTRL | Qt::Key_Q)}}) {
        Window->show();
        Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
        Window->Edit1->setFocus();
        int triggered = 0;
        auto connection = QObject::connect(row.item, &QAction::triggered, [&] { ++triggered; });
        QTest::keySequence(Window->Edit1, row.key);
        QObject::disconnect(connection);
        EXPECT_EQ(triggered, 1) << row.item->objectName().toStdString();
    }
    EXPECT_FALSE(Window->isVisible()) << "Ctrl+Q closed the window";
}

TEST_F(WindowKeys, F5PlotsAndEnterStillDoesNot)
{
    Window->Edit1->setFocus();
    QTest::keyClick(Window->Edit1, Qt::Key_Return);
    EXPECT_EQ(PointCount(*Window), 0);
    QTest::keyClick(Window->Edit1, Qt::Key_F5);
    EXPECT_EQ(PointCount(*Window), 60);
    EXPECT_EQ(Window->Memo1->LineCount(), 60);
    EXPECT_TRUE(Dialogs.Messages.empty());
}

TEST_F(WindowKeys, PopupMenusUseTheFontOfTheMenuBar)
{
    const QFontInfo bar(Window->menuBar()->font());
    for (QAction* menuAction : Window->menuBar()->actions()) {
        const QFontInfo popup(menuAction->menu()->font());
        EXPECT_EQ(popup.pixelSize(), bar.pixelSize()) << menuAction->text().toStdString();
        EXPECT_EQ(popup.family(), bar.family()) << menuAction->text().toStdString();
    }
    EXPECT_EQ(bar.pixelSize(), QFontInfo(Window->font()).pixelSize());
}

} // namespace
} // namespace qrv::test
