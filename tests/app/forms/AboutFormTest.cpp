// The About window.
#include "QrvAboutForm.h"
#include "QrvLogo.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <functional>

namespace qrv::test
{
namespace
{

TEST(AboutFormTest, Window)
{
    TAboutForm form;
    EXPECT_EQ(form.windowTitle(), "About Qurvia");
    EXPECT_EQ(form.size(), QSize(365, 221));
    const auto flags = form.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form.Label1->text(), "Qurvia");
    EXPECT_EQ(form.Label1->font().pixelSize(), 21);
    EXPECT_TRUE(form.Label1->font().bold());
    EXPECT_EQ(form.Label10->text(), "version 1.3.3");
    EXPECT_EQ(form.Image1->geometry(), QRect(8, 8, 170, 49));
    EXPECT_EQ(form.Bevel1->geometry(), QRect(11, 180, 287, 30));
    EXPECT_EQ(form.Button1->text(), "&Ok");
    EXPECT_EQ(form.Button1->geometry(), QRect(310, 179, 47, 30));
}

TEST(AboutFormTest, LogoIsTransparentAndOfItsSize)
{
    const QImage logo = QurviaLogo().toImage();
    EXPECT_EQ(logo.size(), QSize(170, 49));
    EXPECT_TRUE(logo.hasAlphaChannel());
    EXPECT_EQ(qAlpha(logo.pixel(0, 0)), 0);
}

struct ClickCase {
    const char* name;
    std::function<QWidget*(TAboutForm&)> target;
    std::function<QPoint(QWidget*)> where;
    bool closes;
};

QPoint Middle(QWidget* w)
{
    return w->rect().center();
}

class AboutClickTest : public ::testing::TestWithParam<ClickCase>
{
};

TEST_P(AboutClickTest, ClosesOnTheRightClicksOnly)
{
    const ClickCase& c = GetParam();
    TAboutForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QWidget* target = c.target(form);
    QTest::mouseClick(target, Qt::LeftButton, {}, c.where(target));
    EXPECT_EQ(!form.isVisible(), c.closes);
}

INSTANTIATE_TEST_SUITE_P(
    Places, AboutClickTest,
    ::testing::Values(
        ClickCase{"Panel", [](TAboutForm& f) -> QWidget* { return f.Panel2; },
                  [](QWidget*) { return QPoint(200, 168); }, true},
        ClickCase{"BevelFrame", [](TAboutForm& f) -> QWidget* { return f.Panel2; },
                  [](QWidget*) { return QPoint(12, 181); }, true},
        ClickCase{"Name", [](TAboutForm& f) -> QWidget* { return f.Label1; }, Middle, true},
        ClickCase{"FirstMakerLine", [](TAboutForm& f) -> QWidget* { return f.MakerLines.first(); }, Middle,
                  true},
        ClickCase{"LastMakerLine", [](TAboutForm& f) -> QWidget* { return f.MakerLines.last(); }, Middle,
                  true},
        ClickCase{"FramedLine", [](TAboutForm& f) -> QWidget* { return f.BevelLine; }, Middle, true},
        ClickCase{"OkButton", [](TAboutForm& f) -> QWidget* { return f.Button1; }, Middle, true},
        ClickCase{"Logo", [](TAboutForm& f) -> QWidget* { return f.Image1; }, Middle, false},
        ClickCase{"Version", [](TAboutForm& f) -> QWidget* { return f.Label10; }, Middle, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AboutFormTest, RightButtonDoesNotClose)
{
    TAboutForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Panel2, Qt::RightButton, {}, QPoint(200, 168));
    EXPECT_TRUE(form.isVisible());
}

TEST(AboutFormTest, EachCommandMakesAModalWindowAndFreesIt)
{
    QWidget owner;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        bool modal = false;
        QTimer::singleShot(0, &owner, [&] {
            auto* form = qobject_cast<TAboutForm*>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            modal = form->parent() == &owner;
            QTest::mouseClick(form->Button1, Qt::LeftButton);
        });
        ShowAboutForm(&owner);
        EXPECT_TRUE(modal);
        EXPECT_TRUE(owner.findChildren<TAboutForm*>().isEmpty());
    }
}

} // namespace
} // namespace qrv::test
