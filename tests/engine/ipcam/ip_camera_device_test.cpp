#include "engine/ipcam/ip_camera_device.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/device_settings.h"
#include "engine/ipcam/camera_model.h"
#include "platform/base/clock.h"
#include "tests/engine/ipcam/notify_recorder.h"
#include "tests/engine/socket/loopback.h"
#include "tests/peers/fakecam/fake_camera.h"
#include "tests/peers/fakecam/test_jpeg.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

using testing::DamagedJpeg;
using testing::DamagedJpegs;
using testing::FakeCamera;
using testing::MakeTestJpeg;
using testing::Notification;
using testing::NotifyRecorder;
using testing::Rgb;
using Steady = std::chrono::steady_clock;

// Top half red, bottom half dark; left half low green, right half high green.
std::string QuadrantJpeg(int width, int height) {
    return MakeTestJpeg(width, height, [&](int x, int y) {
        return Rgb{uint8_t(y < height / 2 ? 200 : 20), uint8_t(x < width / 2 ? 30 : 220), 100};
    });
}

std::string SolidJpeg(Rgb colour) {
    return MakeTestJpeg(640, 480, [&](int, int) { return colour; });
}

bool Near(int value, int expected) { return value >= expected - 12 && value <= expected + 12; }

class IpCameraDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { testing::InstallLoopbackLookup(); }
    void TearDown() override {
        device.reset();
        SetHostLookup(nullptr);
    }

    IpCameraParams Params(const std::string& host, int port, int frameSize = 2) {
        IpCameraParams params;
        std::snprintf(params.host, sizeof(params.host), "%s", host.c_str());
        params.port = port;
        params.connectTimeout = 1;
        params.receiveTimeout = 1;
        params.frameSize = frameSize;
        params.notifyWindow = notify.Window();
        std::wcsncpy(params.storageFolder, storage.path().c_str(), 1023);
        return params;
    }

    void InitFor(FakeCamera& target, int frameSize = 2, const char* user = "", const char* password = "") {
        IpCameraParams params = Params("127.0.0.1", target.Port(), frameSize);
        std::snprintf(params.user, sizeof(params.user), "%s", user);
        std::snprintf(params.password, sizeof(params.password), "%s", password);
        device->Init(&params);
    }

    bool WaitForFrames(int count) {
        return notify.WaitUntil([&] { return notify.Count(kNotifyFrame) >= count; });
    }
    bool WaitForReaderEnd() {
        return notify.WaitUntil([&] { return !notify.Drain().empty() && notify.Drain().back().kind == kNotifyFrame &&
                                             device->GetState(kStatePowered) == 0 &&
                                             notify.Count(kNotifyState) >= 2; });
    }

    // The current frame, or empty when there is none of `bytes` bytes.
    std::vector<uint8_t> Frame(int bytes) {
        std::vector<uint8_t> frame(static_cast<size_t>(bytes));
        return device->CopyFrame(frame.data(), bytes, nullptr) == 1 ? frame : std::vector<uint8_t>();
    }

    static Rgb PixelFromTop(const std::vector<uint8_t>& frame, int width, int height, int x, int y) {
        const uint8_t* p = &frame[(size_t(height - 1 - y) * width + x) * 3];
        return Rgb{p[2], p[1], p[0]};
    }

    TempFolder storage;
    NotifyRecorder notify;
    FakeCamera camera;
    std::unique_ptr<IpCameraDevice> device = std::make_unique<IpCameraDevice>();
};

TEST_F(IpCameraDeviceTest, FirstRequestsAreByteExact) {
    struct Case {
        const char* user;
        const char* password;
        const char* authorization;
    };
    for (const Case& c : {Case{"", "", ""}, Case{"admin", "", "Authorization: Basic YWRtaW46\r\n"},
                          Case{"admin", "pw", "Authorization: Basic YWRtaW46cHc=\r\n"}}) {
        FakeCamera target;
        target.SetFrames({QuadrantJpeg(640, 480)});
        InitFor(target, 2, c.user, c.password);
        ASSERT_EQ(device->Start(), 1);
        ASSERT_TRUE(target.WaitForRequests(2));
        device->Stop();
        notify.Clear();
        const auto requests = target.Requests();
        ASSERT_EQ(requests.size(), 2u) << c.user;
        EXPECT_EQ(requests[0].text, "GET /camera_control.cgi?param=0&value=0 HTTP/1.0\r\nHost: 127.0.0.1\r\n" +
                                        std::string(c.authorization) + "\r\n");
        EXPECT_EQ(requests[1].text, "GET /videostream.cgi?resolution=32 HTTP/1.0\r\nHost: 127.0.0.1\r\n" +
                                        std::string(c.authorization) + "\r\n");
    }
}

