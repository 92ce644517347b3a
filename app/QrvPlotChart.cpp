#include "QrvPlotChart.h"

#include "QrvSeries.h"
#include "QrvSettingValues.h"

namespace qrv
{

void TSeriesTableTarget::ClearPoints()
{
    if (series_) series_->ClearPoints();
    TTableTarget::ClearPoints();
}

void TSeriesTableTarget::AddToSeries(double x, double y)
{
    if (series_) {
        const int index = series_->AddPoint(x, y, std::string(), pointColor_.value_or(Element_Color));
        // A series in x order puts the break before whichever of the two
        // points has the larger x; one in drawing order (a curve that is no
        // function of x) before the point just added.
        if (breakPending_ && index >= 0)
            series_->BreakLineBefore(!series_->InXOrder() || x > lastX_ ? index : index + 1);
    }
    breakPending_ = false;
    lastX_ = x;
}

void TSeriesTableTarget::AddPoint(double x, double y)
{
    AddToSeries(x, y);
    if (withTable_) TTableTarget::AddPoint(x, y);
}

void TSeriesTableTarget::AddCurvePoint(double t, double x, double y)
{
    AddToSeries(x, y);
    if (withTable_) TTableTarget::AddCurvePoint(t, x, y);
}

void TSeriesTableTarget::AddDrawnPoint(double x, double y)
{
    AddToSeries(x, y);
}

void TSeriesTableTarget::AddTableNote(std::string_view note)
{
    if (withTable_) TTableTarget::AddTableNote(note);
}

} // namespace qrv
