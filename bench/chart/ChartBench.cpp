// Times one drawing of a 10 001-point chart into a 1000 x 700 bitmap (and
// into metafiles when they are built in), and a repaint of window-sized
// charts of one and of twenty such curves, as the median of repeated runs.
// Prints figures; asserts nothing. With a folder argument it also writes the
// pictures there for a look.
#include "QrvChart.h"
#include "QrvChartExport.h"
#include "QrvChartFiles.h"
#include "QrvChartSetup.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

template <class F> double MedianMs(int runs, F f)
{
    std::vector<double> ms;
    for (int k = 0; k < runs; ++k) {
        const auto start = std::chrono::steady_clock::now();
        f();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    using namespace qrv;

    TChart chart;
    chart.resize(1000, 700);
    TLineSeries& series = SetUpGraphChart(chart);
    const auto fill = [&] {
        series.ClearPoints();
        for (int k = 0; k <= 10000; ++k) {
            const double x = -10.0 + k * 0.002;
            series.AddPoint(x, std::sin(x) * x, "", clRed);
        }
    };
    std::printf("adding 10 001 points:               %8.3f ms\n", MedianMs(21, fill));

    QImage target(1000, 700, QImage::Format_RGB32);
    const QRect r = chart.rect();
    std::printf("drawing into a 1000 x 700 bitmap:   %8.3f ms (median of 51)\n", MedianMs(51, [&] {
                    QPainter painter(&target);
                    chart.SetUseBuffer(false);
                    chart.DrawChart(painter, r);
                }));
    chart.SetUseBuffer(true);
    std::printf("screen redraw through the buffer:   %8.3f ms (median of 51)\n", MedianMs(51, [&] {
                    chart.RequestRepaint();
                    QPainter painter(&target);
                    chart.DrawChart(painter, r);
                }));
    std::printf("MakeBitmap (new image each time):   %8.3f ms (median of 51)\n",
                MedianMs(51, [&] { (void)MakeBitmap(chart, clWhite, r.size()); }));
    std::printf("bitmap file bytes (.bmp):           %8.3f ms (median of 21)\n",
                MedianMs(21, [&] { (void)BitmapFileBytes(chart); }));
    const QImage picture = MakeBitmap(chart, clWhite, r.size());
    std::printf("EncodeBmp of that bitmap:           %8.3f ms (median of 21)\n",
                MedianMs(21, [&] { (void)EncodeBmp(picture); }));
    std::printf("Qt's image writer, same bitmap:     %8.3f ms (median of 21)\n", MedianMs(21, [&] {
                    QByteArray bytes;
                    QBuffer buffer(&bytes);
                    buffer.open(QIODevice::WriteOnly);
                    QImageWriter writer(&buffer, "bmp");
                    if (!writer.write(picture) || bytes != EncodeBmp(picture))
                        std::printf("not the same bytes\n");
                }));
    QByteArray emf, wmf;
    std::printf("MakeMetafile EMF:                   %8.3f ms (median of 21)\n",
                MedianMs(21, [&] { emf = MakeMetafile(chart, MetafileKind::Emf, r.size()); }));
    std::printf("MakeMetafile WMF:                   %8.3f ms (median of 21)\n",
                MedianMs(21, [&] { wmf = MakeMetafile(chart, MetafileKind::Wmf, r.size()); }));
    std::printf("EMF size %lld bytes, WMF size %lld bytes\n", static_cast<long long>(emf.size()),
                static_cast<long long>(wmf.size()));
    // A repaint of a window-sized chart, as during a zoom or scroll drag:
    // one curve, then twenty of 10 001 points each, thin and solid or
    // 3 pixels wide and dashed. With two or more, the legend is laid out
    // and drawn too.
    const auto curves = [](TChart& c, int count, const TChartPen& pen) {
        TLineSeries& first = SetUpGraphChart(c);
        for (int n = 0; n < count; ++n) {
            TLineSeries& s = n == 0 ? first : AddGraphSeries(c);
            s.SetTitle("sin(x+" + std::to_string(n * 0.3) + ")*x");
            s.SetLinePen(pen);
            const TColor color = n == 0 ? clRed : RGB(uint8_t(n * 53), uint8_t(n * 97), uint8_t(n * 151));
            for (int k = 0; k <= 10000; ++k) {
                const double x = -10.0 + k * 0.002;
                s.AddPoint(x, std::sin(x + n * 0.3) * (1.0 + n * 0.1) * x, "", color);
            }
        }
    };
    const struct {
        const char* Name;
        int Count;
        TChartPen Pen;
    } cases[] = {{"1 curve", 1, {}},
                 {"20 curves", 20, {}},
                 {"1 curve, 3 px dashed", 1, {true, clBlack, 3, TPenStyle::psDash}},
                 {"20 curves, 3 px dashed", 20, {true, clBlack, 3, TPenStyle::psDash}}};
    for (const auto& c : cases) {
        TChart window;
        window.resize(537, 469);
        curves(window, c.Count, c.Pen);
        QImage screen(537, 469, QImage::Format_RGB32);
        std::printf("repaint, %-22s 537 x 469: %8.3f ms (median of 51)\n", c.Name, MedianMs(51, [&] {
                        window.RequestRepaint();
                        QPainter painter(&screen);
                        window.DrawChart(painter, window.rect());
                    }));
        if (argc > 1)
            screen.save(QDir(QString::fromLocal8Bit(argv[1]))
                            .filePath(QString("bench-curves-%1-%2.png").arg(c.Count).arg(c.Pen.Width)));
    }
    if (argc > 1) {
        const QDir dir(QString::fromLocal8Bit(argv[1]));
        SaveBitmapFile(chart, dir.filePath("bench-chart.bmp"));
        MakeBitmap(chart, clWhite, r.size()).save(dir.filePath("bench-chart.png"));
        SaveEnhMetafileFile(chart, dir.filePath("bench-chart.emf"));
        SaveMetafileFile(chart, dir.filePath("bench-chart.wmf"));
        std::printf("pictures written to %s\n", argv[1]);
    }
    return 0;
}
