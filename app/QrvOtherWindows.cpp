#include "QrvOtherWindows.h"

#include "QrvAboutForm.h"
#include "QrvChartPreview.h"
#include "QrvFpu.h"

namespace qrv
{

void ShowChartPrintPreview(QWidget* owner, TChart& chart)
{
    ShowChartPreview(owner, chart);
    InitFloatEnvironment();
}

void ShowAboutWindow(QWidget* owner)
{
    ShowAboutForm(owner);
}

} // namespace qrv
