#include "Monkey.h"

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

namespace
{

// The Plot run shows its progress after a number of points rather than a
// time, so a run repeats exactly: every question for the time advances it a
// little.
class TCountingClock : public TRunClock
{
public:
    double Seconds() override { return now_ += 2e-4; }

private:
    double now_ = 0;
};

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

// A file's identity on disk: changed content, a replacement by rename or a
// new write all change it.
struct TFileStamp {
    ino_t Inode = 0;
    off_t Size = -1;
    long long Modified = 0;
    bool operator==(const TFileStamp&) const = default;
};

TFileStamp StampOf(const QString& path)
{
    struct stat info {
    };
    if (stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    return {info.st_ino, info.st_size, info.st_mtim.tv_sec * 1000000000ll + info.st_mtim.tv_nsec};
}

std::map<QString, TFileStamp> StampFolder(const QString& folder)
{
    std::map<QString, TFileStamp> stamps;
    for (const auto& [path, bytes] : ReadFolder(folder)) {
        (void)bytes;
        stamps[path] = StampOf(path);
    }
    return stamps;
}

// An error box whose text comes from no message of the program: an internal
// assertion, an exception of the standard library, or none at all.
std::string InternalErrorIn(const std::string& message)
{
    // What the user typed, quoted in the message, says nothing.
    std::string text = message;
    if (const auto open = text.find('\''), close = text.rfind('\'');
        open != close && close != std::string::npos)
        text.erase(open, close - open + 1);
    if (text.find(", line ") != std::string::npos && text.find('(') != std::string::npos)
        return "an internal assertion reached the error box";
    for (const char* marker : {"std::", "basic_string", "vector::", "_M_", "Unknown error", "bad_alloc"})
        if (text.find(marker) != std::string::npos)
            return "an error of no program message reached the error box";
    if (text.empty()) return "an empty error box";
    return {};
}

// The points and table of an independent run of a Plot's fields.
class TReferenceTarget : public TTableTarget
{
public:
    void ClearPoints() override
    {
        TTableTarget::ClearPoints();
        Points.clear();
    }
    void AddPoint(double x, double y) override
    {
        TTableTarget::AddPoint(x, y);
        Points.emplace_back(x, y);
    }
    std::vector<std::pair<double, double>> Points;
};

struct TPlotCapture {
    TPlotFields Fields;
    TAngleMode Mode = TAngleMode::Radians;
    bool BreakAtPoles = false;
};

} // namespace

// The program's windows as the program makes them at start, in that order,
// and ended in the program's order: the windows, then the setting variables,
// then the settings file.
class TMonkeyWorld
{
public:
    TMonkeyWorld(const QString& settingsPath, TRunClock& clock)
    {
        session = std::make_unique<TSettingsFileSession>(settingsPath);
        view = std::make_unique<TViewSettings>();
        window = std::make_unique<TF_Main_GRF>();
        window->SetRunClock(&clock);
        report = std::make_unique<TTextPrintForm>(window.get());
        guide = std::make_unique<THelperForm>(window.get());
        options = std::make_unique<TOptionDialog>(window.get());
        window->SetStartupWindows({report.get(), guide.get(), options.get(), view.get()});
        window->show();
        (void)QTest::qWaitForWindowExposed(window.get());
        window->activateWindow();
        Flush();
    }
    ~TMonkeyWorld() { End(); }

    // False when writing the settings file failed (the error box says so).
    bool End()
    {
        if (!session) return true;
        ClosePopups();
        options.reset();
        guide.reset();
        report.reset();
        window.reset();
        view.reset();
        Flush();
        std::ostringstream errors;
        const bool saved = SaveSettingsAtExit(*session, errors);
        session.reset();
        return saved;
    }

    std::unique_ptr<TSettingsFileSession> session;
    std::unique_ptr<TViewSettings> view;
    std::unique_ptr<TF_Main_GRF> window;
    std::unique_ptr<TTextPrintForm> report;
    std::unique_ptr<THelperForm> guide;
    std::unique_ptr<TOptionDialog> options;
};

// The program-wide values the settings file holds.
struct TStoredValues {
    TColor ElementColor = 0;
    std::string OutputFile;
    bool EnhancedMetafiles = false;
    bool BreakAtPoles = false;
    bool EqualScales = false;
    bool FineLabels = false;
    bool operator==(const TStoredValues&) const = default;

