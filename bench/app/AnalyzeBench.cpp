// --analyze against --table for one curve of 10 001 points with 10 roots and
// 10 extrema (sin(x) from 0.5 to 32), both through the command line's run
// in this process, output kept in memory. Prints the median processor time
// of each and their ratio.
#include "QrvCommandLine.h"
#include "QrvFpu.h"
#include "QrvTableBatch.h"
#include "QrvThreadClock.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>

namespace
{

double MedianMillis(const std::vector<std::string>& args, std::size_t& bytes)
{
    const qrv::TCommandLine cl = qrv::ParseCommandLine(args);
    std::vector<double> times;
    for (int round = 0; round < 11; ++round) {
        std::ostringstream out, errors;
        const double start = qrv::bench::ThreadCpuMilliseconds();
        qrv::RunTableBatch(cl, out, errors, nullptr);
        times.push_back(qrv::bench::ThreadCpuMilliseconds() - start);
        bytes = out.str().size();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    qrv::InitFloatEnvironment();
    const std::vector<std::string> curve = {"--formula", "sin(x)", "--xmin", "0.5",
                                            "--xmax",    "32",     "--step", "0.00315"};
    std::vector<std::string> table = curve, analyze = curve;
    table.insert(table.end(), {"--table", "-"});
    analyze.insert(analyze.end(), {"--analyze", "-"});
    std::size_t tableBytes = 0, analyzeBytes = 0;
    const double t = MedianMillis(table, tableBytes);
    const double a = MedianMillis(analyze, analyzeBytes);
    std::printf("--table   %8.2f ms (%zu bytes)\n--analyze %8.2f ms (%zu bytes)\n", t, tableBytes, a,
                analyzeBytes);
    std::printf("ratio of --analyze to --table: %.2f (target <= 3)\n", a / t);
    return 0;
}
