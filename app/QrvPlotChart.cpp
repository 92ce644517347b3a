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
    if (FSeries) FSeries->AddPoint(x, y, std::string(), Element_Color);
    if (FWithTable) TTableTarget::AddPoint(x, y);
}

} // namespace qrv
