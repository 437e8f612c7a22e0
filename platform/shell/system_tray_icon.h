#pragma once
// One icon docked into the X system tray (the freedesktop system-tray protocol): a small window of our own
// that the tray embeds (XEmbed), drawn from the icon's pixels, named by its tip. It has its own connection to
// the display and its own thread, which handles the connection's events and hands mouse events to a
// callback; nothing else touches the connection while that thread runs.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/thread.h"
#include "platform/ui/types.h"

namespace kestrova {

// An icon's pixels, x8r8g8b8 rows top to bottom; empty when the icon has none to show.
struct TrayPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    static TrayPicture FromIcon(HICON icon);
};

enum class DockResult { kDocked, kNoDisplay, kNoTray, kFailed };

class SystemTrayIcon {
public:
    // Receives the mouse message (WM_LBUTTONDOWN...) of each event on the icon, on the icon's thread.
    using MouseHandler = std::function<void(UINT mouseMessage)>;

    // Connects to the display named by $DISPLAY and asks the tray of its default screen to dock the icon.
    static DockResult Dock(const TrayPicture& picture, const std::wstring& tip, MouseHandler onMouse,
                           std::unique_ptr<SystemTrayIcon>& icon);
    // Takes the icon out of the tray and closes the connection; no mouse handler runs after it returns.
    ~SystemTrayIcon();
    SystemTrayIcon(const SystemTrayIcon&) = delete;
    SystemTrayIcon& operator=(const SystemTrayIcon&) = delete;

    void SetPicture(TrayPicture picture);
    void SetTip(std::wstring tip);

    struct Connection;  // the X side, private to the implementation

private:
    SystemTrayIcon(std::unique_ptr<Connection> x, MouseHandler onMouse, int wakeRead, int wakeWrite);
    void Run(StopFlag& stop);
    void ApplyChanges();
    void Wake();

    std::unique_ptr<Connection> x_;
    MouseHandler onMouse_;
    int wakeRead_, wakeWrite_;  // a pipe that wakes the thread for changes and for stopping

    std::mutex mutex_;  // guards the changes waiting for the thread
    bool pictureChanged_ = false, tipChanged_ = false;
    TrayPicture picture_;
    std::wstring tip_;

    Worker thread_;
};

}  // namespace kestrova