    static TStoredValues Now()
    {
        return {Element_Color,  Output_File,  Use_Enhanced_Metafiles,
                Break_At_Poles, Equal_Scales, Fine_Labels};
    }
    static void Reset()
    {
        Element_Color = kElementColorKey.Default;
        Output_File = std::string(kOutputFileKey.Default);
        Use_Enhanced_Metafiles = kUseEnhancedMetafilesKey.Default;
        Break_At_Poles = kBreakAtPolesKey.Default;
        Equal_Scales = kEqualScalesKey.Default;
        Fine_Labels = kFineLabelsKey.Default;
    }
    std::string Describe() const
    {
        std::ostringstream text;
        text << "colour " << ElementColor << ", output file '" << OutputFile << "', enhanced "
             << EnhancedMetafiles << ", poles " << BreakAtPoles << ", equal " << EqualScales << ", fine "
             << FineLabels;
        return text.str();
    }
};

struct TMonkeyRun::TDetail {
    QString root, out, settingsPath, blockedPath;
    TCountingClock clock;
    TMonkeyWorld* world = nullptr;
    TRandom* random = nullptr;
    std::string what;  // what the current event did
    std::string fault; // the first fault seen during the event
    std::vector<QPointer<QDialog>> modals;
    int depth = 0;
    // Timer ticks of the event loops run during the current event.
    bool inEvent = false;
    long ticks = 0;
    long stopAtTick = 0;
    bool stopPressed = false;
    QTimer ticker;
    // Errors shown.
    std::vector<std::string> errorsThisEvent;
    std::size_t errorsShown = 0;
    bool fileSizeLimited = false;
    rlimit savedLimit{};
    // The last Plot, and the chart and table it left.
    std::size_t clears = 0;
    TPlotCapture capture;
    std::vector<std::pair<double, double>> chartPoints;
    QString tableText;
    bool tableEdited = false;
    bool editedInEvent = false;
    // Files on disk as last seen.
    std::map<QString, TFileStamp> files;
    TFileStamp settingsStamp;
    std::optional<TStoredValues> saved; // what the last program end wrote

    TF_Main_GRF& Window() { return *world->window; }

    static void Activate(QWidget* window)
    {
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window, 1000);
        Flush();
    }

    void Fault(const std::string& problem)
    {
        if (fault.empty()) fault = problem;
    }
    void Note(const std::string& text)
    {
        if (!what.empty()) what += "; ";
        what += text;
    }

    void LimitFileSize(rlim_t bytes)
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
    void UnlimitFileSize()
    {
        if (fileSizeLimited) setrlimit(RLIMIT_FSIZE, &savedLimit);
        fileSizeLimited = false;
    }

    // A file the user names in a save or print dialog: in the run's folder,
    // in a folder that does not exist, under a path through a plain file, or
    // in the run's folder with the disk full for the rest of the event.
    std::string ChooseFile(TRandom& r, const std::string& proposal, const std::string& extension)
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
        static const std::vector<std::string> extensions = {
            "", ".txt", ".csv", ".bmp", ".wmf", ".emf", ".png", ".svg", ".pdf", ".TXT", ".xyz", ".txt.bmp"};
        std::string name = proposal.substr(
            proposal.find_last_of('/') == std::string::npos ? 0 : proposal.find_last_of('/') + 1);
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

    // --- events --------------------------------------------------------------

    std::vector<QWidget*> Tops() const
    {
        std::vector<QWidget*> tops;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible() || top->windowType() == Qt::Popup || top->windowType() == Qt::ToolTip)
                continue;
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

    template <class Keep> std::vector<QWidget*> WidgetsIn(const std::vector<QWidget*>& tops, Keep keep) const
    {
        std::vector<QWidget*> found;
        for (QWidget* top : tops) {
            if (keep(top)) found.push_back(top);
            for (QWidget* child : top->findChildren<QWidget*>())
                if (child->isVisible() && child->window() == top && keep(child)) found.push_back(child);
        }
        return found;
    }

    static bool IsTextField(QWidget* w)
    {
        return qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
               qobject_cast<QTextEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
               (qobject_cast<QComboBox*>(w) && w->isEnabled());
    }

    bool InTable(QWidget* w)
    {
        return world && w && (w == Window().Memo1 || Window().Memo1->isAncestorOf(w));
    }

