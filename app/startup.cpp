#include "app/startup.h"

#include "app/display_window.h"
#include "app/fullscreen_view.h"
#include "app/instance_requests.h"
#include "app/main_window.h"
#include "app/popup_view.h"
#include "app/program_pages.h"
#include "app/registry_values.h"
#include "app/windows/about_window.h"
#include "app/windows/alarm_window.h"
#include "app/windows/dev_ip_window.h"
#include "app/windows/device_prop_window.h"
#include "app/windows/devices_window.h"
#include "app/windows/display_prop_window.h"
#include "app/windows/email_window.h"
#include "app/windows/mask_window.h"
#include "app/windows/power_window.h"
#include "app/windows/schedule_window.h"
#include "app/windows/settings_window.h"
#include "app/windows/stream_window.h"
#include "app/termination_signals.h"
#include "engine/recording_filters.h"
#include "engine/tcp_socket.h"
#include "net/alarm_mailer.h"
#include "platform/base/debug.h"
#include "platform/shell/keep_awake.h"
#include "platform/ui/windows.h"
#include "toolkit/message_box.h"
#include "toolkit/toolkit.h"

namespace kestrova {
namespace {

constexpr wchar_t kCaption[] = L"Kestrova";

// The property windows answer their class atom; 0 is a failure.
template <uint16_t (*registerClass)()>
BOOL Registered() {
    return registerClass() != 0;
}

// In the order the program has always registered them.
using ClassRegistration = BOOL (*)();
constexpr ClassRegistration kWindowClasses[] = {
    RegisterMessageExWindowClass,
    RegisterMainWindowClass,
    Registered<RegisterPowerWindowClass>,
    Registered<RegisterAlarmWindowClass>,
    Registered<RegisterStreamWindowClass>,
    Registered<RegisterMaskWindowClass>,
    Registered<RegisterScheduleWindowClass>,
    RegisterDisplayWindowClass,
    Registered<RegisterDevicesWindowClass>,
    Registered<RegisterDevIPWindowClass>,
    Registered<RegisterDisplayPropWindowClass>,
    Registered<RegisterDevicePropWindowClass>,
    Registered<RegisterSettingsWindowClass>,
    Registered<RegisterEmailWindowClass>,
    Registered<RegisterAboutWindowClass>,
    RegisterFullscreenWindowClass,
    RegisterPopupWindowClass,
};

void ReportStartFailure(const wchar_t* text) {
    MessageBoxW(nullptr, text, kCaption, MB_ICONHAND);
}

}  // namespace

BOOL RegisterWindowClasses() {
    for (ClassRegistration registerClass : kWindowClasses) {
        if (!registerClass()) return FALSE;
    }
    return TRUE;
}

bool BecomeTheRunningInstance(InstanceRequests& requests, std::unique_ptr<InstanceChannel>& channel) {
    const auto handler = [&requests](InstanceRequest request) { requests.Take(request); };
    switch (InstanceChannel::Claim(handler, channel)) {
        case ClaimResult::kClaimed:
            return true;
        case ClaimResult::kFailed:
            DebugOutput("Instance: running without the single-instance guard");
            return true;
        case ClaimResult::kTaken:
            break;
    }
    const int answer = ShowMessageEx(nullptr, kRestartQuestion, kMessageYesNoStyle, kMessageQuestion, 1);
    if ((answer & 0xFF) != kMessageYes) {
        InstanceChannel::Send(InstanceRequest::kShow);
        return false;
    }
    InstanceChannel::Send(InstanceRequest::kClose);
    if (InstanceChannel::ClaimWhenFree(handler, kRestartWaitMs, channel) != ClaimResult::kTaken) return true;
    ShowMessageEx(nullptr, kStillRunningMessage, kMessageOkStyle, kMessageError, 1);
    return false;
}

void RecordFirstRun() {
    std::unique_ptr<RegistryKey> key;
    if (OpenFirstRunKey(key) != kRegistryOk) return;
    if (RegReadBool(*key, kFirstRunValue, 0) != 0) return;
    RegWriteDword(*key, kFirstRunValue, 1);
    OpenProgramPage(ProgramPage::kWelcome);
}

int WinMain(int argc, const char* const* argv) {
    InstanceRequests requests;
    // Before any thread starts, so that the signals reach only the thread that waits for them.
    TerminationSignals signals(requests);
    if (!InitToolkit()) {
        ReportStartFailure(L"ERROR: Failed to initialize toolkit");
        return 0;
    }
    if (!RegisterWindowClasses()) {
        ReportStartFailure(L"ERROR: Failed to initialize the window classes");
        return 0;
    }
    std::unique_ptr<InstanceChannel> channel;
    if (!BecomeTheRunningInstance(requests, channel)) return 0;
    RecordFirstRun();
    // Recordings need the filters; everything else works without them.
    if (!CheckRecordingFilters())
        ShowMessageEx(nullptr, kFiltersMissingMessage, kMessageOkStyle, kMessageError, 1);
    StartNetworking();
    // Before any device can raise an alarm: the engine mails its photos through the network services.
    InstallAlarmMailer();

    HWND window = CreateMainWindow(StartFromArguments(argc, argv));
    if (window == nullptr) {
        ReportStartFailure(L"Failed to create the main window");
        StopNetworking();
        return 0;
    }
    requests.Attach(window);
    KeepSystemAwake(true);
    RunMessageLoop(requests);

    StopNetworking();
    KeepSystemAwake(false);
    return 0;
}

}  // namespace kestrova
