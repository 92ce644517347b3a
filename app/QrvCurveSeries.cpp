#include "QrvCurveSeries.h"

#include "QrvChartSetup.h"
#include "QrvCurve.h"

#include <algorithm>

namespace qrv
{

namespace
{

TPenStyle PenStyleOf(TLineStyle style)
{
    switch (style) {
    case TLineStyle::Dash:
        return TPenStyle::psDash;
    case TLineStyle::Dot:
        return TPenStyle::psDot;
    default:
        return TPenStyle::psSolid;
    }
}

} // namespace

void ApplyCurveStyle(TLineSeries& series, const TCurve& curve, std::string title)
{
    series.SetSeriesColor(curve.Color);
    TChartPen pen = series.LinePen;
    pen.Width = std::clamp(curve.Width, kMinLineWidth, kMaxLineWidth);
    pen.Style = PenStyleOf(curve.Style);
    series.SetLinePen(pen);
    series.SetTitle(std::move(title));
    series.SetActive(curve.Visible);
}

TLineSeries& AddCurveSeries(TChartPicture& chart, const TCurve& curve, std::string title)
{
    TLineSeries& series = AddGraphSeries(chart);
    ApplyCurveStyle(series, curve, std::move(title));
    return series;
}

} // namespace qrv
