#include "platform/ui/window_table.h"

#include <algorithm>
#include <cwctype>

namespace kestrova::ui {
namespace {

struct Slot {
    uint32_t generation = 1;
    std::unique_ptr<Window> window;
};

struct Table {
    std::recursive_mutex mutex;
    std::vector<Slot> slots;
    std::vector<uint32_t> freeSlots;
    std::vector<std::shared_ptr<const WindowClass>> classes;
    Desktop desktop;
};

// Never destroyed: threads that end after main() still free their windows here.
Table& TheTable() {
    static Table* table = new Table;
    return *table;
}

// Slot index + 1 in the low half (so no handle is null or one of the small special values), generation in
// the high half.
HWND MakeHandle(uint32_t index, uint32_t generation) {
    return reinterpret_cast<HWND>((uintptr_t(generation) << 32) | (uintptr_t(index) + 1));
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
    uintptr_t value = reinterpret_cast<uintptr_t>(hwnd);
    uint32_t index = uint32_t(value & 0xFFFFFFFF);
    uint32_t generation = uint32_t(value >> 32);
    Table& t = TheTable();
    if (index == 0 || index > t.slots.size()) return nullptr;
    Slot& slot = t.slots[index - 1];
    if (slot.generation != generation || !slot.window) return nullptr;
    return slot.window.get();
}

HWND AddWindowLocked(std::unique_ptr<Window> window) {
    Table& t = TheTable();
    uint32_t index;
    if (!t.freeSlots.empty()) {
        index = t.freeSlots.back();
        t.freeSlots.pop_back();
    } else {
        index = uint32_t(t.slots.size());
        t.slots.emplace_back();
    }
    Slot& slot = t.slots[index];
    window->handle = MakeHandle(index, slot.generation);
    slot.window = std::move(window);
    return slot.window->handle;
}

void RemoveWindowLocked(HWND hwnd) {
    Window* w = FindWindowLocked(hwnd);
    if (!w) return;
    if (Window* parent = FindWindowLocked(w->parent)) std::erase(parent->children, hwnd);
    Table& t = TheTable();
    std::erase(t.desktop.topLevels, hwnd);
    for (HWND* held : {&t.desktop.capture, &t.desktop.focus, &t.desktop.active, &t.desktop.moving,
                       &t.desktop.lastPressWindow})
        if (*held == hwnd) *held = nullptr;
    uint32_t index = uint32_t(reinterpret_cast<uintptr_t>(hwnd) & 0xFFFFFFFF) - 1;
    Slot& slot = t.slots[index];
    slot.window.reset();
    // A slot whose generation would wrap is retired rather than reused.
    if (++slot.generation != 0) t.freeSlots.push_back(index);
}

std::vector<Window*> AllWindowsLocked() {
    std::vector<Window*> all;
    for (Slot& slot : TheTable().slots)
        if (slot.window) all.push_back(slot.window.get());
    return all;
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
