// Compares FormatFixed3, FormatAxisValue and FormatGeneral15 with the
// printf-based conversion they replaced, over random samples aimed at the
// places where rounding decides, and times both on table values.
//
//   qurvia_number_text_diff [samples] [seed] [kinds]
//
// `kinds` lists the sample kinds to draw (digits 0 to 5, see
// QrvNumberTextSamples.h; default all): kind 0, any bit pattern, is by far
// the slowest for printf, so long runs may give it fewer samples.
//
// Prints the number of samples, of differences (the first ten shown) and the
// time per value; exits 1 on any difference.
#include "QrvNumberText.h"
#include "QrvNumberTextSamples.h"
#include "QrvPrintfNumberText.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <time.h>
#include <vector>

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
    const std::string kinds = argc > 3 ? argv[3] : "012345";

    std::printf("table value \"0.000\": integer %.1f ns, printf %.1f ns\n",
                TimeTable([](double v) { return FormatFixed3(v, '.'); }),
                TimeTable([](double v) { return ref::FormatFixed3(v, '.'); }));

    std::mt19937_64 random(seed);
    long long differences = 0;
    TCpuClock::duration ours{}, theirs{};
    // In chunks, so that reading the clock costs nothing beside the work.
    constexpr int kChunk = 4096;
    std::vector<double> values(kChunk);
    std::vector<std::string> texts(3 * kChunk), refTexts(3 * kChunk);
    for (long long done = 0; done < samples; done += kChunk) {
        const int n = static_cast<int>(std::min<long long>(kChunk, samples - done));
        for (int i = 0; i < n; ++i) {
            const std::uint64_t r = random();
            std::uint64_t s = random();
            while (kinds.find(char('0' + s % 6)) == std::string::npos)
                s = random();
            values[i] = number_samples::Sample(r, s);
        }
        auto t0 = TCpuClock::now();
        for (int i = 0; i < n; ++i) {
            texts[3 * i] = FormatFixed3(values[i], '.');
            texts[3 * i + 1] = FormatAxisValue(values[i], ',', ' ');
            texts[3 * i + 2] = FormatGeneral15(values[i], '.');
        }
        auto t1 = TCpuClock::now();
        for (int i = 0; i < n; ++i) {
            refTexts[3 * i] = ref::FormatFixed3(values[i], '.');
            refTexts[3 * i + 1] = ref::FormatAxisValue(values[i], ',', ' ');
            refTexts[3 * i + 2] = ref::FormatGeneral15(values[i], '.');
        }
        auto t2 = TCpuClock::now();
        ours += t1 - t0;
        theirs += t2 - t1;
        for (int i = 0; i < n; ++i) {
            if (texts[3 * i] == refTexts[3 * i] && texts[3 * i + 1] == refTexts[3 * i + 1] &&
                texts[3 * i + 2] == refTexts[3 * i + 2])
                continue;
            if (++differences <= 10)
                std::printf("DIFFERENT %.17g: \"%s\" \"%s\" \"%s\" instead of \"%s\" \"%s\" \"%s\"\n",
                            values[i], texts[3 * i].c_str(), texts[3 * i + 1].c_str(),
                            texts[3 * i + 2].c_str(), refTexts[3 * i].c_str(), refTexts[3 * i + 1].c_str(),
                            refTexts[3 * i + 2].c_str());
        }
    }
    std::printf("samples %lld (seed %llu, kinds %s), differences %lld\n", samples, (unsigned long long)seed,
                kinds.c_str(), differences);
    std::printf("three formats per sample: integer %.1f ns, printf %.1f ns\n", NsPerValue(ours, samples),
                NsPerValue(theirs, samples));
    return differences == 0 ? 0 : 1;
}
