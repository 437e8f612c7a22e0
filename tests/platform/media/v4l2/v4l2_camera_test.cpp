// The V4L2 camera filter against a scripted kernel: its stream configuration, streaming into an RGB24
// Sample Grabber through the graph's converter, its brightness and contrast, and losing the device.

#include "platform/media/v4l2/v4l2_camera.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "platform/media/capture_graph_builder.h"
#include "platform/media/filter_classes.h"
#include "platform/media/sample_grabber.h"
#include "scripted_frames.h"
#include "scripted_v4l2.h"
#include "tests/peers/fakecam/test_jpeg.h"

namespace kestrova::media {
namespace {

using mediatest::IsBlue;
using mediatest::IsRed;
using mediatest::JpegRedOverBlue;
using mediatest::ScriptedCamera;
using mediatest::ScriptedControl;
using mediatest::ScriptedV4l2;
using mediatest::YuyvRedOverBlue;

constexpr char kNode[] = "/dev/video0";

// Keeps a copy of the last buffer it was shown.
class LastBuffer : public ISampleGrabberCB {
public:
    HRESULT SampleCB(double, MediaSample*) override { return E_NOTIMPL; }
    HRESULT BufferCB(double, uint8_t* buffer, long length) override {
        std::lock_guard<std::mutex> lock(mutex_);
        last_.assign(buffer, buffer + length);
        ++count_;
        return S_OK;
    }
    // Waits (real time, up to 10 s) for `count` buffers and returns a copy of the last one.
    std::vector<uint8_t> WaitFor(int count) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < giveUp) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (count_ >= count) return last_;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return {};
    }

private:
    std::mutex mutex_;
    std::vector<uint8_t> last_;
    int count_ = 0;
};

ScriptedCamera TwoFormatCamera() {
    ScriptedCamera camera;
    camera.formats = {{V4L2_PIX_FMT_YUYV, {{640, 480}, {320, 240}}, 30},
                      {V4L2_PIX_FMT_H264, {{1920, 1080}}, 30},
                      {V4L2_PIX_FMT_MJPEG, {{640, 480}}, 15}};
    camera.controls = {{V4L2_CID_BRIGHTNESS, 0, 255, 1, 128, 100}, {V4L2_CID_CONTRAST, -10, 10, 2, 0, 4}};
    return camera;
}

class V4l2CameraTest : public ::testing::Test {
protected:
    void SetUp() override { kernel.AddCamera(kNode, TwoFormatCamera()); }

    // Camera -> RGB24 Sample Grabber -> Null Renderer, as the USB camera device builds it.
    void Build(const AM_MEDIA_TYPE* format) {
        camera = std::make_shared<V4l2Camera>(kNode);
        ASSERT_TRUE(camera->Usable());
        ASSERT_EQ(builder.SetFiltergraph(graph), S_OK);
        ASSERT_EQ(graph->AddFilter(camera, L"Video Capture"), S_OK);
        if (format) {
            std::shared_ptr<IAMStreamConfig> config;
            ASSERT_EQ(builder.FindInterface(PIN_CATEGORY_CAPTURE, MEDIATYPE_Video, camera.get(), &config),
                      S_OK);
            ASSERT_EQ(config->SetFormat(*format), S_OK);
        }
        std::shared_ptr<IBaseFilter> grabberFilter, null;
        ASSERT_EQ(CoCreateInstance(CLSID_SampleGrabber, &grabberFilter), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_NullRenderer, &null), S_OK);
        ASSERT_EQ(graph->AddFilter(grabberFilter, L"Sample Grabber"), S_OK);
        ASSERT_EQ(graph->AddFilter(null, L"Null"), S_OK);
        auto grabber = QueryInterface<ISampleGrabber>(grabberFilter);
        AM_MEDIA_TYPE rgb;
        rgb.majortype = MEDIATYPE_Video;
        rgb.subtype = MEDIASUBTYPE_RGB24;
        rgb.formattype = FORMAT_VideoInfo;
        grabber->SetMediaType(rgb);
        grabber->SetCallback(&callback, 1);
        ASSERT_EQ(builder.RenderStream(PIN_CATEGORY_CAPTURE, MEDIATYPE_Video, camera.get(), nullptr,
                                       grabberFilter.get()),
                  S_OK);
        ASSERT_EQ(
            builder.RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, grabberFilter.get(), nullptr, null.get()),
            S_OK);
    }

    ScriptedV4l2 kernel;
    std::shared_ptr<FilterGraph> graph = std::make_shared<FilterGraph>();
    CaptureGraphBuilder builder;
    std::shared_ptr<V4l2Camera> camera;
    LastBuffer callback;
};

