// Helper of the crash test (built twice: with SAVE_CHILD_TEXT_ONLY it
// handles only the table and links nothing but Qt Core, so it starts fast): saves a large table or a chart
// picture through the program's save code, either once per version (to give the test the expected files) or
// over and over until it is killed.
//
//   export_save_child reference text|bitmap <fileA> <fileB>
//       writes version A and version B, prints the microseconds one save
//       took on average, and exits
//   export_save_child loop text|bitmap <target>
//       prints "R" once ready, then saves B, A, B, ... into target forever,
//       printing "s" before and "e" after each save
#include "QrvExportFiles.h"
#ifndef SAVE_CHILD_TEXT_ONLY
#include "QrvChart.h"
#include "QrvSeries.h"

#include <QApplication>
#endif

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <unistd.h>

namespace
{

using namespace qrv;

// A table of 10 001 lines as the table control shows it.
QString Table(double factor)
{
    QString text;
    char line[64];
    for (int i = 0; i <= 10000; ++i) {
        const double x = -5.0 + i * 0.001;
        std::snprintf(line, sizeof line, "%s%.3f   %.3f", i ? "\n" : "", x, factor * x * x);
        text += QLatin1String(line);
    }
    return text;
}

#ifndef SAVE_CHILD_TEXT_ONLY
std::unique_ptr<TChart> Chart(double factor)
{
    auto chart = std::make_unique<TChart>();
    auto& series = chart->AddSeries(std::make_unique<TLineSeries>());
    for (int i = 0; i <= 400; ++i)
        series.AddPoint(i * 0.05, factor * std::sin(i * 0.05));
    chart->resize(640, 480);
    return chart;
}
#endif

int Usage()
{
    std::fprintf(stderr, "usage: export_save_child reference|loop text|bitmap file [file]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) return Usage();
    const bool reference = std::strcmp(argv[1], "reference") == 0;
    const bool text = std::strcmp(argv[2], "text") == 0;
    if ((reference && argc < 5) || (!text && std::strcmp(argv[2], "bitmap") != 0)) return Usage();

    std::function<void(int, const QString&)> save;
    QString tables[2];
    if (text) {
        tables[0] = Table(1.0);
        tables[1] = Table(-2.0);
        save = [&tables](int version, const QString& file) { SaveTableFile(file, tables[version]); };
    }
#ifdef SAVE_CHILD_TEXT_ONLY
    else {
        return Usage();
    }
#else
    // Only the chart needs an application object.
    std::unique_ptr<QApplication> app;
    std::unique_ptr<TChart> charts[2];
    if (!text) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
        charts[0] = Chart(1.0);
        charts[1] = Chart(-0.5);
        save = [&charts](int version, const QString& file) {
            SaveChartFile(*charts[version], TExportKind::Bitmap, file);
        };
    }
#endif

    try {
        if (reference) {
            const auto start = std::chrono::steady_clock::now();
            save(0, QString::fromLocal8Bit(argv[3]));
            save(1, QString::fromLocal8Bit(argv[4]));
            const auto took = std::chrono::steady_clock::now() - start;
            std::printf("%lld\n",
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::microseconds>(took).count() / 2));
            return 0;
        }
        const QString target = QString::fromLocal8Bit(argv[3]);
        if (write(STDOUT_FILENO, "R", 1) != 1) return 3;
        for (int version = 1;; version ^= 1) {
            if (write(STDOUT_FILENO, "s", 1) != 1) return 3;
            save(version, target);
            if (write(STDOUT_FILENO, "e", 1) != 1) return 3;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
