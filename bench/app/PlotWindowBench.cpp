// How long a Plot of 10 001 points takes in the main window, offscreen:
// from the click on Plot to the end of the repaint that follows, and its
// parts. Also what the table would cost filled one line at a time. Prints
// figures (median of the runs, milliseconds); asserts nothing.
#include "QrvChart.h"
#include "QrvPlotChart.h"
#include "QrvPlotProgress.h"
#include "QrvTableView.h"
#include "m_grf_w.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

// Median and fastest of the runs: on a busy machine the fastest run shows
// the cost of the work itself, the median what a user would meet.
struct TFigure {
    double Median;
    double Fastest;
};

TFigure Measure(int runs, const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front()};
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    qrv::TF_Main_GRF window;
    window.SetFields({"5.22 - 5.44E-4 * (x - 817)", "0", "10000", "1"});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) std::printf("window not exposed\n");
    auto settle = [] { QApplication::processEvents(); };

    TFigure clickToRepaint = Measure(runs, settle, [&] {
        QTest::mouseClick(window.PlotSpdBtn, Qt::LeftButton);
        // The paint events the run requested: chart and table.
        QApplication::processEvents();
        if (!window.Chart1->BufferValid()) window.Chart1->repaint();
    });
    const int lines = window.Memo1->LineCount();

    TFigure runOnly = Measure(runs, settle, [&] { window.PlotSpdBtnClick(); });

    const qrv::TPlotFields fields = window.Fields();
    TFigure tableOnly = Measure(runs, settle, [&] {
        qrv::TTableTarget target;
        qrv::RunPlot(fields, target);
    });
    TFigure seriesAndTable = Measure(runs, settle, [&] {
        qrv::TSeriesTableTarget target(window.Series1);
        qrv::RunPlot(fields, target);
    });
    // The same run watched for progress, as the window runs it: one clock
    // reading a point; a run this short never shows the progress.
    struct TUnseen : qrv::TProgressView {
        void Begin(std::size_t) override {}
        bool Update(std::size_t) override { return true; }
        void End() noexcept override {}
    } unseen;
    qrv::TSteadyClock clock;
    TFigure watched = Measure(runs, settle, [&] {
        qrv::TSeriesTableTarget target(window.Series1);
        qrv::TProgressTarget progress(target, unseen, clock, qrv::ExpectedPoints(fields));
        qrv::RunPlot(fields, progress);
    });

    QString table = window.Memo1->toPlainText();
    QStringList split = table.split('\n');
    QPlainTextEdit memo;
    memo.show();
    TFigure setOnce = Measure(
        runs, [&] { memo.clear(); }, [&] { memo.setPlainText(table); });
    TFigure lineByLine = Measure(
        std::min(runs, 3), [&] { memo.clear(); },
        [&] {
            for (const QString& line : split)
                memo.appendPlainText(line);
        });
    // The table control the window uses: the text set, then the rows in
    // view painted.
    qrv::TTableView view;
    view.resize(170, 300);
    view.show();
    TFigure viewSetOnce = Measure(
        runs, [&] { view.clear(); },
        [&] {
            view.setPlainText(table);
            view.viewport()->repaint();
        });
    TFigure chartPaint = Measure(
        runs, [&] { window.Chart1->RequestRepaint(); }, [&] { window.Chart1->repaint(); });

    std::printf("Plot of %d points, offscreen, %d runs (ms)      median   fastest\n", lines, runs);
    auto row = [](const char* name, TFigure f) {
        std::printf("  %-32s %8.2f  %8.2f\n", name, f.Median, f.Fastest);
    };
    row("click to end of repaint", clickToRepaint);
    row("run, table set once", runOnly);
    row("run into the table alone", tableOnly);
    row("run into series and table", seriesAndTable);
    row("the same, watched for progress", watched);
    row("chart repaint", chartPaint);
    row("table control: set and paint", viewSetOnce);
    row("edit control: set text once", setOnce);
    row("edit control: line by line", lineByLine);
    return 0;
}
