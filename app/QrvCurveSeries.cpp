#include "QrvCurveSeries.h"

#include "QrvChartSetup.h"
#include "QrvCurve.h"
#include "QrvCurveRun.h"

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
    // A curve that is no function of x is drawn in the order its run makes
    // its points; a change of order applies to the points added next.
    series.XValues.Order =
        CurvePointsInXOrder(curve) ? TChartListOrder::loAscending : TChartListOrder::loNone;
}

TLineSeries& AddCurveSeries(TChartPicture& chart, const TCurve& curve, std::string title)
{
    TLineSeries& series = AddGraphSeries(chart);
    ApplyCurveStyle(series, curve, std::move(title));
    return series;
}

} // namespace qrv
