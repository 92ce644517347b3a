// How long opening and plotting a document takes in the main window,
// offscreen: from the Open command to the end of the repaint that follows,
// for a document of 20 curves of 10 001 points and, beside it, of one such
// curve; also the repaint alone. Prints figures (median and fastest of the
// runs, milliseconds); asserts nothing.
#include "QrvChart.h"
#include "QrvDocumentFile.h"
#include "QrvDocumentSession.h"
#include "QrvPalette.h"
#include "m_grf_w.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace
{

struct TFigure {
    double Median;
    double Fastest;
};

TFigure Measure(int runs, const std::function<void()>& work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front()};
}

// `count` curves over 0 ... 10000 in steps of 1, each a formula of its own.
qrv::TDocument Curves(int count)
{
    qrv::TDocument document;
    for (int i = 0; i < count; ++i) {
        qrv::TCurve curve;
        curve.Formula = "sin(x/" + std::to_string(100 + 7 * i) + ")*" + std::to_string(i + 1);
        curve.XMin = "0";
        curve.XMax = "10000";
        curve.Step = "1";
        curve.Color = qrv::NextCurveColor(document, qrv::clRed);
        document.Curves.push_back(curve);
    }
    return document;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QTemporaryDir folder;
    const std::string many = folder.filePath("twenty.qurvia").toStdString();
    const std::string one = folder.filePath("one.qurvia").toStdString();
    qrv::SaveDocument(many, Curves(20));
    qrv::SaveDocument(one, Curves(1));

    qrv::TF_Main_GRF window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) std::printf("window not exposed\n");

    auto openAndPaint = [&](const std::string& file) {
        return [&window, file] {
            window.OpenDocumentFile(file);
            QApplication::processEvents();
            if (!window.Chart1->BufferValid()) window.Chart1->repaint();
        };
    };
    const TFigure openOne = Measure(runs, openAndPaint(one));
    const TFigure openMany = Measure(runs, openAndPaint(many));
    const int points = window.Session->SeriesOf(19).PointCount();
    const TFigure repaint = Measure(runs, [&] {
        window.Chart1->RequestRepaint();
        window.Chart1->repaint();
    });
    const TFigure refresh = Measure(runs, [&] {
        window.Session->Refresh();
        window.Chart1->repaint();
    });

    std::printf("Documents in the window, offscreen, %d runs (ms)   median   fastest\n", runs);
    auto row = [](const char* name, TFigure f) {
        std::printf("  %-40s %8.2f  %8.2f\n", name, f.Median, f.Fastest);
    };
    std::printf("  (20 curves of %d points each)\n", points);
    row("open and plot 1 curve, to end of repaint", openOne);
    row("open and plot 20 curves, to end of repaint", openMany);
    row("repaint of 20 curves", repaint);
    row("run 20 curves again and repaint", refresh);
    return 0;
}
