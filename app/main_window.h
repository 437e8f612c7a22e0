#pragma once
// The program's one main window. The window itself (controls, painting, commands, device notifications)
// is built around this object; what stands here is what the window keeps for creating devices at its
// creation: its own handle (every device's notify window), the display window, the storage folder and the
// device list it owns, with the functions that restore "DevList.db" and add the attached USB cameras.
// User-interface thread only.

#include <string>
#include <utility>

#include "engine/device_list.h"
#include "platform/ui/types.h"

namespace kestrova {

class DeviceSettings;

class MainWindow {
public:
    MainWindow() = default;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND GetHandle() const { return window_; }
    void SetHandle(HWND window) { window_ = window; }
    HWND GetDisplayWindow() const { return displayWindow_; }
    void SetDisplayWindow(HWND window) { displayWindow_ = window; }
    // Ends in "/"; empty while there is none.
    const std::wstring& GetStorageFolder() const { return storageFolder_; }
    void SetStorageFolder(std::wstring folder) { storageFolder_ = std::move(folder); }
    // Destroyed, with every device, with the window's object.
    DeviceList& GetDeviceList() { return devices_; }

    // Devices restored from "DevList.db" and added here come up powered off. Restore first, then add the
    // remaining USB cameras, so that a restored camera keeps its record and is not added twice.
    //
    // Recreates the device of every record of the file, in file order; a missing or damaged file restores
    // nothing. A USB camera or microphone that is not attached now is left out.
    void RestoreDevices();
    // Each adds the one attached device whose key is the record's and that is not listed yet, and applies
    // the record to it; a record without a key matches no device. A device that cannot be opened now is
    // left out, here and in AddUsbVideoDevices.
    void RestoreMicrophone(const DeviceSettings& record);
    void RestoreUsbCamera(const DeviceSettings& record);
    // Adds the record's camera, whether or not it can be reached.
    void RestoreIpCamera(const DeviceSettings& record);
    // Adds every attached USB camera that is not listed yet, with its default settings.
    void AddUsbVideoDevices();

private:
    HWND window_ = nullptr;
    HWND displayWindow_ = nullptr;
    std::wstring storageFolder_;
    DeviceList devices_;
};

}  // namespace kestrova
