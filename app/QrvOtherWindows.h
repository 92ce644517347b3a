// Windows the main window opens that are built elsewhere: the chart's print
// preview and the About window.
#pragma once

namespace qrv
{

class TF_Main_GRF;

// Print graph: the chart print preview, modal; the chart repaints after it.
void ShowChartPrintPreview(TF_Main_GRF& window);

// About: a new About window each time, modal, freed when it closes.
void ShowAboutWindow(TF_Main_GRF& window);

} // namespace qrv
