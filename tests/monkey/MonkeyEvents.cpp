#include "MonkeyDetail.h"

#include "MonkeyFiles.h"
#include "MonkeyRandom.h"
#include "MonkeyTexts.h"

#include "QrvAngleMode.h"
#include "QrvAppTexts.h"
#include "QrvApplication.h"
#include "QrvChart.h"
#include "QrvErrorText.h"
#include "QrvHelperForm.h"
#include "QrvNumberText.h"
#include "QrvOptionDialog.h"
#include "QrvPlotProgress.h"
#include "QrvPlotProgressBar.h"
#include "QrvPlotRun.h"
#include "QrvPrinter.h"
#include "QrvSeries.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"
#include "QrvTableView.h"
#include "QrvTestPlatform.h"
#include "QrvTextPrintForm.h"
#include "QrvViewSettings.h"
#include "m_grf_w.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <csignal>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace qrv::monkey
{

void Flush()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void ClosePopups()
{
    for (int guard = 0; guard < 10 && QApplication::activePopupWidget(); ++guard) {
        QApplication::activePopupWidget()->close();
        Flush();
    }
}

std::string Name(const QWidget* widget)
{
    if (!widget) return "nothing";
    std::string name = widget->objectName().isEmpty() ? widget->metaObject()->className()
                                                      : widget->objectName().toStdString();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget); button && !button->text().isEmpty())
        name += " '" + button->text().toStdString() + "'";
    return name;
}

std::string Shorten(const std::string& text)
{
    if (text.size() <= 40) return text;
    return text.substr(0, 30) + "...(" + std::to_string(text.size()) + " bytes)";
}

QPoint RandomPoint(TRandom& random, const QWidget* widget)
{
    const QSize size = widget->size();
    return {random.Between(0, std::max(0, size.width() - 1)),
            random.Between(0, std::max(0, size.height() - 1))};
}

Qt::KeyboardModifiers RandomModifiers(TRandom& random)
{
    Qt::KeyboardModifiers modifiers;
    if (random.Chance(15)) modifiers |= Qt::ShiftModifier;
    if (random.Chance(15)) modifiers |= Qt::ControlModifier;
    if (random.Chance(5)) modifiers |= Qt::AltModifier;
    return modifiers;
}

Qt::MouseButton RandomButton(TRandom& random)
{
    switch (random.Weighted({75, 17, 8})) {
    case 0:
        return Qt::LeftButton;
    case 1:
        return Qt::RightButton;
    default:
        return Qt::MiddleButton;
    }
}

void TMonkeyRun::TDetail::Activate(QWidget* window)
{
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window, 1000);
    Flush();
}

void TMonkeyRun::TDetail::Fault(const std::string& problem)
{
    if (fault.empty()) fault = problem;
}

void TMonkeyRun::TDetail::Note(const std::string& text)
{
    if (!what.empty()) what += "; ";
    what += text;
}

void TMonkeyRun::TDetail::LimitFileSize(rlim_t bytes)
{
    if (!fileSizeLimited) {
        getrlimit(RLIMIT_FSIZE, &savedLimit);
        std::signal(SIGXFSZ, SIG_IGN);
    }
    rlimit limited = savedLimit;
    limited.rlim_cur = std::min(bytes, savedLimit.rlim_max);
    setrlimit(RLIMIT_FSIZE, &limited);
    fileSizeLimited = true;
}

void TMonkeyRun::TDetail::UnlimitFileSize()
{
    if (fileSizeLimited) setrlimit(RLIMIT_FSIZE, &savedLimit);
    fileSizeLimited = false;
}

