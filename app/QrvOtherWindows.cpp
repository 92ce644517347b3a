#include "QrvOtherWindows.h"

#include "QrvAboutForm.h"
#include "QrvChartPreview.h"

namespace qrv
{

void ShowChartPrintPreview(QWidget* owner, TChart& chart)
{
    ShowChartPreview(owner, chart);
}

void ShowAboutWindow(QWidget* owner)
{
    ShowAboutForm(owner);
}

} // namespace qrv
