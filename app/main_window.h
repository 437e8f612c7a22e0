#pragma once
// The program's one main window, class BKV2MainWndClass: a skinned, borderless 500 x 673 popup with three
// caption buttons, the display window, nine device and program buttons, the "Tolerance" and "Sensitivity"
// sliders and the owner-drawn device list. It owns the notification-area icon, the program settings and the
// device list, and it is the notify window of every device. User-interface thread only.
//
// Its pieces, one concern a file: creation, layout and painting (main_window_create.cpp); the device list box
// and the selection (main_window_list.cpp); the caption buttons, the menu, the tooltips and the icon
// (main_window_menu.cpp); device and capture-graph notifications (main_window_notify.cpp); the streaming
// server's life (main_window_streaming.cpp); the commands of the buttons, sliders and list
// (main_window_commands.cpp, with the property records in main_window_records.cpp and the refusals and
// hints in main_window_refusals.cpp); destruction (main_window_destroy.cpp); restoring "DevList.db" and
// adding USB cameras (main_window_restore.cpp). What they share about the controls is in
// main_window_controls.h.

#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app_settings.h"
#include "app/windows/stream_settings.h"
#include "engine/device_list.h"
#include "platform/base/text.h"
#include "platform/ui/messages.h"
#include "platform/ui/owner_draw.h"
#include "toolkit/gdi_object.h"
#include "toolkit/notify.h"

namespace kestrova {

class DeviceSettings;

inline constexpr wchar_t kMainWindowClass[] = L"BKV2MainWndClass";
inline constexpr wchar_t kMainWindowTitle[] = L"BRANTLOW Kestrova";
inline constexpr int kMainWindowWidth = 500, kMainWindowHeight = 673;

// The controls.
inline constexpr int kMainCloseButtonId = 1026;
inline constexpr int kHideButtonId = 1027;
inline constexpr int kMenuButtonId = 1028;
inline constexpr int kDisplayId = 1029;
inline constexpr int kPowerButtonId = 1030;  // the five state buttons run 1030..1034
inline constexpr int kAlarmButtonId = 1031;
inline constexpr int kStreamingButtonId = 1032;
inline constexpr int kMaskingButtonId = 1033;
inline constexpr int kSchedulingButtonId = 1034;
inline constexpr int kDisplayPropertiesButtonId = 1035;
inline constexpr int kDevicePropertiesButtonId = 1036;
inline constexpr int kDeviceListButtonId = 1037;
inline constexpr int kSettingsButtonId = 1038;
inline constexpr int kToleranceSliderId = 1039;
inline constexpr int kSensitivitySliderId = 1040;
inline constexpr int kDeviceListBoxId = 1041;

// The list items' state icons.
inline constexpr int kCameraOffIcon = 5654, kCameraPoweredIcon = 5655, kCameraAlarmIcon = 5656;
inline constexpr int kMicrophoneOffIcon = 5657, kMicrophonePoweredIcon = 5664, kMicrophoneAlarmIcon = 5665;

// How the window starts: "/min" as the first argument, exactly, keeps it hidden in the notification area.
enum class WindowStart { kShown, kHidden };
WindowStart StartFromArguments(int argc, const char* const* argv);

BOOL RegisterMainWindowClass();
// Creates the main window (which restores the program's state as it is created), shows or hides it, and
// returns it; null when it cannot be made.
HWND CreateMainWindow(WindowStart start);

class MainWindow {
public:
    MainWindow() = default;
    MainWindow(HWND window, const CREATESTRUCTW& create);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The object of a main window, or null.
    static MainWindow* FromHandle(HWND window);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND GetHandle() const { return window_; }
    void SetHandle(HWND window) { window_ = window; }
    HWND GetDisplayWindow() const { return displayWindow_; }
    void SetDisplayWindow(HWND window) { displayWindow_ = window; }
    // Ends in "/"; empty while there is none.
    const std::wstring& GetStorageFolder() const { return storageFolder_; }
    // What every device the program creates is given: the 640 x 480 frame size, this window and the display
    // to report to, and the storage folder.
    template <class Params>
    void FillNewDeviceParams(Params& params) const {
        params.frameSize = 2;
        params.displayWindow = GetDisplayWindow();
        params.notifyWindow = GetHandle();
        CopyWide(GetStorageFolder(), params.storageFolder, std::size(params.storageFolder) - 1);
    }
    void SetStorageFolder(std::wstring folder) { storageFolder_ = std::move(folder); }
    // Destroyed, with every device, with the window's object.
    DeviceList& GetDeviceList() { return devices_; }
    AppSettings& GetSettings() { return settings_; }

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

