// The camera reader's cost per 640 x 480 frame, from a fake camera on loopback, beside bare TurboJPEG
// decoding of the same pictures: the reader should cost at most 30 % more than the decoding alone.

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bench/ipcam/notify_window.h"
#include "engine/device_messages.h"
#include "engine/ipcam/ip_camera_device.h"
#include "platform/ui/messages.h"
#include "tests/peers/fakecam/fake_camera.h"
#include "tests/peers/fakecam/test_jpeg.h"

namespace kestrova {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Pictures with detail, so that decoding costs what a camera's pictures cost.
const std::vector<std::string>& Pictures() {
    static const std::vector<std::string> pictures = [] {
        std::vector<std::string> made;
        for (int n = 0; n < 8; ++n) {
            made.push_back(testing::MakeTestJpeg(kWidth, kHeight, [n](int x, int y) {
                const unsigned noise = (unsigned(x) * 2654435761u) ^ (unsigned(y + n) * 40503u);
                return testing::Rgb{uint8_t(x / 3 + (noise & 31)), uint8_t(y / 2 + ((noise >> 5) & 31)),
                                    uint8_t((x + y + 40 * n) / 5)};
            }));
        }
        return made;
    }();
    return pictures;
}

// Waits for the next frame notification of the reader.
void WaitForFrame(HWND window) {
    MSG msg;
    for (;;) {
        while (PeekMessageW(&msg, window, WM_DEVICE_NOTIFY, WM_DEVICE_NOTIFY, PM_REMOVE)) {
            if ((msg.wParam & 0xFFFF) == kNotifyFrame) return;
        }
        std::this_thread::yield();
    }
}

void BM_CameraReaderPerFrame(benchmark::State& state) {
    testing::FakeCamera camera;
    camera.SetFrames(Pictures(), /*repeat=*/0);
    const HWND window = bench::MakeNotifyWindow();
    IpCameraParams params;
    std::snprintf(params.host, sizeof(params.host), "127.0.0.1");
    params.port = camera.Port();
    params.connectTimeout = 5;
    params.receiveTimeout = 5;
    params.frameSize = 2;
    params.notifyWindow = window;
    IpCameraDevice device;
    device.Init(&params);
    device.Start();
    // Shown, as the display shows it: every frame is decoded on the reader thread as it arrives.
    device.NoteShown();
    WaitForFrame(window);
    for (auto _ : state) {
        device.NoteShown();
        WaitForFrame(window);
    }
    state.SetItemsProcessed(state.iterations());
    device.Stop();
    DestroyWindow(window);
}
BENCHMARK(BM_CameraReaderPerFrame)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_BareTurboJpegDecode(benchmark::State& state) {
    tjhandle decoder = tjInitDecompress();
    std::vector<uint8_t> frame(size_t(kWidth) * kHeight * 3);
    size_t next = 0;
    for (auto _ : state) {
        const std::string& jpeg = Pictures()[next++ % Pictures().size()];
        tjDecompress2(decoder, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), frame.data(),
                      kWidth, kWidth * 3, kHeight, TJPF_BGR, TJFLAG_BOTTOMUP);
        benchmark::DoNotOptimize(frame.data());
    }
    state.SetItemsProcessed(state.iterations());
    tjDestroy(decoder);
}
BENCHMARK(BM_BareTurboJpegDecode)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrova

BENCHMARK_MAIN();
