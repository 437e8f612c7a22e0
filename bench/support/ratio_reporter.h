#pragma once
// Runs the registered benchmarks with the usual table, then prints the ratio of two of them and judges it
// against a bound: the way the side-by-side benchmarks show a target met.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace kestrova::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) times[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }
    std::map<std::string, double> times;
};

// The program's main: 0 when `measured` took at most `bound` times `baseline` (or either did not run).
inline int RunAndCompare(int argc, char** argv, const char* measured, const char* baseline, double bound) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (!reporter.times.count(measured) || !reporter.times.count(baseline)) return 0;
    const double ratio = reporter.times[measured] / reporter.times[baseline];
    std::printf("%s / %s: %.2f (at most %.2f wanted)\n", measured, baseline, ratio, bound);
    return ratio <= bound ? 0 : 1;
}

}  // namespace kestrova::bench
