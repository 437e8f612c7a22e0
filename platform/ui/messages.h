#pragma once
// The message core: window classes, windows, per-thread queues and timers on the installed clock.
// PostMessage may be called from any thread; a window's messages are handled on the thread that created it.

#include "platform/ui/types.h"

struct WNDCLASSW {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;  // extra bytes per window, read and written by Get/SetWindowLongPtr
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;       // shown while the mouse is over a window of the class
    HBRUSH hbrBackground = nullptr;  // what DefWindowProcW erases with; none leaves the background alone
    const wchar_t* lpszMenuName = nullptr;
    const wchar_t* lpszClassName = nullptr;
};

struct WNDCLASSEXW {
    UINT cbSize = sizeof(WNDCLASSEXW);
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    const wchar_t* lpszMenuName = nullptr;
    const wchar_t* lpszClassName = nullptr;
    HICON hIconSm = nullptr;
};

inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;
inline constexpr UINT CS_DBLCLKS = 0x0008;  // a second click soon after the first comes as a double click

// Registers a class; returns 0 when the name is taken or the class is incomplete.
uint16_t RegisterClassW(const WNDCLASSW* wc);
uint16_t RegisterClassExW(const WNDCLASSEXW* wc);
BOOL UnregisterClassW(const wchar_t* className, HINSTANCE instance);
// The class name of a window, cut to fit `capacity` characters with the terminator; the length copied.
int GetClassNameW(HWND hwnd, wchar_t* buffer, int capacity);

struct CREATESTRUCTW {
    void* lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0, cx = 0, y = 0, x = 0;
    uint32_t style = 0;
    const wchar_t* lpszName = nullptr;
    const wchar_t* lpszClass = nullptr;
    uint32_t dwExStyle = 0;
};

// Creates a window of a registered class; parent HWND_MESSAGE makes a message-only window. The class
// procedure receives WM_NCCREATE and WM_CREATE (lParam = CREATESTRUCTW*) before this returns; a
// WM_NCCREATE result of 0 or a WM_CREATE result of -1 destroys the window and returns null.
HWND CreateWindowExW(uint32_t exStyle, const wchar_t* className, const wchar_t* windowName, uint32_t style,
                     int x, int y, int width, int height, HWND parent, uintptr_t menuOrId, HINSTANCE instance,
                     void* param);
// Destroys the windows it owns, sends WM_DESTROY, destroys its children the same way, sends WM_NCDESTROY,
// removes its timers and queued messages and frees the handle. Only the window's own thread may destroy it;
// a call while the window is already being destroyed does nothing more.
BOOL DestroyWindow(HWND hwnd);
// True while the handle names a live window; a handle of a destroyed window stays invalid for ever.
BOOL IsWindow(HWND hwnd);

// The window's extra bytes, addressed by byte offset (multiples of 8 for pointer-sized values).
intptr_t GetWindowLongPtrW(HWND hwnd, int index);
intptr_t SetWindowLongPtrW(HWND hwnd, int index, intptr_t value);

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Calls `proc` (a procedure replaced through GWLP_WNDPROC passes on to the one it replaced).
LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Queues a message for the window's thread (hwnd null: for the calling thread). False when the handle is
// not a live window.
BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageW(uint64_t threadId, UINT msg, WPARAM wParam, LPARAM lParam);
namespace kestrova::ui {
// PostMessageW for news that the window's thread need not act on at once: a loop waiting on the thread's
// queue may sleep on for up to `withinMs` and take the message with whatever wakes it first, so that many
// such messages cost the thread one wake-up (0: at once, as PostMessageW). Order with every other message is
// kept.
BOOL PostUnhurriedMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, uint32_t withinMs);
}  // namespace kestrova::ui
// Calls the window procedure and returns its result; from another thread, waits until the window's thread
// handles it (while waiting, the sender still handles messages sent to its own windows).
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Blocks until a message is there; returns 0 for WM_QUIT, -1 on error, else non-zero. A window filter takes
// the window's messages and those of its descendants; a range of 0, 0 takes every message.
BOOL GetMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;
BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
LRESULT DispatchMessageW(const MSG* msg);
BOOL TranslateMessage(const MSG* msg);
void PostQuitMessage(int exitCode);
// The calling thread's id, as PostThreadMessageW takes it.
uint64_t GetCurrentThreadId();

// Timers fire WM_TIMER (wParam = id, lParam = proc) on the installed clock; setting an existing id restarts
// it. Without a window the timer belongs to the calling thread and gets a fresh id unless `id` names one of
// its own. A timer that falls behind fires once, then again a full period after it was taken.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
