#pragma once
// Runs the registered benchmarks, then prints the ratio of two of them and judges it against a bound: the way
// the side-by-side benchmarks show a target met. Unless the command line asks otherwise, each benchmark runs
// several times, the runs of all of them shuffled together, and a ratio is taken between medians: on a shared
// machine the speed changes from one second to the next, and a change then falls on both sides alike instead
// of on whichever benchmark happened to run at the time.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace kestrova::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> shown;
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration)
                times_[run.benchmark_name()].push_back(run.GetAdjustedRealTime());
            // Of repeated runs, the table shows only their statistics.
            if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1) shown.push_back(run);
        }
        if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
    }

    bool Ran(const std::string& name) const { return times_.count(name) != 0; }

    // The median of the benchmark's runs (the upper one of an even number).
    double Time(const std::string& name) const {
        std::vector<double> times = times_.at(name);
        const auto middle = times.begin() + ptrdiff_t(times.size() / 2);
        std::nth_element(times.begin(), middle, times.end());
        return *middle;
    }

private:
    std::map<std::string, std::vector<double>> times_;
};

// Runs the benchmarks the command line selects into `reporter`, repeated and interleaved unless it sets the
// repetitions itself.
inline void RunInterleaved(int argc, char** argv, RatioReporter& reporter) {
    static char repetitions[] = "--benchmark_repetitions=12";
    static char interleaving[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    const bool chosen = std::any_of(args.begin(), args.end(), [](const char* arg) {
        return std::strncmp(arg, "--benchmark_repetitions", 23) == 0;
    });
    if (!chosen) {
        args.push_back(repetitions);
        args.push_back(interleaving);
    }
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}

// The program's main: 0 when `measured` took at most `bound` times `baseline` (or either did not run).
inline int RunAndCompare(int argc, char** argv, const char* measured, const char* baseline, double bound) {
    RatioReporter reporter;
    RunInterleaved(argc, argv, reporter);
    if (!reporter.Ran(measured) || !reporter.Ran(baseline)) return 0;
    const double ratio = reporter.Time(measured) / reporter.Time(baseline);
    std::printf("%s / %s: %.2f (at most %.2f wanted)\n", measured, baseline, ratio, bound);
    return ratio <= bound ? 0 : 1;
}

}  // namespace kestrova::bench
