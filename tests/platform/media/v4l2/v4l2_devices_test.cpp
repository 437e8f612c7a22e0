// Listing V4L2 cameras and binding them through the device enumerator, against a scripted kernel.

#include "platform/media/v4l2/v4l2_devices.h"

#include <gtest/gtest.h>

#include "platform/media/device_enumerator.h"
#include "platform/media/stream_config.h"
#include "platform/media/v4l2/v4l2_camera.h"
#include "scripted_v4l2.h"
#include "tests/support/temp_folder.h"

namespace kestrova::media {
namespace {

using mediatest::ScriptedCamera;
using mediatest::ScriptedFormat;
using mediatest::ScriptedV4l2;

ScriptedCamera Camera(std::string card, std::vector<std::string> links = {}) {
    ScriptedCamera camera;
    camera.card = std::move(card);
    camera.formats = {{V4L2_PIX_FMT_YUYV, {{640, 480}}, 30}};
    camera.links = std::move(links);
    return camera;
}

class V4l2DevicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScriptedCamera metadata = Camera("Front Camera");
        metadata.deviceCaps = V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING;
        kernel.AddCamera(
            "/dev/video0",
            Camera("Front Camera", {"/dev/v4l/by-id/usb-Front-video-index0",
                                    "/dev/v4l/by-path/pci-0000:00:14.0-usb-0:1:1.0-video-index0"}));
        kernel.AddCamera("/dev/video1", metadata);
        kernel.AddCamera(
            "/dev/video2",
            Camera("Side Camera", {"/dev/v4l/by-path/pci-0000:00:14.0-usb-0:2:1.0-video-index0"}));
        kernel.AddCamera("/dev/video3", Camera("Bare Camera"));
    }

    ScriptedV4l2 kernel;
    ScopedEnv noVirtual{"KESTROVA_VIRTUAL_DEVICES", nullptr};
};

TEST_F(V4l2DevicesTest, ListsCaptureNodesWithTheirStablePaths) {
    const std::vector<V4l2Device> cameras = ListV4l2Cameras();
    ASSERT_EQ(cameras.size(), 3u);  // the metadata node is no camera
    struct Expected {
        const char* node;
        const wchar_t* name;
        const wchar_t* path;
    };
    const Expected expected[] = {
        {"/dev/video0", L"Front Camera", L"/dev/v4l/by-id/usb-Front-video-index0"},
        {"/dev/video2", L"Side Camera", L"/dev/v4l/by-path/pci-0000:00:14.0-usb-0:2:1.0-video-index0"},
        {"/dev/video3", L"Bare Camera", L"/dev/video3"},
    };
    for (size_t i = 0; i < cameras.size(); ++i) {
        EXPECT_EQ(cameras[i].node, expected[i].node);
        EXPECT_EQ(cameras[i].friendlyName, expected[i].name);
        EXPECT_EQ(cameras[i].devicePath, expected[i].path);
    }
}

TEST_F(V4l2DevicesTest, EnumeratorGivesPropertyBagsAndBindsAFilterEachTime) {
    SystemDeviceEnum enumerator;
    std::vector<std::shared_ptr<IMoniker>> monikers;
    ASSERT_EQ(enumerator.CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers), S_OK);
    ASSERT_EQ(monikers.size(), 3u);

    std::shared_ptr<IPropertyBag> bag;
    ASSERT_EQ(monikers[1]->BindToStorage(&bag), S_OK);
    VARIANT value;
    ASSERT_EQ(bag->Read(L"FriendlyName", &value), S_OK);
    EXPECT_EQ(value.vt, VT_BSTR);
    EXPECT_EQ(value.bstrVal, L"Side Camera");
    ASSERT_EQ(bag->Read(L"DevicePath", &value), S_OK);
    EXPECT_EQ(value.bstrVal, L"/dev/v4l/by-path/pci-0000:00:14.0-usb-0:2:1.0-video-index0");
    EXPECT_EQ(bag->Read(L"WaveInID", &value), E_FAIL);
    EXPECT_EQ(value.vt, VT_EMPTY);

    std::shared_ptr<IBaseFilter> first, second;
    ASSERT_EQ(monikers[1]->BindToObject(&first), S_OK);
    ASSERT_EQ(monikers[1]->BindToObject(&second), S_OK);
    EXPECT_NE(first, second);
    EXPECT_EQ(kernel.OpenDescriptors("/dev/video2"), 2);
    first.reset();
    second.reset();
    EXPECT_EQ(kernel.OpenDescriptors("/dev/video2"), 0);

    // A camera unplugged after it was listed cannot be bound.
    kernel.Unplug("/dev/video3");
    std::shared_ptr<IBaseFilter> gone;
    EXPECT_EQ(monikers[2]->BindToObject(&gone), VFW_E_NOT_FOUND);
    EXPECT_FALSE(gone);
}

TEST_F(V4l2DevicesTest, VirtualCameraFollowsTheCamerasWhenAskedFor) {
    SystemDeviceEnum enumerator;
    std::vector<std::shared_ptr<IMoniker>> monikers;
    for (const char* setting : {"", "0"}) {
        ScopedEnv env("KESTROVA_VIRTUAL_DEVICES", setting);
        ASSERT_EQ(enumerator.CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers), S_OK);
        EXPECT_EQ(monikers.size(), 3u) << "setting \"" << setting << "\"";
    }
    ScopedEnv env("KESTROVA_VIRTUAL_DEVICES", "1");
    ASSERT_EQ(enumerator.CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers), S_OK);
    ASSERT_EQ(monikers.size(), 4u);
    std::shared_ptr<IPropertyBag> bag;
    monikers[3]->BindToStorage(&bag);
    VARIANT value;
    bag->Read(L"DevicePath", &value);
    EXPECT_EQ(value.bstrVal, kVirtualCameraPath);
    std::shared_ptr<IBaseFilter> filter;
    EXPECT_EQ(monikers[3]->BindToObject(&filter), S_OK);
}

TEST(V4l2Enumeration, NoCamerasIsAnEmptyCategory) {
    ScriptedV4l2 empty;
    ScopedEnv noVirtual("KESTROVA_VIRTUAL_DEVICES", nullptr);
    SystemDeviceEnum enumerator;
    std::vector<std::shared_ptr<IMoniker>> monikers;
    EXPECT_EQ(enumerator.CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers), S_FALSE);
    EXPECT_TRUE(monikers.empty());
    EXPECT_EQ(enumerator.CreateClassEnumerator(L"{00000000-0000-0000-0000-000000000000}", &monikers),
              E_INVALIDARG);
}

}  // namespace
}  // namespace kestrova::media
