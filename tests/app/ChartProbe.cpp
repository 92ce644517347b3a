#include "ChartProbe.h"

#include "QrvChart.h"
#include "m_grf_w.h"

namespace qrv::test
{

int PointCount(const TF_Main_GRF& window)
{
    return window.Series1->PointCount();
}

double XValueAt(const TF_Main_GRF& window, int index)
{
    return window.Series1->XValueAt(index);
}

std::uint32_t PointColor(const TF_Main_GRF& window, int index)
{
    return window.Series1->PointColor(index);
}

QSize ChartSize(const TF_Main_GRF& window)
{
    return window.Chart1->size();
}

bool ChartBufferValid(const TF_Main_GRF& window)
{
    return window.Chart1->BufferValid();
}

void RepaintChart(TF_Main_GRF& window)
{
    window.Chart1->repaint();
}

int LineBreakCount(const TF_Main_GRF& window)
{
    int count = 0;
    for (int i = 0; i < window.Series1->PointCount(); ++i)
        count += window.Series1->LineBrokenBefore(i);
    return count;
}

double LeftAxisMinimum(const TF_Main_GRF& window)
{
    return window.Chart1->Layout().Left().Minimum;
}

double LeftAxisMaximum(const TF_Main_GRF& window)
{
    return window.Chart1->Layout().Left().Maximum;
}

} // namespace qrv::test
