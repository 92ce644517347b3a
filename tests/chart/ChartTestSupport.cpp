#include "ChartTestSupport.h"

#include <numbers>

namespace qrv::test
{

PlotChart MakePlotChart(int width, int height)
{
    PlotChart p;
    p.chart = std::make_unique<TChart>();
    p.chart->resize(width, height);
    p.series = &SetUpGraphChart(*p.chart);
    return p;
}

void FillCircle(TLineSeries& s, double cx, double cy, double radius)
{
    for (int k = 0; k < 360; ++k) {
        const double t = k * (std::numbers::pi / 180);
        s.AddPoint(cx + radius * std::cos(t), cy + radius * std::sin(t), "", clRed);
    }
}

bool IsColor(const QImage& image, int x, int y, QColor color)
{
    if (!image.rect().contains(x, y)) return false;
    return QColor(image.pixel(x, y)).rgb() == color.rgb();
}

int CountColor(const QImage& image, const QRect& rect, QColor color)
{
    const QRect r = rect.intersected(image.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (QColor(image.pixel(x, y)).rgb() == color.rgb()) ++n;
    return n;
}

int CountDark(const QImage& image, const QRect& rect)
{
    const QRect r = rect.intersected(image.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) ++n;
    return n;
}

} // namespace qrv::test
