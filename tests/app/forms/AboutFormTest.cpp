// The About window.
#include "QrvAboutForm.h"
#include "QrvLogo.h"
#include "RowNames.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace qrv::test
{
namespace
{

TEST(AboutFormTest, WindowTitleAndTexts)
{
    TAboutForm form;
    EXPECT_EQ(form.windowTitle(), "About Qurvia");
    const auto flags = form.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form.Label1->text(), "Qurvia");
    EXPECT_TRUE(form.Label1->font().bold());
    EXPECT_EQ(form.Label10->text(), "version 1.3.3");
    EXPECT_EQ(form.Button1->text(), "&Ok");
    EXPECT_EQ(form.Image1->size(), QurviaLogo().size()) << "the logo is shown whole";
}

QRect PlaceIn(QWidget* widget, QWidget* window)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// Everything shows whole: inside the window, apart from one another, every
// text within its control, and no text too small to read. The program name
// stands out from the rest.
TEST(AboutFormTest, EverythingFitsApartAndReadable)
{
    TAboutForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    std::vector<QWidget*> items = {form.Image1, form.Label1, form.Label10, form.Bevel1, form.Button1};
    for (QLabel* line : form.MakerLines)
        items.push_back(line);
    for (QWidget* item : items)
        EXPECT_TRUE(form.rect().contains(PlaceIn(item, &form))) << item->objectName().toStdString();
    for (std::size_t i = 0; i < items.size(); ++i)
        for (std::size_t j = i + 1; j < items.size(); ++j)
            EXPECT_FALSE(PlaceIn(items[i], &form).intersects(PlaceIn(items[j], &form)))
                << items[i]->objectName().toStdString() << " overlaps "
                << items[j]->objectName().toStdString();
    EXPECT_TRUE(PlaceIn(form.Bevel1, &form).contains(PlaceIn(form.BevelLine, &form)));

    std::vector<QLabel*> labels = {form.Label1, form.Label10, form.BevelLine};
    for (QLabel* line : form.MakerLines)
        labels.push_back(line);
    for (QLabel* label : labels) {
        SCOPED_TRACE(label->objectName().toStdString());
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width());
        EXPECT_LE(metrics.height(), label->height());
        EXPECT_GE(QFontInfo(label->font()).pixelSize(), 9);
    }
    const QFontMetrics buttonMetrics(form.Button1->font());
    EXPECT_LT(buttonMetrics.horizontalAdvance(QStringLiteral("Ok")), form.Button1->width());
    EXPECT_LE(buttonMetrics.height(), form.Button1->height());
    EXPECT_GT(QFontInfo(form.Label1->font()).pixelSize(), QFontInfo(form.Label10->font()).pixelSize());
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
    test::RowName{});

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
