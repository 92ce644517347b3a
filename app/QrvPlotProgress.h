// Progress of a long Plot run. A run of a few milliseconds shows nothing;
// one that lasts longer than a delay shows how many points it has produced
// and may be stopped. It plugs in as a target: TProgressTarget passes every
// point on to the real target and asks the clock once per point.
//
//   RunPlot -> TProgressTarget -> target (series, table)
//                    |
//                    +-> TProgressView (window bar, terminal line)
#pragma once

#include "QrvErrors.h"
#include "QrvPlotRun.h"

#include <cstddef>
#include <string>

namespace qrv
{

// The time a run has taken, from a clock that tests replace.
class TRunClock
{
public:
    virtual ~TRunClock() = default;
    // Seconds since some fixed moment; never decreasing.
    virtual double Seconds() = 0;
};

// The monotonic clock of the system.
class TSteadyClock : public TRunClock
{
public:
    double Seconds() override;
};

// What shows the progress of a long run and may ask to stop it.
class TProgressView
{
public:
    virtual ~TProgressView() = default;
    // The run has lasted long enough to be shown; it will produce about
    // `expected` points (0 when not known).
    virtual void Begin(std::size_t expected) = 0;
    // `done` points so far. False asks the run to stop.
    virtual bool Update(std::size_t done) = 0;
    // The run has ended, however (only after Begin). Must not throw.
    virtual void End() noexcept = 0;
};

// A run stopped by the user. A silent abort: no error box, and the points
// produced before it stay, as after an error part-way.
class EPlotStopped : public EAbort
{
};

// How a run is watched.
struct TProgressTimes {
    double Delay = 0.5;    // seconds before the progress shows
    double Interval = 0.1; // seconds between two updates of the view
};

class TProgressTarget : public TPlotTarget
{
public:
    TProgressTarget(TPlotTarget& target, TProgressView& view, TRunClock& clock, std::size_t expected,
                    TProgressTimes times = {});
    // Ends the view when it was shown: the run is over, whichever way.
    ~TProgressTarget() override;
    TProgressTarget(const TProgressTarget&) = delete;
    TProgressTarget& operator=(const TProgressTarget&) = delete;

    void ClearPoints() override;
    // Passes the point on, then shows the progress when due; raises
    // EPlotStopped when the view asks to stop.
    void AddPoint(double x, double y) override;
    void BreakLine() override { target_.BreakLine(); }
    void FormulaRead(bool compiled, TTextSpan stopToken, std::string_view ignored) override
    {
        target_.FormulaRead(compiled, stopToken, ignored);
    }

    std::size_t Points() const { return points_; }
    std::size_t Expected() const { return expected_; }
    bool Shown() const { return shown_; }

private:
    TPlotTarget& target_;
    TProgressView& view_;
    TRunClock& clock_;
    std::size_t expected_;
    TProgressTimes times_;
    std::size_t points_ = 0;
    double start_ = 0;
    double lastUpdate_ = 0;
    bool shown_ = false;
};

// The number of points a run over the fields' range produces, as far as
// the range tells (the running sum may add or drop the last one); 0 when
// the fields hold no valid range. Never throws.
std::size_t ExpectedPoints(const TPlotFields& fields) noexcept;

} // namespace qrv

namespace qrv
{

// "Plotting: 1234 of 10001 points" (without "of ..." when not known).
std::string ProgressText(std::size_t done, std::size_t expected);
// "Plot stopped after 1234 of 10001 points."
std::string StoppedText(std::size_t done, std::size_t expected);

// Runs the Plot into the target, watched by the view when there is one.
void RunPlotWatched(const TPlotFields& fields, TPlotTarget& target, TProgressView* view, TRunClock& clock,
                    TProgressTimes times, const TPlotOptions& options = {});

} // namespace qrv
