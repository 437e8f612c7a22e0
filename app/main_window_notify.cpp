// What the main window does with the notifications that devices and their capture graphs post to it: new
// frames, state changes, detection levels, scheduled starts and stops, and lost devices.
#include "app/display_window.h"
#include "app/fullscreen_view.h"
#include "app/main_window.h"
#include "app/main_window_controls.h"
#include "app/popup_view.h"
#include "engine/device.h"
#include "engine/device_messages.h"

namespace kestrova {
namespace {

constexpr uint16_t kScheduleActionMask = 0xFF;
constexpr int kPopupPreview = 0, kFullscreenPreview = 1;

}  // namespace

void MainWindow::OnDeviceNotify(WPARAM wParam, LPARAM lParam) {
    auto* device = reinterpret_cast<Device*>(lParam);
    // The device may have been deleted after it posted.
    if (device == nullptr || !devices_.Contains(device)) return;
    const uint16_t argument = HIWORD(wParam);
    switch (LOWORD(wParam)) {
        case kNotifyFrame:
            if (DisplayWindow* display = DisplayWindow::FromHandle(displayWindow_))
                display->FrameArrived(device);
            break;
        case kNotifyState:
            OnStateChanged(device, argument);
            break;
        case kNotifyLevel:
            OnLevel(device, argument);
            break;
        case kNotifySchedule:
            OnScheduleEdge(device, argument);
            break;
    }
}

// One bit at a time: an argument of several bits matches none of the cases.
void MainWindow::OnStateChanged(Device* device, int32_t bit) {
    const int item = ItemOf(device);
    if (item < 0) return;
    const bool on = device->GetState(bit) != 0;
    const bool selected = IsSelected(device);
    switch (bit) {
        case kStatePowered:
        case kStateMonitoring:
            if (selected) {
                SetStateButton(window_, bit, on);
                if (!on) SetLevelMark(window_, 0);
            }
            if (bit == kStatePowered) SetItemIcon(item, ListIcon(device));
            break;
        case kStateAlarm:
            SetItemIcon(item, on ? AlarmIcon(device) : ListIcon(device));
            if (on) OnAlarmStarted(device);
            break;
        case kStatePublished:
        case kStateMaskSet:
        case kStateScheduleRunning:
            if (selected) SetStateButton(window_, bit, on);
            break;
    }
}

// The live view the alarm asks for opens whether or not the device is the selected one.
void MainWindow::OnAlarmStarted(Device* device) {
    if (!device->GetPreview()) return;
    switch (device->GetPreviewKind()) {
        case kPopupPreview:
            PopupWindow::Show(nullptr, device);  // no owner: it stays when the main window hides
            break;
        case kFullscreenPreview:
            ShowFullscreenWindow(window_, device);
            break;
    }
}

// A level of 0 is no detection at all, so it never triggers, even at a Tolerance of 0.
void MainWindow::OnLevel(Device* device, int level) {
    if (IsSelected(device) && LevelMark(window_) != level) SetLevelMark(window_, level);
    if (level > 0 && level >= device->GetTolerance()) device->TriggerAlarm();
}

void MainWindow::OnScheduleEdge(Device* device, uint16_t edge) {
    const bool start = (edge & kScheduleStart) != 0;
    switch (edge & kScheduleActionMask) {
        case kStateMonitoring:
            if (start) {
                if (!device->GetState(kStatePowered)) device->Start();
                if (!device->GetState(kStateMonitoring)) {
                    device->StopDetection();
                    device->StartDetection();
                }
            } else {
                device->StopDetection();
                device->Stop();
            }
            break;
        case kStatePublished:
            if (IsMicrophone(device)) return;  // a microphone has no picture to publish
            if (start) {
                if (!device->GetState(kStatePowered)) device->Start();
                PublishScheduled(device);
            } else {
                Unpublish(device);
                device->Stop();
            }
            break;
    }
}

// A lost device goes at once, and only it: while the devices window is open, the other devices' deleted
// marks are the user's pending choices there, which its Cancel still puts back.
void MainWindow::OnGraphNotify(LPARAM lParam) {
    auto* device = reinterpret_cast<Device*>(lParam);
    if (device == nullptr || !devices_.Contains(device))
        return;  // a recording graph's, or a deleted device's
    if (!device->HandleGraphEvents()) return;
    device->SetDeletedMark(1);
    DeleteMarkedDevices(device);
    ShowDeviceList(devices_.GetSelected());
}

}  // namespace kestrova
