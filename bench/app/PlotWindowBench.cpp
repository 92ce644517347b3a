// How long a Plot of 10 001 points takes in the main window, offscreen:
// from the click on Plot to the end of the repaint that follows, and its
// parts. Also what the table would cost filled one line at a time. Prints
// figures (median of the runs, milliseconds); asserts nothing.
#include "QrvChart.h"
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

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Measure(int runs, const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    return Median(ms);
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

    double clickToRepaint = Measure(runs, settle, [&] {
        QTest::mouseClick(window.PlotSpdBtn, Qt::LeftButton);
        // The paint events the run requested: chart and table.
        QApplication::processEvents();
        if (!window.Chart1->BufferValid()) window.Chart1->repaint();
    });
    const int lines = window.Memo1->document()->blockCount();

    double runOnly = Measure(runs, settle, [&] { window.PlotSpdBtnClick(); });

    QString table = window.Memo1->toPlainText();
    QStringList split = table.split('\n');
    QPlainTextEdit memo;
    memo.show();
    double setOnce = Measure(
        runs, [&] { memo.clear(); }, [&] { memo.setPlainText(table); });
    double lineByLine = Measure(
        std::min(runs, 3), [&] { memo.clear(); },
        [&] {
            for (const QString& line : split)
                memo.appendPlainText(line);
        });
    double chartPaint = Measure(
        runs, [&] { window.Chart1->RequestRepaint(); }, [&] { window.Chart1->repaint(); });

    std::printf("Plot of %d points, offscreen, median of %d runs (ms)\n", lines, runs);
    std::printf("  click to end of repaint      %8.2f\n", clickToRepaint);
    std::printf("  run with table set once      %8.2f\n", runOnly);
    std::printf("  chart repaint                %8.2f\n", chartPaint);
    std::printf("  table: set text once         %8.2f\n", setOnce);
    std::printf("  table: one line at a time    %8.2f\n", lineByLine);
    return 0;
}
