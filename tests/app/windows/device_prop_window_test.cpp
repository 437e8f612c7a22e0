#include "app/windows/device_prop_window.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <optional>

#include "engine/device_list.h"
#include "engine/ipcam/ip_camera_device.h"
#include "engine/usbcam/usb_camera_device.h"
#include "platform/ui/testing/message_pump.h"
#include "platform/ui/windows.h"
#include "tests/app/windows/property_window_fixture.h"
#include "tests/peers/fakecam/fake_camera.h"
#include "toolkit/slider.h"

namespace kestrova::uitest {
namespace {

constexpr int kCloseId = 1028, kDefaultId = 1029, kAdvancedId = 1030;
constexpr int kBrightnessId = 1039, kContrastId = 1040;

// A USB camera whose driver levels the test sets: a level without a value is a control the driver lacks.
class ScriptedUsbCamera : public UsbCameraDevice {
public:
    std::optional<int> brightness, contrast;
    int defaultBrightness = 12, defaultContrast = 13;
    int pagesShown = 0;

    int GetBrightness(int) override { return Answer(brightness); }
    int GetContrast(int) override { return Answer(contrast); }
    int SetBrightness(int level, int useDefault) override { return Store(brightness, level, useDefault, defaultBrightness); }
    int SetContrast(int level, int useDefault) override { return Store(contrast, level, useDefault, defaultContrast); }
    int ShowPropertyPages(HWND) override {
        ++pagesShown;
        contrast = 20;  // the user changed it on the driver's own pages
        return 0;
    }

private:
    static int Answer(const std::optional<int>& level) { return level ? (*level << 16) | 1 : 0; }
    static int Store(std::optional<int>& level, int value, int useDefault, int byDefault) {
        if (!level) return 0;
        level = useDefault ? byDefault : value;
        return Answer(level);
    }
};

int Position(HWND window, int id) {
    return int(SendDlgItemMessageW(window, id, kSliderValue, kPropertyRead, 0));
}
int LevelMark(HWND window, int id) {
    return int(SendDlgItemMessageW(window, id, kSliderLevel, kPropertyRead, 0));
}
// Moves the slider and lets it report the release, as a drag that ends there does.
void Release(HWND window, int id, int value) {
    HWND slider = GetDlgItem(window, id);
    SendMessageW(slider, kSliderValue, kPropertySetAndRepaint, value);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(slider));
}

class DevicePropWindowTest : public PropertyWindowTest {
protected:
    void SetUp() override {
        PropertyWindowTest::SetUp();
        static const bool registered = RegisterDevicePropWindowClass();
        ASSERT_TRUE(registered);
        SetGlobalDeviceList(&devices);
    }
    void TearDown() override {
        SetGlobalDeviceList(nullptr);
        PropertyWindowTest::TearDown();
    }

    template <class Camera>
    Camera* List(std::unique_ptr<Camera> camera) {
        return static_cast<Camera*>(devices.Add(camera.release()));
    }

    int ShowFor(Device* device, int32_t type) {
        params = {device, type};
        return ShowDevicePropWindow(owner, &params);
    }

    DeviceList devices;
    DevicePropParams params;
};

TEST_F(DevicePropWindowTest, UsbCameraSlidersFollowTheDriverWhileTheMarksStayAtTheOpeningValues) {
    auto* camera = List(std::make_unique<ScriptedUsbCamera>());
    camera->contrast = 7;  // no brightness control
    Drive(kDevicePropWindowClass, [&] { return ShowFor(camera, kDeviceUsbCamera); }, [&](HWND window) {
        EXPECT_FALSE(Enabled(window, kBrightnessId));
        EXPECT_TRUE(Enabled(window, kContrastId));
        EXPECT_EQ(Position(window, kContrastId), 7);
        EXPECT_EQ(LevelMark(window, kContrastId), 7);

        Release(window, kContrastId, 17);
        EXPECT_EQ(camera->contrast, 17);
        Press(window, kDefaultId);
        EXPECT_EQ(Position(window, kContrastId), 13);
        EXPECT_FALSE(Enabled(window, kBrightnessId));
        Press(window, kAdvancedId);
        EXPECT_EQ(camera->pagesShown, 1);
        EXPECT_EQ(Position(window, kContrastId), 20);
        EXPECT_EQ(LevelMark(window, kContrastId), 7);
        Press(window, kCloseId);
    });
    EXPECT_EQ(camera->contrast, 20);  // closing undoes nothing
}

TEST_F(DevicePropWindowTest, AnIpCameraShowsOnlyCloseAndItsLevelsFromTheCamerasReply) {
    testing::FakeCamera fake;
    fake.SetParamsBody("var vbright=150;\r\nvar vcontrast=60;\r\n");
    IpCameraParams p;
    std::snprintf(p.host, sizeof p.host, "127.0.0.1");
    p.port = fake.Port();
    auto* camera = List(std::make_unique<IpCameraDevice>());
    camera->Init(&p);
    Drive(kDevicePropWindowClass, [&] { return ShowFor(camera, kDeviceIpCamera); }, [&](HWND window) {
        EXPECT_EQ(GetDlgItem(window, kDefaultId), nullptr);
        EXPECT_EQ(GetDlgItem(window, kAdvancedId), nullptr);
        // The answers come back while the window goes on.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!(Enabled(window, kBrightnessId) && Enabled(window, kContrastId)) &&
               std::chrono::steady_clock::now() < deadline)
            PumpMessages();
        EXPECT_EQ(Position(window, kBrightnessId), 14);
        EXPECT_EQ(Position(window, kContrastId), 5);
        EXPECT_EQ(LevelMark(window, kBrightnessId), 14);
        Press(window, kCloseId);
    });
}