TEST_F(IpCameraDeviceTest, FallsBackToTheNextFamilyAfterARefusal) {
    camera.RefuseFamilies({0});
    camera.SetFrames({QuadrantJpeg(640, 480)});
    InitFor(camera, 1);
    ASSERT_EQ(device->Start(), 1);
    ASSERT_TRUE(WaitForFrames(1));
    std::vector<std::string> paths;
    for (const auto& request : camera.Requests()) paths.push_back(request.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"/camera_control.cgi?param=0&value=1", "/videostream.cgi?resolution=8",
                                               "/camera_control.cgi?param=0&value=1", "/video.cgi?resolution=qvga"}));
    EXPECT_EQ(device->GetState(kStatePowered), 1);
}

TEST_F(IpCameraDeviceTest, EndsWhenEveryFamilyRefuses) {
    camera.RefuseFamilies({0, 1, 2, 3});
    InitFor(camera);
    ASSERT_EQ(device->Start(), 1);
    ASSERT_TRUE(WaitForReaderEnd());
    EXPECT_EQ(camera.Requests().size(), 8u);
    EXPECT_EQ(notify.Drain(), (std::vector<Notification>{{kNotifyState, kStatePowered},
                                                         {kNotifyState, kStatePowered},
                                                         {kNotifyFrame, 0}}));
    // A reader that ended by itself can be started again.
    camera.RefuseFamilies({});
    camera.SetFrames({QuadrantJpeg(640, 480)});
    ASSERT_EQ(device->Start(), 1);
    EXPECT_TRUE(WaitForFrames(2));
}

TEST_F(IpCameraDeviceTest, FollowsARedirectToAnotherCamera) {
    FakeCamera moved("127.0.0.2");
    moved.SetFrames({QuadrantJpeg(640, 480)});
    camera.RedirectTo("127.0.0.2:" + std::to_string(moved.Port()) + "/");
    SetHostLookup([](const std::string& name) -> uint32_t { return name == "camhost" ? testing::kLoopback : 0; });
    IpCameraParams params = Params("http://camhost", camera.Port());
    device->Init(&params);
    ASSERT_EQ(device->Start(), 1);
    ASSERT_TRUE(WaitForFrames(1));
    ASSERT_EQ(camera.Requests().size(), 1u);
    EXPECT_EQ(camera.Requests()[0].text, "GET / HTTP/1.0\r\nHost: camhost\r\n\r\n");
    ASSERT_EQ(moved.Requests().size(), 2u);
    EXPECT_EQ(moved.Requests()[1].text, "GET /videostream.cgi?resolution=32 HTTP/1.0\r\nHost: 127.0.0.2\r\n\r\n");
}

TEST_F(IpCameraDeviceTest, AUrlWithoutRedirectIsNoHostToConnectTo) {
    SetHostLookup([](const std::string& name) -> uint32_t { return name == "camhost" ? testing::kLoopback : 0; });
    IpCameraParams params = Params("http://camhost", camera.Port());
    device->Init(&params);
    ASSERT_EQ(device->Start(), 1);
    ASSERT_TRUE(WaitForReaderEnd());
    ASSERT_EQ(camera.Requests().size(), 1u);
    EXPECT_EQ(camera.Requests()[0].path, "/");
}