    // Deletes the devices marked deleted, fills the list box anew (cameras first, then microphones, each in
    // list order), selects the device selected before (or the first) and focuses the list box.
    void RefreshDeviceList();
    // Makes the list box's current item the selected device and shows it: display, sliders, state buttons.
    void SelectDevice();
    // Replaces the streaming server as a whole: numbers the published devices 1..n down the list and starts
    // a new server for them; none when nothing is published, and then the settings are forgotten so that the
    // next Streaming press asks for them again. Scheduled starts keep the last confirmed settings.
    void RestartStreamingServer();
    // What the streaming window edits; its settings are the running server's, or none.
    StreamingSetup& GetStreamingSetup() { return streaming_; }
    bool IsStreaming() const { return webServer_ != nullptr; }

private:
    // Creation (main_window_create.cpp).
    void OnCreate();
    void CreateControls();
    void OnPaint();
    void OnCommand(int id, int code);

    // The device list box (main_window_list.cpp).
    static LRESULT DeviceListBox(HWND list, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void FillListBox();
    void ShowStateOf(Device* device);
    void ShowNoDevice();
    // The list box's item of the device, or -1. Items are told apart by their device: names are unique only
    // up to case, and the list box compares text without it.
    int ItemOf(const Device* device) const;
    void SetItemIcon(int item, int icon);
    // Deletes the marked devices (all of them, or only `only`); restarts the server when one was published.
    void DeleteMarkedDevices(const Device* only);
    void ShowDeviceList(Device* remembered);
    bool IsSelected(const Device* device) const { return device == devices_.GetSelected(); }

    // Caption buttons, menu, tooltips, notification-area icon (main_window_menu.cpp).
    void OnCaptionButton(int id);
    void OnMenuCommand(int id);
    void OpenStreamingPage();
    void OnNotify(const NMHDR& header);
    void OnTrayIcon(LPARAM mouseMessage);

    // Device notifications (main_window_notify.cpp).
    void OnDeviceNotify(WPARAM wParam, LPARAM lParam);
    void OnStateChanged(Device* device, int32_t bit);
    void OnAlarmStarted(Device* device);
    void OnLevel(Device* device, int level);
    void OnScheduleEdge(Device* device, uint16_t edge);
    void OnGraphNotify(LPARAM lParam);

    // The streaming server (main_window_streaming.cpp).
    void OnServerState(WPARAM listening);
    // Publishes the device on a new server with the setup's settings, or with the last confirmed ones when
    // there are none now; without either nothing is published.
    void PublishScheduled(Device* device);
    void Unpublish(Device* device);
    void StopStreamingServer();

    // The commands (main_window_commands.cpp).
    bool OnDeviceCommand(int id, int code);
    void OnPower();
    void OnAlarm();
    void OnStreaming();
    void OnMasking();
    void OnScheduling();
    void OnDeviceProperties();
    void OnDisplayProperties();
    void OnDeviceList();
    void OnSettings();
    void OnSlider(int id);

    // The property records (main_window_records.cpp): each opens its window on a copy out of the device and,
    // after OK, writes the copy back when the device is still listed. 1 when it was written.
    int EditPowerSettings(Device* device);
    int EditAlarmActions(Device* device);
    int EditMasks(Device* device);
    int EditSchedule(Device* device);

    // The refusals, questions and hints of the commands (main_window_refusals.cpp).
    Device* SelectedOrRefuse();
    bool ScheduleMayStop(Device* device);
    void RefusePowerOff();
    void RefuseUnsupported();
    void ShowHint(const wchar_t* flag, const wchar_t* text);

    // Destruction (main_window_destroy.cpp).
    void OnDestroy();
    void ReleaseDevices();

    HWND window_ = nullptr;
    HWND displayWindow_ = nullptr;
    std::wstring storageFolder_;
    DeviceList devices_;
    AppSettings settings_;
    toolkit::OwnedGdiObject font_;
    WNDPROC previousListProc_ = nullptr;
    std::vector<Device*> listed_;  // the device of each list box item, in item order
    StreamingSetup streaming_;
    std::unique_ptr<WebServer> webServer_;
    std::unique_ptr<WebServerSettings> lastStreaming_;  // the last confirmed settings, for scheduled starts
};

}  // namespace kestrova
