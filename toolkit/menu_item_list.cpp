#include "toolkit/menu_item_list.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace kestrova {

MenuItemList::MenuItemList(const MenuItemList& other) {
    MenuItem** link = &first_;
    for (const MenuItem* item = other.first_; item; item = item->next) {
        *link = new MenuItem(*item);
        (*link)->next = nullptr;
        link = &(*link)->next;
        ++count_;
    }
}

MenuItemList::MenuItemList(MenuItemList&& other) noexcept
    : count_(std::exchange(other.count_, 0)), first_(std::exchange(other.first_, nullptr)) {}

int MenuItemList::Insert(int kind, int commandId, const wchar_t* text, int flag, int position) {
    if (position < 0 || position > count_) position = count_;
    auto* item = new MenuItem;
    item->commandId = commandId;
    item->kind = std::clamp(kind, int(kMenuCommand), int(kMenuSeparator));
    item->flag = flag;
    if (text) std::wcsncpy(item->text, text, kMenuTextLimit);  // the rest of the array stays zero
    MenuItem** link = &first_;
    for (int i = 0; i < position; ++i) link = &(*link)->next;
    item->next = *link;
    *link = item;
    ++count_;
    Renumber();
    return position;
}

int MenuItemList::Remove(int index) {
    if (index < 0 || index >= count_) return 0;
    MenuItem** link = &first_;
    for (int i = 0; i < index; ++i) link = &(*link)->next;
    MenuItem* gone = *link;
    *link = gone->next;
    delete gone;
    --count_;
    Renumber();
    return 1;
}

int MenuItemList::RemoveByText(const wchar_t* text) {
    const int index = IndexOf(text);
    return index < 0 ? 0 : Remove(index);
}

int MenuItemList::GetText(int index, wchar_t* buffer, int capacity) const {
    const MenuItem* item = At(index);
    if (!item || !buffer) return 0;
    const size_t length = std::min(std::wcslen(item->text), size_t(std::max(capacity, 0)));
    std::wmemcpy(buffer, item->text, length);
    buffer[length] = L'\0';
    return 1;
}

int MenuItemList::Check(int index) {
    MenuItem* chosen = At(index);
    if (!chosen) return 0;
    for (MenuItem* item = first_; item; item = item->next) item->checked = 0;
    chosen->checked = 1;
    return 1;
}

int MenuItemList::CheckByText(const wchar_t* text) {
    const int index = IndexOf(text);
    return index < 0 ? 0 : Check(index);
}

void MenuItemList::Clear() {
    while (first_) delete std::exchange(first_, first_->next);
    count_ = 0;
}

MenuItem* MenuItemList::At(int index) const {
    if (index < 0 || index >= count_) return nullptr;
    MenuItem* item = first_;
    while (index-- > 0) item = item->next;
    return item;
}

int MenuItemList::IndexOf(const wchar_t* text) const {
    if (!text) return -1;
    for (const MenuItem* item = first_; item; item = item->next)
        if (std::wcscmp(item->text, text) == 0) return item->index;
    return -1;
}

void MenuItemList::Renumber() {
    int index = 0;
    for (MenuItem* item = first_; item; item = item->next) item->index = index++;
}

}  // namespace kestrova
