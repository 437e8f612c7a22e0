#include "engine/usbcam/usb_camera_device.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/device_settings.h"
#include "platform/base/clock.h"
#include "platform/media/device_enumerator.h"
#include "platform/media/filter_graph.h"
#include "platform/media/v4l2/v4l2_camera.h"
#include "platform/shell/camera_controls_window.h"
#include "platform/ui/testing/driver.h"
#include "platform/ui/windows.h"
#include "scripted_frames.h"
#include "scripted_v4l2.h"
#include "tests/engine/device/kit/notify_recorder.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

using namespace media;
using mediatest::ScriptedCamera;
using mediatest::ScriptedV4l2;
using testing::Note;
using testing::NotifyRecorder;

constexpr char kNode[] = "/dev/video0";
constexpr wchar_t kPath[] = L"/dev/v4l/by-id/usb-Desk-video-index0";

ScriptedCamera DeskCamera() {
    ScriptedCamera camera;
    camera.card = "Desk Camera";
    camera.formats = {{V4L2_PIX_FMT_YUYV, {{640, 480}, {320, 240}}, 30},
                      {V4L2_PIX_FMT_MJPEG, {{640, 480}}, 30}};
    camera.controls = {{V4L2_CID_BRIGHTNESS, 0, 255, 1, 128, 128}, {V4L2_CID_CONTRAST, -10, 10, 1, 0, 0}};
    camera.links = {"/dev/v4l/by-id/usb-Desk-video-index0"};
    return camera;
}

// A source with a capture pin but no stream configuration.
class ConfiglessSource : public SourceFilter {
public:
    ConfiglessSource() { AddPin(L"Capture", PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE); }

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin&) override {
        return {MakeVideoType(MEDIASUBTYPE_RGB24, 640, 480, 24, 333333)};
    }
    bool PinAccepts(IPin&, const AM_MEDIA_TYPE&) override { return true; }
    void Stream(StopFlag&) override {}
};

bool WaitFor(const std::function<bool()>& done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class UsbCameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        kernel.AddCamera(kNode, DeskCamera());
        Init(Bind(), 2);
    }

    std::shared_ptr<IBaseFilter> Bind() {
        SystemDeviceEnum enumerator;
        std::vector<std::shared_ptr<IMoniker>> monikers;
        enumerator.CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers);
        std::shared_ptr<IBaseFilter> filter;
        if (!monikers.empty()) monikers[0]->BindToObject(&filter);
        return filter;
    }

    void Init(std::shared_ptr<IBaseFilter> filter, int frameSize) {
        captureFilter = filter.get();
        UsbCameraParams params;
        params.captureFilter = std::move(filter);
        std::wcsncpy(params.friendlyName, L"Desk Camera", 255);
        std::wcsncpy(params.devicePath, kPath, 255);
        params.frameSize = frameSize;
        params.notifyWindow = notes.window();
        std::wcsncpy(params.storageFolder, storage.path().c_str(), 1023);
        device.Init(&params);
    }

    // The current frame when it has `bytes` bytes, else empty.
    std::vector<uint8_t> Frame(int bytes) {
        std::vector<uint8_t> frame(static_cast<size_t>(bytes));
        return device.CopyFrame(frame.data(), bytes, nullptr) ? frame : std::vector<uint8_t>{};
    }

    ScopedEnv noVirtual{"KESTROVA_VIRTUAL_DEVICES", nullptr};
    ScriptedV4l2 kernel;
    TempFolder storage;
    NotifyRecorder notes;
    UsbCameraDevice device;
    IBaseFilter* captureFilter = nullptr;
};

TEST_F(UsbCameraTest, StartsOnTheLastMatchingFormatAndStoresConvertedFrames) {
    ASSERT_EQ(device.Start(), 1);
    EXPECT_EQ(device.GetState(kStatePowered), 1);
    EXPECT_EQ(notes.Drain(), (std::vector<Note>{{2, kStatePowered, &device}}));
    // 640 x 480 is offered as YUYV, then as MJPEG: the later entry is the one in force.
    EXPECT_EQ(kernel.Capture(kNode).pixelFormat, uint32_t(V4L2_PIX_FMT_MJPEG));
    EXPECT_EQ(kernel.Capture(kNode).width, 640u);

    kernel.PushFrame(kNode, mediatest::JpegRedOverBlue(640, 480));
    ASSERT_TRUE(WaitFor([&] { return !Frame(kFrameBytes640x480).empty(); }));
    const std::vector<uint8_t> frame = Frame(kFrameBytes640x480);
    EXPECT_TRUE(mediatest::IsBlue(&frame[0], 8));  // bottom-up: the picture's bottom row first
    EXPECT_TRUE(mediatest::IsRed(&frame[frame.size() - 3], 8));

    ASSERT_EQ(device.Stop(), 1);
    EXPECT_EQ(device.GetState(kStatePowered), 0);
    EXPECT_FALSE(kernel.Streaming(kNode));
    EXPECT_TRUE(Frame(kFrameBytes640x480).empty());
    const std::vector<Note> stopped = notes.Drain();
    ASSERT_GE(stopped.size(), 3u);
    EXPECT_EQ(stopped[0], (Note{1, 0, &device}));  // the frame
    EXPECT_EQ(stopped[stopped.size() - 2], (Note{2, kStatePowered, &device}));
    EXPECT_EQ(stopped.back(), (Note{1, 0, &device}));  // repaint without a frame
    EXPECT_EQ(device.Stop(), 0);                       // no graph any more

    // The capture filter stays with the device and starts again.
    ASSERT_EQ(device.Start(), 1);
    EXPECT_EQ(device.GetState(kStatePowered), 1);
}

