#include "ChartAccess.h"

#include "QrvChart.h"
#include "QrvSeries.h"
#include "m_grf_w.h"

namespace qrv::test
{

void FillChart(TF_Main_GRF& window)
{
    for (int x = 0; x <= 3; ++x)
        window.Series1->AddPoint(x, x * x);
    window.Chart1->resize(353, 305);
}

QImage ChartBitmap(TF_Main_GRF& window)
{
    return window.Chart1->MakeBitmap(clWhite, window.Chart1->rect());
}

QByteArray ChartMetafile(TF_Main_GRF& window, bool enhanced)
{
    return window.Chart1->MakeMetafile(enhanced, window.Chart1->rect());
}

} // namespace qrv::test
