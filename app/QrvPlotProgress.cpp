#include "QrvPlotProgress.h"

#include "QrvAppTexts.h"
#include "QrvFloat.h"

#include <chrono>
#include <cmath>
#include <string>

namespace qrv
{

double TSteadyClock::Seconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

TProgressTarget::TProgressTarget(TPlotTarget& target, TProgressView& view, TRunClock& clock,
                                 std::size_t expected, TProgressTimes times)
    : FTarget(target), FView(view), FClock(clock), FExpected(expected), FTimes(times)
{
}

TProgressTarget::~TProgressTarget()
{
    if (FShown) FView.End();
}

void TProgressTarget::ClearPoints()
{
    FTarget.ClearPoints();
    FPoints = 0;
    FStart = FClock.Seconds();
}

void TProgressTarget::AddPoint(double x, double y)
{
    FTarget.AddPoint(x, y);
    ++FPoints;
    const double now = FClock.Seconds();
    if (!FShown) {
        if (now - FStart < FTimes.Delay) return;
        FShown = true;
        FView.Begin(FExpected);
    } else if (now - FLastUpdate < FTimes.Interval) {
        return;
    }
    FLastUpdate = now;
    if (!FView.Update(FPoints)) throw EPlotStopped();
}

std::size_t ExpectedPoints(const TPlotFields& fields) noexcept
{
    try {
        const TPlotRange r = ReadPlotRange(fields);
        // The range checks bound the quotient by 10 000 steps.
        const Float steps = std::fabs(Float(r.XMax) - Float(r.XMin)) / std::fabs(Float(r.Step));
        return static_cast<std::size_t>(std::floor(steps)) + 1;
    } catch (...) {
        return 0;
    }
}

std::string ProgressText(std::size_t done, std::size_t expected)
{
    std::string text = std::string(Text::ProgressPlotting) + std::to_string(done);
    if (expected > 0) text += std::string(Text::ProgressOf) + std::to_string(expected);
    return text + Text::ProgressPoints;
}

std::string StoppedText(std::size_t done, std::size_t expected)
{
    std::string text = std::string(Text::ProgressStopped) + std::to_string(done);
    if (expected > 0) text += std::string(Text::ProgressOf) + std::to_string(expected);
    return text + Text::ProgressPoints + ".";
}

void RunPlotWatched(const TPlotFields& fields, TPlotTarget& target, TProgressView* view, TRunClock& clock,
                    TProgressTimes times, const TPlotOptions& options)
{
    if (!view) {
        RunPlot(fields, target, options);
        return;
    }
    TProgressTarget watched(target, *view, clock, ExpectedPoints(fields), times);
    RunPlot(fields, watched, options);
}

} // namespace qrv