TEST_F(UsbCameraTest, StopEndsDetectionAndTheAlarmEvenWithoutAGraph) {
    device.SetSaveFiles(0);  // an alarm that saves and plays nothing
    device.SetPlaySound(0);
    for (bool powered : {true, false}) {
        if (powered) {
            ASSERT_EQ(device.Start(), 1);
        }
        ASSERT_EQ(device.StartDetection(), 1);
        ASSERT_EQ(device.TriggerAlarm(), 1);
        ASSERT_TRUE(
            WaitFor([&] { return device.GetState(kStateMonitoring) && device.GetState(kStateAlarm); }));
        EXPECT_EQ(device.Stop(), powered ? 1 : 0);
        EXPECT_EQ(device.GetState(kStatePowered | kStateMonitoring | kStateAlarm), 0);
    }
}

TEST_F(UsbCameraTest, FrameSizeChoosesTheFormat) {
    struct Case {
        int frameSize;
        uint32_t pixelFormat;
        uint32_t width;
    };
    // Frame size 3 matches nothing: the camera keeps its first format.
    for (const Case& c : {Case{1, V4L2_PIX_FMT_YUYV, 320}, Case{2, V4L2_PIX_FMT_MJPEG, 640},
                          Case{3, V4L2_PIX_FMT_YUYV, 640}}) {
        Init(Bind(), c.frameSize);
        device.Start();
        EXPECT_EQ(device.GetState(kStatePowered), 1) << c.frameSize;
        EXPECT_EQ(kernel.Capture(kNode).pixelFormat, c.pixelFormat) << c.frameSize;
        EXPECT_EQ(kernel.Capture(kNode).width, c.width) << c.frameSize;
        device.Stop();
    }
}

