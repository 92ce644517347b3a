// The chart of a Plot, for the main window and for the images of the
// command line: its size at start and the Plot's target that fills it. The
// chart itself is set up by SetUpGraphChart (QrvChartSetup.h).
#pragma once

#include "QrvColor.h"
#include "QrvPlotRun.h"

#include <optional>

namespace qrv
{

class TLineSeries;

// The chart's size in the main window at start, and so the default size of
// the command line's images.
inline constexpr int kStartChartWidth = 353;
inline constexpr int kStartChartHeight = 305;

// The target of a Plot with a chart: the series (when there is one) and,
// unless it is not wanted (an image alone), the table. Each point gets the
// line colour in force at that moment (Element_Color), or the colour of its
// curve once one is set.
class TSeriesTableTarget : public TTableTarget
{
public:
    explicit TSeriesTableTarget(TLineSeries* series, bool withTable = true)
        : series_(series), withTable_(withTable)
    {
    }
    void ClearPoints() override;
    void AddPoint(double x, double y) override;
    void AddCurvePoint(double t, double x, double y) override;
    void AddDrawnPoint(double x, double y) override;
    void AddTableNote(std::string_view note) override;
    void BreakLine() override { breakPending_ = true; }
    // The points get `color` from here on, whatever colour is in force:
    // the curves of a document each have their own.
    void SetPointColor(TColor color) { pointColor_ = color; }

private:
    void AddToSeries(double x, double y);

    TLineSeries* series_;
    bool withTable_;
    bool breakPending_ = false;
    double lastX_ = 0;
    std::optional<TColor> pointColor_;
};

} // namespace qrv
