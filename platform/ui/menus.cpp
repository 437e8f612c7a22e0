#include "platform/ui/menus.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "platform/ui/handle_table.h"
#include "platform/ui/menu_table.h"

namespace kestrova::ui {
namespace {

struct MenuItem {
    UINT flags = 0;
    UINT id = 0;
    HMENU submenu = nullptr;
    std::wstring text;
};

struct Menu {
    std::vector<MenuItem> items;
};

std::mutex& MenusLock() {
    static std::mutex lock;
    return lock;
}

HandleTable<Menu>& Menus() {
    static HandleTable<Menu> table;
    return table;
}

Menu* FindLocked(HMENU menu) {
    return Menus().Find(reinterpret_cast<uintptr_t>(menu));
}

HMENU AddMenu() {
    std::lock_guard hold(MenusLock());
    return reinterpret_cast<HMENU>(Menus().Add(std::make_unique<Menu>()));
}

void DestroyLocked(HMENU menu) {
    std::unique_ptr<Menu> gone = Menus().Remove(reinterpret_cast<uintptr_t>(menu));
    if (!gone) return;
    for (const MenuItem& item : gone->items)
        if (item.submenu) DestroyLocked(item.submenu);
}

bool CopyLocked(HMENU menu, std::vector<MenuEntry>* out) {
    const Menu* found = FindLocked(menu);
    if (!found) return false;
    out->clear();
    for (const MenuItem& item : found->items) {
        MenuEntry entry{item.flags, item.id, item.text, {}};
        if (item.submenu && !CopyLocked(item.submenu, &entry.submenu)) continue;
        out->push_back(std::move(entry));
    }
    return true;
}

// The item that `item` names: a position, or the first command with that id, submenus searched too.
const MenuItem* FindItemLocked(HMENU menu, UINT item, UINT flags) {
    const Menu* found = FindLocked(menu);
    if (!found) return nullptr;
    if (flags & MF_BYPOSITION) return item < found->items.size() ? &found->items[item] : nullptr;
    for (const MenuItem& entry : found->items) {
        if (entry.submenu) {
            if (const MenuItem* inner = FindItemLocked(entry.submenu, item, flags)) return inner;
        } else if (!(entry.flags & MF_SEPARATOR) && entry.id == item) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace

bool CopyMenuEntries(HMENU menu, std::vector<MenuEntry>* out) {
    std::lock_guard hold(MenusLock());
    return CopyLocked(menu, out);
}

}  // namespace kestrova::ui

using namespace kestrova::ui;

HMENU CreateMenu() {
    return AddMenu();
}

HMENU CreatePopupMenu() {
    return AddMenu();
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, const wchar_t* text) {
    std::lock_guard hold(MenusLock());
    Menu* found = FindLocked(menu);
    if (!found) return FALSE;
    MenuItem item;
    item.flags = flags & (MF_GRAYED | MF_POPUP | MF_SEPARATOR);
    if (flags & MF_POPUP) {
        item.submenu = reinterpret_cast<HMENU>(idOrSubmenu);
        if (item.submenu == menu || !FindLocked(item.submenu)) return FALSE;
    } else if (!(flags & MF_SEPARATOR)) {
        item.id = UINT(idOrSubmenu);
    }
    if (text && !(flags & MF_SEPARATOR)) item.text = text;
    found->items.push_back(std::move(item));
    return TRUE;
}

BOOL DestroyMenu(HMENU menu) {
    std::lock_guard hold(MenusLock());
    if (!FindLocked(menu)) return FALSE;
    DestroyLocked(menu);
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    std::lock_guard hold(MenusLock());
    return FindLocked(menu) != nullptr;
}

int GetMenuItemCount(HMENU menu) {
    std::lock_guard hold(MenusLock());
    const Menu* found = FindLocked(menu);
    return found ? int(found->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    std::lock_guard hold(MenusLock());
    const MenuItem* item = position < 0 ? nullptr : FindItemLocked(menu, UINT(position), MF_BYPOSITION);
    return item && !item->submenu ? item->id : UINT(-1);
}

HMENU GetSubMenu(HMENU menu, int position) {
    std::lock_guard hold(MenusLock());
    const MenuItem* item = position < 0 ? nullptr : FindItemLocked(menu, UINT(position), MF_BYPOSITION);
    return item ? item->submenu : nullptr;
}

int GetMenuStringW(HMENU menu, UINT item, wchar_t* buffer, int capacity, UINT flags) {
    std::lock_guard hold(MenusLock());
    const MenuItem* found = FindItemLocked(menu, item, flags);
    if (!found || !buffer || capacity <= 0) return 0;
    int length = std::min(int(found->text.size()), capacity - 1);
    std::copy_n(found->text.data(), length, buffer);
    buffer[length] = L'\0';
    return length;
}
