#pragma once
// The program's one icon in the desktop's notification area, with a tip. The icon's mouse events reach the
// window it was added for as message kTrayIconMessage, with wParam 0 (the icon's id) and lParam the mouse
// message (WM_LBUTTONDOWN...). The main window adds it when it is made and deletes it when it closes; its
// handler of the message decides what a click does. UI thread only.

#include "platform/shell/notify_icon.h"
#include "platform/ui/types.h"

namespace kestrova {

inline constexpr UINT kTrayIconMessage = 102;
inline constexpr int kTrayTipLength = 63;  // characters of the tip that show; the rest is cut

class TrayIcon {
public:
    // Show the icon for `window`, or change the shown one; each records what it was given (the tip cut to
    // 63 characters) and answers the shell's result.
    static BOOL Add(HWND window, HICON icon, const wchar_t* tip);
    static BOOL Modify(HWND window, HICON icon, const wchar_t* tip);
    // Removes the icon that the last add or modify named.
    static BOOL Delete();

private:
    static NOTIFYICONDATAW& Record();
    static void Fill(HWND window, HICON icon, const wchar_t* tip);
};

}  // namespace kestrova
