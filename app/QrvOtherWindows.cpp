#include "QrvOtherWindows.h"

#include "m_grf_w.h"

namespace qrv
{

void ShowChartPrintPreview(TF_Main_GRF&) {}

void ShowAboutWindow(TF_Main_GRF&) {}

} // namespace qrv