TEST_F(IpCameraDeviceTest, CropsFlipsAndBlacksOutPrivacyCells) {
    struct Case {
        int pictureWidth, pictureHeight, frameSize, flip;
        int frameBytes;
    };
    for (const Case& c : {Case{640, 480, 1, 0, 230400}, Case{640, 480, 2, 0, 921600}, Case{640, 480, 2, 1, 921600},
                          Case{320, 240, 1, 1, 230400}}) {
        FakeCamera target;
        target.SetFrames({QuadrantJpeg(c.pictureWidth, c.pictureHeight)});
        InitFor(target, c.frameSize);
        device->SetFlipVertical(c.flip);
        MaskGrid motion{};
        MaskGrid privacy{};
        privacy[MaskCell(0, 0)] = 1;
        device->SetMasks(&motion, &privacy);
        ASSERT_EQ(device->Start(), 1);
        ASSERT_TRUE(WaitForFrames(1));
        const std::vector<uint8_t> frame = Frame(c.frameBytes);
        device->Stop();
        ASSERT_FALSE(frame.empty()) << c.pictureWidth << " " << c.frameSize << " " << c.flip;
        const int width = c.frameBytes == 230400 ? 320 : 640;
        const int height = width * 3 / 4;
        const int cellWidth = width / 40;
        const int cellHeight = height / 40;
        // The black cell is where the top-left of the stored picture is.
        for (int y = 0; y < cellHeight; ++y) {
            for (int x = 0; x < cellWidth; ++x) {
                const Rgb p = PixelFromTop(frame, width, height, x, y);
                EXPECT_EQ(p.r + p.g + p.b, 0) << x << "," << y;
            }
        }
        // Right of the cell lies the picture's own top-left (or, flipped, its bottom-left) corner.
        const Rgb corner = PixelFromTop(frame, width, height, cellWidth, 0);
        EXPECT_TRUE(Near(corner.r, c.flip == 0 ? 200 : 20)) << int(corner.r);
        EXPECT_TRUE(Near(corner.g, 30)) << int(corner.g);
        // A 640 x 480 picture cut to 320 x 240 keeps only its top-left quarter.
        const Rgb farCorner = PixelFromTop(frame, width, height, width - 1, height - 1);
        const bool cropped = c.frameSize == 1 && c.pictureWidth == 640;
        EXPECT_TRUE(Near(farCorner.r, cropped ? 200 : c.flip == 0 ? 20 : 200)) << int(farCorner.r);
        EXPECT_TRUE(Near(farCorner.g, cropped ? 30 : 220)) << int(farCorner.g);
        notify.Clear();
    }
}

