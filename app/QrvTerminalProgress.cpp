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
    FExpected = expected;
    FWidth = 0;
}

bool TTerminalProgress::Update(std::size_t done)
{
    std::string line = ProgressText(done, FExpected);
    // A shorter line than the last (never, while counting up) still covers it.
    const std::size_t width = line.size();
    if (width < FWidth) line.append(FWidth - width, ' ');
    FWidth = std::max(FWidth, width);
    FOut << '\r' << line << std::flush;
    return true;
}

void TTerminalProgress::End() noexcept
{
    try {
        if (FWidth > 0) FOut << '\r' << std::string(FWidth, ' ') << '\r' << std::flush;
        FWidth = 0;
    } catch (...) {
        // A failing terminal has nothing left to erase.
    }
}

bool IsTerminal(int fd)
{
    return isatty(fd) == 1;
}

} // namespace qrv
