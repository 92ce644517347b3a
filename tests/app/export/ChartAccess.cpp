#include "ChartAccess.h"

#include "QrvChart.h"
#include "QrvChartExport.h"
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
    return MakeBitmap(*window.Chart1, clWhite, window.Chart1->size());
}

QByteArray ChartMetafile(TF_Main_GRF& window, bool enhanced)
{
    return MakeMetafile(*window.Chart1, enhanced ? MetafileKind::Emf : MetafileKind::Wmf,
                        window.Chart1->size());
}

} // namespace qrv::test