TEST_F(IpCameraDeviceTest, APictureSmallerThanTheFrameSizeIsNoFrame) {
    camera.SetFrames({QuadrantJpeg(320, 240), std::string("not a picture"), QuadrantJpeg(320, 240)});
    InitFor(camera, 2);
    ASSERT_EQ(device->Start(), 1);
    ASSERT_TRUE(camera.WaitForRequests(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(notify.Count(kNotifyFrame), 0);
    EXPECT_TRUE(Frame(921600).empty());
    EXPECT_EQ(device->GetState(kStatePowered), 1);
}

TEST_F(IpCameraDeviceTest, AStreamDeliveredByteByByteGivesEveryFrame) {
    const std::vector<Rgb> colours = {{250, 0, 0}, {0, 250, 0}, {0, 0, 250}};
    std::vector<std::string> jpegs;
    for (const Rgb& colour : colours) jpegs.push_back(SolidJpeg(colour));
    camera.SetFrames(jpegs);
    camera.SetDelivery(1);
    InitFor(camera);
    ASSERT_EQ(device->Start(), 1);
    ASSERT_TRUE(WaitForFrames(3));
    const std::vector<uint8_t> frame = Frame(921600);
    ASSERT_FALSE(frame.empty());
    const Rgb last = PixelFromTop(frame, 640, 480, 320, 240);
    EXPECT_TRUE(Near(last.r, 0) && Near(last.g, 0) && Near(last.b, 250));
    EXPECT_EQ(notify.Count(kNotifyFrame), 3);
}

TEST_F(IpCameraDeviceTest, AStreamSilentLongerThanTheReceiveTimeOutGoesOn) {
    const std::vector<std::string> jpegs = {SolidJpeg({250, 0, 0}), SolidJpeg({0, 0, 250})};
    camera.SetFrames(jpegs);
    // The first piece ends with the first picture; the second comes after a pause longer than the 1 s time-out.
    const std::string stream = camera.StreamBytes();
    camera.SetDelivery(stream.find(jpegs[0]) + jpegs[0].size(), std::chrono::milliseconds(1300));
    InitFor(camera);
    ASSERT_EQ(device->Start(), 1);
    ASSERT_TRUE(WaitForFrames(2));
    const std::vector<uint8_t> frame = Frame(921600);
    ASSERT_FALSE(frame.empty());
    const Rgb last = PixelFromTop(frame, 640, 480, 320, 240);
    EXPECT_TRUE(Near(last.r, 0) && Near(last.g, 0) && Near(last.b, 250));
}

TEST_F(IpCameraDeviceTest, AClosedStreamEndsTheReader) {
    camera.SetFrames({SolidJpeg({10, 20, 30}), SolidJpeg({30, 20, 10})});
    camera.SetAfterFrames(FakeCamera::AfterFrames::kClose);
    InitFor(camera);
    ASSERT_EQ(device->Start(), 1);
    ASSERT_TRUE(WaitForReaderEnd());
    EXPECT_EQ(notify.Drain(), (std::vector<Notification>{{kNotifyState, kStatePowered},
                                                         {kNotifyFrame, 0},
                                                         {kNotifyFrame, 0},
                                                         {kNotifyState, kStatePowered},
                                                         {kNotifyFrame, 0}}));
    EXPECT_TRUE(Frame(921600).empty());
}

TEST_F(IpCameraDeviceTest, MalformedStreamsAreSafe) {
    const std::string good = QuadrantJpeg(640, 480);
    const auto part = [](const std::string& length, const std::string& body) {
        return "--b\r\nContent-Type: image/jpeg\r\nContent-Length: " + length + "\r\n\r\n" + body + "\r\n";
    };
    struct Case {
        const char* name;
        std::string stream;
        int frames;
        bool ends;
    };
    for (const Case& c : {Case{"no length", "--b\r\nContent-Type: image/jpeg\r\n\r\n" + good, 0, true},
                          Case{"no digits", part("x", good), 0, true},
                          Case{"empty part, then a picture", part("0", "") + part(std::to_string(good.size()), good),
                               1, false},
                          Case{"damaged picture", part("9", "\xFF\xD8garbage"), 0, false},
                          Case{"endless length", part("999999999999", good), 0, false},
                          Case{"length past the picture", part(std::to_string(good.size() + 100), good), 0, false}}) {
        FakeCamera target;
        target.SetRawStream(c.stream);
        InitFor(target);
        ASSERT_EQ(device->Start(), 1) << c.name;
        ASSERT_TRUE(target.WaitForRequests(2)) << c.name;
        if (c.ends) {
            EXPECT_TRUE(WaitForReaderEnd()) << c.name;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            EXPECT_EQ(device->GetState(kStatePowered), 1) << c.name;
        }
        device->Stop();
        EXPECT_EQ(notify.Count(kNotifyFrame), c.frames + 1) << c.name;
        notify.Clear();
    }
}

TEST_F(IpCameraDeviceTest, EveryGoodPictureAfterADamagedOneArrives) {
    // Good pictures of distinct greys with a damaged one between each two; the last good one is the sentinel.
    constexpr int kGreyStep = 25;
    const auto grey = [](int level) { return SolidJpeg({uint8_t(level), uint8_t(level), uint8_t(level)}); };
    const std::vector<DamagedJpeg> damaged = DamagedJpegs(grey(0));
    std::vector<std::string> stream = {grey(0)};
    for (size_t i = 0; i < damaged.size(); ++i) {
        stream.push_back(damaged[i].bytes);
        stream.push_back(grey(int(i + 1) * kGreyStep));
    }
    const int goodPictures = int(damaged.size()) + 1;
    camera.SetFrames(stream);
    InitFor(camera);
    ASSERT_EQ(device->Start(), 1);
    // Parts are taken in order: once the sentinel is the frame, every damaged picture has had its turn.
    int lastGood = -1;
    const bool sentinelArrived = notify.WaitUntil([&] {
        const std::vector<uint8_t> frame = Frame(921600);
        if (!frame.empty()) lastGood = (PixelFromTop(frame, 640, 480, 320, 240).g + kGreyStep / 2) / kGreyStep;
        return lastGood == goodPictures - 1 && notify.Count(kNotifyFrame) >= goodPictures;
    });
    ASSERT_TRUE(sentinelArrived) << "the stream stood still after "
                                 << (lastGood >= 0 && lastGood < int(damaged.size()) ? damaged[size_t(lastGood)].name
                                                                                      : "its start");
    EXPECT_EQ(notify.Count(kNotifyFrame), goodPictures) << "a damaged picture made a frame";
}

TEST_F(IpCameraDeviceTest, StopReturnsSoonOnASilentCamera) {
    camera.SetFrames({QuadrantJpeg(640, 480)});
    InitFor(camera);
    ASSERT_EQ(device->Start(), 1);
    ASSERT_TRUE(WaitForFrames(1));
    // Stopping the camera also ends its detection and its alarm (one that saves and plays nothing).
    device->SetSaveFiles(0);
    device->SetPlaySound(0);
    ASSERT_EQ(device->StartDetection(), 1);
    ASSERT_EQ(device->TriggerAlarm(), 1);
    // The reader waits one receive time-out (1 s here) at most before it sees the request.
    const auto start = Steady::now();
    EXPECT_EQ(device->Stop(), 1);
    EXPECT_LT(std::chrono::duration<double>(Steady::now() - start).count(), 2.0);
    EXPECT_EQ(device->GetState(kStatePowered | kStateMonitoring | kStateAlarm), 0);
    EXPECT_TRUE(Frame(921600).empty());
    // The camera sees the connection end a moment later.
    EXPECT_TRUE(notify.WaitUntil([&] { return camera.OpenStreams() == 0; }));
}

TEST_F(IpCameraDeviceTest, WritesOneWebSnapshotASecond) {
    TestClock clock;
    SetClock(&clock);
    camera.SetFrames({QuadrantJpeg(640, 480)}, /*repeat=*/0);
    camera.SetDelivery(0, std::chrono::milliseconds(10));
    InitFor(camera);
    device->SetWebIndex(3);
    const std::filesystem::path snapshot = std::filesystem::path(storage.native()) / "Server" / "3.jpg";
    ASSERT_EQ(device->Start(), 1);
    ASSERT_TRUE(notify.WaitUntil([&] { return std::filesystem::exists(snapshot); }));
    std::filesystem::remove(snapshot);
    // Frames of the same second write nothing more; the next second writes again.
    const int seen = notify.Count(kNotifyFrame);
    ASSERT_TRUE(WaitForFrames(seen + 5));
    EXPECT_FALSE(std::filesystem::exists(snapshot));
    clock.Advance(1000);
    EXPECT_TRUE(notify.WaitUntil([&] { return std::filesystem::exists(snapshot); }));
    device->SetWebIndex(0);
    device->Stop();
    SetClock(nullptr);
    EXPECT_EQ(storage.Entries(), std::vector<std::string>{"Server"});
}

TEST_F(IpCameraDeviceTest, ControlsGoToTheCamera) {
    camera.SetParamsBody("vbright=128 vcontrast=0");
    InitFor(camera, 2, "admin", "");
    EXPECT_EQ(device->GetBrightness(0), (12 << 16) | 1);
    EXPECT_EQ(device->GetContrast(0), 1);
    EXPECT_EQ(device->SetBrightness(13, 1), (13 << 16) | 1);
    EXPECT_EQ(camera.Requests().back().text,
              "GET /camera_control.cgi?param=1&value=133 HTTP/1.0\r\nHost: 127.0.0.1\r\n"
              "Authorization: Basic YWRtaW46\r\n\r\n");

    EXPECT_EQ(device->PanLeft(1, 500), 1);
    EXPECT_EQ(device->GetLastPtzCommand(), kPanLeftStart);
    EXPECT_EQ(device->GetLastPtzDuration(), 500);
    // The pan/tilt thread works on its own copy: the device may go at once.
    device.reset();
    ASSERT_TRUE(camera.WaitForRequests(5));
    const auto requests = camera.Requests();
    EXPECT_EQ(requests[3].path, "/decoder_control.cgi?command=4");
    EXPECT_EQ(requests[4].path, "/decoder_control.cgi?command=5");
}

TEST_F(IpCameraDeviceTest, InitNamesTheCameraByHostAndPort) {
    IpCameraParams params = Params("127.0.0.20", 81);
    device->Init(&params);
    wchar_t name[300] = {};
    EXPECT_EQ(device->GetFriendlyName(name, 299), 13);
    EXPECT_STREQ(name, L"127.0.0.20:81");
    EXPECT_EQ(device->GetType(), kDeviceIpCamera);
    EXPECT_EQ(device->GetRecordAudio(), 0);
    EXPECT_EQ(device->GetDeviceKey(name, 299), 0);

    const std::string longHost(255, 'h');
    params = Params(longHost, 81);
    device->Init(&params);
    EXPECT_EQ(device->GetFriendlyName(name, 299), 255);
    EXPECT_EQ(std::wstring(name), std::wstring(255, L'h'));
}

TEST_F(IpCameraDeviceTest, SettingsKeepTheCameraConnection) {
    IpCameraParams params = Params("cam.example", 8081);
    std::snprintf(params.user, sizeof(params.user), "viewer");
    std::snprintf(params.password, sizeof(params.password), "secret");
    device->Init(&params);
    device->SetSmtpUser(L"mailer");
    DeviceSettings record;
    device->GetSettings(record);
    EXPECT_EQ(record.GetDeviceType(), kDeviceIpCamera);
    EXPECT_EQ(record.GetCameraPort(), 8081);
    EXPECT_EQ(record.GetCameraHost(), "cam.example");
    EXPECT_EQ(record.GetCameraUser(), "viewer");
    EXPECT_EQ(record.GetCameraPassword(), "secret");
    EXPECT_EQ(record.GetDeviceKey(), L"");

    IpCameraDevice restored;
    restored.SetSettings(record);
    DeviceSettings again;
    restored.GetSettings(again);
    EXPECT_EQ(std::memcmp(record.Bytes(), again.Bytes(), DeviceSettings::kSize), 0);
}

}  // namespace
}  // namespace kestrova