    void Click(TRandom& r, const std::vector<QWidget*>& tops)
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
        Note(std::string(twice ? "double-click " : "click ") + Name(target) + " at " +
             std::to_string(at.x()) + "," + std::to_string(at.y()));
        QPointer<QWidget> guard(target);
        if (twice)
            QTest::mouseDClick(target, button, RandomModifiers(r), at);
        else
            QTest::mouseClick(target, button, RandomModifiers(r), at);
        // A middle click pastes the selection into the table.
        if (guard && button == Qt::MiddleButton && InTable(QApplication::focusWidget()))
            tableEdited = editedInEvent = true;
    }

    void Wheel(TRandom& r, QWidget* target)
    {
        const QPoint at = RandomPoint(r, target);
        const int notches = r.Between(-3, 3) * (r.Chance(20) ? 40 : 120);
        const bool sideways = r.Chance(15);
        Note("wheel " + std::to_string(notches) + " on " + Name(target));
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(),
                          sideways ? QPoint(notches, 0) : QPoint(0, notches), Qt::NoButton,
                          RandomModifiers(r), Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    }

    void Drag(TRandom& r, QWidget* target)
    {
        QPointer<QWidget> guard(target);
        const Qt::MouseButton button = RandomButton(r);
        const Qt::KeyboardModifiers modifiers = RandomModifiers(r);
        QPoint at = RandomPoint(r, target);
        const QPoint end = r.Chance(10) ? at + QPoint(r.Between(-2000, 2000), r.Between(-2000, 2000))
                                        : RandomPoint(r, target);
        Note("drag on " + Name(target) + " from " + std::to_string(at.x()) + "," + std::to_string(at.y()) +
             " to " + std::to_string(end.x()) + "," + std::to_string(end.y()));
        QTest::mousePress(target, button, modifiers, at);
        const int steps = r.Between(1, 5);
        for (int i = 1; i <= steps && guard; ++i) {
            const QPoint step = at + (end - at) * i / steps;
            QMouseEvent move(QEvent::MouseMove, step, target->mapToGlobal(step), Qt::NoButton, button,
                             modifiers);
            QApplication::sendEvent(target, &move);
        }
        if (guard) QTest::mouseRelease(target, button, modifiers, end);
    }

    void Hover(TRandom& r, QWidget* target)
    {
        const QPoint at = RandomPoint(r, target);
        Note("move over " + Name(target));
        QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(target, &move);
    }

    void Chart(TRandom& r, const std::vector<QWidget*>& tops)
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
    void ZoomDeep(TRandom& r, const std::vector<QWidget*>& tops)
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
                QWheelEvent wheel(centre, chart->mapToGlobal(centre), QPoint(), QPoint(0, notches),
                                  Qt::NoButton, {}, Qt::NoScrollPhase, false);
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

    void TypeInto(TRandom& r, QWidget* field, const std::string& text)
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

    void Type(TRandom& r, const std::vector<QWidget*>& tops)
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

    void Keys(TRandom& r, const std::vector<QWidget*>& tops)
    {
        static const std::vector<int> keys = {
            Qt::Key_Backspace, Qt::Key_Delete,  Qt::Key_Left,   Qt::Key_Right,  Qt::Key_Home,
            Qt::Key_End,       Qt::Key_Up,      Qt::Key_Down,   Qt::Key_PageUp, Qt::Key_PageDown,
            Qt::Key_Tab,       Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Escape,
            Qt::Key_Space,     Qt::Key_A,       Qt::Key_Z,      Qt::Key_Y,      Qt::Key_X,
            Qt::Key_C,         Qt::Key_V,       Qt::Key_F,      Qt::Key_1,      Qt::Key_F1,
            Qt::Key_F2,        Qt::Key_F5,      Qt::Key_F10,    Qt::Key_Insert, Qt::Key_Menu};
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
            Note("key " + QKeySequence(key | int(modifiers)).toString().toStdString() + " on " +
                 Name(target));
            if (InTable(target)) tableEdited = editedInEvent = true;
            QPointer<QWidget> guard(target);
            QTest::keyClick(target, Qt::Key(key), modifiers);
            if (!guard) break;
            target = QApplication::focusWidget();
        }
    }

    void Shortcut(TRandom& r, const std::vector<QWidget*>& tops)
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

    void Menu(TRandom& r, const std::vector<QWidget*>& tops)
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

    void Plot(TRandom& r)
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

    void FillFields(TRandom& r)
    {
        // A plottable range now and then, so plots succeed and the chart
        // holds something to zoom, scroll and export.
        const char s = DecimalSeparator();
        const int lowest = r.Between(-20, 10);
        const int highest = lowest + r.Between(1, 40);
        const std::string step =
            r.Chance(20) ? "0" + std::string(1, s) + "001" : "0" + std::string(1, s) + "5";
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
                r.Chance(30)
                    ? std::string(r.Pick({"1e300*x", "exp(x*20)", "1e-310*x", "power(10, 30*x)", "1/(x-0.5)",
                                          "tan(x)", "x*1e307", "-1e308+x", "sqrt(x)*1e-300", "1e-320",
                                          "x*x*x*x*x*x*x*x*1e200", "ln(x)", "1/x"}))
                    : RandomFormula(r, s, 3);
            Note("formula '" + Shorten(formula) + "'");
            QTest::keyClicks(Window().Edit1, QString::fromUtf8(formula));
        }
        if (r.Chance(50)) Plot(r);
    }

    void ItemView(TRandom& r, const std::vector<QWidget*>& tops)
    {
        auto views =
            WidgetsIn(tops, [](QWidget* w) { return qobject_cast<QAbstractItemView*>(w) != nullptr; });
        if (views.empty()) return Click(r, tops);
        auto* view = static_cast<QAbstractItemView*>(r.Pick(views));
        QAbstractItemModel* model = view->model();
        if (!model || model->rowCount() == 0) return Click(r, tops);
        const QModelIndex index = model->index(int(r.Below(std::size_t(model->rowCount()))),
                                               int(r.Below(std::size_t(std::max(1, model->columnCount())))));
        const QPoint at = view->visualRect(index).center();
        Note("item " + std::to_string(index.row()) + "," + std::to_string(index.column()) + " of " +
             Name(view));
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
            QTest::keyClick(view, r.Pick({Qt::Key_Delete, Qt::Key_F2, Qt::Key_Return, Qt::Key_Space,
                                          Qt::Key_Up, Qt::Key_Down}));
            break;
        default:
            Drag(r, view->viewport());
            break;
        }
        if (guard) Flush();
    }

    void CloseWindow(TRandom& r, const std::vector<QWidget*>& tops)
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
    void MainEvent(TRandom& r)
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
    void DialogEvent(TRandom& r, QDialog& dialog)
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
    void LeaveDialog(TRandom& r, QDialog& dialog)
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
    void Tick()
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

    // --- checks ---------------------------------------------------------------

    void CaptureChart()
    {
        chartPoints.clear();
        TLineSeries& series = *Window().Series1;
        for (int i = 0; i < series.PointCount(); ++i)
            chartPoints.emplace_back(series.XValueAt(i), series.YValueAt(i));
        tableText = Window().Memo1->toPlainText();
        tableEdited = false;
    }

    std::string CheckPlot()
    {
        TReferenceTarget reference;
        std::string referenceError;
        {
            const TScopedAngleMode mode(capture.Mode);
            try {
                RunPlot(capture.Fields, reference, {.BreakAtPoles = capture.BreakAtPoles});
            } catch (const std::exception& e) {
                referenceError = ExceptionDisplayText(e);
            }
        }
        const QString full = QString::fromLatin1(reference.Table().Text());
        // Typing into the table in the same event, after the Plot, is the
        // user's edit.
        const bool edited = tableEdited && editedInEvent;
        CaptureChart();
        tableEdited = edited;
        if (chartPoints.size() > reference.Points.size())
            return "the chart holds more points than the Plot makes";
        // The chart keeps its points in the order of x, the run makes them in
        // the order of the step: the points are compared as sets.
        auto made =
            std::vector(reference.Points.begin(), reference.Points.begin() + long(chartPoints.size()));
        auto shown = chartPoints;
        std::sort(made.begin(), made.end());
        std::sort(shown.begin(), shown.end());
        for (std::size_t i = 0; i < shown.size(); ++i)
            if (shown[i] != made[i])
                return "the chart's points differ from the Plot's (" + std::to_string(i) + " of " +
                       std::to_string(shown.size()) + " in the order of x)";
        const bool stoppedShown =
            Window().PlotProgress->isVisible() &&
            Window().PlotProgress->Button->text() == QString::fromUtf8(Text::ProgressClose);
        if (chartPoints.size() < reference.Points.size()) {
            if (!stoppedShown) return "the Plot ended early without an error or the notice of a stop";
            if (!edited && !full.startsWith(tableText))
                return "the table of a stopped Plot is not the start of the Plot's";
            return {};
        }
        if (!edited && tableText != full) return "the table differs from the Plot's";
        if (!referenceError.empty() && !stoppedShown &&
            (errorsThisEvent.empty() || errorsThisEvent.back() != referenceError))
            return "the Plot's error '" + referenceError + "' was not shown";
        return {};
    }

    // The texts of read-only fields before the event: no key or click may
    // change them.
    std::vector<std::pair<QPointer<QWidget>, QString>> readOnlyTexts;
    QSize windowSize;

    static std::optional<QString> ReadOnlyText(QWidget* w)
    {
        if (auto* line = qobject_cast<QLineEdit*>(w); line && line->isReadOnly()) return line->text();
        if (auto* plain = qobject_cast<QPlainTextEdit*>(w); plain && plain->isReadOnly())
            return plain->toPlainText();
        if (auto* rich = qobject_cast<QTextEdit*>(w); rich && rich->isReadOnly()) return rich->toPlainText();
        return std::nullopt;
    }

    void NoteReadOnlyTexts()
    {
        readOnlyTexts.clear();
        for (QWidget* w : WidgetsIn(Tops(), [](QWidget* w) { return ReadOnlyText(w).has_value(); }))
            readOnlyTexts.emplace_back(w, *ReadOnlyText(w));
    }

    std::string CheckReadOnlyTexts()
    {
        for (const auto& [widget, text] : readOnlyTexts) {
            if (!widget || !widget->isVisible()) continue;
            const auto now = ReadOnlyText(widget);
            if (now && *now != text) return "the read-only text of " + Name(widget) + " changed";
        }
        if (Window().size() != windowSize) return "the window of fixed size changed its size";
        return {};
    }

    // The marks of the View and Mode menus and what they stand for agree.
    std::string CheckMarks()
    {
        TF_Main_GRF& w = Window();
        const int modes =
            int(w.Radians1->isChecked()) + int(w.Degrees1->isChecked()) + int(w.Grads1->isChecked());
        if (modes != 1) return "the Mode menu has " + std::to_string(modes) + " marked items";
        if (CurrentAngleMode() != w.AngleMode()) return "the angle mode is not the marked Mode item";
        if (!w.Graphics1->isChecked() && !w.Text1->isChecked())
            return "neither the chart nor the table is marked";
        if (w.GroupBox2->isVisible() != w.Graphics1->isChecked())
            return "the chart panel does not follow its mark";
        if (w.GroupBox4->isVisible() != w.Text1->isChecked())
            return "the table panel does not follow its mark";
        if (w.ToolBar1->isVisible() != w.Toolbar2->isChecked()) return "the toolbar does not follow its mark";
        if (w.BreakAtPoles1->isChecked() != Break_At_Poles) return "the pole mark is not the pole setting";
        return {};
    }

    std::string CheckChartAndTable()
    {
        TLineSeries& series = *Window().Series1;
        if (std::size_t(series.PointCount()) != chartPoints.size())
            return "the chart's points changed without a Plot";
        for (int i = 0; i < series.PointCount(); ++i)
            if (std::pair(series.XValueAt(i), series.YValueAt(i)) != chartPoints[std::size_t(i)])
                return "the chart's point " + std::to_string(i) + " changed without a Plot";
        const QString now = Window().Memo1->toPlainText();
        if (!tableEdited && now != tableText) return "the table changed without a Plot or an edit";
        tableText = now;
        return {};
    }

    std::string CheckFiles()
    {
        if (StampOf(settingsPath) != settingsStamp) return "the settings file changed while the program runs";
        auto now = StampFolder(root);
        now.erase(settingsPath);
        now.erase(blockedPath);
        const QString table = Window().Memo1->toPlainText();
        for (const auto& [path, stamp] : now) {
            auto old = files.find(path);
            if (old != files.end() && old->second == stamp) continue;
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return "a written file cannot be read: " + path.toStdString();
            const std::string problem = SavedFileProblem(file.readAll(), table);
            if (!problem.empty())
                return "a file written incomplete or wrong, " + problem + ": " + path.toStdString();
        }
        files = std::move(now);
        return {};
    }
};

