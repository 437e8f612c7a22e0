// What the main window's commands say before they act or instead of acting: the refusals with their fixed
// texts, the question before a running schedule is stopped, and the hints the user may turn off.
#include "app/main_window.h"
#include "app/main_window_controls.h"
#include "app/registry_values.h"
#include "engine/device.h"
#include "toolkit/message_box.h"

namespace kestrova {
namespace {

constexpr int kModal = 1;
constexpr int kAnswerMask = 0xFF;    // the button pressed
constexpr int kTickedMask = 0xFF00;  // any bit here: "Don't show again" was ticked

}  // namespace

Device* MainWindow::SelectedOrRefuse() {
    Device* device = devices_.GetSelected();
    if (device == nullptr) {
        ShowMessageEx(
            window_,
            L"Device list is empty.\n \nTo add devices into the list, click on the Device List button "
            L"or double click on the device list.",
            kMessageOkStyle, kMessageInformation, kModal);
    }
    return device;
}

// Yes stops the schedule and lets the command go on; any other answer ends the command. The device may
// go while the question is open.
bool MainWindow::ScheduleMayStop(Device* device) {
    if (!device->GetState(kStateScheduleRunning)) return true;
    const HeldDevice held(device);
    const int answer = ShowMessageEx(
        window_, L"Schedule is currently running. Do you want to stop the schedule for this device?",
        kMessageYesNoStyle, kMessageQuestion, kModal);
    if ((answer & kAnswerMask) != kMessageYes || !held.StillListed()) return false;
    device->StopSchedule();
    return true;
}

void MainWindow::RefusePowerOff() {
    ShowMessageEx(window_,
                  L"You must power on the device.\n \nTo power on the device, click on the Power button.",
                  kMessageOkStyle, kMessageInformation, kModal);
}

void MainWindow::RefuseUnsupported() {
    ShowMessageEx(window_, L"Not supported for this device.", kMessageOkStyle, kMessageInformation, kModal);
}

void MainWindow::ShowHint(const wchar_t* flag, const wchar_t* text) {
    if (!ReadHintFlag(flag)) return;
    const int result =
        ShowMessageEx(window_, text, kMessageOkStyle | kMessageDontShowAgain, kMessageInformation, kModal);
    if (result & kTickedMask) TurnOffHint(flag);
}

}  // namespace kestrova
