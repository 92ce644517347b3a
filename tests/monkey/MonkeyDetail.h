// The inside of a monkey run, shared by its source files: the program's
// windows as a run makes and ends them, the values the settings file holds,
// and the run's state with the events (MonkeyEvents.cpp), the checks after
// each event (MonkeyChecks.cpp) and the dialogs answered through the
// platform (MonkeyPlatform.cpp).
#pragma once

#include "Monkey.h"
#include "MonkeyRandom.h"

#include "QrvApplication.h"
#include "QrvHelperForm.h"
#include "QrvOptionDialog.h"
#include "QrvPlotProgress.h"
#include "QrvPlotRun.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"
#include "QrvTestPlatform.h"
#include "QrvTextPrintForm.h"
#include "QrvViewSettings.h"
#include "m_grf_w.h"

#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

namespace qrv::monkey
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

// A file's identity on disk: changed content, a replacement by rename or a
// new write all change it.
struct TFileStamp {
    ino_t Inode = 0;
    off_t Size = -1;
    long long Modified = 0;
    bool operator==(const TFileStamp&) const = default;
};

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
    // The document is one function curve, the one the chart's first series
    // and the table show: its run can be checked against a run of its own.
    bool Checked = true;
};

void Flush();
void ClosePopups();
std::string Name(const QWidget* widget);
std::string Shorten(const std::string& text);
QPoint RandomPoint(TRandom& random, const QWidget* widget);
Qt::KeyboardModifiers RandomModifiers(TRandom& random);
Qt::MouseButton RandomButton(TRandom& random);
TFileStamp StampOf(const QString& path);
std::map<QString, TFileStamp> StampFolder(const QString& folder);
// An error box whose text comes from no message of the program: an internal
// assertion, an exception of the standard library, or none at all.
std::string InternalErrorIn(const std::string& message);

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

    static void Activate(QWidget* window);

    void Fault(const std::string& problem);
    void Note(const std::string& text);

    void LimitFileSize(rlim_t bytes);
    void UnlimitFileSize();

    // A file the user names in a save or print dialog: in the run's folder,
    // in a folder that does not exist, under a path through a plain file, or
    // in the run's folder with the disk full for the rest of the event.
    std::string ChooseFile(TRandom& r, const std::string& proposal, const std::string& extension);

    std::vector<QWidget*> Tops() const;

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

    static bool IsTextField(QWidget* w);

    bool InTable(QWidget* w);

    void Click(TRandom& r, const std::vector<QWidget*>& tops);

    void Wheel(TRandom& r, QWidget* target);

    void Drag(TRandom& r, QWidget* target);

    void Hover(TRandom& r, QWidget* target);

    void Chart(TRandom& r, const std::vector<QWidget*>& tops);

    // A user who goes on zooming into (or scrolling, or wheeling) the chart
    // far beyond any sensible range.
    void ZoomDeep(TRandom& r, const std::vector<QWidget*>& tops);

    void TypeInto(TRandom& r, QWidget* field, const std::string& text);

    void Type(TRandom& r, const std::vector<QWidget*>& tops);

    void Keys(TRandom& r, const std::vector<QWidget*>& tops);

    void Shortcut(TRandom& r, const std::vector<QWidget*>& tops);

    void Menu(TRandom& r, const std::vector<QWidget*>& tops);

    void Plot(TRandom& r);

    void FillFields(TRandom& r);

    void ItemView(TRandom& r, const std::vector<QWidget*>& tops);

    void CloseWindow(TRandom& r, const std::vector<QWidget*>& tops);

    // One event of the main scope: any window shown, without a modal one.
    void MainEvent(TRandom& r);

    // One event inside a modal window.
    void DialogEvent(TRandom& r, QDialog& dialog);

    // How the user leaves a modal window: a button, Esc, Enter or the
    // window's close control.
    void LeaveDialog(TRandom& r, QDialog& dialog);

    // Runs at every tick of any event loop: counts the ticks of the current
    // event, finds modal windows that did not come through the platform, and
    // stops a long Plot the way a user would.
    void Tick();

    void CaptureChart();

    std::string CheckPlot();

    // The texts of read-only fields before the event: no key or click may
    // change them.
    std::vector<std::pair<QPointer<QWidget>, QString>> readOnlyTexts;
    QSize windowSize;

    static std::optional<QString> ReadOnlyText(QWidget* w);

    void NoteReadOnlyTexts();

    std::string CheckReadOnlyTexts();

    // The marks of the View and Mode menus and what they stand for agree.
    std::string CheckMarks();

    std::string CheckChartAndTable();

    std::string CheckFiles();
};

// The platform double of a run: every dialog answered at random.
std::unique_ptr<test::TPlatformDouble> MakeMonkeyPlatform(TMonkeyRun::TDetail& detail);

} // namespace qrv::monkey
