#include "scripted_controls.h"

namespace kestrova::mediatest {
namespace {

ScriptedControl ClassHeader(uint32_t id, std::string name) {
    ScriptedControl header;
    header.id = id;
    header.type = V4L2_CTRL_TYPE_CTRL_CLASS;
    header.name = std::move(name);
    header.flags = V4L2_CTRL_FLAG_READ_ONLY | V4L2_CTRL_FLAG_WRITE_ONLY;
    header.minimum = header.maximum = header.defaultValue = header.value = 0;
    return header;
}

ScriptedControl Control(uint32_t id, uint32_t type, std::string name, int32_t minimum, int32_t maximum,
                        int32_t step, int32_t defaultValue, int32_t value, uint32_t flags = 0) {
    ScriptedControl control{id, minimum, maximum, step, defaultValue, value};
    control.type = type;
    control.name = std::move(name);
    control.flags = flags;
    return control;
}

}  // namespace

ScriptedCamera CameraWithSettings() {
    ScriptedCamera camera;
    camera.card = "Desk Camera";
    camera.formats = {{V4L2_PIX_FMT_YUYV, {{640, 480}, {320, 240}}, 30}};
    ScriptedControl powerLine =
        Control(V4L2_CID_POWER_LINE_FREQUENCY, V4L2_CTRL_TYPE_MENU, "Power Line Frequency", 0, 2, 1, 1, 1);
    powerLine.menu = {"Disabled", "50 Hz", "60 Hz"};
    ScriptedControl exposure =
        Control(V4L2_CID_EXPOSURE_AUTO, V4L2_CTRL_TYPE_MENU, "Auto Exposure", 0, 3, 1, 3, 3);
    exposure.menu = {"", "Manual Mode", "", "Aperture Priority Mode"};
    ScriptedControl focusSteps =
        Control(kFocusStepsId, V4L2_CTRL_TYPE_INTEGER_MENU, "Focus Steps", 0, 2, 1, 0, 1);
    focusSteps.integerMenu = {10, 20, 40};
    camera.controls = {
        ClassHeader(V4L2_CID_USER_CLASS, "User Controls"),
        Control(V4L2_CID_BRIGHTNESS, V4L2_CTRL_TYPE_INTEGER, "Brightness", 0, 255, 1, 128, 140),
        Control(V4L2_CID_CONTRAST, V4L2_CTRL_TYPE_INTEGER, "Contrast", 0, 95, 5, 30, 30),
        Control(V4L2_CID_SATURATION, V4L2_CTRL_TYPE_INTEGER, "Saturation", 0, 100, 1, 50, 50,
                V4L2_CTRL_FLAG_DISABLED),
        Control(V4L2_CID_AUTO_WHITE_BALANCE, V4L2_CTRL_TYPE_BOOLEAN, "White Balance, Automatic", 0, 1, 1, 1,
                1),
        powerLine,
        Control(V4L2_CID_WHITE_BALANCE_TEMPERATURE, V4L2_CTRL_TYPE_INTEGER, "White Balance Temperature", 2800,
                6500, 10, 4600, 4600, V4L2_CTRL_FLAG_INACTIVE),
        Control(kSixtyFourId, V4L2_CTRL_TYPE_INTEGER64, "Sixty-Four", 0, 1000, 1, 0, 0),
        ClassHeader(V4L2_CID_CAMERA_CLASS, "Camera Controls"),
        exposure,
        Control(V4L2_CID_EXPOSURE_ABSOLUTE, V4L2_CTRL_TYPE_INTEGER, "Exposure Time, Absolute", 3, 2047, 1,
                250, 250, V4L2_CTRL_FLAG_INACTIVE),
        Control(V4L2_CID_PRIVACY, V4L2_CTRL_TYPE_BOOLEAN, "Privacy", 0, 1, 1, 0, 0, V4L2_CTRL_FLAG_READ_ONLY),
        focusSteps,
        Control(V4L2_CID_AUTO_FOCUS_START, V4L2_CTRL_TYPE_BUTTON, "Auto Focus, Start", 0, 0, 0, 0, 0),
    };
    return camera;
}

}  // namespace kestrova::mediatest