// A camera that takes the connection and never answers: a listener nobody accepts from.
class SilentCamera {
public:
    SilentCamera() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), size);
        ::listen(socket_, 4);
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
    }
    ~SilentCamera() { ::close(socket_); }
    int Port() const { return port_; }
    // Whether a client is connected and still waiting for its answer. The camera's call connects from a
    // thread of its own, so its connection may still be on its way: it gets a few seconds to arrive. A
    // connection already closed is passed over: another test process, probing a port it found free, may
    // have reached this one. The client's connection is closed afterwards, which ends its call.
    bool ClientWaiting() {
        using std::chrono::steady_clock;
        const auto deadline = steady_clock::now() + std::chrono::seconds(10);
        for (auto now = steady_clock::now(); now < deadline; now = steady_clock::now()) {
            pollfd listener{socket_, POLLIN, 0};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
            if (::poll(&listener, 1, int(left.count()) + 1) != 1) return false;
            const int client = ::accept4(socket_, nullptr, nullptr, SOCK_NONBLOCK);
            if (client < 0) return false;
            char byte;
            while (::recv(client, &byte, 1, MSG_DONTWAIT) > 0) {
            }
            const bool open = ::recv(client, &byte, 1, MSG_DONTWAIT | MSG_PEEK) < 0 && errno == EAGAIN;
            ::close(client);
            if (open) return true;
        }
        return false;
    }

private:
    int socket_;
    int port_ = 0;
};

TEST_F(DevicePropWindowTest, ACameraThatDoesNotAnswerLeavesTheWindowResponsive) {
    SilentCamera silent;
    IpCameraParams p;
    std::snprintf(p.host, sizeof p.host, "127.0.0.1");
    p.port = silent.Port();
    auto* camera = List(std::make_unique<IpCameraDevice>());
    camera->Init(&p);
    bool waiting = false;
    Drive(kDevicePropWindowClass, [&] { return ShowFor(camera, kDeviceIpCamera); }, [&](HWND window) {
        // Still asking: the sliders wait while the camera holds the call open, and the window closes at once.
        EXPECT_FALSE(Enabled(window, kBrightnessId));
        waiting = silent.ClientWaiting();
        Press(window, kCloseId);
        EXPECT_FALSE(IsWindow(window));
    });
    EXPECT_TRUE(waiting) << "the window showed only after the camera's call had ended";
}

TEST_F(DevicePropWindowTest, ClosesWhenItsCameraIsDeletedMeanwhile) {
    for (const bool pressDefault : {false, true}) {
        auto* camera = List(std::make_unique<ScriptedUsbCamera>());
        camera->brightness = 3;
        Drive(kDevicePropWindowClass, [&] { return ShowFor(camera, kDeviceUsbCamera); }, [&](HWND window) {
            devices.DestroyAll();  // the main window's refresh after a device-lost event
            // Either the next call finds the camera gone, or the window notices it soon by itself.
            if (pressDefault) {
                Press(window, kDefaultId);
            } else {
                AdvanceClock(clock, 1000);
            }
            EXPECT_FALSE(IsWindow(window)) << pressDefault;
        });
    }
}

}  // namespace
}  // namespace kestrova::uitest
