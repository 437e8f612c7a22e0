// One pass of motion detection on a 640 x 480 frame (sample, smooth, compare with the reference, level)
// beside a bare copy of the same frame into a new buffer, the least a pass that works on a private copy
// could cost. The run ends with the ratio of the two; the pass should cost at most twice the copy.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/motion_detection.h"

namespace {

constexpr size_t kFrameBytes = 640 * 480 * 3;

std::vector<uint8_t> RandomFrame(unsigned seed) {
    std::vector<uint8_t> frame(kFrameBytes);
    std::mt19937 random(seed);
    for (auto& b : frame) b = uint8_t(random());
    return frame;
}

void MotionPass(benchmark::State& state) {
    const std::vector<uint8_t> frame = RandomFrame(1);
    kestrova::MotionSample reference{}, sample{};
    kestrova::TakeMotionSample(RandomFrame(2).data(), kFrameBytes, reference);
    const kestrova::MaskGrid ignore{};
    for (auto _ : state) {
        kestrova::TakeMotionSample(frame.data(), frame.size(), sample);
        const int level = kestrova::MotionLevel(kestrova::CompareMotionSamples(sample, reference, ignore), 5);
        benchmark::DoNotOptimize(level);
    }
}
BENCHMARK(MotionPass);

void FrameCopy(benchmark::State& state) {
    const std::vector<uint8_t> frame = RandomFrame(1);
    for (auto _ : state) {
        std::vector<uint8_t> copy(frame.size());
        std::memcpy(copy.data(), frame.data(), frame.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FrameCopy);

// Prints the usual table and keeps each benchmark's time per iteration for the ratio.
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

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (reporter.times.count("MotionPass") && reporter.times.count("FrameCopy")) {
        const double ratio = reporter.times["MotionPass"] / reporter.times["FrameCopy"];
        std::printf("motion pass / frame copy: %.2f (at most 2 wanted)\n", ratio);
        return ratio <= 2.0 ? 0 : 1;
    }
    return 0;
}
