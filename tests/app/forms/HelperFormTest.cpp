// The documentation window.
#include "QrvGuideText.h"
#include "QrvHelperForm.h"

#include <QApplication>
#include <QFrame>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QTextEdit>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace qrv::test
{
namespace
{

int ShownHelperWindows()
{
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<THelperForm*>(w) && w->isVisible()) ++shown;
    return shown;
}

TEST(HelperFormTest, WindowAndGuide)
{
    THelperForm form;
    form.ShowGuide();
    EXPECT_EQ(form.windowTitle(), "Documentation");
    EXPECT_EQ(form.size(), QSize(477, 392));
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(form.RichEdit1->isReadOnly());
    EXPECT_EQ(form.RichEdit1->toPlainText(), GuideText());
    EXPECT_EQ(form.Panel2->frameWidth(), 1);
    EXPECT_EQ(form.RichEdit1->geometry(), form.Panel2->rect().adjusted(1, 1, -1, -1));
}

// Typing, pasting and an input method's text all leave the guide as written.
TEST(HelperFormTest, TheGuideTakesNoInput)
{
    THelperForm form;
    form.ShowGuide();
    form.RichEdit1->setFocus();
    QTest::keyClicks(form.RichEdit1, "abc");
    QTest::keyClick(form.RichEdit1, Qt::Key_V, Qt::ControlModifier);
    QInputMethodEvent commit;
    commit.setCommitString("\u00e9t\u00e9");
    QApplication::sendEvent(form.RichEdit1, &commit);
    EXPECT_EQ(form.RichEdit1->toPlainText(), GuideText());
}

TEST(HelperFormTest, ShownTwiceIsOneWindowAndDoesNotBlock)
{
    QWidget main;
    main.show();
    THelperForm form(&main);
    form.ShowGuide();
    form.ShowGuide();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(ShownHelperWindows(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(main.isEnabled());
    form.close();
    EXPECT_FALSE(form.isVisible());
    form.ShowGuide();
    EXPECT_EQ(ShownHelperWindows(), 1);
}

TEST(HelperFormTest, ClickOnThePanelClosesButClickInTheTextDoesNot)
{
    THelperForm form;
    form.ShowGuide();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    QTest::mouseClick(form.RichEdit1->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_TRUE(form.isVisible());
    QScrollBar* bar = form.RichEdit1->verticalScrollBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 5));
    EXPECT_TRUE(form.isVisible());
    EXPECT_GT(bar->value(), 0);

    // The panel's border, outside the text box.
    QTest::mouseClick(form.Panel2, Qt::LeftButton, {}, QPoint(0, 0));
    EXPECT_FALSE(form.isVisible());
}

TEST(HelperFormTest, PressOnThePanelReleasedElsewhereIsNoClick)
{
    THelperForm form;
    form.ShowGuide();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mousePress(form.Panel2, Qt::LeftButton, {}, QPoint(0, 0));
    QTest::mouseRelease(form.Panel2, Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_TRUE(form.isVisible());
}

} // namespace
} // namespace qrv::test
