// TrackPopupMenu: the menu and each submenu the user opens are topmost popups of the owner; the first one
// holds the mouse capture and the keyboard for the whole tracking, so a click anywhere and every key reach
// it, while the owner keeps the focus and stays active.

#include <algorithm>
#include <vector>

#include "platform/ui/gdi.h"
#include "platform/ui/input.h"
#include "platform/ui/menu_table.h"
#include "platform/ui/menus.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

constexpr wchar_t kPopupClass[] = L"#32768";
constexpr int kItemHeight = 22;
constexpr int kSeparatorHeight = 7;
constexpr int kBorder = 1;
constexpr int kTextLeft = 26;
constexpr int kTextRightSpace = 30;  // room for a submenu's arrow
constexpr int kMinWidth = 120;

constexpr COLORREF kBackColour = RGB(255, 255, 255);
constexpr COLORREF kBorderColour = RGB(160, 160, 160);
constexpr COLORREF kHotColour = RGB(204, 228, 247);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kGrayedColour = RGB(160, 160, 160);
constexpr COLORREF kSeparatorColour = RGB(215, 215, 215);

bool Selectable(const MenuEntry& e) {
    return !(e.flags & (MF_SEPARATOR | MF_GRAYED));
}

// One open popup: its items, their rows in its client area and the item under the pointer or the keys.
struct Level {
    const std::vector<MenuEntry>* entries = nullptr;
    HWND hwnd = nullptr;
    std::vector<RECT> rows;
    int hot = -1;
};

class Tracker {
public:
    Tracker(std::vector<MenuEntry> entries, UINT flags, HWND owner)
        : entries_(std::move(entries)), flags_(flags), owner_(owner) {
        font_ = CreateFontW(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0,
                            L"Tahoma");
    }
    ~Tracker() {
        while (!levels_.empty()) CloseDeepest();
        DeleteObject(font_);
    }

    // Runs until an item is chosen or the menu is dismissed; the chosen command, 0 for none.
    UINT Run(int x, int y) {
        Open(&entries_, POINT{x, y}, 0);
        SetCapture(levels_.front().hwnd);
        SetKeyboardGrab(levels_.front().hwnd);
        while (!done_) {
            MSG msg;
            BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage(int(msg.wParam));  // the outer loop must still see it
                break;
            }
            if (got < 0) break;
            DispatchMessageW(&msg);
        }
        done_ = true;
        SetKeyboardGrab(nullptr);
        if (!levels_.empty() && GetCapture() == levels_.front().hwnd) ReleaseCapture();
        return chosen_;
    }

    void Paint(HWND hwnd) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (const Level* level = LevelOf(hwnd)) Draw(dc, *level);
        EndPaint(hwnd, &ps);
    }

    void OnMouse(HWND hwnd, UINT message, LPARAM lParam) {
        POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, &screen);
        int depth = LevelAt(screen);
        switch (message) {
            case WM_MOUSEMOVE:
                if (depth >= 0) Hover(depth, ItemAt(depth, screen));
                break;
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
                if (depth < 0) Finish(0);
                break;
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
                if (message == WM_RBUTTONUP && !(flags_ & TPM_RIGHTBUTTON)) break;
                if (depth >= 0) Choose(depth, ItemAt(depth, screen));
                break;
        }
    }

    // Another window took the mouse: the menu goes, as it would when the user clicked elsewhere.
    void OnCaptureLost() {
        if (!done_) Finish(0);
    }

    void OnKey(UINT key) {
        if (done_) return;
        int depth = int(levels_.size()) - 1;
        Level& level = levels_[depth];
        switch (key) {
            case VK_ESCAPE:
                if (depth == 0)
                    Finish(0);
                else
                    CloseDeepest();
                break;
            case VK_LEFT:
                if (depth > 0) CloseDeepest();
                break;
            case VK_UP:
            case VK_DOWN:
                SetHot(depth, NextSelectable(level, key == VK_DOWN ? 1 : -1));
                break;
            case VK_RIGHT:
                if (level.hot >= 0) OpenSubmenu(depth);
                if (int(levels_.size()) > depth + 1) SetHot(depth + 1, NextSelectable(levels_.back(), 1));
                break;
            case VK_RETURN:
                if (level.hot < 0) break;
                if ((*level.entries)[level.hot].flags & MF_POPUP)
                    OnKey(VK_RIGHT);
                else
                    Choose(depth, level.hot);
                break;
        }
    }

