#include "toolkit/tray_icon.h"

#include <cwchar>

namespace kestrova {

NOTIFYICONDATAW& TrayIcon::Record() {
    static NOTIFYICONDATAW record;
    return record;
}

void TrayIcon::Fill(HWND window, HICON icon, const wchar_t* tip) {
    NOTIFYICONDATAW& record = Record();
    record = NOTIFYICONDATAW{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = window;
    record.uID = 0;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = kTrayIconMessage;
    record.hIcon = icon;
    if (tip) std::wcsncpy(record.szTip, tip, kTrayTipLength);  // the last character stays the terminator
}

BOOL TrayIcon::Add(HWND window, HICON icon, const wchar_t* tip) {
    Fill(window, icon, tip);
    return Shell_NotifyIconW(NIM_ADD, &Record());
}

BOOL TrayIcon::Modify(HWND window, HICON icon, const wchar_t* tip) {
    Fill(window, icon, tip);
    return Shell_NotifyIconW(NIM_MODIFY, &Record());
}

BOOL TrayIcon::Delete() {
    return Shell_NotifyIconW(NIM_DELETE, &Record());
}

}  // namespace kestrova