TMonkeyRun::TMonkeyRun(std::uint64_t seed, const QString& folder)
    : seed_(seed), folder_(folder), detail_(std::make_unique<TDetail>())
{
    TRandom setup(MixSeed(seed ^ 0x5E77));
    separator_ = setup.Chance(30) ? ',' : '.';
    QFile::setPermissions(folder + "/out/readonly",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder + "/out");
    QDir().mkpath(folder + "/settings");
    QDir().mkpath(folder + "/out/readonly");
    QFile::setPermissions(folder + "/out/readonly", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    TDetail& d = *detail_;
    d.root = folder;
    d.out = folder + "/out";
    d.settingsPath = folder + "/settings/QURVIA.INI";
    d.blockedPath = folder + "/blocked";
    {
        QFile blocked(d.blockedPath);
        if (blocked.open(QIODevice::WriteOnly)) blocked.write("not a folder");
    }
    // The settings file the first start finds: none, a valid one, or one
    // with damaged lines.
    const std::size_t kind = setup.Below(3);
    if (kind > 0) {
        QFile file(d.settingsPath);
        if (file.open(QIODevice::WriteOnly)) {
            std::string text = "[Appearance]\r\nElement_Color=" + std::to_string(setup.Below(0x1000000)) +
                               "\r\n[System]\r\nOutput_File=" + d.out.toStdString() +
                               "/start.txt\r\n[General]\r\n"
                               "Use_Enhanced_Metafiles=" +
                               std::to_string(setup.Below(2)) +
                               "\r\n[View]\r\n"
                               "Break_At_Poles=" +
                               std::to_string(setup.Below(2)) + "\r\n";
            if (kind == 2) text += RandomGarbage(setup, 200) + "\n[Appearance\nElement_Color=red\n=\n[]\n";
            file.write(text.c_str());
        }
    }
    d.ticker.setInterval(0);
    QObject::connect(&d.ticker, &QTimer::timeout, [&d] { d.Tick(); });
    d.ticker.start();
}

TMonkeyRun::~TMonkeyRun()
{
    if (world_) world_->End();
    detail_->world = nullptr;
    world_.reset();
    platform_.reset();
    SetDecimalSeparator('.');
}

std::size_t TMonkeyRun::ErrorsShown() const
{
    return detail_->errorsShown;
}

// Every dialog of the program, answered at random from the current event's
// generator; modal windows are shown and worked like the main window before
// the user leaves them.
class TMonkeyPlatform : public test::TPlatformDouble
{
public:
    explicit TMonkeyPlatform(TMonkeyRun::TDetail& detail) : d_(detail) {}

    TModalResult ShowMessage(const TMessageRequest& request) override
    {
        TRandom& r = *d_.random;
        if (request.type == TMsgDlgType::mtError) {
            d_.errorsThisEvent.push_back(request.text);
            ++d_.errorsShown;
            if (auto problem = InternalErrorIn(request.text); !problem.empty())
                d_.Fault(problem + ": " + request.text);
        }
        if (request.text.empty()) d_.Fault("a message box without text");
        std::vector<TModalResult> answers;
        for (auto [button, result] :
             {std::pair{mbYes, TModalResult::mrYes}, std::pair{mbNo, TModalResult::mrNo},
              std::pair{mbOK, TModalResult::mrOk}, std::pair{mbCancel, TModalResult::mrCancel},
              std::pair{mbAbort, TModalResult::mrAbort}, std::pair{mbRetry, TModalResult::mrRetry},
              std::pair{mbIgnore, TModalResult::mrIgnore}})
            if (request.buttons & button) answers.push_back(result);
        // Closing the box without a button.
        answers.push_back((request.buttons & mbCancel) || !(request.buttons & mbNo) ? TModalResult::mrCancel
                                                                                    : TModalResult::mrNo);
        const TModalResult answer = r.Pick(answers);
        d_.Note("message '" + Shorten(request.text) + "' answered " + std::to_string(int(answer)));
        return answer;
    }

    std::optional<TColor> ChooseColor(TColor) override
    {
        TRandom& r = *d_.random;
        if (r.Chance(30)) {
            d_.Note("colour cancelled");
            return std::nullopt;
        }
        const TColor color = TColor(r.Below(0x1000000));
        d_.Note("colour " + std::to_string(color));
        return color;
    }

    class TOpenDialog : public TOpenSaveDialog
    {
    public:
        TOpenDialog(std::string box, int index) : box_(std::move(box)), index_(index) {}
        int FilterIndex() const override { return index_; }
        std::string FileNameBox() const override { return box_; }
        void SetFileNameBox(const std::string& text) override { box_ = text; }
        std::string box_;
        int index_;
    };

    std::optional<TSaveDialogChoice> ShowSaveDialog(const TSaveDialog& dialog) override
    {
        TRandom& r = *d_.random;
        TOpenDialog open(dialog.FileName, dialog.FilterIndex);
        const auto types = int(ParseFilter(dialog.Filter).size());
        const int changes = r.Between(0, 2);
        for (int i = 0; i < changes && types > 0; ++i) {
            open.index_ = r.Between(1, types);
            d_.Note("file type " + std::to_string(open.index_));
            if (dialog.OnTypeChange) dialog.OnTypeChange(open);
        }
        if (r.Chance(20)) {
            d_.Note("save cancelled");
            return std::nullopt;
        }
        const std::string box = open.FileNameBox();
        const std::string extension = box.find('.') == std::string::npos ? "" : box.substr(box.rfind('.'));
        return TSaveDialogChoice{d_.ChooseFile(r, box, extension), open.index_};
    }

    bool ExecutePrinterSetup(QWidget*, const TPrinterOffer& offer, TPrinterSetup& setup) override
    {
        TRandom& r = *d_.random;
        if (r.Chance(35) || offer.Printers.isEmpty()) {
            d_.Note("printer set-up cancelled");
            return false;
        }
        setup.PrinterIndex =
            r.Chance(80) ? int(offer.Printers.size()) - 1 : int(r.Below(offer.Printers.size()));
        setup.Orientation = r.Chance(50) ? TPrinterOrientation::poPortrait : TPrinterOrientation::poLandscape;
        if (offer.PageSizes) {
            const auto sizes = offer.PageSizes(offer.Printers[setup.PrinterIndex]);
            if (!sizes.isEmpty()) setup.PageSize = sizes[qsizetype(r.Below(std::size_t(sizes.size())))];
        }
        setup.OutputFileName =
            r.Chance(40) ? QString() : QString::fromStdString(d_.ChooseFile(r, "", ".pdf"));
        d_.Note("printer set-up confirmed");
        return true;
    }

    std::optional<QString> ChoosePdfFile(QWidget*, const QString& proposal) override
    {
        TRandom& r = *d_.random;
        if (r.Chance(25)) {
            d_.Note("PDF name cancelled");
            return std::nullopt;
        }
        return QString::fromStdString(d_.ChooseFile(r, proposal.toStdString(), ".pdf"));
    }

    int RunModal(QDialog& dialog) override
    {
        TRandom& r = *d_.random;
        QPointer<QDialog> guard(&dialog);
        d_.modals.push_back(guard);
        d_.Note("[" + Name(&dialog));
        ++d_.depth;
        dialog.show();
        d_.Activate(&dialog);
        if (d_.depth <= 3) {
            const int steps = r.Between(0, 9);
            for (int i = 0; i < steps && guard && guard->isVisible(); ++i) {
                d_.DialogEvent(r, *guard);
                ClosePopups();
            }
        }
        if (guard && guard->isVisible()) d_.LeaveDialog(r, *guard);
        // A window that stays open after the user's way out (an edit that
        // refuses its text keeps the settings dialog open) is cancelled,
        // then closed.
        if (guard && guard->isVisible()) {
            d_.Note("still open: cancelled");
            guard->reject();
            Flush();
        }
        if (guard && guard->isVisible()) guard->hide();
        --d_.depth;
        d_.modals.pop_back();
        if (d_.world && d_.depth == 0 && d_.Window().isVisible()) d_.Activate(&d_.Window());
        d_.Note("]");
        return guard ? guard->result() : QDialog::Rejected;
    }

    void ShowError(QWidget*, std::exception_ptr error) override { ShowException(error); }

private:
    TMonkeyRun::TDetail& d_;
};

std::string TMonkeyRun::StartWorld()
{
    TDetail& d = *detail_;
    TStoredValues::Reset();
    // What one program start finds: the PDF printer without a file, an empty
    // clipboard.
    TPrinter& printer = Printer();
    printer.SetPrinterIndex(int(printer.Printers().size()) - 1);
    printer.SetOutputFileName(QString());
    printer.SetOrientation(TPrinterOrientation::poPortrait);
    QGuiApplication::clipboard()->clear();
    world_ = std::make_unique<TMonkeyWorld>(d.settingsPath, d.clock);
    d.world = world_.get();
    d.settingsStamp = StampOf(d.settingsPath);
    d.files = StampFolder(d.root);
    d.CaptureChart();
    d.windowSize = d.Window().size();
    d.Window().Series1->OnClearValues = [&d](TChartSeries&) {
        ++d.clears;
        d.capture = {d.Window().Fields(), CurrentAngleMode(), Break_At_Poles};
    };
    if (OnWindow) OnWindow(d.Window(), d.out);
    if (d.saved && TStoredValues::Now() != *d.saved)
        return "the settings read at start (" + TStoredValues::Now().Describe() +
               ") are not those written at exit (" + d.saved->Describe() + ")";
    return {};
}

std::string TMonkeyRun::EndWorld()
{
    TDetail& d = *detail_;
    if (!world_) return {};
    const TStoredValues values = TStoredValues::Now();
    d.world = nullptr;
    const bool saved = world_->End();
    world_.reset();
    d.saved = values;
    if (!saved) return "writing the settings file at exit failed";
    return {};
}

std::optional<TMonkeyFailure> TMonkeyRun::RunOne(std::size_t index)
{
    TDetail& d = *detail_;
    TRandom random(EventSeed(seed_, index));
    d.random = &random;
    d.what.clear();
    d.fault.clear();
    d.errorsThisEvent.clear();
    d.ticks = 0;
    d.stopAtTick = long(random.Between(1, 12));
    d.stopPressed = false;
    d.editedInEvent = false;
    const std::size_t clears = d.clears;
    d.inEvent = true;
    // Keys and shortcuts go to the active window, as on a desktop where the
    // window the user works in has the focus.
    if (!QApplication::activeWindow()) d.Activate(&d.Window());
    d.NoteReadOnlyTexts();
    d.MainEvent(random);
    ClosePopups();
    Flush();
    d.inEvent = false;
    d.UnlimitFileSize();
    if (d.clears != clears) d.Note("plotted " + std::to_string(d.Window().Series1->PointCount()) + " points");
    log_.push_back(std::to_string(index) + ": " + d.what);
    std::string problem = d.fault;
    if (problem.empty() && d.clears != clears) {
        ++plots_;
        problem = d.CheckPlot();
    }
    if (problem.empty()) problem = d.CheckChartAndTable();
    if (problem.empty() && d.Window().isVisible()) problem = d.CheckMarks();
    if (problem.empty() && d.Window().isVisible()) problem = d.CheckReadOnlyTexts();
    if (problem.empty()) problem = d.CheckFiles();
    if (problem.empty() && !d.Window().isVisible()) {
        // The main window closed: the program ends and starts again.
        ++restarts_;
        problem = EndWorld();
        if (problem.empty()) problem = StartWorld();
    }
    d.random = nullptr;
    if (!problem.empty()) return TMonkeyFailure{index, problem};
    return std::nullopt;
}

std::optional<TMonkeyFailure> TMonkeyRun::Run(const TEventList& events)
{
    TDetail& d = *detail_;
    SetDecimalSeparator(separator_);
    if (!platform_) platform_ = std::make_unique<TMonkeyPlatform>(d);
    TRandom startRandom(seed_);
    d.random = &startRandom;
    if (!world_) {
        if (std::string problem = StartWorld(); !problem.empty()) return TMonkeyFailure{0, problem};
    }
    for (std::size_t index : events) {
        if (OnEvent) OnEvent(index);
        if (auto failure = RunOne(index)) return failure;
    }
    d.random = &startRandom;
    // The program ends; the next start must read what it wrote.
    if (std::string problem = EndWorld(); !problem.empty())
        return TMonkeyFailure{events.empty() ? 0 : events.back(), problem};
    if (std::string problem = StartWorld(); !problem.empty())
        return TMonkeyFailure{events.empty() ? 0 : events.back(), problem};
    EndWorld();
    d.random = nullptr;
    return std::nullopt;
}

TEventList AllEvents(std::size_t count)
{
    TEventList events(count);
    for (std::size_t i = 0; i < count; ++i)
        events[i] = i;
    return events;
}

std::string DescribeList(const TEventList& events)
{
    std::string text = std::to_string(events.size()) + (events.size() == 1 ? " event:" : " events:");
    for (std::size_t i = 0; i < events.size(); ++i)
        text += (i ? ", " : " ") + std::to_string(events[i]);
    return text;
}

} // namespace qrv::monkey
