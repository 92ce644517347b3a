#include "QrvOtherWindows.h"

#include "QrvAboutForm.h"
#include "QrvChartPreview.h"
#include "QrvFpu.h"
#include "m_grf_w.h"

namespace qrv
{

void ShowChartPrintPreview(TF_Main_GRF& window)
{
    ShowChartPreview(&window, *window.Chart1);
    InitFloatEnvironment();
}

void ShowAboutWindow(TF_Main_GRF& window)
{
    ShowAboutForm(&window);
}

} // namespace qrv