private:
    void Open(const std::vector<MenuEntry>* entries, POINT at, int parentItemHeight) {
        Level level;
        level.entries = entries;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ oldFont = SelectObject(dc, font_);
        int width = kMinWidth, y = kBorder;
        for (const MenuEntry& e : *entries) {
            int height = (e.flags & MF_SEPARATOR) ? kSeparatorHeight : kItemHeight;
            level.rows.push_back(RECT{kBorder, y, 0, y + height});
            y += height;
            SIZE extent{};
            GetTextExtentPoint32W(dc, e.text.c_str(), int(e.text.size()), &extent);
            width = std::max(width, kTextLeft + extent.cx + kTextRightSpace);
        }
        SelectObject(dc, oldFont);
        DeleteDC(dc);
        for (RECT& row : level.rows) row.right = width - kBorder;
        int height = y + kBorder;

        // Kept on the screen: a submenu that has no room on the right opens to the left of its parent.
        int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
        if (at.x + width > screenWidth) at.x = levels_.empty() ? screenWidth - width : ParentLeft() - width;
        if (at.y + height > screenHeight) at.y = std::max(0, screenHeight - height - parentItemHeight);
        at.x = std::max(0, at.x);

        levels_.push_back(std::move(level));
        HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kPopupClass, L"",
                                    WS_POPUP, at.x, at.y, width, height, owner_, 0, nullptr, this);
        levels_.back().hwnd = hwnd;
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd);
    }

    int ParentLeft() const {
        RECT r{};
        GetWindowRect(levels_.back().hwnd, &r);
        return r.left;
    }

    void CloseDeepest() {
        HWND hwnd = levels_.back().hwnd;
        levels_.pop_back();
        DestroyWindow(hwnd);
    }

    const Level* LevelOf(HWND hwnd) const {
        for (const Level& level : levels_)
            if (level.hwnd == hwnd) return &level;
        return nullptr;
    }

    // The deepest open popup under a screen point, or -1.
    int LevelAt(POINT screen) const {
        for (int depth = int(levels_.size()) - 1; depth >= 0; --depth) {
            RECT r{};
            GetWindowRect(levels_[depth].hwnd, &r);
            if (screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom)
                return depth;
        }
        return -1;
    }

    int ItemAt(int depth, POINT screen) const {
        const Level& level = levels_[depth];
        ScreenToClient(level.hwnd, &screen);
        for (size_t i = 0; i < level.rows.size(); ++i) {
            const RECT& r = level.rows[i];
            if (screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom)
                return int(i);
        }
        return -1;
    }

    // Makes `item` of the popup at `depth` the hot one: deeper popups close and a submenu opens.
    void Hover(int depth, int item) {
        if (item >= 0 && !Selectable((*levels_[depth].entries)[item])) item = -1;
        while (int(levels_.size()) > depth + 1 && (levels_[depth].hot != item || item < 0)) CloseDeepest();
        SetHot(depth, item);
        if (item >= 0 && int(levels_.size()) == depth + 1) OpenSubmenu(depth);
    }

    void SetHot(int depth, int item) {
        Level& level = levels_[depth];
        if (level.hot == item) return;
        level.hot = item;
        InvalidateRect(level.hwnd, nullptr, FALSE);
        UpdateWindow(level.hwnd);
    }

    void OpenSubmenu(int depth) {
        const Level& level = levels_[depth];
        const MenuEntry& entry = (*level.entries)[level.hot];
        if (!(entry.flags & MF_POPUP) || entry.submenu.empty()) return;
        const RECT& row = level.rows[level.hot];
        POINT at{row.right + kBorder, row.top - kBorder};
        ClientToScreen(level.hwnd, &at);
        Open(&entry.submenu, at, row.bottom - row.top);
    }

    void Choose(int depth, int item) {
        if (item < 0) return;
        const MenuEntry& entry = (*levels_[depth].entries)[item];
        if (!Selectable(entry)) return;
        if (entry.flags & MF_POPUP) {
            Hover(depth, item);
            return;
        }
        Finish(entry.id);
    }

    void Finish(UINT chosen) {
        chosen_ = chosen;
        done_ = true;
    }

    // The next selectable item after the hot one in `step`'s direction, wrapping round; -1 when none.
    static int NextSelectable(const Level& level, int step) {
        int count = int(level.entries->size());
        int at = level.hot < 0 ? (step > 0 ? -1 : count) : level.hot;
        for (int n = 0; n < count; ++n) {
            at = (at + step + count) % count;
            if (Selectable((*level.entries)[at])) return at;
        }
        return -1;
    }

    void Draw(HDC dc, const Level& level) {
        RECT client{};
        GetClientRect(level.hwnd, &client);
        HBRUSH back = CreateSolidBrush(kBackColour), border = CreateSolidBrush(kBorderColour);
        HBRUSH hot = CreateSolidBrush(kHotColour), separator = CreateSolidBrush(kSeparatorColour);
        FillRect(dc, &client, back);
        FrameRect(dc, &client, border);
        HGDIOBJ oldFont = SelectObject(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        for (size_t i = 0; i < level.rows.size(); ++i) {
            const MenuEntry& e = (*level.entries)[i];
            RECT row = level.rows[i];
            if (e.flags & MF_SEPARATOR) {
                RECT line{row.left + 4, (row.top + row.bottom) / 2, row.right - 4,
                          (row.top + row.bottom) / 2 + 1};
                FillRect(dc, &line, separator);
                continue;
            }
            if (int(i) == level.hot) FillRect(dc, &row, hot);
            SetTextColor(dc, (e.flags & MF_GRAYED) ? kGrayedColour : kTextColour);
            RECT text{row.left + kTextLeft, row.top, row.right, row.bottom};
            DrawTextW(dc, e.text.c_str(), int(e.text.size()), &text,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            if (e.flags & MF_POPUP) DrawArrow(dc, row);
        }
        SelectObject(dc, oldFont);
        for (HBRUSH b : {back, border, hot, separator}) DeleteObject(b);
    }

    // A small solid triangle pointing right, at the row's right end.
    static void DrawArrow(HDC dc, const RECT& row) {
        HPEN pen = CreatePen(0, 1, kTextColour);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        int x = row.right - 14, middle = (row.top + row.bottom) / 2;
        for (int dx = 0; dx < 4; ++dx) {
            MoveToEx(dc, x + dx, middle - 3 + dx, nullptr);
            LineTo(dc, x + dx, middle + 4 - dx);
        }
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }

    std::vector<MenuEntry> entries_;
    UINT flags_;
    HWND owner_;
    HFONT font_ = nullptr;
    std::vector<Level> levels_;
    bool done_ = false;
    UINT chosen_ = 0;
};

Tracker* TrackerOf(HWND hwnd) {
    return reinterpret_cast<Tracker*>(GetWindowLongPtrW(hwnd, 0));
}

LRESULT PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            SetWindowLongPtrW(
                hwnd, 0,
                reinterpret_cast<intptr_t>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
            return TRUE;
        case WM_PAINT:
            if (Tracker* t = TrackerOf(hwnd)) t->Paint(hwnd);
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            if (Tracker* t = TrackerOf(hwnd)) t->OnMouse(hwnd, message, lParam);
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (Tracker* t = TrackerOf(hwnd)) t->OnKey(UINT(wParam));
            return 0;
        case WM_CAPTURECHANGED:
            if (Tracker* t = TrackerOf(hwnd); t && HWND(lParam) != hwnd) t->OnCaptureLost();
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterPopupClass() {
    static const bool registered = [] {
        WNDCLASSW wc;
        wc.lpfnWndProc = PopupProc;
        wc.cbWndExtra = sizeof(intptr_t);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kPopupClass;
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace
}  // namespace kestrova::ui

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    std::vector<kestrova::ui::MenuEntry> entries;
    if (!kestrova::ui::CopyMenuEntries(menu, &entries) || entries.empty()) return FALSE;
    kestrova::ui::RegisterPopupClass();
    UINT chosen = kestrova::ui::Tracker(std::move(entries), flags, owner).Run(x, y);
    if (flags & TPM_RETURNCMD) return BOOL(chosen);
    if (chosen && !(flags & TPM_NONOTIFY)) PostMessageW(owner, WM_COMMAND, chosen, 0);
    return TRUE;
}
