#include "QrvPlotChart.h"

#include "QrvChartSetup.h"

namespace qrv
{

TChart* CreatePlotChart(QWidget* parent, TLineSeries*& series)
{
    auto* chart = new TChart(parent);
    chart->setObjectName("Chart1");
    series = &SetUpGraphChart(*chart);
    return chart;
}

} // namespace qrv
