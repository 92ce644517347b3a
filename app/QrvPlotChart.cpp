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

void TSeriesTableTarget::AddPoint(double x, double y)
{
    if (series_) {
        const int index = series_->AddPoint(x, y, std::string(), pointColor_.value_or(Element_Color));
        // The series keeps x order: the break goes before whichever of the
        // two points has the larger x.
        if (breakPending_ && index >= 0) series_->BreakLineBefore(x > lastX_ ? index : index + 1);
    }
    breakPending_ = false;
    lastX_ = x;
    if (withTable_) TTableTarget::AddPoint(x, y);
}

} // namespace qrv