TEST_F(UsbCameraTest, FramesOfTheTwoSizesAreStoredAndOthersDropped) {
    std::vector<uint8_t> buffer(kFrameBytes640x480, 0x40);
    struct Case {
        long length;
        int width;
        int height;
    };
    for (const Case& c : {Case{kFrameBytes640x480, 640, 480}, Case{kFrameBytes320x240, 320, 240},
                          Case{kFrameBytes640x480, 640, 480}}) {
        device.OnFrame(buffer.data(), c.length);
        imaging::BitmapInfo info;
        std::vector<uint8_t> frame(static_cast<size_t>(c.length));
        ASSERT_EQ(device.CopyFrame(frame.data(), int(c.length), &info), 1) << c.length;
        EXPECT_EQ(info.bmiHeader.biWidth, c.width);
        EXPECT_EQ(info.bmiHeader.biHeight, c.height);
        EXPECT_EQ(info.bmiHeader.biSize, 40u);
        EXPECT_EQ(info.bmiHeader.biBitCount, 24);
        EXPECT_EQ(notes.Drain(), (std::vector<Note>{{1, 0, &device}}));
    }
    // 640 x 480 at two bytes a pixel is no frame the device can show.
    device.OnFrame(buffer.data(), 614'400);
    EXPECT_TRUE(notes.Drain().empty());
    EXPECT_FALSE(Frame(kFrameBytes640x480).empty());
}

TEST_F(UsbCameraTest, FlipAndPrivacyShapeTheStoredFrame) {
    std::vector<uint8_t> buffer(kFrameBytes640x480);
    for (size_t i = 0; i < buffer.size(); ++i)
        buffer[i] = uint8_t(1 + (i / 1920) % 250);  // row r holds 1 + r
    MaskGrid privacy{};
    privacy[MaskCell(0, 0)] = 1;
    device.SetMasks(nullptr, &privacy);

    device.OnFrame(buffer.data(), kFrameBytes640x480);
    std::vector<uint8_t> frame = Frame(kFrameBytes640x480);
    // Cell (0, 0) is the top left: the last 12 stored rows, their first 48 bytes.
    for (int row = 468; row < 480; ++row) {
        const uint8_t* stored = &frame[size_t(row) * 1920];
        EXPECT_EQ(std::count(stored, stored + 48, 0), 48) << row;
        EXPECT_EQ(stored[48], uint8_t(1 + row % 250)) << row;
    }
    EXPECT_EQ(frame[467 * 1920], uint8_t(1 + 467 % 250));

    device.SetFlipVertical(1);
    device.OnFrame(buffer.data(), kFrameBytes640x480);
    frame = Frame(kFrameBytes640x480);
    EXPECT_EQ(frame[0], uint8_t(1 + 479 % 250));  // the first stored row is the last delivered one
    EXPECT_EQ(frame[479 * 1920 + 48], uint8_t(1 + 0));
    EXPECT_EQ(frame[479 * 1920], 0);  // privacy still covers the top left
}

TEST_F(UsbCameraTest, WebSnapshotIsWrittenForAPublishedCameraAtMostOnceASecond) {
    TestClock clock;
    SetClock(&clock);
    std::vector<uint8_t> buffer(kFrameBytes640x480, 0x80);
    const std::filesystem::path server = storage.native() + "Server";
    for (int index : {0, -1}) {
        device.SetWebIndex(index);
        device.OnFrame(buffer.data(), kFrameBytes640x480);
    }
    EXPECT_FALSE(std::filesystem::exists(server));

    device.SetWebIndex(3);
    device.OnFrame(buffer.data(), kFrameBytes640x480);
    ASSERT_TRUE(std::filesystem::exists(server / "3.jpg"));
    std::filesystem::remove(server / "3.jpg");
    device.OnFrame(buffer.data(), kFrameBytes640x480);
    EXPECT_FALSE(std::filesystem::exists(server / "3.jpg"));
    clock.Advance(1000);
    device.OnFrame(buffer.data(), kFrameBytes640x480);
    EXPECT_TRUE(std::filesystem::exists(server / "3.jpg"));
    SetClock(nullptr);
}

TEST_F(UsbCameraTest, BrightnessAndContrastAreTheDriversValuesAsLevels) {
    // Brightness: 0..255 at 128.
    EXPECT_EQ(device.GetBrightness(0), 12 * 65536 + 1);
    EXPECT_EQ(device.SetBrightness(10, 0), 10 * 65536 + 1);
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_BRIGHTNESS), 102);
    EXPECT_EQ(device.GetBrightness(0), 10 * 65536 + 1);
    EXPECT_EQ(device.GetBrightness(1), 12 * 65536 + 1);  // the default, 128
    EXPECT_EQ(device.SetBrightness(3, 1), 12 * 65536 + 1);
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_BRIGHTNESS), 128);
    EXPECT_EQ(device.SetBrightness(40, 0), 25 * 65536 + 1);  // levels are clamped to 0..25
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_BRIGHTNESS), 255);

    // Contrast: a span of 20 from -10; level 4 writes minimum + 4, which reads back as level 5.
    EXPECT_EQ(device.SetContrast(4, 0), 5 * 65536 + 1);
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_CONTRAST), -6);
    EXPECT_EQ(device.GetContrast(0), 5 * 65536 + 1);
}

TEST(UsbCameraLevels, EdgesOfTheDriversRange) {
    ScopedEnv noVirtual("KESTROVA_VIRTUAL_DEVICES", nullptr);
    ScriptedV4l2 kernel;
    ScriptedCamera camera = DeskCamera();
    // A range without width, and one whose top level floating point would miss.
    camera.controls = {{V4L2_CID_BRIGHTNESS, 50, 50, 1, 50, 50}, {V4L2_CID_CONTRAST, 0, 97, 1, 0, 97}};
    kernel.AddCamera(kNode, camera);
    auto filter = std::make_shared<V4l2Camera>(kNode);
    UsbCameraParams params;
    params.captureFilter = filter;
    UsbCameraDevice device;
    device.Init(&params);
    EXPECT_EQ(device.GetBrightness(0), 1);
    EXPECT_EQ(device.SetBrightness(7, 0), 1);
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_BRIGHTNESS), 50);
    EXPECT_EQ(device.GetContrast(0), 25 * 65536 + 1);
    EXPECT_EQ(device.SetContrast(25, 0), 25 * 65536 + 1);
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_CONTRAST), 97);

    // Without the driver's control, or without a filter, there is no level.
    camera.controls.clear();
    kernel.AddCamera("/dev/video1", camera);
    params.captureFilter = std::make_shared<V4l2Camera>("/dev/video1");
    device.Init(&params);
    EXPECT_EQ(device.GetBrightness(0), 0);
    EXPECT_EQ(device.SetContrast(5, 0), 0);
    device.Init(nullptr);
    EXPECT_EQ(device.GetBrightness(1), 0);
    EXPECT_EQ(device.SetBrightness(5, 1), 0);
}

