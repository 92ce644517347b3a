#include "QrvChartPrint.h"

#include "QrvChart.h"
#include "QrvPrintJob.h"

#include <QPainter>

#include <cmath>
#include <vector>

namespace qrv
{

namespace
{

// Holds the print settings as a child of the chart, so they live and die
// with it without the chart knowing about printing.
class TPrintSettingsHolder : public QObject
{
public:
    explicit TPrintSettingsHolder(QObject* parent) : QObject(parent) { setObjectName(Name()); }
    static QString Name() { return QStringLiteral("qrvChartPrintSettings"); }
    TChartPrintSettings Settings;
};

// Sets the chart's printing state for one drawing, with no back buffer in
// between, and restores both on every path out.
class TPrintingScope
{
public:
    explicit TPrintingScope(TChart& chart)
        : chart_(chart), printing_(chart.Printing()), useBuffer_(chart.UseBuffer())
    {
        chart_.SetPrinting(true);
        chart_.SetUseBuffer(false);
    }
    ~TPrintingScope()
    {
        chart_.SetUseBuffer(useBuffer_);
        chart_.SetPrinting(printing_);
    }
    TPrintingScope(const TPrintingScope&) = delete;
    TPrintingScope& operator=(const TPrintingScope&) = delete;

private:
    TChart& chart_;
    bool printing_;
    bool useBuffer_;
};

// The chart's fonts are sized in points, which a painter turns into pixels
// of its own device: 600 dpi on a printer. The layout is in screen pixels
// that are then stretched onto the page, so for the drawing the fonts get
// the pixel size they have on screen and scale with everything else.
class TScreenFontScope
{
public:
    TScreenFontScope(TChart& chart, int screenDpi)
    {
        for (const auto& axis : chart.Axes()) {
            Fix(axis->LabelsFont.Font, screenDpi);
            Fix(axis->Title.Font.Font, screenDpi);
        }
        Fix(chart.Legend().Font.Font, screenDpi);
    }
    ~TScreenFontScope()
    {
        for (auto& [font, saved] : saved_)
            *font = saved;
    }
    TScreenFontScope(const TScreenFontScope&) = delete;
    TScreenFontScope& operator=(const TScreenFontScope&) = delete;

private:
    void Fix(QFont& font, int screenDpi)
    {
        const double points = font.pointSizeF();
        if (points <= 0) return; // already in pixels
        saved_.emplace_back(&font, font);
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * screenDpi / 72.0))));
    }

    std::vector<std::pair<QFont*, QFont>> saved_;
};

} // namespace

TChartPrintSettings& PrintSettingsOf(TChart& chart)
{
    auto* holder = dynamic_cast<TPrintSettingsHolder*>(
        chart.findChild<QObject*>(TPrintSettingsHolder::Name(), Qt::FindDirectChildrenOnly));
    if (!holder) holder = new TPrintSettingsHolder(&chart);
    return holder->Settings;
}

QString PrintJobTitle(const TChart& chart)
{
    return chart.objectName();
}

TPaperMargins ProportionalMargins(const TChart& chart, const TPrinter& printer)
{
    return ProportionalMargins(chart.size(), QSize(printer.PageWidth(), printer.PageHeight()), printer.XDpi(),
                               printer.YDpi());
}

TChartRect PrintRectFromMargins(TChart& chart, const TPrinter& printer)
{
    TChartPrintSettings& settings = PrintSettingsOf(chart);
    if (chart.PrintProportional()) settings.PaperMargins = ProportionalMargins(chart, printer);
    return PrintRectFromMargins(settings.PaperMargins, QSize(printer.PageWidth(), printer.PageHeight()),
                                printer.XDpi(), printer.YDpi());
}

void DrawIntoPrintRect(TChart& chart, QPainter& painter, const TChartRect& target)
{
    const TChartRect t = Ordered(target);
    const QSize logical = DetailSize(chart.size(), PrintSettingsOf(chart).PrintDetail);
    if (t.Width() <= 0 || t.Height() <= 0 || logical.isEmpty()) return;
    const TChartRect converted = ScaleToLogical(t, logical);

    painter.save();
    // The layout's units are stretched over the target's size; the origin
    // stays, so the converted rectangle lands on the target.
    painter.setWindow(0, 0, logical.width(), logical.height());
    painter.setViewport(0, 0, t.Width(), t.Height());
    painter.setClipRect(converted.ToQRect());
    try {
        TPrintingScope printing(chart);
        TScreenFontScope fonts(chart, chart.logicalDpiY());
        chart.DrawChart(painter, converted.ToQRect());
    } catch (...) {
        painter.restore();
        throw;
    }
    painter.restore();
}

void RunPrintJob(TChart& chart, const TChartRect& target, TPrinter& printer)
{
    TPrintJob job(printer, PrintJobTitle(chart));
    DrawIntoPrintRect(chart, job.Canvas(), target);
    job.End();
}

void PrintWithMargins(TChart& chart, TPrinter& printer)
{
    RunPrintJob(chart, PrintRectFromMargins(chart, printer), printer);
}

} // namespace qrv
