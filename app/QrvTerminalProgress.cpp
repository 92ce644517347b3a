#include "QrvTerminalProgress.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>
#include <unistd.h>

namespace qrv
{

TProgressTimes TerminalProgressTimes()
{
    TProgressTimes times = kTerminalProgressTimes;
    if (const char* text = std::getenv("QURVIA_PROGRESS_DELAY")) {
        char* end = nullptr;
        const double delay = std::strtod(text, &end);
        if (end != text && *end == '\0' && delay >= 0 && delay <= 3600) times.Delay = delay;
    }
    return times;
}

void TTerminalProgress::Begin(std::size_t expected)
{
    expected_ = expected;
    width_ = 0;
}

bool TTerminalProgress::Update(std::size_t done)
{
    std::string line = ProgressText(done, expected_);
    // A shorter line than the last (never, while counting up) still covers it.
    const std::size_t width = line.size();
    if (width < width_) line.append(width_ - width, ' ');
    width_ = std::max(width_, width);
    out_ << '\r' << line << std::flush;
    return true;
}

void TTerminalProgress::End() noexcept
{
    try {
        if (width_ > 0) out_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
        width_ = 0;
    } catch (...) {
        // A failing terminal has nothing left to erase.
    }
}

bool IsTerminal(int fd)
{
    return isatty(fd) == 1;
}

} // namespace qrv