TEST_F(V4l2CameraTest, StreamConfigListsTheCarriedFormatsAsVideoCapabilities) {
    V4l2Camera filter(kNode);
    IAMStreamConfig* config = filter.GetPin(0)->StreamConfig();
    ASSERT_NE(config, nullptr);
    int count = 0, size = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), S_OK);
    EXPECT_EQ(size, 128);
    ASSERT_EQ(count, 3);  // H.264 cannot be carried

    struct Expected {
        SubType subtype;
        int width, height;
        REFERENCE_TIME timePerFrame;
    };
    const Expected expected[] = {{MEDIASUBTYPE_YUY2, 640, 480, 333333},
                                 {MEDIASUBTYPE_YUY2, 320, 240, 333333},
                                 {MEDIASUBTYPE_MJPG, 640, 480, 666666}};
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE type;
        VIDEO_STREAM_CONFIG_CAPS caps;
        ASSERT_EQ(config->GetStreamCaps(i, &type, reinterpret_cast<uint8_t*>(&caps)), S_OK);
        EXPECT_EQ(type.majortype, MEDIATYPE_Video);
        EXPECT_EQ(type.subtype, expected[i].subtype) << i;
        EXPECT_EQ(type.cbFormat(), 88u);
        const VIDEOINFOHEADER* info = type.VideoInfo();
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->bmiHeader.biWidth, expected[i].width) << i;
        EXPECT_EQ(info->bmiHeader.biHeight, expected[i].height) << i;
        EXPECT_EQ(info->AvgTimePerFrame, expected[i].timePerFrame) << i;
        EXPECT_EQ(caps.InputSize.cx, expected[i].width) << i;
    }
}

