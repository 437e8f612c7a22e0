// Keys: routing to the focus, their state, turning them into characters, and the dialog keys.

#include <cwctype>

#include "platform/base/clock.h"
#include "platform/base/debug.h"
#include "platform/ui/input.h"
#include "platform/ui/window_tree.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

constexpr LPARAM kKeyUpBits = LPARAM(0xC0000000);
// A key pressed through InjectKey carries the character it made, with the Shift, Ctrl and Caps Lock of that
// moment, above the 32 bits of key data: a backend hands keys over from its own thread, so by the time
// TranslateMessage runs the modifiers may have moved on.
constexpr int kMadeCharacterShift = 32;

bool IsDown(UINT vk) {
    return (DesktopLocked().keys[vk & 0xFF] & 0x80) != 0;
}

// The character a key gives with the current shift state, or 0.
wchar_t CharacterOf(UINT vk, LPARAM lParam) {
    TableLock lock = LockTable();
    bool shift = IsDown(VK_SHIFT), control = IsDown(VK_CONTROL);
    bool caps = (DesktopLocked().keys[VK_CAPITAL] & 0x01) != 0;
    if (vk == VK_PACKET) return wchar_t(HIWORD(uintptr_t(lParam)));
    if (vk >= 'A' && vk <= 'Z') {
        if (control) return wchar_t(vk - 'A' + 1);
        return (shift != caps) ? wchar_t(vk) : wchar_t(std::towlower(wint_t(vk)));
    }
    if (vk >= '0' && vk <= '9') return shift ? L")!@#$%^&*("[vk - '0'] : wchar_t(vk);
    switch (vk) {
        case VK_SPACE:
            return L' ';
        case VK_RETURN:
            return L'\r';
        case VK_BACK:
            return L'\b';
        case VK_TAB:
            return L'\t';
        case VK_ESCAPE:
            return 0x1B;
    }
    return 0;
}

// The tab stops below a window in the order they were made, each child before its own children. A parent
// keeps its newest child on top, first in its list, so the walk reads every list from its end.
void CollectTabStopsLocked(const Window* parent, std::vector<HWND>& stops) {
    for (auto it = parent->children.rbegin(); it != parent->children.rend(); ++it) {
        Window* w = FindWindowLocked(*it);
        if (!w) continue;
        if ((w->style & WS_TABSTOP) && IsShownLocked(w) && IsEnabledChainLocked(w)) stops.push_back(w->handle);
        CollectTabStopsLocked(w, stops);
    }
}

void FocusNextTabStop(HWND dialog, bool backwards) {
    std::vector<HWND> stops;
    HWND focus = GetFocus();
    {
        TableLock lock = LockTable();
        if (const Window* w = FindWindowLocked(dialog)) CollectTabStopsLocked(w, stops);
    }
    if (stops.empty()) return;
    size_t at = stops.size();
    for (size_t i = 0; i < stops.size(); ++i)
        if (stops[i] == focus) at = i;
    size_t next = at == stops.size() ? (backwards ? stops.size() - 1 : 0)
                                     : (at + (backwards ? stops.size() - 1 : 1)) % stops.size();
    SetFocus(stops[next]);
}

}  // namespace

void InjectKey(UINT virtualKey, bool down, wchar_t ch) {
    TableLock lock = LockTable();
    Desktop& d = DesktopLocked();
    uint8_t& state = d.keys[virtualKey & 0xFF];
    if (down) {
        if (!(state & 0x80)) state ^= 0x01;
        state |= 0x80;
    } else {
        state &= uint8_t(~0x80);
    }
    Window* target = FindWindowLocked(d.keyboardGrab);
    if (!target) target = FindWindowLocked(d.focus ? d.focus : d.active);
    if (!target || !IsEnabledChainLocked(target)) return;
    MSG m;
    m.hwnd = target->handle;
    m.message = down ? WM_KEYDOWN : WM_KEYUP;
    m.wParam = virtualKey;
    m.lParam = 1 | (virtualKey == VK_PACKET ? LPARAM(ch) << 16 : 0) | (down ? 0 : kKeyUpBits);
    if (down) m.lParam |= LPARAM(uint32_t(CharacterOf(virtualKey, m.lParam))) << kMadeCharacterShift;
    m.time = DWORD(GetClock().Milliseconds());
    m.pt = d.cursorPos;
    target->queue->Post(m);
}

void SetKeyboardGrab(HWND hwnd) {
    TableLock lock = LockTable();
    DesktopLocked().keyboardGrab = hwnd;
}

}  // namespace kestrova::ui

using namespace kestrova::ui;

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN) return FALSE;
    auto made = wchar_t(uint64_t(msg->lParam) >> kMadeCharacterShift);
    wchar_t ch = made ? made : CharacterOf(UINT(msg->wParam), msg->lParam);
    if (!ch) return FALSE;
    // The character comes next, before anything queued after the key.
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(msg->hwnd);
    if (!w) return FALSE;
    MSG c = *msg;
    c.message = WM_CHAR;
    c.wParam = WPARAM(ch);
    c.lParam = LPARAM(uint64_t(msg->lParam) & 0xFFFFFFFF);
    std::lock_guard<std::mutex> g(w->queue->mutex);
    w->queue->posted.push_front(c);
    w->queue->NoteChangeLocked();
    return TRUE;
}

BOOL IsDialogMessageW(HWND dialog, MSG* msg) {
    if (!msg) return FALSE;
    {
        TableLock lock = LockTable();
        if (!FindWindowLocked(dialog) || !IsSelfOrDescendantLocked(dialog, msg->hwnd)) return FALSE;
    }
    if (msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE || msg->wParam == VK_TAB)) {
        LRESULT wants = SendMessageW(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
        bool taken = (wants & DLGC_WANTALLKEYS) || (msg->wParam == VK_TAB && (wants & DLGC_WANTTAB));
        if (!taken) {
            if (msg->wParam == VK_TAB) {
                FocusNextTabStop(dialog, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
            } else {
                int id = msg->wParam == VK_RETURN ? IDOK : IDCANCEL;
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(uint16_t(id), 0),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
            }
            return TRUE;
        }
    }
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return TRUE;
}

int16_t GetKeyState(int virtualKey) {
    TableLock lock = LockTable();
    uint8_t state = DesktopLocked().keys[virtualKey & 0xFF];
    return int16_t(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

int16_t GetAsyncKeyState(int virtualKey) {
    return int16_t(GetKeyState(virtualKey) & 0x8000);
}

void OutputDebugStringW(const wchar_t* text) {
    if (text) kestrova::DebugOutput(std::wstring_view(text));
}

void OutputDebugStringA(const char* text) {
    if (text) kestrova::DebugOutput(std::string_view(text));
}
