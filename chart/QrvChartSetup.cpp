#include "QrvChartSetup.h"

namespace qrv
{

TLineSeries& AddGraphSeries(TChartPicture& chart)
{
    TLineSeries& series = chart.AddSeries(std::make_unique<TLineSeries>());
    series.SetSeriesColor(clRed);
    series.Pointer.Visible = false;
    series.Pointer.Style = TPointerStyle::psRectangle;
    series.Pointer.InflateMargins = true;
    series.XValues.Order = TChartListOrder::loAscending;
    series.XValues.Name = "X";
    series.YValues.Order = TChartListOrder::loNone;
    series.YValues.Name = "Y";
    return series;
}

TLineSeries& SetUpGraphChart(TChartPicture& chart)
{
    chart.SetColor(clWhite);
    TChartWall wall = chart.BackWall();
    wall.Brush.Color = clWhite;
    wall.Brush.Style = TBrushStyle::bsClear;
    chart.SetBackWall(wall);
    chart.BottomAxis().Title.Caption = "X";
    chart.LeftAxis().Title.Caption = "Y";
    chart.LeftAxis().Title.Angle = 0;
    chart.TopAxis().Title.Caption = "Y";

    TLineSeries& series = AddGraphSeries(chart);
    chart.RequestRepaint();
    return series;
}

} // namespace qrv
