#include "app/windows/device_prop_window.h"

#include <memory>

#include "app/windows/bottom_buttons.h"
#include "app/windows/camera_level_calls.h"
#include "app/windows/control_table.h"
#include "app/windows/property_frame.h"
#include "engine/device.h"
#include "engine/device_list.h"
#include "platform/ui/windows.h"
#include "toolkit/slider.h"

namespace kestrova {
namespace {

constexpr SIZE kSize{540, 317};
constexpr int kCloseId = 1028, kDefaultId = 1029, kAdvancedId = 1030;
constexpr int kBrightnessId = 1039, kContrastId = 1040;
constexpr int kAdvancedX = 114;
constexpr int kSliderX = 27, kBrightnessY = 151, kContrastY = 203, kSliderWidth = 250, kSliderHeight = 21;
constexpr int kLevelMaximum = 25;

// How often the window looks whether its camera is still listed, and the message its network answers
// come back with.
constexpr UINT_PTR kListedTimer = 1;
constexpr UINT kListedCheckMs = 250;
constexpr UINT kCameraReply = WM_APP + 1;

constexpr ControlSpec kLabels[] = {
    {ControlKind::Heading, 1036, L"Picture", 19, 101},
    {ControlKind::Label, 1037, L"Brightness", 37, 130, 300, 18},
    {ControlKind::Label, 1038, L"Contrast", 37, 182, 300, 18},
};

int SliderOf(PictureLevel level) {
    return level == PictureLevel::Brightness ? kBrightnessId : kContrastId;
}

bool Succeeded(int result) {
    return LOWORD(uint32_t(result)) != 0;
}
int LevelOf(int result) {
    return HIWORD(uint32_t(result));
}

class DevicePropWindow {
public:
    DevicePropWindow(HWND window, const CREATESTRUCTW& create)
        : frame_(window, create), params_(frame_.RecordAs<DevicePropParams>()) {}

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        switch (msg) {
            case WM_TIMER:
                if (wParam == kListedTimer && !CameraListed()) frame_.Close();
                return 0;
            case kCameraReply:
                OnCameraReply(PictureLevel(LOWORD(wParam)), HIWORD(wParam) != 0, int(lParam));
                return 0;
        }
        return DispatchPropertyMessage(*this, frame_, msg, wParam, lParam);
    }

    void OnPaint() const { frame_.Paint(L"Device"); }

    void OnCreate() {
        CreateCloseButton(Window());
        CreateBottomButton(Window(), L"Close", kCloseId, BottomPlace::OkPlace);
        if (IsUsbCamera()) {
            CreateBottomButton(Window(), L"Advanced", kAdvancedId, kAdvancedX);
            CreateBottomButton(Window(), L"Default", kDefaultId, BottomPlace::DefaultPlace);
        }
        CreateControls(Window(), kLabels);
        for (auto [id, y] : {std::pair{kBrightnessId, kBrightnessY}, std::pair{kContrastId, kContrastY}}) {
            HWND slider = CreateSliderEx(Window(), id, kSliderX, y, kSliderWidth, kSliderHeight, 0, kLevelMaximum);
            SendMessageW(slider, kSliderThumbBitmap, kPropertySet, kSliderThumbSkin);
        }
        SetTimer(Window(), kListedTimer, kListedCheckMs, nullptr);
        if (!CameraListed()) return;
        if (IsIpCamera()) {
            // The sliders wait for the camera's answer; the window goes on meanwhile.
            calls_ = std::make_unique<CameraLevelCalls>(*params_->device, Window(), kCameraReply);
            for (PictureLevel level : {PictureLevel::Brightness, PictureLevel::Contrast}) {
                EnableWindow(GetDlgItem(Window(), SliderOf(level)), FALSE);
                calls_->Read(level);
            }
        } else if (IsUsbCamera()) {
            ReadLevels();
            for (int id : {kBrightnessId, kContrastId}) MarkOpeningLevel(id);
        }
    }

    void OnCommand(int id) {
        switch (id) {
            case kCloseId:
                frame_.Close();
                return;
            case kDefaultId:
                if (IsUsbCamera()) OnDefault();
                return;
            case kAdvancedId:
                if (IsUsbCamera()) OnAdvanced();
                return;
            case kBrightnessId:
                OnSliderReleased(PictureLevel::Brightness);
                return;
            case kContrastId:
                OnSliderReleased(PictureLevel::Contrast);
                return;
        }
    }

private:
    HWND Window() const { return frame_.Window(); }
    bool IsIpCamera() const { return params_ && params_->deviceType == kDeviceIpCamera; }
    bool IsUsbCamera() const { return params_ && params_->deviceType == kDeviceUsbCamera; }

    // Whether the camera may be called; when it is gone, the window closes.
    bool CameraListed() const { return params_ && params_->device && IsDeviceInList(params_->device); }
    bool EnsureListed() const {
        if (CameraListed()) return true;
        frame_.Close();
        return false;
    }

    int SliderValue(int id) const {
        return int(SendDlgItemMessageW(Window(), id, kSliderValue, kPropertyRead, 0));
    }
    // Shows the device's answer on the slider, or disables the slider when the device could not answer.
    void ShowLevel(int id, int result) {
        HWND slider = GetDlgItem(Window(), id);
        EnableWindow(slider, Succeeded(result) ? TRUE : FALSE);
        if (Succeeded(result)) SendMessageW(slider, kSliderValue, kPropertySetAndRepaint, LevelOf(result));
    }
    void MarkOpeningLevel(int id) {
        SendDlgItemMessageW(Window(), id, kSliderLevel, kPropertySetAndRepaint, MAKELPARAM(0, SliderValue(id)));
    }

    void ReadLevels() {
        if (!EnsureListed()) return;
        ShowLevel(kBrightnessId, params_->device->GetBrightness(0));
        ShowLevel(kContrastId, params_->device->GetContrast(0));
    }

    void OnSliderReleased(PictureLevel level) {
        if (!EnsureListed()) return;
        const int value = SliderValue(SliderOf(level));
        if (calls_) {
            calls_->Set(level, value);  // the camera's answer is not shown back
            return;
        }
        Device& device = *params_->device;
        if (level == PictureLevel::Brightness)
            device.SetBrightness(value, 0);
        else
            device.SetContrast(value, 0);
        ReadLevels();
    }

    void OnDefault() {
        if (!EnsureListed()) return;
        ShowLevel(kBrightnessId, params_->device->SetBrightness(0, 1));
        ShowLevel(kContrastId, params_->device->SetContrast(0, 1));
    }

    void OnAdvanced() {
        if (!EnsureListed()) return;
        params_->device->ShowPropertyPages(Window());
        ReadLevels();
    }

    // The first reading of each level also places its mark; a set's answer changes nothing shown.
    void OnCameraReply(PictureLevel level, bool set, int result) {
        if (set) return;
        ShowLevel(SliderOf(level), result);
        MarkOpeningLevel(SliderOf(level));
    }

    PropertyFrame frame_;
    DevicePropParams* params_;
    std::unique_ptr<CameraLevelCalls> calls_;
};

}  // namespace

uint16_t RegisterDevicePropWindowClass() {
    return RegisterPropertyWindowClass(kDevicePropWindowClass, PropertyWindowProc<DevicePropWindow>);
}

int ShowDevicePropWindow(HWND owner, DevicePropParams* params) {
    ShowPropertyWindow(kDevicePropWindowClass, owner, params, kSize);
    return kPropertyCancelled;
}

}  // namespace kestrova
