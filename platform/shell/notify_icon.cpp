#include "platform/shell/notify_icon.h"

#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "platform/base/debug.h"
#include "platform/shell/system_tray_icon.h"
#include "platform/ui/messages.h"

namespace kestrova {
namespace {

using IconKey = std::pair<HWND, UINT>;

struct ShownIcon {
    UINT callbackMessage = 0;  // 0: the window asked for no callback
    std::unique_ptr<SystemTrayIcon> tray;
};

std::mutex g_mutex;  // guards the shown icons and the handler
std::map<IconKey, ShownIcon> g_icons;
NotifyIconHandler g_handler;

std::wstring TipOf(const NOTIFYICONDATAW& data) {
    // The record need not hold a terminator: the tip ends at the field's end at the latest.
    const size_t capacity = sizeof data.szTip / sizeof data.szTip[0] - 1;
    return std::wstring(data.szTip, wcsnlen(data.szTip, capacity));
}

// Runs on the icon's thread: the window hears of the event through its queue.
void PostMouse(IconKey key, UINT mouseMessage) {
    UINT callback = 0;
    {
        std::lock_guard<std::mutex> g(g_mutex);
        auto it = g_icons.find(key);
        if (it == g_icons.end()) return;
        callback = it->second.callbackMessage;
    }
    if (callback) PostMessageW(key.first, callback, WPARAM(key.second), LPARAM(mouseMessage));
}

BOOL Add(const NOTIFYICONDATAW& data) {
    const IconKey key{data.hWnd, data.uID};
    {
        std::lock_guard<std::mutex> g(g_mutex);
        if (g_icons.count(key)) return FALSE;
    }
    const TrayPicture picture = data.uFlags & NIF_ICON ? TrayPicture::FromIcon(data.hIcon) : TrayPicture{};
    const std::wstring tip = data.uFlags & NIF_TIP ? TipOf(data) : std::wstring();
    std::unique_ptr<SystemTrayIcon> tray;
    switch (SystemTrayIcon::Dock(
        picture, tip, [key](UINT mouse) { PostMouse(key, mouse); }, tray)) {
        case DockResult::kNoDisplay:
            DebugOutput("Notification area: no X display, the icon is not shown");
            return FALSE;
        case DockResult::kNoTray:
            DebugOutput("Notification area: no system tray on the display, the icon is not shown");
            return FALSE;
        case DockResult::kFailed:
            DebugOutput("Notification area: out of descriptors, the icon is not shown");
            return FALSE;
        case DockResult::kDocked:
            break;
    }
    std::unique_ptr<SystemTrayIcon> loser;  // a racing add of the same icon; it goes outside the lock
    std::lock_guard<std::mutex> g(g_mutex);
    auto [it, added] = g_icons.try_emplace(key);
    if (!added) {
        loser = std::move(tray);
        return FALSE;
    }
    it->second.callbackMessage = data.uFlags & NIF_MESSAGE ? data.uCallbackMessage : 0;
    it->second.tray = std::move(tray);
    return TRUE;
}

BOOL Modify(const NOTIFYICONDATAW& data) {
    std::lock_guard<std::mutex> g(g_mutex);
    auto it = g_icons.find({data.hWnd, data.uID});
    if (it == g_icons.end()) return FALSE;
    if (data.uFlags & NIF_MESSAGE) it->second.callbackMessage = data.uCallbackMessage;
    if (data.uFlags & NIF_ICON) it->second.tray->SetPicture(TrayPicture::FromIcon(data.hIcon));
    if (data.uFlags & NIF_TIP) it->second.tray->SetTip(TipOf(data));
    return TRUE;
}

BOOL Delete(const NOTIFYICONDATAW& data) {
    std::unique_ptr<SystemTrayIcon> tray;
    {
        std::lock_guard<std::mutex> g(g_mutex);
        auto it = g_icons.find({data.hWnd, data.uID});
        if (it == g_icons.end()) return FALSE;
        tray = std::move(it->second.tray);
        g_icons.erase(it);
    }
    // Outside the lock: the icon's thread may be waiting for it to post a last mouse event.
    tray.reset();
    return TRUE;
}

BOOL DesktopNotifyIcon(DWORD message, const NOTIFYICONDATAW& data) {
    switch (message) {
        case NIM_ADD:
            return Add(data);
        case NIM_MODIFY:
            return Modify(data);
        case NIM_DELETE:
            return Delete(data);
        default:
            return FALSE;
    }
}

}  // namespace

NotifyIconHandler SetNotifyIconHandler(NotifyIconHandler handler) {
    std::lock_guard<std::mutex> g(g_mutex);
    std::swap(g_handler, handler);
    return handler;
}

}  // namespace kestrova

BOOL Shell_NotifyIconW(DWORD message, const NOTIFYICONDATAW* data) {
    if (!data) return FALSE;
    kestrova::NotifyIconHandler handler;
    {
        std::lock_guard<std::mutex> g(kestrova::g_mutex);
        handler = kestrova::g_handler;
    }
    return handler ? handler(message, *data) : kestrova::DesktopNotifyIcon(message, *data);
}
