// Compares FormatFixed3, FormatAxisValue and FormatGeneral15 with the
// printf-based conversion they replaced, over random samples aimed at the
// places where rounding decides, and times both on table values.
//
//   qurvia_number_text_diff [samples] [seed]
//
// Prints the number of samples, of differences (the first ten shown) and the
// time per value; exits 1 on any difference.
#include "QrvNumberText.h"
#include "QrvNumberTextSamples.h"
#include "QrvPrintfNumberText.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <time.h>

using namespace qrv;
namespace ref = qrv::printf_reference;

namespace
{

// Processor time of this thread: a loaded machine stretches wall time.
struct TCpuClock {
    using duration = std::chrono::nanoseconds;
    static duration now()
    {
        timespec t;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    }
};

double NsPerValue(TCpuClock::duration d, long long n)
{
    return std::chrono::duration<double, std::nano>(d).count() / double(n);
}

// Processor time per "0.000" text of the values of a 10 001-line table.
template <typename Format> double TimeTable(Format format)
{
    std::size_t sink = 0;
    const int rounds = 50;
    const auto start = TCpuClock::now();
    for (int r = 0; r < rounds; ++r) {
        for (int i = 0; i <= 10000; ++i) {
            const double x = 817 + i * 0.1183;
            sink += format(x).size() + format(5.22 - 5.44e-4 * (x - 817)).size();
        }
    }
    const auto took = TCpuClock::now() - start;
    if (sink == 0) std::puts("");
    return NsPerValue(took, 2LL * 10001 * rounds);
}

} // namespace

int main(int argc, char** argv)
{
    const long long samples = argc > 1 ? std::atoll(argv[1]) : 10000000;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;

    std::printf("table value \"0.000\": integer %.1f ns, printf %.1f ns\n",
                TimeTable([](double v) { return FormatFixed3(v, '.'); }),
                TimeTable([](double v) { return ref::FormatFixed3(v, '.'); }));

    std::mt19937_64 random(seed);
    long long differences = 0;
    TCpuClock::duration ours{}, theirs{};
    for (long long i = 0; i < samples; ++i) {
        const std::uint64_t r = random(), s = random();
        const double v = number_samples::Sample(r, s);
        auto t0 = TCpuClock::now();
        const std::string fixed = FormatFixed3(v, '.'), axis = FormatAxisValue(v, ',', ' ');
        const std::string general = FormatGeneral15(v, '.');
        auto t1 = TCpuClock::now();
        const std::string fixedRef = ref::FormatFixed3(v, '.'), axisRef = ref::FormatAxisValue(v, ',', ' ');
        const std::string generalRef = ref::FormatGeneral15(v, '.');
        auto t2 = TCpuClock::now();
        ours += t1 - t0;
        theirs += t2 - t1;
        if (fixed != fixedRef || axis != axisRef || general != generalRef) {
            if (++differences <= 10)
                std::printf("DIFFERENT %.17g: \"%s\" \"%s\" \"%s\" instead of \"%s\" \"%s\" \"%s\"\n", v,
                            fixed.c_str(), axis.c_str(), general.c_str(), fixedRef.c_str(), axisRef.c_str(),
                            generalRef.c_str());
        }
    }
    std::printf("samples %lld (seed %llu), differences %lld\n", samples, (unsigned long long)seed,
                differences);
    std::printf("three formats per sample: integer %.1f ns, printf %.1f ns\n", NsPerValue(ours, samples),
                NsPerValue(theirs, samples));
    return differences == 0 ? 0 : 1;
}
