#include "QrvPlotChart.h"

#include "QrvSeries.h"
#include "QrvSettingValues.h"

namespace qrv
{

void TSeriesTableTarget::ClearPoints()
{
    if (FSeries) FSeries->ClearPoints();
    TTableTarget::ClearPoints();
}

void TSeriesTableTarget::AddPoint(double x, double y)
{
    if (FSeries) {
        const int index = FSeries->AddPoint(x, y, std::string(), Element_Color);
        // The series keeps x order: the break goes before whichever of the
        // two points has the larger x.
        if (FBreakPending && index >= 0) FSeries->BreakLineBefore(x > FLastX ? index : index + 1);
    }
    FBreakPending = false;
    FLastX = x;
    if (FWithTable) TTableTarget::AddPoint(x, y);
}

} // namespace qrv