// A file the user names in a save or print dialog: in the run's folder,
// in a folder that does not exist, under a path through a plain file, or
// in the run's folder with the disk full for the rest of the event.
std::string TMonkeyRun::TDetail::ChooseFile(TRandom& r, const std::string& proposal,
                                            const std::string& extension)
{
    static const std::vector<std::string> bases = {"out",
                                                   "table",
                                                   "chart",
                                                   "a b",
                                                   "\xC3\xBC"
                                                   "ber",
                                                   ".hidden",
                                                   "x",
                                                   "\xE4\xB8\xAD",
                                                   "name."};
    static const std::vector<std::string> extensions = {"",     ".txt", ".csv", ".bmp", ".wmf", ".emf",
                                                        ".png", ".svg", ".pdf", ".TXT", ".xyz", ".txt.bmp"};
    std::string name =
        proposal.substr(proposal.find_last_of('/') == std::string::npos ? 0 : proposal.find_last_of('/') + 1);
    if (name.empty() || r.Chance(60)) {
        name = r.Pick(bases);
        name += r.Chance(50) && !extension.empty() ? extension : r.Pick(extensions);
    }
    const std::string folder = out.toStdString();
    switch (r.Weighted({64, 6, 6, 16, 8})) {
    case 0:
        Note("file " + name);
        return folder + "/" + name;
    case 1:
        Note("file in a missing folder");
        return folder + "/missing/" + name;
    case 2:
        Note("file under a plain file");
        return blockedPath.toStdString() + "/" + name;
    case 4:
        // Write-protected: refused to a user, though not to root.
        Note("file " + name + " in a read-only folder");
        return folder + "/readonly/" + name;
    default: {
        const auto room = rlim_t(r.Below(6000));
        Note("file " + name + " on a full disk (" + std::to_string(room) + " bytes free)");
        LimitFileSize(room);
        return folder + "/" + name;
    }
    }
}

std::vector<QWidget*> TMonkeyRun::TDetail::Tops() const
{
    std::vector<QWidget*> tops;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible() || top->windowType() == Qt::Popup || top->windowType() == Qt::ToolTip) continue;
        tops.push_back(top);
    }
    // The application keeps its windows in no particular order: sorted,
    // so that a seed picks the same window every time.
    std::sort(tops.begin(), tops.end(), [](QWidget* a, QWidget* b) {
        return std::pair(Name(a), a->windowTitle().toStdString()) <
               std::pair(Name(b), b->windowTitle().toStdString());
    });
    return tops;
}

bool TMonkeyRun::TDetail::IsTextField(QWidget* w)
{
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
           qobject_cast<QAbstractSpinBox*>(w) || (qobject_cast<QComboBox*>(w) && w->isEnabled());
}

bool TMonkeyRun::TDetail::InTable(QWidget* w)
{
    return world && w && (w == Window().Memo1 || Window().Memo1->isAncestorOf(w));
}

void TMonkeyRun::TDetail::Click(TRandom& r, const std::vector<QWidget*>& tops)
{
    // Half the clicks go to controls that take the mouse or the focus
    // (buttons, tabs, panels that act on a click), the rest anywhere.
    const bool controls = r.Chance(50);
    auto widgets = WidgetsIn(tops, [controls](QWidget* w) {
        return w->isEnabled() && (!controls || w->focusPolicy() != Qt::NoFocus ||
                                  qobject_cast<QAbstractButton*>(w) || qobject_cast<QTabBar*>(w));
    });
    if (widgets.empty()) return;
    QWidget* target = r.Pick(widgets);
    QPoint at = RandomPoint(r, target);
    // A tab bar is mostly clicked on one of its tabs.
    if (auto* tabs = qobject_cast<QTabBar*>(target); tabs && tabs->count() > 0 && r.Chance(80))
        at = tabs->tabRect(int(r.Below(std::size_t(tabs->count())))).center();
    const Qt::MouseButton button = RandomButton(r);
    const bool twice = r.Chance(12);
    Note(std::string(twice ? "double-click " : "click ") + Name(target) + " at " + std::to_string(at.x()) +
         "," + std::to_string(at.y()));
    QPointer<QWidget> guard(target);
    if (twice)
        QTest::mouseDClick(target, button, RandomModifiers(r), at);
    else
        QTest::mouseClick(target, button, RandomModifiers(r), at);
    // A middle click pastes the selection into the table.
    if (guard && button == Qt::MiddleButton && InTable(QApplication::focusWidget()))
        tableEdited = editedInEvent = true;
}

