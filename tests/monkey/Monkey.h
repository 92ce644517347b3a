// A random tester of the whole window: a seeded run of mouse, keyboard and
// menu events on the real main window and the windows it opens, offscreen.
// Every modal window and dialog is answered at random through the platform
// seam (OK, Cancel, a file in the run's own folder, in a folder that cannot
// be written or in one that is full). After every event the run checks that
// nothing went wrong that a user could notice afterwards:
//   - no internal error reached the error box, no modal window ran outside
//     the platform, no event failed to return within kHangTicks timer ticks;
//   - the chart and the table hold what the last Plot made, point for point
//     the values of an independent run of the same fields;
//   - every file written is complete and valid, and the settings file is
//     untouched while the program runs and reads back what it held at exit.
// Closing the main window ends the "program": its settings are written and a
// new window starts on them, as the next start of the program would.
#pragma once

#include "MonkeyShrink.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qrv
{
class TF_Main_GRF;
namespace test
{
class TPlatformDouble;
}
} // namespace qrv

namespace qrv::monkey
{

// An event that has not returned after this many timer ticks of the event
// loops it runs is a hang.
inline constexpr long kHangTicks = 10000;

struct TMonkeyFailure {
    std::size_t Event = 0; // the number of the event after which it showed
    std::string Problem;
};

class TMonkeyWorld;

class TMonkeyRun
{
public:
    // A run with its seed, working in `folder` (made empty first).
    TMonkeyRun(std::uint64_t seed, const QString& folder);
    ~TMonkeyRun();
    TMonkeyRun(const TMonkeyRun&) = delete;
    TMonkeyRun& operator=(const TMonkeyRun&) = delete;

    // Runs the events with these numbers, in this order, each from its own
    // seed; stops at the first failure.
    std::optional<TMonkeyFailure> Run(const TEventList& events);

    // One line per event run: its number and what it did.
    const std::vector<std::string>& Log() const { return log_; }
    // Called before each event with its number (a watchdog's sign of life).
    std::function<void(std::size_t)> OnEvent;
    // Called with every new main window, before the first event on it (a
    // test plants a fault there to see the run find it).
    std::function<void(TF_Main_GRF&, const QString& folder)> OnWindow;
    // Plots run and errors shown, for the summary.
    std::size_t Plots() const { return plots_; }
    std::size_t ErrorsShown() const;
    std::size_t Restarts() const { return restarts_; }

    // Used by the platform double and the event code.
    struct TDetail;

private:
    std::optional<TMonkeyFailure> RunOne(std::size_t index);
    std::string CheckAfterEvent();
    std::string StartWorld();
    std::string EndWorld();

    std::uint64_t seed_;
    QString folder_;
    char separator_;
    std::unique_ptr<TDetail> detail_;
    std::unique_ptr<test::TPlatformDouble> platform_;
    std::unique_ptr<TMonkeyWorld> world_;
    std::vector<std::string> log_;
    std::size_t plots_ = 0;
    std::size_t restarts_ = 0;
};

// The numbers 0 .. count-1.
TEventList AllEvents(std::size_t count);
// A description of a list for a report: "3 events: 17, 204, 1999".
std::string DescribeList(const TEventList& events);

} // namespace qrv::monkey
