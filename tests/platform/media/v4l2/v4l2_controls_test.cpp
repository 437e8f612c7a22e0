// The V4L2 camera's own controls against a scripted driver: what is listed and how, reading and setting
// them alone and together, and the driver's refusals coming back with its reason.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <tuple>

#include "platform/base/text.h"
#include "platform/media/v4l2/v4l2_camera.h"
#include "scripted_controls.h"

namespace kestrova::media {
namespace {

using mediatest::CameraWithSettings;
using mediatest::kFocusStepsId;
using mediatest::ScriptedV4l2;
using Kind = DriverControlKind;

constexpr char kNode[] = "/dev/video0";

class V4l2ControlsTest : public ::testing::Test {
protected:
    V4l2ControlsTest() {
        kernel.AddCamera(kNode, CameraWithSettings());
        camera = std::make_unique<V4l2Camera>(kNode);
    }

    std::vector<DriverControl> List() {
        std::vector<DriverControl> controls;
        EXPECT_EQ(camera->ListControls(&controls), S_OK);
        return controls;
    }

    ScriptedV4l2 kernel;
    std::unique_ptr<V4l2Camera> camera;
};

struct Listed {
    const wchar_t* name;
    const wchar_t* group;
    Kind kind;
    int32_t minimum, maximum, step, defaultValue, value;
    bool readOnly, inactive;
};

TEST_F(V4l2ControlsTest, ListsEnabledControlsByIdWithTheirClassValueAndMarks) {
    const Listed expected[] = {
        {L"Brightness", L"User Controls", Kind::Integer, 0, 255, 1, 128, 140, false, false},
        {L"Contrast", L"User Controls", Kind::Integer, 0, 95, 5, 30, 30, false, false},
        {L"White Balance, Automatic", L"User Controls", Kind::Boolean, 0, 1, 1, 1, 1, false, false},
        {L"Power Line Frequency", L"User Controls", Kind::Menu, 0, 2, 1, 1, 1, false, false},
        {L"White Balance Temperature", L"User Controls", Kind::Integer, 2800, 6500, 10, 4600, 4600, false,
         true},
        {L"Auto Exposure", L"Camera Controls", Kind::Menu, 0, 3, 1, 3, 3, false, false},
        {L"Exposure Time, Absolute", L"Camera Controls", Kind::Integer, 3, 2047, 1, 250, 250, false, true},
        {L"Privacy", L"Camera Controls", Kind::Boolean, 0, 1, 1, 0, 0, true, false},
        {L"Auto Focus, Start", L"Camera Controls", Kind::Button, 0, 0, 1, 0, 0, false, false},
        {L"Focus Steps", L"Camera Controls", Kind::IntegerMenu, 0, 2, 1, 0, 1, false, false},
    };
    const std::vector<DriverControl> controls = List();
    ASSERT_EQ(controls.size(), std::size(expected));  // saturation (disabled) and the 64-bit one left out
    for (size_t i = 0; i < controls.size(); ++i) {
        const DriverControl& c = controls[i];
        const Listed& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(c.name, e.name);
        EXPECT_EQ(c.group, e.group);
        EXPECT_EQ(c.kind, e.kind);
        EXPECT_EQ(std::tie(c.minimum, c.maximum, c.step, c.defaultValue, c.value),
                  std::tie(e.minimum, e.maximum, e.step, e.defaultValue, e.value));
        EXPECT_EQ(c.readOnly, e.readOnly);
        EXPECT_EQ(c.inactive, e.inactive);
        EXPECT_EQ(c.readResult, S_OK);  // a button is not read, so nothing failed
        EXPECT_EQ(c.Settable(), !e.readOnly && e.kind != Kind::Button);
    }
}

TEST_F(V4l2ControlsTest, MenusNameOnlyTheIndexesTheDriverHasAndIntegerMenusShowTheirNumbers) {
    const std::vector<DriverControl> controls = List();
    auto choices = [&](const wchar_t* name) {
        std::vector<std::pair<int32_t, std::wstring>> got;
        for (const DriverControl& c : controls)
            if (c.name == name)
                for (const DriverControlChoice& choice : c.choices)
                    got.emplace_back(choice.index, choice.text);
        return got;
    };
    using Choices = std::vector<std::pair<int32_t, std::wstring>>;
    EXPECT_EQ(choices(L"Auto Exposure"), (Choices{{1, L"Manual Mode"}, {3, L"Aperture Priority Mode"}}));
    EXPECT_EQ(choices(L"Power Line Frequency"), (Choices{{0, L"Disabled"}, {1, L"50 Hz"}, {2, L"60 Hz"}}));
    EXPECT_EQ(choices(L"Focus Steps"), (Choices{{0, L"10"}, {1, L"20"}, {2, L"40"}}));
}

TEST_F(V4l2ControlsTest, SetsAndReadsAValueAndPressesAButton) {
    EXPECT_EQ(camera->SetControl(V4L2_CID_BRIGHTNESS, 200), S_OK);
    int32_t value = 0;
    EXPECT_EQ(camera->GetControl(V4L2_CID_BRIGHTNESS, &value), S_OK);
    EXPECT_EQ(value, 200);
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_BRIGHTNESS), 200);
    EXPECT_EQ(camera->SetControl(V4L2_CID_AUTO_FOCUS_START, 0), S_OK);
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_AUTO_FOCUS_START), 1);  // pressed once
}