void TMonkeyRun::TDetail::Wheel(TRandom& r, QWidget* target)
{
    const QPoint at = RandomPoint(r, target);
    const int notches = r.Between(-3, 3) * (r.Chance(20) ? 40 : 120);
    const bool sideways = r.Chance(15);
    Note("wheel " + std::to_string(notches) + " on " + Name(target));
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(),
                      sideways ? QPoint(notches, 0) : QPoint(0, notches), Qt::NoButton, RandomModifiers(r),
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

void TMonkeyRun::TDetail::Drag(TRandom& r, QWidget* target)
{
    QPointer<QWidget> guard(target);
    const Qt::MouseButton button = RandomButton(r);
    const Qt::KeyboardModifiers modifiers = RandomModifiers(r);
    QPoint at = RandomPoint(r, target);
    const QPoint end =
        r.Chance(10) ? at + QPoint(r.Between(-2000, 2000), r.Between(-2000, 2000)) : RandomPoint(r, target);
    Note("drag on " + Name(target) + " from " + std::to_string(at.x()) + "," + std::to_string(at.y()) +
         " to " + std::to_string(end.x()) + "," + std::to_string(end.y()));
    QTest::mousePress(target, button, modifiers, at);
    const int steps = r.Between(1, 5);
    for (int i = 1; i <= steps && guard; ++i) {
        const QPoint step = at + (end - at) * i / steps;
        QMouseEvent move(QEvent::MouseMove, step, target->mapToGlobal(step), Qt::NoButton, button, modifiers);
        QApplication::sendEvent(target, &move);
    }
    if (guard) QTest::mouseRelease(target, button, modifiers, end);
}

void TMonkeyRun::TDetail::Hover(TRandom& r, QWidget* target)
{
    const QPoint at = RandomPoint(r, target);
    Note("move over " + Name(target));
    QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(target, &move);
}

void TMonkeyRun::TDetail::Chart(TRandom& r, const std::vector<QWidget*>& tops)
{
    auto charts = WidgetsIn(tops, [](QWidget* w) { return dynamic_cast<TChart*>(w) != nullptr; });
    if (charts.empty()) charts = WidgetsIn(tops, [](QWidget* w) { return w->isEnabled(); });
    if (charts.empty()) return;
    QWidget* chart = r.Pick(charts);
    switch (r.Weighted({45, 30, 15, 10})) {
    case 0:
        Drag(r, chart);
        break;
    case 1:
        Wheel(r, chart);
        break;
    case 2:
        Hover(r, chart);
        break;
    default:
        QTest::mouseClick(chart, RandomButton(r), RandomModifiers(r), RandomPoint(r, chart));
        Note("click " + Name(chart));
        break;
    }
}

// A user who goes on zooming into (or scrolling, or wheeling) the chart
// far beyond any sensible range.
void TMonkeyRun::TDetail::ZoomDeep(TRandom& r, const std::vector<QWidget*>& tops)
{
    auto charts = WidgetsIn(tops, [](QWidget* w) { return dynamic_cast<TChart*>(w) != nullptr; });
    if (charts.empty()) return;
    QWidget* chart = r.Pick(charts);
    const int times = r.Between(5, 60);
    const int how = int(r.Below(3));
    Note(std::string(how == 0   ? "zoom in"
                     : how == 1 ? "scroll"
                                : "wheel") +
         " " + std::to_string(times) + " times on " + Name(chart));
    QPointer<QWidget> guard(chart);
    const QPoint centre = RandomPoint(r, chart);
    for (int i = 0; i < times && guard && chart->isVisible(); ++i) {
        if (how == 2) {
            const int notches = r.Chance(80) ? 120 : -120;
            QWheelEvent wheel(centre, chart->mapToGlobal(centre), QPoint(), QPoint(0, notches), Qt::NoButton,
                              {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(chart, &wheel);
            continue;
        }
        const Qt::MouseButton button = how == 0 ? Qt::LeftButton : Qt::RightButton;
        const QPoint from = how == 0 ? centre - QPoint(8, 8) : centre;
        const QPoint to = how == 0 ? centre + QPoint(8, 8) : centre + QPoint(r.Between(-200, 200), 90);
        QTest::mousePress(chart, button, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, chart->mapToGlobal(to), Qt::NoButton, button, {});
        if (guard) QApplication::sendEvent(chart, &move);
        if (guard) QTest::mouseRelease(chart, button, {}, to);
        // Painted now and then, as a screen would between the drags.
        if (guard && i % 7 == 0) chart->repaint();
    }
    if (guard) chart->repaint();
}

void TMonkeyRun::TDetail::TypeInto(TRandom& r, QWidget* field, const std::string& text)
{
    const QString typed = QString::fromUtf8(text);
    if (InTable(field)) tableEdited = editedInEvent = true;
    if (typed.size() > 300) {
        Note("paste " + Shorten(text));
        QGuiApplication::clipboard()->setText(typed);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        return;
    }
    Note("type '" + Shorten(text) + "'");
    bool ascii = true;
    for (QChar c : typed)
        ascii = ascii && c.unicode() >= 32 && c.unicode() < 127;
    if (ascii && r.Chance(70)) {
        QTest::keyClicks(field, typed);
    } else if (r.Chance(50)) {
        QInputMethodEvent commit;
        commit.setCommitString(typed);
        QApplication::sendEvent(field, &commit);
    } else {
        QPointer<QWidget> guard(field);
        for (QChar c : typed) {
            if (!guard) break;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            if (guard) QApplication::sendEvent(field, &release);
        }
    }
}

void TMonkeyRun::TDetail::Type(TRandom& r, const std::vector<QWidget*>& tops)
{
    auto fields = WidgetsIn(tops, [](QWidget* w) { return IsTextField(w) && w->isEnabled(); });
    if (fields.empty()) return;
    QWidget* field = r.Pick(fields);
    Note("into " + Name(field));
    QPointer<QWidget> guard(field);
    QTest::mouseClick(field, Qt::LeftButton, {}, RandomPoint(r, field));
    if (!guard) return;
    if (r.Chance(50)) QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (!guard) return;
    if (r.Chance(30)) QTest::keyClick(field, Qt::Key_Delete);
    if (!guard) return;
    TypeInto(r, field, RandomFieldText(r, DecimalSeparator()));
}

void TMonkeyRun::TDetail::Keys(TRandom& r, const std::vector<QWidget*>& tops)
{
    static const std::vector<int> keys = {
        Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Home,   Qt::Key_End,
        Qt::Key_Up,        Qt::Key_Down,   Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Tab,    Qt::Key_Backtab,
        Qt::Key_Return,    Qt::Key_Enter,  Qt::Key_Escape, Qt::Key_Space,    Qt::Key_A,      Qt::Key_Z,
        Qt::Key_Y,         Qt::Key_X,      Qt::Key_C,      Qt::Key_V,        Qt::Key_F,      Qt::Key_1,
        Qt::Key_F1,        Qt::Key_F2,     Qt::Key_F5,     Qt::Key_F10,      Qt::Key_Insert, Qt::Key_Menu};
    QWidget* target = QApplication::focusWidget();
    bool inScope = false;
    for (QWidget* top : tops)
        inScope = inScope || (target && target->window() == top);
    if (!inScope) target = tops.empty() ? nullptr : r.Pick(tops);
    if (!target) return;
    const int count = r.Between(1, 4);
    for (int i = 0; i < count && target; ++i) {
        const int key = r.Pick(keys);
        const Qt::KeyboardModifiers modifiers = RandomModifiers(r);
        Note("key " + QKeySequence(key | int(modifiers)).toString().toStdString() + " on " + Name(target));
        if (InTable(target)) tableEdited = editedInEvent = true;
        QPointer<QWidget> guard(target);
        QTest::keyClick(target, Qt::Key(key), modifiers);
        if (!guard) break;
        target = QApplication::focusWidget();
    }
}

void TMonkeyRun::TDetail::Shortcut(TRandom& r, const std::vector<QWidget*>& tops)
{
    std::vector<QKeySequence> shortcuts;
    for (QWidget* top : tops)
        for (QAction* action : top->findChildren<QAction*>())
            for (const QKeySequence& key : action->shortcuts())
                if (!key.isEmpty()) shortcuts.push_back(key);
    if (shortcuts.empty()) return;
    const QKeySequence key = r.Pick(shortcuts);
    QWidget* target = QApplication::focusWidget();
    if (!target || !target->isVisible()) target = r.Pick(tops);
    Note("shortcut " + key.toString().toStdString() + " on " + Name(target));
    if (InTable(target)) tableEdited = editedInEvent = true;
    QTest::keySequence(target, key);
}

void TMonkeyRun::TDetail::Menu(TRandom& r, const std::vector<QWidget*>& tops)
{
    auto bars = WidgetsIn(tops, [](QWidget* w) { return qobject_cast<QMenuBar*>(w) != nullptr; });
    if (bars.empty()) return;
    auto* bar = static_cast<QMenuBar*>(r.Pick(bars));
    std::vector<QAction*> titles;
    for (QAction* title : bar->actions())
        if (title->menu() && title->isVisible()) titles.push_back(title);
    if (titles.empty()) return;
    QAction* title = r.Pick(titles);
    QMenu* menu = title->menu();
    std::vector<QAction*> items;
    for (QAction* item : menu->actions())
        if (!item->isSeparator() && item->isVisible()) items.push_back(item);
    if (items.empty()) return;
    QAction* item = r.Pick(items);
    const std::string itemName =
        (item->objectName().isEmpty() ? item->text() : item->objectName()).toStdString();
    QPointer<QAction> guard(item);
    switch (r.Weighted({60, 30, 10})) {
    case 0: {
        Note("menu " + title->text().toStdString() + " > " + itemName);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        Flush();
        if (menu->isVisible() && guard) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        } else if (guard && item->isEnabled()) {
            item->trigger();
        }
        break;
    }
    case 1:
        Note("command " + itemName);
        if (item->isEnabled()) item->trigger();
        break;
    default:
        Note("menu " + title->text().toStdString() + " opened and left");
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        Flush();
        if (menu->isVisible()) QTest::keyClick(menu, Qt::Key_Escape);
        break;
    }
    if (guard && InTable(QApplication::focusWidget()) && itemName.find("Undo") != std::string::npos)
        tableEdited = editedInEvent = true;
}

void TMonkeyRun::TDetail::Plot(TRandom& r)
{
    if (r.Chance(70)) {
        Note("Plot");
        QTest::mouseClick(Window().PlotSpdBtn, Qt::LeftButton);
    } else {
        Note("F5");
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &Window();
        QTest::keyClick(target, Qt::Key_F5);
    }
}

void TMonkeyRun::TDetail::FillFields(TRandom& r)
{
    // A plottable range now and then, so plots succeed and the chart
    // holds something to zoom, scroll and export.
    const char s = DecimalSeparator();
    const int lowest = r.Between(-20, 10);
    const int highest = lowest + r.Between(1, 40);
    const std::string step = r.Chance(20) ? "0" + std::string(1, s) + "001" : "0" + std::string(1, s) + "5";
    Note("fields " + std::to_string(lowest) + " .. " + std::to_string(highest) + " by " + step);
    for (auto [field, text] :
         {std::pair{Window().E_X_i, std::to_string(lowest)},
          std::pair{Window().E_X_Fi, std::to_string(highest)}, std::pair{Window().E_Step, step}}) {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, QString::fromStdString(text));
    }
    if (r.Chance(60)) {
        QTest::mouseClick(Window().Edit1, Qt::LeftButton);
        QTest::keyClick(Window().Edit1, Qt::Key_A, Qt::ControlModifier);
        // Now and then values at the ends of the double range, poles and
        // steep growth, for the axes.
        const std::string formula =
            r.Chance(30) ? std::string(r.Pick({"1e300*x", "exp(x*20)", "1e-310*x", "power(10, 30*x)",
                                               "1/(x-0.5)", "tan(x)", "x*1e307", "-1e308+x", "sqrt(x)*1e-300",
                                               "1e-320", "x*x*x*x*x*x*x*x*1e200", "ln(x)", "1/x"}))
                         : RandomFormula(r, s, 3);
        Note("formula '" + Shorten(formula) + "'");
        QTest::keyClicks(Window().Edit1, QString::fromUtf8(formula));
    }
    if (r.Chance(50)) Plot(r);
}

void TMonkeyRun::TDetail::ItemView(TRandom& r, const std::vector<QWidget*>& tops)
{
    auto views = WidgetsIn(tops, [](QWidget* w) { return qobject_cast<QAbstractItemView*>(w) != nullptr; });
    if (views.empty()) return Click(r, tops);
    auto* view = static_cast<QAbstractItemView*>(r.Pick(views));
    QAbstractItemModel* model = view->model();
    if (!model || model->rowCount() == 0) return Click(r, tops);
    const QModelIndex index = model->index(int(r.Below(std::size_t(model->rowCount()))),
                                           int(r.Below(std::size_t(std::max(1, model->columnCount())))));
    const QPoint at = view->visualRect(index).center();
    Note("item " + std::to_string(index.row()) + "," + std::to_string(index.column()) + " of " + Name(view));
    QPointer<QAbstractItemView> guard(view);
    switch (r.Below(4)) {
    case 0:
        QTest::mouseClick(view->viewport(), Qt::LeftButton, RandomModifiers(r), at);
        break;
    case 1:
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        if (guard && QApplication::focusWidget())
            TypeInto(r, QApplication::focusWidget(), RandomFieldText(r, DecimalSeparator()));
        break;
    case 2:
        view->setCurrentIndex(index);
        QTest::keyClick(view, r.Pick({Qt::Key_Delete, Qt::Key_F2, Qt::Key_Return, Qt::Key_Space, Qt::Key_Up,
                                      Qt::Key_Down}));
        break;
    default:
        Drag(r, view->viewport());
        break;
    }
    if (guard) Flush();
}

void TMonkeyRun::TDetail::CloseWindow(TRandom& r, const std::vector<QWidget*>& tops)
{
    std::vector<QWidget*> others;
    for (QWidget* top : tops)
        if (top != &Window()) others.push_back(top);
    if (others.empty()) return Click(r, tops);
    QWidget* top = r.Pick(others);
    Note("close " + Name(top));
    top->close();
}

// One event of the main scope: any window shown, without a modal one.
void TMonkeyRun::TDetail::MainEvent(TRandom& r)
{
    const auto tops = Tops();
    switch (r.Weighted({16, 15, 15, 9, 6, 15, 8, 9, 3, 2, 3, 2})) {
    case 0:
        return Click(r, tops);
    case 1:
        return Chart(r, tops);
    case 2:
        return Type(r, tops);
    case 3:
        return Keys(r, tops);
    case 4:
        return Shortcut(r, tops);
    case 5:
        return Menu(r, tops);
    case 6:
        return Plot(r);
    case 7:
        return FillFields(r);
    case 8:
        return ItemView(r, tops);
    case 9:
        return CloseWindow(r, tops);
    case 10:
        return ZoomDeep(r, tops);
    default: {
        auto widgets = WidgetsIn(tops, [](QWidget* w) { return w->isEnabled(); });
        if (!widgets.empty()) Drag(r, r.Pick(widgets));
        return;
    }
    }
}

// One event inside a modal window.
void TMonkeyRun::TDetail::DialogEvent(TRandom& r, QDialog& dialog)
{
    const std::vector<QWidget*> tops = {&dialog};
    switch (r.Weighted({30, 22, 14, 12, 8, 6, 8})) {
    case 0:
        return Click(r, tops);
    case 1:
        return Type(r, tops);
    case 2:
        return Keys(r, tops);
    case 3: {
        auto widgets = WidgetsIn(tops, [](QWidget* w) { return w->isEnabled(); });
        if (!widgets.empty()) Drag(r, r.Pick(widgets));
        return;
    }
    case 4: {
        auto widgets = WidgetsIn(tops, [](QWidget* w) { return w->isEnabled(); });
        if (!widgets.empty()) Wheel(r, r.Pick(widgets));
        return;
    }
    case 5:
        return ItemView(r, tops);
    default:
        return Shortcut(r, tops);
    }
}

// How the user leaves a modal window: a button, Esc, Enter or the
// window's close control.
void TMonkeyRun::TDetail::LeaveDialog(TRandom& r, QDialog& dialog)
{
    QPointer<QDialog> guard(&dialog);
    auto buttons = WidgetsIn(
        {&dialog}, [](QWidget* w) { return qobject_cast<QPushButton*>(w) != nullptr && w->isEnabled(); });
    switch (r.Weighted({50, 20, 10, 20})) {
    case 0:
        if (!buttons.empty()) {
            QWidget* button = r.Pick(buttons);
            Note("click " + Name(button));
            QTest::mouseClick(button, Qt::LeftButton);
            break;
        }
        [[fallthrough]];
    case 1:
        Note("Esc");
        QTest::keyClick(&dialog, Qt::Key_Escape);
        break;
    case 2:
        Note("Enter");
        QTest::keyClick(QApplication::focusWidget() && QApplication::focusWidget()->window() == &dialog
                            ? QApplication::focusWidget()
                            : static_cast<QWidget*>(&dialog),
                        Qt::Key_Return);
        break;
    default:
        Note("close");
        dialog.close();
        break;
    }
    if (guard) Flush();
}

// Runs at every tick of any event loop: counts the ticks of the current
// event, finds modal windows that did not come through the platform, and
// stops a long Plot the way a user would.
void TMonkeyRun::TDetail::Tick()
{
    if (!inEvent) return;
    ++ticks;
    if (QWidget* modal = QApplication::activeModalWidget()) {
        bool ours = false;
        for (const auto& dialog : modals)
            ours = ours || dialog == modal;
        if (!ours) {
            Fault("a modal window ran outside the platform: " + Name(modal));
            modal->close();
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        }
    }
    // A pop-up that a control opened by itself (a tool button's menu) runs
    // a loop of its own: the user leaves it, as the menus' items are all
    // reached through the menu bar too.
    if (QWidget* popup = QApplication::activePopupWidget(); popup && ticks % 8 == 0) {
        Note("left the pop-up " + Name(popup));
        popup->close();
    }
    if (world && Window().PlotProgress->Running() && !stopPressed && ticks < stopAtTick && random &&
        random->Chance(30)) {
        // Input while the run shows its progress: it must be dropped.
        Note("while plotting:");
        if (random->Chance(50))
            Click(*random, {&Window()});
        else
            Keys(*random, {&Window()});
    }
    if (world && Window().PlotProgress->Running() && ticks >= stopAtTick && !stopPressed) {
        stopPressed = true;
        Note("stop the run at tick " + std::to_string(ticks));
        if (stopAtTick % 2)
            QTest::keyClick(&Window(), Qt::Key_Escape);
        else
            QTest::mouseClick(Window().PlotProgress->Button, Qt::LeftButton);
    }
    if (ticks == kHangTicks) {
        Fault("the event has not returned after " + std::to_string(kHangTicks) + " timer ticks");
        // The run cannot go on: the parent process reads this line.
        std::printf("FAILURE %s\n", fault.c_str());
        std::fflush(stdout);
        std::fprintf(stderr, "monkey: hang in: %s\n", what.c_str());
        std::fflush(stderr);
        std::_Exit(3);
    }
}

} // namespace qrv::monkey
