#pragma once
// The table of every window and class of the process. A handle is a table slot and that slot's generation:
// when a window goes, its slot's generation moves on, so an old handle never finds a later window.
// All of it is guarded by one lock; window procedures are always called with the lock released, and only
// the window's own thread removes a window, so that thread may keep a Window* between calls of the table
// but must find the window again by handle after calling any procedure.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ui/messages.h"
#include "platform/ui/thread_queue.h"

namespace kestrova::ui {

struct WindowClass {
    std::wstring name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<const WindowClass> windowClass;
    WNDPROC proc = nullptr;
    std::vector<uint8_t> extra;
    intptr_t userData = 0;
    uintptr_t id = 0;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    HINSTANCE instance = nullptr;
    bool messageOnly = false;
    HWND parent = nullptr;       // set for child windows only
    HWND owner = nullptr;        // set for owned top-level windows only
    std::vector<HWND> children;  // in z-order, topmost first
    std::wstring text;
    RECT rect;  // in the parent's client coordinates, or the screen's for top-level ones
    std::shared_ptr<ThreadQueue> queue;
    bool destroying = false;
};

using TableLock = std::unique_lock<std::recursive_mutex>;

// Takes the table's lock.
TableLock LockTable();

// The live window of `hwnd`, or null. Call with the lock held.
Window* FindWindowLocked(HWND hwnd);
// Places `window` in a free slot and returns its new handle. Call with the lock held.
HWND AddWindowLocked(std::unique_ptr<Window> window);
// Frees the slot of `hwnd`; the handle is stale from here on. Call with the lock held.
void RemoveWindowLocked(HWND hwnd);
// Every live window, in slot order. Call with the lock held.
std::vector<Window*> AllWindowsLocked();

// The class named `name` (names compare without regard to case), or null. Call with the lock held.
std::shared_ptr<const WindowClass> FindClassLocked(const std::wstring& name);
bool AddClassLocked(std::shared_ptr<const WindowClass> windowClass);
bool RemoveClassLocked(const std::wstring& name);

// `hwnd` and every window below it. Call with the lock held.
std::vector<HWND> SelfAndDescendantsLocked(HWND hwnd);

// Calls the window's procedure on the calling thread; 0 when the window is gone.
LRESULT CallWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Frees every window of a thread that has ended, without calling their procedures.
void ForgetWindowsOf(const ThreadQueue* queue);

}  // namespace kestrova::ui
