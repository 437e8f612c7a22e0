#include "app/windows/power_window.h"

#include "app/windows/control_table.h"
#include "app/windows/property_frame.h"

namespace kestrova {
namespace {

constexpr SIZE kSize{540, 498};
constexpr int kFlipId = 1047;

constexpr RadioChoice kFrameSizes[] = {{1040, 2}, {1041, 1}};
constexpr RadioChoice kCompressions[] = {{1042, 0}, {1043, 1}, {1044, 2}};
constexpr RadioChoice kPhotoFormats[] = {{1045, 0}, {1046, 1}};
constexpr RadioGroup kGroups[] = {kFrameSizes, kCompressions, kPhotoFormats};

constexpr ControlSpec kControls[] = {
    {ControlKind::Heading, 1036, L"Frame size", 19, 101},
    {ControlKind::Radio, 1040, L"640 x 480", 37, 129},
    {ControlKind::Radio, 1041, L"320 x 240", 37, 154},
    {ControlKind::Heading, 1039, L"Frame rotation", 19, 181},
    {ControlKind::CheckBox, kFlipId, L"Vertical flip", 37, 209},
    {ControlKind::Heading, 1037, L"Video compression", 19, 236},
    {ControlKind::Radio, 1042, L"High", 37, 264},
    {ControlKind::Radio, 1043, L"Medium", 37, 289},
    {ControlKind::Radio, 1044, L"Uncompressed video", 37, 314},
    {ControlKind::Heading, 1038, L"Photo format", 19, 341},
    {ControlKind::Radio, 1045, L"PNG", 37, 369},
    {ControlKind::Radio, 1046, L"JPEG", 37, 394},
};

class PowerWindow {
public:
    PowerWindow(HWND window, const CREATESTRUCTW& create)
        : frame_(window, create), settings_(frame_.RecordAs<PowerSettings>()) {}

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        return DispatchPropertyMessage(*this, frame_, msg, wParam, lParam);
    }

    void OnPaint() const { frame_.Paint(L"Power"); }

    void OnCreate() {
        frame_.CreateButtons(FrameButtons::CloseOkCancelDefault);
        CreateControls(Window(), kControls);
        OnDefault();
        if (!settings_) return;
        CheckRadioValue(Window(), kFrameSizes, settings_->frameSize);
        SetChecked(Window(), kFlipId, settings_->verticalFlip != 0);
        CheckRadioValue(Window(), kCompressions, settings_->compression);
        CheckRadioValue(Window(), kPhotoFormats, settings_->photoFormat);
    }

    void OnCommand(int id) {
        if (id == kOkButtonId) OnOk();
        if (id == kDefaultButtonId) OnDefault();
        for (RadioGroup group : kGroups)
            if (InGroup(group, id)) CheckRadio(Window(), group, id);
    }

private:
    HWND Window() const { return frame_.Window(); }

    void OnOk() {
        if (settings_) {
            settings_->frameSize = CheckedRadioValue(Window(), kFrameSizes, settings_->frameSize);
            settings_->verticalFlip = IsChecked(Window(), kFlipId) ? 1 : 0;
            settings_->compression = CheckedRadioValue(Window(), kCompressions, settings_->compression);
            settings_->photoFormat = CheckedRadioValue(Window(), kPhotoFormats, settings_->photoFormat);
            frame_.SetResult(kPropertyOk);
        }
        frame_.Close();
    }

    // The device's own defaults: 640 x 480, no flip, "High", "PNG".
    void OnDefault() {
        for (RadioGroup group : kGroups) CheckRadio(Window(), group, group.front().id);
        SetChecked(Window(), kFlipId, false);
    }

    PropertyFrame frame_;
    PowerSettings* settings_;
};

}  // namespace

uint16_t RegisterPowerWindowClass() {
    return RegisterPropertyWindowClass(kPowerWindowClass, PropertyWindowProc<PowerWindow>);
}

int ShowPowerWindow(HWND owner, PowerSettings* settings) {
    return ShowPropertyWindow(kPowerWindowClass, owner, settings, kSize);
}

}  // namespace kestrova