TEST_F(UsbCameraTest, UnpluggedCameraIsReportedOnceWithLaterEventsLeftQueued) {
    ASSERT_EQ(device.Start(), 1);
    EXPECT_EQ(device.HandleGraphEvents(), 0);
    kernel.Unplug(kNode);
    FilterGraph* graph = captureFilter->Graph();
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(WaitFor([&] { return device.HandleGraphEvents() == 1; }));
    EXPECT_EQ(device.HandleGraphEvents(), 0);

    graph->Notify(EC_COMPLETE, 0, 0);
    graph->Notify(EC_DEVICE_LOST, 0, 0);
    graph->Notify(EC_PAUSED, 0, 0);
    EXPECT_EQ(device.HandleGraphEvents(), 1);
    long code = 0;
    intptr_t param1 = 0, param2 = 0;
    ASSERT_EQ(graph->GetEvent(&code, &param1, &param2, 0), S_OK);
    EXPECT_EQ(code, EC_PAUSED);
    device.Stop();
    EXPECT_EQ(device.HandleGraphEvents(), 0);  // no graph
}

TEST_F(UsbCameraTest, StartFailsQuietlyWithoutACaptureFilterOrItsStreamConfiguration) {
    for (bool withFilter : {false, true}) {
        Init(withFilter ? std::make_shared<ConfiglessSource>() : nullptr, 2);
        notes.Drain();
        EXPECT_EQ(device.Start(), 1);
        EXPECT_EQ(device.GetState(kStatePowered), 0);
        EXPECT_TRUE(notes.Drain().empty());
        EXPECT_EQ(device.Stop(), 0);
    }
}

TEST_F(UsbCameraTest, PropertyPagesChangeTheDriversControlsWhileItCapturesAndOpenNothingWithoutThem) {
    ASSERT_EQ(device.Start(), 1);
    uitest::LoopSteps steps;
    steps.Then([&] {
        HWND window = FindWindowW(kCameraControlsClass, nullptr);
        ASSERT_NE(window, nullptr);
        wchar_t caption[64] = {};
        GetWindowTextW(window, caption, 64);
        EXPECT_STREQ(caption, L"Desk Camera");
        HWND more = GetDlgItem(window, ControlItemId(0, ControlPart::More));  // brightness
        RECT r;
        GetClientRect(more, &r);
        uitest::Click(uitest::OnScreen(more, POINT{r.right / 2, r.bottom / 2}));
        EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_BRIGHTNESS), 129);
        kernel.PushFrame(kNode, mediatest::JpegRedOverBlue(640, 480));  // and the frames still come
        EXPECT_TRUE(kernel.WaitUntilTaken(kNode));
        SendMessageW(window, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(device.ShowPropertyPages(nullptr), 1);
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_BRIGHTNESS), 129);
    EXPECT_EQ(device.GetState(kStatePowered), 1);

    for (bool withFilter : {false, true}) {
        Init(withFilter ? std::make_shared<ConfiglessSource>() : nullptr, 2);
        EXPECT_EQ(device.ShowPropertyPages(nullptr), 0);
    }
}

TEST_F(UsbCameraTest, InitTakesTheRecordAndTheKindsDefaults) {
    EXPECT_EQ(device.GetType(), kDeviceUsbCamera);
    wchar_t text[256] = {};
    EXPECT_EQ(device.GetFriendlyName(text, 255), 11);
    EXPECT_STREQ(text, L"Desk Camera");
    EXPECT_EQ(device.GetDeviceKey(text, 255), int(std::wcslen(kPath)));
    EXPECT_STREQ(text, kPath);
    EXPECT_EQ(device.GetFrameSize(), 2);
    EXPECT_EQ(device.GetStorageFolder(), storage.path());
    EXPECT_EQ(device.GetRecordAudio(), 0);
    EXPECT_EQ(device.GetSavePhotos(), 1);
    EXPECT_EQ(device.PanLeft(1, 500), 1);

    DeviceSettings record;
    device.GetSettings(record);
    EXPECT_EQ(record.GetDeviceType(), kDeviceUsbCamera);
    EXPECT_EQ(record.GetDeviceKey(), kPath);
    const int32_t actions[] = {1, 1, 0, 0, 1, 1, 0, 0, 0};
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(record.GetAction(i), actions[i]) << i;

    // A null record leaves the defaults and no capture filter.
    device.Init(nullptr);
    EXPECT_EQ(device.GetFriendlyName(text, 255), 0);
    EXPECT_EQ(device.GetFrameSize(), 2);
    device.Start();
    EXPECT_EQ(device.GetState(kStatePowered), 0);
}

}  // namespace
}  // namespace kestrova
