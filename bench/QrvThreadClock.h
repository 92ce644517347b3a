// The processor time of the calling thread, for benchmarks that measure on a
// machine busy with other work: unlike wall time, it leaves out the time the
// thread waited for a processor.
#pragma once

#include <ctime>

namespace qrv::bench
{

inline double ThreadCpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

} // namespace qrv::bench