TEST_F(V4l2CameraTest, YuyvFramesArriveAsBottomUpRgb) {
    Build(nullptr);
    ASSERT_EQ(graph->Run(), S_OK);
    const mediatest::ScriptedCapture capture = kernel.Capture(kNode);
    EXPECT_EQ(capture.pixelFormat, uint32_t(V4L2_PIX_FMT_YUYV));
    EXPECT_EQ(capture.width, 640u);
    EXPECT_EQ(capture.height, 480u);
    EXPECT_TRUE(kernel.Streaming(kNode));

    // More frames than the driver has buffers: each is handed back after it was delivered.
    for (int i = 0; i < 6; ++i) kernel.PushFrame(kNode, YuyvRedOverBlue(640, 480));
    const std::vector<uint8_t> frame = callback.WaitFor(6);
    ASSERT_EQ(frame.size(), 921'600u);
    EXPECT_TRUE(IsBlue(&frame[0], 0));           // first stored row: the bottom
    EXPECT_TRUE(IsRed(&frame[921'600 - 3], 0));  // last stored row: the top
    graph->Stop();
    EXPECT_FALSE(kernel.Streaming(kNode));
    EXPECT_EQ(kernel.MappedBuffers(), 0);
}

TEST_F(V4l2CameraTest, MjpegFramesAreDecoded) {
    const AM_MEDIA_TYPE mjpeg = MakeVideoType(MEDIASUBTYPE_MJPG, 640, 480, 24, 666666);
    Build(&mjpeg);
    ASSERT_EQ(graph->Run(), S_OK);
    EXPECT_EQ(kernel.Capture(kNode).pixelFormat, uint32_t(V4L2_PIX_FMT_MJPEG));
    kernel.PushFrame(kNode, JpegRedOverBlue(640, 480));
    const std::vector<uint8_t> frame = callback.WaitFor(1);
    ASSERT_EQ(frame.size(), 921'600u);
    EXPECT_TRUE(IsBlue(&frame[0], 8));
    EXPECT_TRUE(IsRed(&frame[921'600 - 3], 8));
    graph->Stop();
}

TEST_F(V4l2CameraTest, EveryGoodMjpegFrameAfterADamagedOneArrives) {
    const AM_MEDIA_TYPE mjpeg = MakeVideoType(MEDIASUBTYPE_MJPG, 640, 480, 24, 666666);
    Build(&mjpeg);
    ASSERT_EQ(graph->Run(), S_OK);
    const std::vector<uint8_t> good = JpegRedOverBlue(640, 480);
    const std::string blue = testing::MakeTestJpeg(640, 480, [](int, int) {
        return testing::Rgb{0, 0, 255};
    });
    const auto damaged = testing::DamagedJpegs(blue);
    for (const testing::DamagedJpeg& picture : damaged) {
        kernel.PushFrame(kNode, std::vector<uint8_t>(picture.bytes.begin(), picture.bytes.end()));
        kernel.PushFrame(kNode, good);
    }
    // Frames come in order: when as many have arrived as were good, the last must be the last pushed.
    kernel.PushFrame(kNode, std::vector<uint8_t>(blue.begin(), blue.end()));
    const std::vector<uint8_t> last = callback.WaitFor(int(damaged.size()) + 1);
    ASSERT_EQ(last.size(), 921'600u);
    EXPECT_TRUE(IsBlue(&last[0], 8) && IsBlue(&last[921'600 - 3], 8));
    graph->Stop();
}

TEST_F(V4l2CameraTest, UnpluggingWhileStreamingQueuesDeviceLost) {
    Build(nullptr);
    ASSERT_EQ(graph->Run(), S_OK);
    kernel.PushFrame(kNode, YuyvRedOverBlue(640, 480));
    ASSERT_FALSE(callback.WaitFor(1).empty());
    kernel.Unplug(kNode);
    long code = 0;
    intptr_t param1 = 0, param2 = -1;
    ASSERT_EQ(graph->GetEvent(&code, &param1, &param2, 10'000), S_OK);
    EXPECT_EQ(code, EC_DEVICE_LOST);
    EXPECT_EQ(param1, reinterpret_cast<intptr_t>(static_cast<IBaseFilter*>(camera.get())));
    EXPECT_EQ(param2, 0);
    EXPECT_EQ(graph->Stop(), S_OK);
    EXPECT_EQ(kernel.MappedBuffers(), 0);
}

TEST_F(V4l2CameraTest, StartFailsWhenTheNodeIsGone) {
    Build(nullptr);
    kernel.Unplug(kNode);
    EXPECT_TRUE(FAILED(graph->Run()));
    EXPECT_EQ(kernel.MappedBuffers(), 0);
}

TEST_F(V4l2CameraTest, ProcAmpReadsAndWritesTheDriversControls) {
    V4l2Camera filter(kNode);
    long minimum, maximum, step, defaultValue, flags, value;
    ASSERT_EQ(filter.GetRange(VideoProcAmp_Contrast, &minimum, &maximum, &step, &defaultValue, &flags), S_OK);
    EXPECT_EQ(minimum, -10);
    EXPECT_EQ(maximum, 10);
    EXPECT_EQ(step, 2);
    EXPECT_EQ(defaultValue, 0);
    EXPECT_EQ(flags, VideoProcAmp_Flags_Manual);
    ASSERT_EQ(filter.Get(VideoProcAmp_Brightness, &value, &flags), S_OK);
    EXPECT_EQ(value, 100);
    EXPECT_EQ(filter.Set(VideoProcAmp_Brightness, 200, VideoProcAmp_Flags_Manual), S_OK);
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_BRIGHTNESS), 200);
    EXPECT_TRUE(FAILED(filter.Set(VideoProcAmp_Brightness, 300, VideoProcAmp_Flags_Manual)));
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_BRIGHTNESS), 200);
    EXPECT_EQ(filter.Get(7, &value, &flags), E_PROP_ID_UNSUPPORTED);
}

TEST(V4l2CameraControls, MissingControlIsUnsupported) {
    ScriptedV4l2 kernel;
    ScriptedCamera camera = TwoFormatCamera();
    camera.controls.clear();
    kernel.AddCamera(kNode, camera);
    V4l2Camera filter(kNode);
    long minimum, maximum, step, defaultValue, flags, value;
    EXPECT_EQ(filter.GetRange(VideoProcAmp_Brightness, &minimum, &maximum, &step, &defaultValue, &flags),
              E_PROP_ID_UNSUPPORTED);
    EXPECT_TRUE(FAILED(filter.Get(VideoProcAmp_Brightness, &value, &flags)));
    EXPECT_TRUE(FAILED(filter.Set(VideoProcAmp_Brightness, 1, VideoProcAmp_Flags_Manual)));
}

}  // namespace
}  // namespace kestrova::media
