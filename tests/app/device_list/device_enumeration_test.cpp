#include "app/device_enumeration.h"

#include <gtest/gtest.h>

#include "alsa_file_devices.h"
#include "scripted_v4l2.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

TEST(DeviceEnumeration, ListsEachAttachedDeviceWithItsValues) {
    ScopedEnv noVirtual("KESTROVA_VIRTUAL_DEVICES", nullptr);
    mediatest::ScriptedV4l2 kernel;
    mediatest::ScriptedCamera camera;
    camera.card = "Desk Camera";
    camera.formats = {{V4L2_PIX_FMT_YUYV, {{640, 480}}, 30}};
    camera.links = {"/dev/v4l/by-id/usb-Long-video-index0"};
    kernel.AddCamera("/dev/video0", camera);
    mediatest::AlsaFileDevices alsa;
    // A description longer than a name may be.
    alsa.Add("deskmic", std::string(300, 'm'), std::vector<int16_t>(1102, 0), 1);

    const std::vector<CaptureDeviceEntry> cameras = EnumerateCaptureDevices(CaptureCategory::kVideoInput);
    ASSERT_EQ(cameras.size(), 1u);
    EXPECT_EQ(cameras[0].friendlyName, L"Desk Camera");
    EXPECT_EQ(cameras[0].devicePath, L"/dev/v4l/by-id/usb-Long-video-index0");
    EXPECT_FALSE(cameras[0].waveInId);
    EXPECT_EQ(MicrophoneKey(cameras[0]), L"");  // no wave-in number, no key

    const std::vector<CaptureDeviceEntry> mics = EnumerateCaptureDevices(CaptureCategory::kAudioInput);
    ASSERT_EQ(mics.size(), 1u);
    EXPECT_EQ(mics[0].friendlyName, std::wstring(255, L'm'));
    EXPECT_EQ(MicrophoneKey(mics[0]), L"0 " + std::wstring(200, L'm'));
    std::shared_ptr<media::IBaseFilter> filter;
    EXPECT_TRUE(media::SUCCEEDED(mics[0].moniker->BindToObject(&filter)) && filter);
}

}  // namespace
}  // namespace kestrova
