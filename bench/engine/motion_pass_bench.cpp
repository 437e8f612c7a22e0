// One pass of motion detection on a 640 x 480 frame (sample, smooth, compare with the reference, level)
// beside a bare copy of the same frame into a new buffer, the least a pass that works on a private copy
// could cost. The run ends with the ratio of the two; the pass should cost at most twice the copy.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "bench/support/ratio_reporter.h"
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

}  // namespace

int main(int argc, char** argv) {
    return kestrova::bench::RunAndCompare(argc, argv, "MotionPass", "FrameCopy", 2.0);
}
