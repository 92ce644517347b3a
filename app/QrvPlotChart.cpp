#include "QrvPlotChart.h"

#include "QrvChartSetup.h"
#include "QrvSettingValues.h"

namespace qrv
{

TChart* CreatePlotChart(QWidget* parent, TLineSeries*& series)
{
    auto* chart = new TChart(parent);
    chart->setObjectName("Chart1");
    series = &SetUpGraphChart(*chart);
    return chart;
}

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
