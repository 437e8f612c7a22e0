// What monitored IP cameras cost the whole program: 1, 4 and 25 cameras streaming 640 x 480 JPEGs at 25
// frames a second from the tests' fake camera on loopback, with detection on, first as nobody watches them,
// then as the display shows them. It prints the process's CPU-seconds per 1,000 received frames beside
// TurboJPEG's bare decoding of the same pictures, the ratio of the two, the share of one core, and the
// resident memory each added camera costs: the memory it takes for itself (frames, pictures, buffers, its
// threads' stacks), apart from the code of the program and its libraries that its work pages in once,
// whatever the number of cameras, which is printed beside it. Last comes the bare decode again, each picture
// decoded after sleeping as long as detection sleeps between its passes: on a machine where a processor that
// has been idle runs slowly at first, every detection pass pays that, and the tight loop does not.
//
// The fake camera runs in a process of its own, so that only the program's work is counted, and each run
// starts in a fresh process, so that no run's memory serves the next unseen. The bare decode is measured
// again beside each run, as the machine's load changes both alike.

#include <sys/resource.h>
#include <sys/wait.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/ipcam/notify_window.h"
#include "engine/device_messages.h"
#include "engine/ipcam/ip_camera_device.h"
#include "platform/ui/messages.h"
#include "tests/peers/fakecam/fake_camera.h"

namespace kestrova {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFramesPerSecond = 25;
constexpr int kCameraCounts[] = {1, 4, 25};
constexpr uint32_t kSettleMs = 2000;
constexpr uint32_t kMeasureMs = 6000;
constexpr UINT_PTR kEndTimer = 1;
constexpr int kDetectionPassMs = 200;  // how long the detection worker waits between its passes

// Targets: an unwatched camera at most 0.3 of a bare decode per frame and 25 of them under 0.15 of a core; a
// shown camera at most 1.4 bare decodes, 25 of them well under a core; at most 1.5 MB resident per camera.
constexpr double kUnwatchedRatio = 0.3;
constexpr double kUnwatchedCores25 = 0.15;
constexpr double kShownRatio = 1.4;
constexpr double kShownCores25 = 1.0;
constexpr double kMegabytesPerCamera = 1.5;

// Camera-like pictures: a lit scene with fine texture and a bright block that moves from one to the next,
// coded as cameras code them (4:2:0, quality 80).
std::vector<std::string> ScenePictures() {
    tjhandle encoder = tjInitCompress();
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 3);
    std::vector<std::string> pictures;
    for (int n = 0; n < 8; ++n) {
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const unsigned texture = ((unsigned(x) * 2654435761u) ^ (unsigned(y) * 40503u)) >> 27;
                const bool block = x / 80 == n && y >= 160 && y < 320;
                uint8_t* p = &pixels[(size_t(y) * kWidth + x) * 3];
                p[0] = uint8_t(block ? 240 : x / 4 + texture);
                p[1] = uint8_t(block ? 230 : y / 3 + texture);
                p[2] = uint8_t(block ? 220 : (x + y) / 8 + texture);
            }
        }
        unsigned char* jpeg = nullptr;
        unsigned long size = 0;
        tjCompress2(encoder, pixels.data(), kWidth, 0, kHeight, TJPF_BGR, &jpeg, &size, TJSAMP_420, 80, 0);
        pictures.emplace_back(reinterpret_cast<char*>(jpeg), size);
        tjFree(jpeg);
    }
    tjDestroy(encoder);
    return pictures;
}

double ProcessCpuSeconds() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ThreadCpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

struct Resident {
    double own = 0;   // anonymous memory, in MB
    double code = 0;  // pages of files: the program's code and its libraries, in MB
};

Resident ResidentMegabytes() {
    Resident resident;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        long kilobytes = 0;
        while (std::fgets(line, sizeof line, status)) {
            if (std::sscanf(line, "RssAnon: %ld kB", &kilobytes) == 1)
                resident.own = double(kilobytes) / 1024.0;
            if (std::sscanf(line, "RssFile: %ld kB", &kilobytes) == 1)
                resident.code = double(kilobytes) / 1024.0;
        }
        std::fclose(status);
    }
    return resident;
}

// One picture decoded into `frame`, bottom-up BGR as frames lie.
void DecodeFrame(tjhandle decoder, const std::string& jpeg, std::vector<uint8_t>& frame) {
    tjDecompress2(decoder, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), frame.data(),
                  kWidth, kWidth * 3, kHeight, TJPF_BGR, TJFLAG_BOTTOMUP);
}

