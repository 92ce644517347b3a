// The progress of a long command-line run: one line on a terminal,
// rewritten in place and erased when the run ends, so that the messages and
// the table that follow read as without it.
#pragma once

#include "QrvPlotProgress.h"

#include <iosfwd>

namespace qrv
{

// On the command line the progress shows after a second, ten times a second.
inline constexpr TProgressTimes kTerminalProgressTimes{1.0, 0.1};

// The times in force: kTerminalProgressTimes, with the delay taken from the
// environment variable QURVIA_PROGRESS_DELAY (seconds, 0 or more) when it
// holds one, so a test sees the progress of a short run whatever the
// machine's speed.
TProgressTimes TerminalProgressTimes();

class TTerminalProgress : public TProgressView
{
public:
    explicit TTerminalProgress(std::ostream& out) : out_(out) {}

    void Begin(std::size_t expected) override;
    // Rewrites the line; never asks to stop (the terminal's interrupt key
    // ends the program).
    bool Update(std::size_t done) override;
    void End() noexcept override;

private:
    std::ostream& out_;
    std::size_t expected_ = 0;
    std::size_t width_ = 0; // of the line written last
};

// True when the file descriptor is a terminal: only then is there someone
// to read the progress, and nothing else reads the escape of a rewrite.
bool IsTerminal(int fd);

} // namespace qrv
