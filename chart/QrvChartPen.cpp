#include "QrvChartPen.h"

namespace qrv
{

QPen MakeQPen(const TChartPen& pen, TColor color, bool printing, double deviceScale)
{
    if (!pen.Visible || pen.Style == TPenStyle::psClear || color == clNone) return QPen(Qt::NoPen);
    Qt::PenStyle style = Qt::SolidLine;
    switch (pen.Style) {
    case TPenStyle::psDash:
        style = Qt::DashLine;
        break;
    case TPenStyle::psDot:
        style = Qt::DotLine;
        break;
    case TPenStyle::psDashDot:
        style = Qt::DashDotLine;
        break;
    case TPenStyle::psDashDotDot:
        style = Qt::DashDotDotLine;
        break;
    default:
        break;
    }
    int width = pen.Width < 0 ? 0 : pen.Width;
    if (printing && pen.Style != TPenStyle::psSolid && width == 1) width = 0;
    QPen result(ToQColor(color), width, style, Qt::FlatCap, Qt::MiterJoin);
    if (width == 0 && style != Qt::SolidLine && deviceScale > 1.0) {
        // The pattern of a hairline counts in device pixels.
        QList<qreal> pattern = result.dashPattern();
        for (qreal& length : pattern)
            length *= deviceScale;
        result.setDashPattern(pattern);
    }
    return result;
}

QPen MakeLinePen(const TChartPen& pen, TColor color, bool printing, double deviceScale)
{
    QPen result = MakeQPen(pen, color, printing, deviceScale);
    if (result.style() != Qt::NoPen && pen.Width > 1) result.setJoinStyle(Qt::BevelJoin);
    return result;
}

} // namespace qrv
