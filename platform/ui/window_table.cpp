#include "platform/ui/window_table.h"

#include <algorithm>
#include <cwctype>

#include "platform/ui/handle_table.h"

namespace kestrova::ui {
namespace {

struct Table {
    std::recursive_mutex mutex;
    HandleTable<Window> windows;
    std::vector<std::shared_ptr<const WindowClass>> classes;
    Desktop desktop;
};

// Never destroyed: threads that end after main() still free their windows here.
Table& TheTable() {
    static Table* table = new Table;
    return *table;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(wint_t(x)) == std::towlower(wint_t(y));
           });
}

}  // namespace

TableLock LockTable() {
    return TableLock(TheTable().mutex);
}

Desktop& DesktopLocked() {
    return TheTable().desktop;
}

Window* FindWindowLocked(HWND hwnd) {
    return TheTable().windows.Find(reinterpret_cast<uintptr_t>(hwnd));
}

HWND AddWindowLocked(std::unique_ptr<Window> window) {
    Window* w = window.get();
    w->handle = reinterpret_cast<HWND>(TheTable().windows.Add(std::move(window)));
    return w->handle;
}

void RemoveWindowLocked(HWND hwnd) {
    Window* w = FindWindowLocked(hwnd);
    if (!w) return;
    if (Window* parent = FindWindowLocked(w->parent)) std::erase(parent->children, hwnd);
    Desktop& d = TheTable().desktop;
    std::erase(d.topLevels, hwnd);
    for (HWND* held : {&d.capture, &d.focus, &d.active, &d.moving, &d.lastPressWindow})
        if (*held == hwnd) *held = nullptr;
    TheTable().windows.Remove(reinterpret_cast<uintptr_t>(hwnd));
}

std::vector<Window*> AllWindowsLocked() {
    return TheTable().windows.All();
}

std::shared_ptr<const WindowClass> FindClassLocked(const std::wstring& name) {
    for (auto& c : TheTable().classes)
        if (SameName(c->name, name)) return c;
    return nullptr;
}

bool AddClassLocked(std::shared_ptr<const WindowClass> windowClass) {
    if (FindClassLocked(windowClass->name)) return false;
    TheTable().classes.push_back(std::move(windowClass));
    return true;
}

bool RemoveClassLocked(const std::wstring& name) {
    auto& classes = TheTable().classes;
    auto it = std::find_if(classes.begin(), classes.end(), [&](auto& c) { return SameName(c->name, name); });
    if (it == classes.end()) return false;
    classes.erase(it);
    return true;
}

std::vector<HWND> SelfAndDescendantsLocked(HWND hwnd) {
    std::vector<HWND> found;
    if (!FindWindowLocked(hwnd)) return found;
    found.push_back(hwnd);
    for (size_t i = 0; i < found.size(); ++i)
        if (Window* w = FindWindowLocked(found[i]))
            for (HWND child : w->children) found.push_back(child);
    return found;
}

LRESULT CallWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc;
    {
        TableLock lock = LockTable();
        Window* w = FindWindowLocked(hwnd);
        if (!w || !w->proc) return 0;
        proc = w->proc;
    }
    return proc(hwnd, msg, wParam, lParam);
}

void ForgetWindowsOf(const ThreadQueue* queue) {
    TableLock lock = LockTable();
    for (Window* w : AllWindowsLocked())
        if (w->queue.get() == queue) RemoveWindowLocked(w->handle);
}

}  // namespace kestrova::ui