TEST_F(V4l2ControlsTest, TheDriversRefusalsComeBackWithItsReason) {
    mediatest::ScriptedCamera busy = CameraWithSettings();
    for (auto& control : busy.controls)
        if (control.id == V4L2_CID_CONTRAST) control.setError = EBUSY;
    kernel.AddCamera("/dev/video1", busy);
    V4l2Camera busyCamera("/dev/video1");

    struct Case {
        V4l2Camera* camera;
        uint32_t id;
        int32_t value;
        int error;
    } cases[] = {
        {camera.get(), V4L2_CID_BRIGHTNESS, 300, ERANGE},
        {camera.get(), V4L2_CID_PRIVACY, 1, EACCES},
        {camera.get(), V4L2_CID_SATURATION + 100, 1, EINVAL},
        {&busyCamera, V4L2_CID_CONTRAST, 40, EBUSY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const HRESULT hr = c.camera->SetControl(c.id, c.value);
        EXPECT_EQ(hr, HresultFromErrno(c.error));
        EXPECT_TRUE(FAILED(hr));
        EXPECT_EQ(DescribeResult(hr), FromUtf8(std::strerror(c.error)));
    }
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_BRIGHTNESS), 140);
    int32_t value = 0;
    EXPECT_EQ(camera->GetControl(V4L2_CID_AUTO_FOCUS_START, &value), HresultFromErrno(EACCES));
}

TEST_F(V4l2ControlsTest, SetsSeveralTogetherAndSaysWhichOneWasRefused) {
    size_t failedAt = 99;
    EXPECT_EQ(camera->SetControls({{V4L2_CID_BRIGHTNESS, 10}, {V4L2_CID_EXPOSURE_AUTO, 1}}, &failedAt), S_OK);
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_BRIGHTNESS), 10);
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_EXPOSURE_AUTO), 1);

    // A value out of range stops the whole set before anything changes; no single control is named.
    EXPECT_EQ(camera->SetControls({{V4L2_CID_BRIGHTNESS, 20}, {V4L2_CID_EXPOSURE_AUTO, 2}}, &failedAt),
              HresultFromErrno(EINVAL));
    EXPECT_EQ(failedAt, 2u);
    EXPECT_EQ(kernel.ControlValue(kNode, V4L2_CID_BRIGHTNESS), 10);

    mediatest::ScriptedCamera busy = CameraWithSettings();
    for (auto& control : busy.controls)
        if (control.id == kFocusStepsId) control.setError = EBUSY;
    kernel.AddCamera("/dev/video1", busy);
    V4l2Camera busyCamera("/dev/video1");
    EXPECT_EQ(busyCamera.SetControls({{V4L2_CID_BRIGHTNESS, 20}, {kFocusStepsId, 2}}, &failedAt),
              HresultFromErrno(EBUSY));
    EXPECT_EQ(failedAt, 1u);
    EXPECT_EQ(kernel.ControlValue("/dev/video1", V4L2_CID_BRIGHTNESS), 20);  // set before the refusal
}

TEST_F(V4l2ControlsTest, AnUnpluggedCameraFailsEveryCallWithNoDevice) {
    kernel.Unplug(kNode);
    std::vector<DriverControl> controls;
    EXPECT_EQ(camera->ListControls(&controls), HresultFromErrno(ENODEV));
    EXPECT_TRUE(controls.empty());
    int32_t value;
    EXPECT_EQ(camera->GetControl(V4L2_CID_BRIGHTNESS, &value), HresultFromErrno(ENODEV));
    EXPECT_EQ(camera->SetControl(V4L2_CID_BRIGHTNESS, 1), HresultFromErrno(ENODEV));
    size_t failedAt;
    EXPECT_EQ(camera->SetControls({{V4L2_CID_BRIGHTNESS, 1}}, &failedAt), HresultFromErrno(ENODEV));
}

}  // namespace
}  // namespace kestrova::media
