// The commands of the main window's nine buttons, its two sliders and its device list. Most act on the
// selected device: they check its kind and state, may ask or hint first, and edit it through a property
// window (main_window_records.cpp). Every command gives the focus back to the device list.
#include "app/main_window.h"
#include "app/main_window_controls.h"
#include "app/registry_values.h"
#include "app/windows/device_prop_window.h"
#include "app/windows/devices_window.h"
#include "app/windows/display_prop_window.h"
#include "app/windows/property_window.h"
#include "app/windows/settings_window.h"
#include "app/windows/stream_window.h"
#include "engine/device.h"
#include "platform/ui/listbox.h"
#include "platform/ui/windows.h"
#include "toolkit/property.h"
#include "toolkit/slider.h"

namespace kestrova {
namespace {

constexpr wchar_t kStorageHintText[] =
    L"To go to the storage folder, click on the main menu button on the top right corner, and select Open "
    L"Storage Folder.";
constexpr wchar_t kStreamingHintText[] =
    L"To go to the streaming webpage, click on the main menu button on the top right corner, and select Open "
    L"Streaming Webpage.";
constexpr wchar_t kMaskingHintText[] =
    L"Masking is more effective if you have a fixed camera, rather than a PTZ (pan, tilt, zoom) camera that "
    L"will be moving and capturing different areas at different times. If you are using a PTZ, you can use "
    L"the camera setting to give horizontal and/or vertical limits for the potential field of view.";

constexpr int kToBePublished = -1;

}  // namespace

bool MainWindow::OnDeviceCommand(int id, int code) {
    switch (id) {
        case kPowerButtonId:
            OnPower();
            break;
        case kAlarmButtonId:
            OnAlarm();
            break;
        case kStreamingButtonId:
            OnStreaming();
            break;
        case kMaskingButtonId:
            OnMasking();
            break;
        case kSchedulingButtonId:
            OnScheduling();
            break;
        case kDisplayPropertiesButtonId:
            OnDisplayProperties();
            break;
        case kDevicePropertiesButtonId:
            OnDeviceProperties();
            break;
        case kDeviceListButtonId:
            OnDeviceList();
            break;
        case kSettingsButtonId:
            OnSettings();
            break;
        case kToleranceSliderId:
        case kSensitivitySliderId:
            OnSlider(id);
            break;
        case kDeviceListBoxId:
            if (code == LBN_SELCHANGE) SelectDevice();
            if (code == LBN_DBLCLK) OnDeviceList();
            break;
        default:
            return false;
    }
    SetFocus(GetDlgItem(window_, kDeviceListBoxId));
    return true;
}

void MainWindow::OnPower() {
    Device* device = SelectedOrRefuse();
    if (device == nullptr || !ScheduleMayStop(device)) return;
    if (device->GetState(kStatePowered)) {
        device->Stop();
    } else if (IsMicrophone(device)) {
        // A microphone has no capture options to ask for.
        device->Stop();
        device->Start();
    } else {
        EditPowerSettings(device);
    }
    InvalidateRect(displayWindow_, nullptr, FALSE);
}

// Monitoring counts as on even when the device is no longer powered, so that it can be turned off.
void MainWindow::OnAlarm() {
    Device* device = SelectedOrRefuse();
    if (device == nullptr || !ScheduleMayStop(device)) return;
    const bool monitoring = device->GetState(kStateMonitoring) != 0;
    if (!monitoring && !device->GetState(kStatePowered)) {
        RefusePowerOff();
    } else if (monitoring) {
        device->StopDetection();
        device->StopAlarm();
    } else {
        const HeldDevice held(device);
        ShowHint(kStorageHint, kStorageHintText);
        if (held.StillListed()) EditAlarmActions(device);
    }
    InvalidateRect(displayWindow_, nullptr, FALSE);
}

void MainWindow::OnStreaming() {
    Device* device = SelectedOrRefuse();
    if (device == nullptr || !ScheduleMayStop(device)) return;
    if (IsMicrophone(device)) return RefuseUnsupported();
    const bool published = device->GetState(kStatePublished) != 0;
    if (!published && !device->GetState(kStatePowered)) return RefusePowerOff();
    if (published) return Unpublish(device);

    const HeldDevice held(device);
    ShowHint(kStreamingHint, kStreamingHintText);
    if (!held.StillListed()) return;
    if (ShowStreamWindow(window_, &streaming_) == kPropertyCancelled || !held.StillListed()) return;
    device->SetWebIndex(kToBePublished);
    RestartStreamingServer();
}

void MainWindow::OnMasking() {
    Device* device = SelectedOrRefuse();
    if (device == nullptr) return;
    if (IsMicrophone(device)) return RefuseUnsupported();
    if (!device->GetState(kStatePowered)) return RefusePowerOff();
    const HeldDevice held(device);
    ShowHint(kMaskingHint, kMaskingHintText);
    if (held.StillListed()) EditMasks(device);
}

// A running schedule stops at once, without the question the other commands ask.
void MainWindow::OnScheduling() {
    Device* device = SelectedOrRefuse();
    if (device == nullptr) return;
    if (device->GetState(kStateScheduleRunning)) {
        device->StopSchedule();
        return;
    }
    EditSchedule(device);
}

// The window works on the live device and checks that it is still listed itself.
void MainWindow::OnDeviceProperties() {
    Device* device = SelectedOrRefuse();
    if (device == nullptr) return;
    if (IsMicrophone(device)) return RefuseUnsupported();
    if (!device->GetState(kStatePowered)) return RefusePowerOff();
    DevicePropParams params{device, device->GetType()};
    ShowDevicePropWindow(window_, &params);
}

void MainWindow::OnDisplayProperties() {
    int32_t streams = settings_.videoStreamsPerDisplay;
    if (ShowDisplayPropWindow(window_, &streams) != kPropertyCancelled)
        settings_.videoStreamsPerDisplay = streams;
    InvalidateRect(displayWindow_, nullptr, FALSE);
}

// The window only marks devices; the refresh deletes the marked ones.
void MainWindow::OnDeviceList() {
    ShowDevicesWindow(window_, this);
    RefreshDeviceList();
}

// A new storage folder takes effect at the next start: the settings are saved with it, and the program
// closes once this command has returned (the window's object goes with it).
void MainWindow::OnSettings() {
    const int result = ShowSettingsWindow(window_, &settings_, &storageFolder_);
    if (result == kPropertyCancelled) return;
    settings_.Save(storageFolder_);
    if (result == kSettingsRestart) PostMessageW(window_, WM_CLOSE, 0, 0);
}

void MainWindow::OnSlider(int id) {
    Device* device = devices_.GetSelected();
    if (device == nullptr) return;
    const int value = int(SendDlgItemMessageW(window_, id, kSliderValue, kPropertyRead, 0));
    if (id == kToleranceSliderId) {
        device->SetTolerance(value);
    } else {
        device->SetSensitivity(value);
    }
}

}  // namespace kestrova