// CPU-seconds TurboJPEG takes to decode 1,000 of the pictures.
double BareDecodeSeconds(const std::vector<std::string>& pictures) {
    constexpr int kDecodes = 1000;
    tjhandle decoder = tjInitDecompress();
    std::vector<uint8_t> frame(size_t(kWidth) * kHeight * 3);
    const double start = ThreadCpuSeconds();
    for (int i = 0; i < kDecodes; ++i) {
        const std::string& jpeg = pictures[size_t(i) % pictures.size()];
        DecodeFrame(decoder, jpeg, frame);
    }
    const double seconds = ThreadCpuSeconds() - start;
    tjDestroy(decoder);
    return seconds * 1000.0 / kDecodes;
}

// The same, each decode after the thread has slept as long as detection sleeps between its passes: the cost
// of decoding on a processor that has been idle, which every detection pass of an unwatched camera pays,
// apart from the tight loop's warm one. Printed beside the targets to tell the machine's part from the
// program's.
double IdleStartDecodeSeconds(const std::vector<std::string>& pictures) {
    constexpr int kDecodes = 10;
    tjhandle decoder = tjInitDecompress();
    std::vector<uint8_t> frame(size_t(kWidth) * kHeight * 3);
    double seconds = 0;
    for (int i = 0; i < kDecodes; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kDetectionPassMs));
        const std::string& jpeg = pictures[size_t(i) % pictures.size()];
        const double start = ThreadCpuSeconds();
        DecodeFrame(decoder, jpeg, frame);
        seconds += ThreadCpuSeconds() - start;
    }
    tjDestroy(decoder);
    return seconds * 1000.0 / kDecodes;
}

struct CameraProcess {
    pid_t pid = -1;
    int hold = -1;  // closing it ends the process
    int port = 0;
};

// The fake camera, serving from a child process until the parent closes `hold` (or ends).
CameraProcess StartCameraProcess(const std::vector<std::string>& pictures) {
    CameraProcess process;
    int report[2], hold[2];
    if (pipe(report) != 0 || pipe(hold) != 0) return process;
    process.pid = fork();
    if (process.pid == 0) {
        close(report[0]);
        close(hold[1]);
        {
            testing::FakeCamera camera;
            camera.SetFrames(pictures, /*repeat=*/0);
            size_t bytes = 0;
            for (const std::string& picture : pictures) bytes += picture.size();
            // A part's worth of bytes every frame interval: 25 frames a second on every stream.
            camera.SetDelivery(bytes / pictures.size() + 100,
                               std::chrono::milliseconds(1000 / kFramesPerSecond));
            const int served = camera.Port();
            if (write(report[1], &served, sizeof served) != sizeof served) _exit(1);
            char byte;
            while (read(hold[0], &byte, 1) > 0) {
            }
        }
        _exit(0);
    }
    close(report[1]);
    close(hold[0]);
    process.hold = hold[1];
    if (read(report[0], &process.port, sizeof process.port) != sizeof process.port) process.pid = -1;
    close(report[0]);
    return process;
}

// Takes the window's messages for `ms` milliseconds; counts the frame notifications and, for shown cameras,
// marks each device shown as the display does when it learns of a frame.
int64_t PumpFrames(HWND window, uint32_t ms, bool shown) {
    SetTimer(window, kEndTimer, ms, nullptr);
    int64_t frames = 0;
    MSG msg;
    while (GetMessageW(&msg, window, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.wParam == kEndTimer) break;
        if (msg.message != WM_DEVICE_NOTIFY || (msg.wParam & 0xFFFF) != kNotifyFrame) continue;
        ++frames;
        if (shown) reinterpret_cast<Device*>(msg.lParam)->NoteShown();
    }
    KillTimer(window, kEndTimer);
    return frames;
}

struct Measure {
    int64_t frames = 0;
    double cpuSeconds = 0;
    double megabytesPerCamera = 0;
    double codeMegabytes = 0;     // paged in once for all the cameras
    double bareSeconds = 0;       // per 1,000 frames
    double idleStartSeconds = 0;  // the same
};

