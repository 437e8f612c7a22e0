// A USB camera's frame callback at 640 x 480 with the picture flipped and a privacy mask set (storing the
// frame, flipping it row by row and blacking out the masked cells), beside a bare copy of the delivered
// buffer. The run ends with the ratio of the two; the callback should cost at most 1.5 times the copy.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "engine/grids.h"
#include "engine/usbcam/usb_camera_device.h"

namespace {

constexpr size_t kFrameBytes = 640 * 480 * 3;

void OnFrameFlippedAndMasked(benchmark::State& state) {
    kestrova::UsbCameraDevice camera;
    camera.SetFlipVertical(1);
    kestrova::MaskGrid privacy{};
    for (size_t cell = 0; cell < privacy.size(); cell += 7) privacy[cell] = 1;  // one cell in seven
    camera.SetMasks(nullptr, &privacy);
    const std::vector<uint8_t> delivered(kFrameBytes, 0x5A);
    for (auto _ : state) {
        camera.OnFrame(delivered.data(), long(delivered.size()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(OnFrameFlippedAndMasked);

void BufferCopy(benchmark::State& state) {
    const std::vector<uint8_t> delivered(kFrameBytes, 0x5A);
    std::vector<uint8_t> frame(kFrameBytes);
    for (auto _ : state) {
        std::memcpy(frame.data(), delivered.data(), frame.size());
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BufferCopy);

}  // namespace

int main(int argc, char** argv) {
    return kestrova::bench::RunAndCompare(argc, argv, "OnFrameFlippedAndMasked", "BufferCopy", 1.5);
}
