#include "MonkeyDetail.h"

#include "MonkeyFiles.h"
#include "MonkeyRandom.h"
#include "MonkeyTexts.h"

#include "QrvAngleMode.h"
#include "QrvAppTexts.h"
#include "QrvApplication.h"
#include "QrvChart.h"
#include "QrvCurveRun.h"
#include "QrvDocumentSession.h"
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
        // What runs is the document's curve: Plot puts the fields into it
        // first, a View choice runs it again as it stands.
        const TDocument& document = d.Window().Session->Document();
        // A hidden curve is not run: its chart is checked with those of
        // several curves.
        const bool single = document.Curves.size() == 1 && document.Curves[0].Kind == TCurveKind::Function &&
                            document.Curves[0].Visible;
        d.capture = {single ? FunctionFields(document.Curves[0]) : d.Window().Fields(), CurrentAngleMode(),
                     Break_At_Poles, single};
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
    if (!platform_) platform_ = MakeMonkeyPlatform(d);
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
