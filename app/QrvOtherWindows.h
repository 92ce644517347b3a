// Windows the main window opens that are built elsewhere: the chart's print
// preview and the About window.
#pragma once

class QWidget;

namespace qrv
{

class TChart;

// Print graph: the chart print preview, modal, owned by `owner`; the chart
// repaints after it.
void ShowChartPrintPreview(QWidget* owner, TChart& chart);

// About: a new About window each time, modal, freed when it closes.
void ShowAboutWindow(QWidget* owner);

} // namespace qrv
