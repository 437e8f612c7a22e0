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
#include "platform/ui/region.h"
#include "platform/ui/thread_queue.h"

namespace kestrova::ui {

struct WindowClass {
    std::wstring name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

class Surface;

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
    bool iconic = false;
    HFONT font = nullptr;           // as WM_SETFONT left it
    std::unique_ptr<Region> shape;  // the window region (window coordinates), or none for the whole window
    Region update;                  // what needs painting, in client coordinates
    bool eraseNeeded = false;
    std::shared_ptr<Surface> surface;  // top-level windows only: the pixels of the window and its children

    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
    bool IsTopLevel() const { return !parent && !messageOnly; }
};

// What the desktop shares between all windows: the order of the top-level windows, the screen, and the state
// of the mouse and the keyboard. Guarded by the table's lock.
struct Desktop {
    std::vector<HWND> topLevels;  // z-order, topmost first; message-only windows are not in it
    int screenWidth = 1280;
    int screenHeight = 1024;
    POINT cursorPos;
    HWND capture = nullptr;
    HWND focus = nullptr;
    HWND keyboardGrab = nullptr;  // a tracking menu, which takes the keys from the focus while it shows
    HWND active = nullptr;
    int cursorCount = 0;
    HCURSOR cursor = nullptr;
    uint8_t keys[256] = {};  // bit 0x80: down, bit 0x01: toggled
    uint32_t buttons = 0;    // MK_LBUTTON, MK_RBUTTON, MK_MBUTTON held
    // The last button press, for double clicks.
    HWND lastPressWindow = nullptr;
    UINT lastPressMessage = 0;
    uint64_t lastPressMs = 0;
    POINT lastPressPos;
    // A top-level window being dragged by its caption, and where it was grabbed (window coordinates).
    HWND moving = nullptr;
    POINT moveGrab;
};

using TableLock = std::unique_lock<std::recursive_mutex>;

// Takes the table's lock.
TableLock LockTable();
// The desktop. Call with the lock held.
Desktop& DesktopLocked();

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
