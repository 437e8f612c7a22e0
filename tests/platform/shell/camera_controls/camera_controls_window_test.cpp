// The camera settings window over a scripted V4L2 camera, driven as a user would: what each row shows,
// changing values every way the window offers, the driver's refusals, the defaults, and OK keeping while
// Cancel puts back.

#include "platform/shell/camera_controls_window.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

#include "platform/base/clock.h"
#include "platform/base/text.h"
#include "platform/media/v4l2/v4l2_camera.h"
#include "platform/shell/check_box.h"
#include "platform/ui/edit.h"
#include "platform/ui/input.h"
#include "platform/ui/listbox.h"
#include "platform/ui/testing/driver.h"
#include "platform/ui/testing/message_pump.h"
#include "scripted_controls.h"

namespace kestrova {
namespace {

using media::V4l2Camera;
using mediatest::CameraWithSettings;
using mediatest::kFocusStepsId;
using mediatest::ScriptedCamera;
using mediatest::ScriptedV4l2;
using uitest::LoopSteps;
using Step = std::function<void()>;

constexpr char kNode[] = "/dev/video0";

// The rows of CameraWithSettings(), in the driver's order.
enum Row : size_t {
    kBrightness,
    kContrast,
    kAutoWhiteBalance,
    kPowerLine,
    kTemperature,
    kAutoExposure,
    kExposureTime,
    kPrivacy,
    kFocusStart,
    kFocusSteps,
};

LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class CameraControlsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetClock(&clock_);
        static const bool registered = [] {
            WNDCLASSW wc;
            wc.lpfnWndProc = OwnerProc;
            wc.lpszClassName = L"CameraControlsTestOwner";
            return RegisterClassW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        owner_ = CreateWindowExW(0, L"CameraControlsTestOwner", L"", WS_POPUP | WS_VISIBLE, 100, 100, 700,
                                 500, nullptr, 0, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        SetActiveWindow(owner_);
    }
    void TearDown() override {
        camera_.reset();
        DestroyWindow(owner_);
        uitest::PumpMessages();
        SetClock(nullptr);
    }

    void UseCamera(ScriptedCamera scripted = CameraWithSettings()) {
        kernel_.AddCamera(kNode, std::move(scripted));
        camera_ = std::make_unique<V4l2Camera>(kNode);
    }

    // Opens the window over the owner with `steps` to run inside it; the last must close it.
    void Open(std::vector<Step> steps) {
        if (!camera_) UseCamera();
        LoopSteps loop;
        for (Step& step : steps) loop.Then(std::move(step));
        EXPECT_TRUE(ShowCameraControls(owner_, L"Desk Camera", *camera_));
        EXPECT_EQ(Window(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(owner_));
    }

    int32_t Value(uint32_t id) { return kernel_.ControlValue(kNode, id); }

    static HWND Window() { return FindWindowW(kCameraControlsClass, nullptr); }
    static HWND Item(size_t row, ControlPart part) { return GetDlgItem(Window(), ControlItemId(row, part)); }
    static HWND Item(int id) { return GetDlgItem(Window(), id); }
    static std::wstring Text(HWND hwnd) {
        wchar_t text[512] = {};
        GetWindowTextW(hwnd, text, 512);
        return text;
    }
    static std::wstring Status() { return Text(Item(kStatusLineId)); }
    static bool Checked(size_t row) {
        return SendMessageW(Item(row, ControlPart::Value), kCheckBoxGetCheck, 0, 0) != 0;
    }
    static void ClickOn(HWND control) {
        RECT r;
        GetClientRect(control, &r);
        uitest::Click(uitest::OnScreen(control, POINT{r.right / 2, r.bottom / 2}));
    }
    // Replaces a value field's text as the user would: select everything, type over it.
    static void TypeInto(size_t row, std::wstring_view text) {
        HWND field = Item(row, ControlPart::Value);
        SetFocus(field);
        SendMessageW(field, EM_SETSEL, 0, -1);
        uitest::PressKey(VK_DELETE);
        uitest::TypeText(text);
    }
    // A key for the window's own loop, which runs it through the dialog keys once the step returns: the
    // last thing a step does.
    static void DialogKey(UINT key) {
        ui::InjectKey(key, true);
        ui::InjectKey(key, false);
    }
    static void ShowPage(int index) {
        HWND list = Item(kPageListId);
        const int height = int(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        uitest::Click(uitest::OnScreen(list, POINT{5, index * height + height / 2}));
    }

    TestClock clock_;
    ScriptedV4l2 kernel_;
    std::unique_ptr<V4l2Camera> camera_;
    HWND owner_ = nullptr;
};

TEST_F(CameraControlsWindowTest, ShowsEveryControlWithItsValueOnPagesByClass) {
    Open({[&] {
        HWND window = Window();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Text(window), L"Desk Camera");
        EXPECT_FALSE(IsWindowEnabled(owner_));  // modal
        HWND pages = Item(kPageListId);
        ASSERT_NE(pages, nullptr);
        EXPECT_EQ(SendMessageW(pages, LB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(GetFocus(), Item(kBrightness, ControlPart::Value));

        struct Shown {
            size_t row;
            std::wstring value;
            bool enabled;
        } const userPage[] = {
            {kBrightness, L"140", true},
            {kContrast, L"30", true},
            {kPowerLine, L"50 Hz  \u25BE", true},
            {kTemperature, L"4600", true},  // inactive, but the driver keeps a value for it
        };
        for (const Shown& s : userPage) {
            SCOPED_TRACE(s.row);
            EXPECT_EQ(Text(Item(s.row, ControlPart::Value)), s.value);
            EXPECT_EQ(IsWindowEnabled(Item(s.row, ControlPart::Value)) != 0, s.enabled);
            EXPECT_TRUE(IsWindowVisible(Item(s.row, ControlPart::Value)));
        }
        EXPECT_TRUE(Checked(kAutoWhiteBalance));
        EXPECT_FALSE(IsWindowVisible(Item(kAutoExposure, ControlPart::Value)));  // on the second page

        ShowPage(1);
        EXPECT_TRUE(IsWindowVisible(Item(kAutoExposure, ControlPart::Value)));
        EXPECT_FALSE(IsWindowVisible(Item(kBrightness, ControlPart::Value)));
        EXPECT_EQ(Text(Item(kAutoExposure, ControlPart::Value)), L"Aperture Priority Mode  \u25BE");
        EXPECT_EQ(Text(Item(kFocusSteps, ControlPart::Value)), L"20  \u25BE");
        EXPECT_EQ(Text(Item(kFocusStart, ControlPart::Value)), L"Run");
        // Read-only: shown, not changeable, no default.
        EXPECT_FALSE(IsWindowEnabled(Item(kPrivacy, ControlPart::Value)));
        EXPECT_EQ(Item(kPrivacy, ControlPart::Reset), nullptr);
        EXPECT_EQ(Item(kFocusStart, ControlPart::Reset), nullptr);
        EXPECT_EQ(Status(), L"");
        ClickOn(Item(IDOK));
    }});
}

TEST_F(CameraControlsWindowTest, EveryWayOfChangingAValueReachesTheDriverAtOnceAndOkKeepsThem) {
    Open({[&] {
              TypeInto(kBrightness, L"200");
              EXPECT_EQ(Value(V4L2_CID_BRIGHTNESS), 140);  // not while typing
              DialogKey(VK_TAB);                           // leaving the field applies it
          },
          [&] {
              EXPECT_EQ(Value(V4L2_CID_BRIGHTNESS), 200);
              ClickOn(Item(kContrast, ControlPart::More));
              EXPECT_EQ(Value(V4L2_CID_CONTRAST), 35);  // one step of 5
              EXPECT_EQ(Text(Item(kContrast, ControlPart::Value)), L"35");
              ClickOn(Item(kAutoWhiteBalance, ControlPart::Value));
              EXPECT_EQ(Value(V4L2_CID_AUTO_WHITE_BALANCE), 0);
              EXPECT_FALSE(Checked(kAutoWhiteBalance));
              ClickOn(Item(kPowerLine, ControlPart::Value));  // opens the choices
          },
          [&] {
              uitest::PressKey(VK_DOWN);
              uitest::PressKey(VK_DOWN);
              uitest::PressKey(VK_DOWN);
              uitest::PressKey(VK_RETURN);  // "60 Hz"
          },
          [&] {
              EXPECT_EQ(Value(V4L2_CID_POWER_LINE_FREQUENCY), 2);
              EXPECT_EQ(Text(Item(kPowerLine, ControlPart::Value)), L"60 Hz  \u25BE");
              ShowPage(1);
              ClickOn(Item(kFocusStart, ControlPart::Value));
              EXPECT_EQ(Value(V4L2_CID_AUTO_FOCUS_START), 1);  // pressed
              TypeInto(kExposureTime, L"500");
              DialogKey(VK_RETURN);  // Enter applies the typed value and stays
          },
          [&] {
              EXPECT_EQ(Value(V4L2_CID_EXPOSURE_ABSOLUTE), 500);
              ASSERT_NE(Window(), nullptr);
              DialogKey(VK_RETURN);  // nothing typed now: OK
          }});
    EXPECT_EQ(Value(V4L2_CID_BRIGHTNESS), 200);
    EXPECT_EQ(Value(V4L2_CID_CONTRAST), 35);
    EXPECT_EQ(Value(V4L2_CID_AUTO_WHITE_BALANCE), 0);
    EXPECT_EQ(Value(V4L2_CID_POWER_LINE_FREQUENCY), 2);
    EXPECT_EQ(Value(V4L2_CID_EXPOSURE_ABSOLUTE), 500);
}

TEST_F(CameraControlsWindowTest, TheKeyboardAloneReachesTheRowsInOrderAndEnterAndEscapeWork) {
    Open({[&] {
              EXPECT_EQ(GetFocus(), Item(kBrightness, ControlPart::Value));
              DialogKey(VK_TAB);
          },
          [&] {
              EXPECT_EQ(GetFocus(), Item(kBrightness, ControlPart::Reset));  // the steps are the mouse's
              DialogKey(VK_SPACE);
          },
          [&] {
              EXPECT_EQ(Value(V4L2_CID_BRIGHTNESS), 128);
              DialogKey(VK_TAB);
          },
          [&] {
              EXPECT_EQ(GetFocus(), Item(kContrast, ControlPart::Value));
              SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
              uitest::TypeText(L"45");
              DialogKey(VK_RETURN);
          },
          [&] {
              EXPECT_EQ(Value(V4L2_CID_CONTRAST), 45);
              EXPECT_EQ(GetFocus(), Item(kContrast, ControlPart::Value));
              DialogKey(VK_ESCAPE);
          }});
    EXPECT_EQ(Value(V4L2_CID_BRIGHTNESS), 140);
    EXPECT_EQ(Value(V4L2_CID_CONTRAST), 30);
}

TEST_F(CameraControlsWindowTest, CancelAndEscapePutBackTheValuesFoundOnOpening) {
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape);
        Open({[&] {
                  TypeInto(kBrightness, L"10");
                  DialogKey(VK_TAB);
              },
              [&] {
                  ClickOn(Item(kContrast, ControlPart::Less));
                  ClickOn(Item(kAutoWhiteBalance, ControlPart::Value));
                  EXPECT_EQ(Value(V4L2_CID_BRIGHTNESS), 10);
                  EXPECT_EQ(Value(V4L2_CID_CONTRAST), 25);
                  if (escape)
                      DialogKey(VK_ESCAPE);
                  else
                      ClickOn(Item(IDCANCEL));
              }});
        EXPECT_EQ(Value(V4L2_CID_BRIGHTNESS), 140);
        EXPECT_EQ(Value(V4L2_CID_CONTRAST), 30);
        EXPECT_EQ(Value(V4L2_CID_AUTO_WHITE_BALANCE), 1);
    }
}

TEST_F(CameraControlsWindowTest, DefaultPutsOneControlBackAndAllDefaultsEveryOne) {
    Open({[&] {
              TypeInto(kBrightness, L"7");
              DialogKey(VK_TAB);
          },
          [&] {
              ClickOn(Item(kContrast, ControlPart::More));
              ClickOn(Item(kBrightness, ControlPart::Reset));
              EXPECT_EQ(Value(V4L2_CID_BRIGHTNESS), 128);
              EXPECT_EQ(Text(Item(kBrightness, ControlPart::Value)), L"128");
              EXPECT_EQ(Value(V4L2_CID_CONTRAST), 35);
              ClickOn(Item(kAllDefaultsId));
              EXPECT_EQ(Value(V4L2_CID_CONTRAST), 30);
              EXPECT_EQ(Value(V4L2_CID_AUTO_WHITE_BALANCE), 1);
              EXPECT_EQ(Value(kFocusStepsId), 0);  // was 1, other than its default
              EXPECT_EQ(Text(Item(kFocusSteps, ControlPart::Value)), L"10  \u25BE");
              EXPECT_EQ(Value(V4L2_CID_PRIVACY), 0);
              ClickOn(Item(IDOK));
          }});
    EXPECT_EQ(Value(kFocusStepsId), 0);
}

TEST_F(CameraControlsWindowTest, TheDriversRefusalOrAWrongValueIsShownAndTheFieldShowsTheValueInForce) {
    ScriptedCamera scripted = CameraWithSettings();
    for (auto& control : scripted.controls)
        if (control.id == V4L2_CID_CONTRAST) control.setError = EBUSY;
    UseCamera(scripted);
    Open({[&] {
              ClickOn(Item(kContrast, ControlPart::More));
              EXPECT_EQ(Status(), L"Contrast: " + FromUtf8(std::strerror(EBUSY)));
              EXPECT_EQ(Text(Item(kContrast, ControlPart::Value)), L"30");
              TypeInto(kBrightness, L"999");
              DialogKey(VK_TAB);
          },
          [&] {
              EXPECT_EQ(Status(), L"Brightness: \"999\" is not a value from 0 to 255");
              EXPECT_EQ(Text(Item(kBrightness, ControlPart::Value)), L"140");
              TypeInto(kBrightness, L"abc");
              DialogKey(VK_TAB);
          },
          [&] {
              EXPECT_EQ(Status(), L"Brightness: \"abc\" is not a value from 0 to 255");
              ClickOn(Item(kBrightness, ControlPart::More));
              EXPECT_EQ(Status(), L"");  // a change that worked clears the failure
              EXPECT_EQ(Value(V4L2_CID_BRIGHTNESS), 141);
              ClickOn(Item(IDOK));
          }});
}

TEST_F(CameraControlsWindowTest, ACameraWithoutControlsSaysSoAndClosesWithOk) {
    ScriptedCamera bare = CameraWithSettings();
    bare.controls.clear();
    UseCamera(bare);
    Open({[&] {
        EXPECT_EQ(Item(kAllDefaultsId), nullptr);
        EXPECT_EQ(Item(IDCANCEL), nullptr);
        EXPECT_EQ(GetFocus(), Item(IDOK));
        EXPECT_EQ(Status(), L"");
        DialogKey(VK_ESCAPE);
    }});
}

TEST_F(CameraControlsWindowTest, ACameraUnpluggedMeanwhileIsReportedWhenCancelCannotPutBack) {
    Open({[&] {
              ClickOn(Item(kBrightness, ControlPart::More));
              kernel_.Unplug(kNode);
              DialogKey(VK_ESCAPE);
          },
          [&] {
              // The message box that says so; its OK ends it, and then the window.
              HWND box = uitest::TopLevelWindows().front();
              EXPECT_NE(box, Window());
              EXPECT_EQ(Status(), L"Not every setting could be put back. " + FromUtf8(std::strerror(ENODEV)));
              DialogKey(VK_RETURN);
          }});
}

}  // namespace
}  // namespace kestrova
