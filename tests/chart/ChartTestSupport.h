// Helpers of the headless chart tests: a chart set up as the main window
// shows it, and pixel probes on its pictures.
#pragma once

#include "QrvChart.h"
#include "QrvChartExport.h"
#include "QrvChartSetup.h"

#include <QImage>

#include <cmath>

#include <memory>
#include <vector>

namespace qrv::test
{

struct PlotChart {
    std::unique_ptr<TChart> chart;
    TLineSeries* series;
};

// A chart of the given client size with the graph settings and its series.
PlotChart MakePlotChart(int width, int height);

// Adds y = f(x) for x = from, from + step, ... up to to, in the series colour.
template <class F> void Fill(TLineSeries& s, double from, double to, double step, F f)
{
    for (int k = 0;; ++k) {
        const double x = from + k * step;
        // A range reaching the largest double ends where x leaves it.
        if (!std::isfinite(x) || x > to + step * 1e-9) break;
        s.AddPoint(x, f(x), "", clRed);
    }
}

// Adds the points of a circle of the radius about (cx, cy), one a degree
// (cos and sin give the four extreme points exactly).
void FillCircle(TLineSeries& s, double cx, double cy, double radius);

bool IsColor(const QImage& image, int x, int y, QColor color);
// Pixels of exactly this colour inside the rectangle (clipped to the image).
int CountColor(const QImage& image, const QRect& rect, QColor color);
// Pixels clearly darker than the background (text, axis lines) in rect.
int CountDark(const QImage& image, const QRect& rect);

} // namespace qrv::test
