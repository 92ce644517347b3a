// Printing a chart: its print settings, the rectangle its margins leave on
// the printer's page, drawing it into a rectangle of any painter at the
// chosen detail, and the one-page print job. Drawing goes through the
// chart's own DrawChart with Printing set, so paper shows what the screen
// shows.
#pragma once

#include "QrvPrintMargins.h"
#include "QrvPrinter.h"

#include <QString>

class QPainter;

namespace qrv
{

class TChart;

// The print settings a chart keeps for its whole life, so a preview finds
// those of the last one (PrintProportional lives on the chart itself).
struct TChartPrintSettings {
    TPaperMargins PaperMargins;
    // -100 ... 0: how much larger than on screen the chart is laid out
    // before it is scaled onto the paper.
    int PrintDetail = 0;
};

// The settings of `chart`, made with their defaults on first use.
TChartPrintSettings& PrintSettingsOf(TChart& chart);

// The title of the chart's print jobs: the chart's object name.
QString PrintJobTitle(const TChart& chart);

// Margins that print the chart in its screen proportions on the printer's
// current page.
TPaperMargins ProportionalMargins(const TChart& chart, const TPrinter& printer);

// The rectangle inside the chart's margins on the printer's page, in device
// pixels; with PrintProportional the margins are recomputed first.
TChartRect PrintRectFromMargins(TChart& chart, const TPrinter& printer);

// Draws the chart into `target` (device units of the painter) as the
// printer gets it: laid out at the detail size, stretched over the target,
// clipped to it, with no background. The painter's state is restored.
void DrawIntoPrintRect(TChart& chart, QPainter& painter, const TChartRect& target);

// One print job titled after the chart, with the chart drawn into `target`
// of the first page. A failure aborts the job (no output file is left) and
// is passed on.
void RunPrintJob(TChart& chart, const TChartRect& target, TPrinter& printer = Printer());

// RunPrintJob into the rectangle the chart's margins leave.
void PrintWithMargins(TChart& chart, TPrinter& printer = Printer());

} // namespace qrv