Measure MeasureCameras(int count, bool shown, int port) {
    const HWND window = bench::MakeNotifyWindow();
    const Resident residentBefore = ResidentMegabytes();
    std::vector<std::unique_ptr<IpCameraDevice>> cameras;
    for (int i = 0; i < count; ++i) {
        IpCameraParams params;
        std::snprintf(params.host, sizeof(params.host), "127.0.0.1");
        params.port = port;
        params.connectTimeout = 5;
        params.receiveTimeout = 5;
        params.frameSize = 2;
        params.notifyWindow = window;
        auto camera = std::make_unique<IpCameraDevice>();
        camera->Init(&params);
        camera->Start();
        camera->StartDetection();
        cameras.push_back(std::move(camera));
    }
    PumpFrames(window, kSettleMs, shown);
    Measure measure;
    const double cpuBefore = ProcessCpuSeconds();
    measure.frames = PumpFrames(window, kMeasureMs, shown);
    measure.cpuSeconds = ProcessCpuSeconds() - cpuBefore;
    const Resident residentAfter = ResidentMegabytes();
    measure.megabytesPerCamera = (residentAfter.own - residentBefore.own) / count;
    measure.codeMegabytes = residentAfter.code - residentBefore.code;
    for (auto& camera : cameras) camera->Stop();
    DestroyWindow(window);
    return measure;
}

// One run in a child process of its own; false when it did not report.
bool MeasureInChild(int count, bool shown, int port, const std::vector<std::string>& pictures,
                    Measure* measure) {
    int report[2];
    if (pipe(report) != 0) return false;
    const pid_t child = fork();
    if (child == 0) {
        close(report[0]);
        Measure measured = MeasureCameras(count, shown, port);
        measured.bareSeconds = BareDecodeSeconds(pictures);
        measured.idleStartSeconds = IdleStartDecodeSeconds(pictures);
        _exit(write(report[1], &measured, sizeof measured) == sizeof measured ? 0 : 1);
    }
    close(report[1]);
    const bool reported = child > 0 && read(report[0], measure, sizeof *measure) == sizeof *measure;
    close(report[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return reported;
}

const char* Verdict(bool met) {
    return met ? "met" : "NOT MET";
}

}  // namespace
}  // namespace kestrova

// With arguments "<cameras> <shown: yes|no>" it measures that one run only, for profiling.
int main(int argc, char** argv) {
    using namespace kestrova;
    std::vector<int> counts(std::begin(kCameraCounts), std::end(kCameraCounts));
    std::vector<bool> shownRuns = {false, true};
    if (argc == 3) {
        counts = {std::atoi(argv[1])};
        shownRuns = {std::strcmp(argv[2], "yes") == 0};
    }
    const std::vector<std::string> pictures = ScenePictures();
    const CameraProcess camera = StartCameraProcess(pictures);
    if (camera.pid <= 0) {
        std::fprintf(stderr, "the fake camera did not start\n");
        return 1;
    }
    size_t bytes = 0;
    for (const std::string& picture : pictures) bytes += picture.size();
    std::printf(
        "IP cameras, 640 x 480 JPEG (%zu bytes each on average) at %d frames a second, detection on\n",
        bytes / pictures.size(), kFramesPerSecond);
    std::printf(
        "cameras  shown  frames  CPU-s/1000 frames  bare decode  x bare  cores  MB/camera  code MB"
        "  idle-start decode\n");
    bool met = true;
    for (const bool shown : shownRuns) {
        for (const int count : counts) {
            Measure m;
            if (!MeasureInChild(count, shown, camera.port, pictures, &m)) {
                std::fprintf(stderr, "the run of %d cameras did not report\n", count);
                return 1;
            }
            const double bare = m.bareSeconds;
            const double perThousand = m.frames > 0 ? m.cpuSeconds * 1000.0 / double(m.frames) : 0;
            const double ratio = perThousand / bare;
            const double cores = m.cpuSeconds * 1000.0 / kMeasureMs;
            std::printf("%7d  %5s  %6lld  %17.3f  %11.3f  %6.2f  %5.3f  %9.2f  %7.2f  %17.3f\n", count,
                        shown ? "yes" : "no", static_cast<long long>(m.frames), perThousand, bare, ratio,
                        cores, m.megabytesPerCamera, m.codeMegabytes, m.idleStartSeconds);
            met = met && ratio <= (shown ? kShownRatio : kUnwatchedRatio) &&
                  m.megabytesPerCamera <= kMegabytesPerCamera;
            if (count == 25) met = met && cores < (shown ? kShownCores25 : kUnwatchedCores25);
        }
    }
    std::printf(
        "\ntargets: unwatched <= %.2f x bare and 25 under %.2f core; shown <= %.2f x bare and 25 under %.0f "
        "core; <= %.1f MB per camera: %s\n",
        kUnwatchedRatio, kUnwatchedCores25, kShownRatio, kShownCores25, kMegabytesPerCamera, Verdict(met));
    close(camera.hold);
    waitpid(camera.pid, nullptr, 0);
    return met ? 0 : 1;
}
