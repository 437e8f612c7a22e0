// The main window's end: what it saves and releases when it is destroyed, and the devices it stops before
// the device list deletes them.
#include "app/device_list_file.h"
#include "app/device_serials.h"
#include "app/fullscreen_view.h"
#include "app/main_window.h"
#include "app/own_windows.h"
#include "app/popup_view.h"
#include "app/program_globals.h"
#include "engine/device.h"
#include "net/web_server.h"
#include "platform/ui/messages.h"
#include "toolkit/tray_icon.h"

namespace kestrova {

void MainWindow::OnDestroy() {
    // The live views draw devices: they close before the devices go. Popups have no owner, so nothing
    // else would close them.
    DestroyOwnWindowsOfClass(kPopupWindowClass);
    DestroyOwnWindowsOfClass(kFullscreenWindowClass);

    if (settings_.saveDevListOnExit) DeviceListFile::Save(devices_);
    settings_.Save(storageFolder_);
    StopStreamingServer();
    streaming_.settings.reset();
    TrayIcon::Delete();
    PostQuitMessage(0);
}

MainWindow::~MainWindow() {
    ReleaseDevices();
    if (GetGlobalDeviceList() == &devices_) SetGlobalDeviceList(nullptr);
    if (window_ != nullptr && Globals().mainWindow == window_) Globals() = ProgramGlobals{};
}

// Every device's workers and capture end before the list deletes the devices.
void MainWindow::ReleaseDevices() {
    for (Device* device = devices_.GetHead(); device != nullptr; device = device->GetNext()) {
        if (device->GetState(kStateScheduleRunning)) device->StopSchedule();
        if (device->GetState(kStatePowered)) device->Stop();
        ForgetDeviceSerial(device);
    }
}

}  // namespace kestrova
