// Every caption fits its place: the text of each label, button, check box,
// group box and page tab of the windows, measured with the font it is drawn
// in, is no wider than the room its control leaves for it, and a label's
// text keeps clear of the controls beside it. ctest runs this program at
// 96 dots per inch, at a device pixel ratio of 2 and with fonts at 192 dots
// per inch.
#include "QrvAboutForm.h"
#include "QrvHelperForm.h"
#include "QrvOptionDialog.h"
#include "QrvPlotProgressBar.h"
#include "QrvTextPrintForm.h"
#include "RecordingDialogs.h"
#include "m_grf_w.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qrv::test
{
namespace
{

// Room left between a label's text and a neighbouring control.
constexpr int kGap = 2;

QString Shown(const QString& caption)
{
    QString text = caption;
    return text.remove('&');
}

std::string Name(const QWidget* w)
{
    return (w->objectName().isEmpty() ? std::string(w->metaObject()->className())
                                      : w->objectName().toStdString());
}

QStyleOptionButton ButtonOption(const QAbstractButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    if (auto* push = qobject_cast<const QPushButton*>(&button)) {
        if (push->autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
        if (push->isDefault()) option.features |= QStyleOptionButton::DefaultButton;
    }
    return option;
}

// What does not fit in the window as it shows now: one line per misfit.
std::vector<std::string> Misfits(QWidget& window)
{
    std::vector<std::string> found;
    auto misfit = [&found](const QWidget* w, const QString& text, int needed, int room) {
        if (needed > room)
            found.push_back(Name(w) + " \"" + text.toStdString() + "\": needs " + std::to_string(needed) +
                            ", has " + std::to_string(room));
    };
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->isWindow()) continue;
        const QFontMetrics fm(w->font());
        // Every control lies wholly inside its parent, so no border is cut off.
        if (QWidget* parent = w->parentWidget(); parent && !parent->rect().contains(w->geometry()))
            found.push_back(Name(w) + " reaches outside " + Name(parent));

        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty() && !label->wordWrap()) {
            const QStringList lines = label->text().split('\n');
            int width = 0;
            for (const QString& line : lines)
                width = std::max(width, fm.horizontalAdvance(line));
            const int height = static_cast<int>(lines.size()) * fm.height();
            const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                              -label->margin(), -label->margin());
            misfit(label, label->text(), width, room.width());
            misfit(label, label->text(), height, room.height());
            // The text as placed, against the controls beside the label.
            const QRect text =
                QStyle::alignedRect(label->layoutDirection(), label->alignment(), QSize(width, height), room)
                    .translated(label->pos())
                    .adjusted(-kGap, 0, kGap, 0);
            for (QObject* other : label->parentWidget()->children()) {
                auto* sibling = qobject_cast<QWidget*>(other);
                if (!sibling || sibling == label || !sibling->isVisibleTo(&window)) continue;
                // A frame drawn around the text is no neighbour.
                if (sibling->geometry().intersects(text) && !sibling->geometry().contains(text))
                    found.push_back(Name(label) + " \"" + label->text().toStdString() + "\" touches " +
                                    Name(sibling));
            }
        } else if (auto* push = qobject_cast<QPushButton*>(w); push && !push->text().isEmpty()) {
            const QStyleOptionButton option = ButtonOption(*push);
            const QRect room = push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
            misfit(push, push->text(), fm.horizontalAdvance(Shown(push->text())), room.width());
            misfit(push, push->text(), fm.height(), room.height());
        } else if (auto* check = qobject_cast<QAbstractButton*>(w);
                   check && (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))) {
            const QStyleOptionButton option = ButtonOption(*check);
            const QStyle::SubElement element =
                qobject_cast<QCheckBox*>(w) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
            const QRect room = check->style()->subElementRect(element, &option, check);
            misfit(check, check->text(), fm.horizontalAdvance(Shown(check->text())), room.width());
            misfit(check, check->text(), fm.height(), room.height());
        } else if (auto* tool = qobject_cast<QToolButton*>(w);
                   tool && tool->toolButtonStyle() != Qt::ToolButtonIconOnly && !tool->text().isEmpty()) {
            misfit(tool, tool->text(), tool->sizeHint().width(), tool->width());
        } else if (auto* box = qobject_cast<QGroupBox*>(w); box && !box->title().isEmpty()) {
            // The title sits between two margins of the frame.
            misfit(box, box->title(), fm.horizontalAdvance(Shown(box->title())) + 2 * 8, box->width());
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            misfit(tabs, "tabs", tabs->sizeHint().width(), tabs->width());
        }
    }
    return found;
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

TEST(CaptionFit, MainWindow)
{
    TRecordingDialogs dialogs;
    TF_Main_GRF window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto misfits = Misfits(window);
    EXPECT_TRUE(misfits.empty()) << Join(misfits);
}

TEST(CaptionFit, MainWindowDuringALongRunAndAfterAStop)
{
    TRecordingDialogs dialogs;
    TF_Main_GRF window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.PlotProgress->Begin(10001);
    window.PlotProgress->Update(10001);
    auto misfits = Misfits(window);
    EXPECT_TRUE(misfits.empty()) << "running:" << Join(misfits);
    window.PlotProgress->End();
    window.PlotProgress->ShowStopped(10000, 10001);
    misfits = Misfits(window);
    EXPECT_TRUE(misfits.empty()) << "stopped:" << Join(misfits);
}

TEST(CaptionFit, SettingsDialogOnEachPage)
{
    TRecordingDialogs dialogs;
    TOptionDialog dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (int page = 0; page < dialog.PageControl1->count(); ++page) {
        dialog.PageControl1->setCurrentIndex(page);
        const auto misfits = Misfits(dialog);
        EXPECT_TRUE(misfits.empty()) << dialog.PageControl1->tabText(page).toStdString() << Join(misfits);
    }
    // The page control's frame ends inside the dialog, its bottom line too.
    EXPECT_LE(dialog.PageControl1->geometry().bottom(), dialog.rect().bottom());
    dialog.reject();
}

// The other windows of the program, as they open.
template <class Window> void ExpectFits(const char* name)
{
    TRecordingDialogs dialogs;
    Window window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << name;
    const auto misfits = Misfits(window);
    EXPECT_TRUE(misfits.empty()) << name << Join(misfits);
    window.close();
}

TEST(CaptionFit, OtherWindows)
{
    ExpectFits<TAboutForm>("About");
    ExpectFits<TTextPrintForm>("Print report");
    ExpectFits<THelperForm>("Documentation");
}

TEST(CaptionFit, MenusFitTheirItems)
{
    TRecordingDialogs dialogs;
    TF_Main_GRF window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (QAction* menuAction : window.menuBar()->actions()) {
        QMenu* menu = menuAction->menu();
        const QFontMetrics fm(menu->font());
        int widest = 0;
        for (QAction* item : menu->actions())
            widest = std::max(widest,
                              fm.horizontalAdvance(Shown(item->text())) +
                                  fm.horizontalAdvance(item->shortcut().toString(QKeySequence::NativeText)));
        EXPECT_LE(widest, menu->sizeHint().width()) << menuAction->text().toStdString();
    }
}

} // namespace
} // namespace qrv::test
