// What an IP camera's readers see of the JPEGs it receives: the newest one, decoded once when first read, or
// at once while the camera is shown; a damaged one dropped when it is decoded.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/ipcam/ip_camera_device.h"
#include "platform/base/clock.h"
#include "tests/engine/ipcam/notify_recorder.h"
#include "tests/peers/fakecam/fake_camera.h"
#include "tests/peers/fakecam/test_jpeg.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

using testing::FakeCamera;
using testing::MakeTestJpeg;
using testing::NotifyRecorder;
using testing::Rgb;

// A camera that also tells how many received JPEGs it has decoded.
class ObservedIpCamera : public IpCameraDevice {
public:
    int64_t DecodedJpegs() {
        std::lock_guard<CriticalSection> lock(frameLock_);
        return decodedJpegs_;
    }
};

std::string GreyJpeg(int level) {
    return MakeTestJpeg(640, 480, [&](int, int) { return Rgb{uint8_t(level), uint8_t(level), uint8_t(level)}; });
}

// A JPEG whose header reads well but whose scan asks for a Huffman table that is never defined: only decoding
// finds it damaged.
std::string UndecodableJpeg() {
    std::string jpeg = GreyJpeg(128);
    const size_t scan = jpeg.find("\xFF\xDA");
    jpeg[scan + 6] = char(0x33);  // the first component's DC and AC tables: 3, 3
    return jpeg;
}

class NewestFrameTest : public ::testing::Test {
protected:
    void Start(std::vector<std::string> jpegs) {
        camera.SetFrames(std::move(jpegs));
        IpCameraParams params;
        std::snprintf(params.host, sizeof(params.host), "127.0.0.1");
        params.port = camera.Port();
        params.connectTimeout = 1;
        params.receiveTimeout = 1;
        params.frameSize = 2;
        params.notifyWindow = notify.Window();
        device.Init(&params);
        ASSERT_EQ(device.Start(), 1);
    }

    bool WaitForFrames(int count) {
        return notify.WaitUntil([&] { return notify.Count(kNotifyFrame) >= count; });
    }

    // Takes this thread's messages with a waiting loop, as the main window does, until `count` frame notices
    // came; false when they did not come within ten seconds of real time, after which a watchdog wakes and
    // ends the loop.
    bool LoopUntilFrames(int count) {
        std::mutex mutex;
        std::condition_variable changed;
        bool done = false;
        std::atomic<bool> expired{false};
        const uint64_t loop = GetCurrentThreadId();
        std::thread watchdog([&] {
            std::unique_lock<std::mutex> lock(mutex);
            if (changed.wait_for(lock, std::chrono::seconds(10), [&] { return done; })) return;
            expired = true;
            PostThreadMessageW(loop, WM_QUIT, 0, 0);
        });
        int frames = 0;
        MSG msg;
        while (frames < count && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            frames += msg.message == WM_DEVICE_NOTIFY && LOWORD(msg.wParam) == kNotifyFrame ? 1 : 0;
        }
        {
            std::lock_guard<std::mutex> lock(mutex);
            done = true;
        }
        changed.notify_all();
        watchdog.join();
        return frames >= count && !expired;
    }

    // The grey level of the current frame's middle, or -1 without a frame.
    int MiddleGrey() {
        std::vector<uint8_t> frame(kFrameBytes640x480);
        if (device.CopyFrame(frame.data(), kFrameBytes640x480, nullptr) != 1) return -1;
        return frame[(size_t(240) * 640 + 320) * 3];
    }

    NotifyRecorder notify;
    FakeCamera camera;
    ObservedIpCamera device;
};

TEST_F(NewestFrameTest, AReaderGetsTheNewestFrameDecodedOnceForAllReaders) {
    Start({GreyJpeg(40), GreyJpeg(120), GreyJpeg(200)});
    ASSERT_TRUE(WaitForFrames(3));
    EXPECT_EQ(device.DecodedJpegs(), 0) << "nothing read the frames yet";

    EXPECT_NEAR(MiddleGrey(), 200, 2);
    const TempFolder folder;
    EXPECT_EQ(device.SaveFrame(folder.path() + L"photo.png", 0, 70), 1);
    EXPECT_NEAR(MiddleGrey(), 200, 2);
    EXPECT_EQ(device.DecodedJpegs(), 1);
    EXPECT_EQ(notify.Count(kNotifyFrame), 3) << "one notification for every received frame";
}

TEST_F(NewestFrameTest, ADamagedJpegIsDroppedWhenDecoded) {
    struct Case {
        const char* name;
        std::vector<std::string> stream;
        int grey;  // what a reader sees after the whole stream: -1 no frame
    };
    const std::string damaged = UndecodableJpeg();
    for (const Case& c : {Case{"after a good one", {GreyJpeg(80), damaged}, 80},
                          Case{"between good ones", {GreyJpeg(80), damaged, GreyJpeg(160)}, 160},
                          Case{"never a good one", {damaged, damaged}, -1}}) {
        Start(c.stream);
        ASSERT_TRUE(WaitForFrames(int(c.stream.size()))) << c.name;
        if (c.grey < 0) {
            EXPECT_EQ(MiddleGrey(), -1) << c.name;
        } else {
            EXPECT_NEAR(MiddleGrey(), c.grey, 2) << c.name;
        }
        const TempFolder folder;
        EXPECT_EQ(device.SaveFrameAs(folder.path() + L"photo.png", 0, 70) == FrameSave::kNoFrame, c.grey < 0)
            << c.name;
        device.Stop();
        notify.Clear();
    }
}

TEST_F(NewestFrameTest, AShownCameraDecodesEveryFrameAsItArrives) {
    TestClock clock;
    SetClock(&clock);
    device.NoteShown();
    Start({GreyJpeg(40), GreyJpeg(120), UndecodableJpeg()});
    // The clock stands still: only notices that wake the window's thread at once reach a waiting loop.
    ASSERT_TRUE(LoopUntilFrames(3)) << "a shown camera's frames must wake the display's thread";
    EXPECT_EQ(device.DecodedJpegs(), 3) << "decoded before the notifications were posted";
    EXPECT_NEAR(MiddleGrey(), 120, 2);
    EXPECT_EQ(device.DecodedJpegs(), 3);
    device.Stop();
    SetClock(nullptr);
}

}  // namespace
}  // namespace kestrova
