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
    : target_(target), view_(view), clock_(clock), expected_(expected), times_(times)
{
}

TProgressTarget::~TProgressTarget()
{
    if (shown_) view_.End();
}

void TProgressTarget::ClearPoints()
{
    target_.ClearPoints();
    points_ = 0;
    start_ = clock_.Seconds();
}

void TProgressTarget::AddPoint(double x, double y)
{
    target_.AddPoint(x, y);
    ++points_;
    const double now = clock_.Seconds();
    if (!shown_) {
        if (now - start_ < times_.Delay) return;
        shown_ = true;
        view_.Begin(expected_);
    } else if (now - lastUpdate_ < times_.Interval) {
        return;
    }
    lastUpdate_ = now;
    if (!view_.Update(points_)) throw EPlotStopped();
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
