#pragma once
// The items of a popup menu (menu.h): a caller describes its menu in a MenuItemList, keeps it and may use it
// again; ShowMenuEx copies it, so the popup owns its own items. The list is a singly linked chain that
// callers walk from First() along `next`; every insertion and removal renumbers the items 0..n-1.

#include <cstddef>
#include <cstdint>

namespace kestrova {

enum MenuItemKind : int32_t {
    kMenuCommand = 0,    // a selectable item
    kMenuCaption = 1,    // grey, not selectable
    kMenuSeparator = 2,  // a line between groups
};

inline constexpr int kMenuTextLimit = 250;  // characters an item keeps of its text

struct MenuItem {
    int32_t index = 0;      // position in its list
    int32_t commandId = 0;  // sent to the owner when the item is chosen
    wchar_t text[kMenuTextLimit + 2] = {};
    int32_t kind = kMenuCommand;
    int32_t flag = 0;     // kept for the caller; drawing and choosing ignore it
    int32_t checked = 0;  // shows the check mark
    MenuItem* next = nullptr;
};

class MenuItemList {
public:
    MenuItemList() = default;
    ~MenuItemList() { Clear(); }
    // A copy of every item, in order.
    MenuItemList(const MenuItemList& other);
    MenuItemList(MenuItemList&& other) noexcept;
    MenuItemList& operator=(const MenuItemList&) = delete;
    MenuItemList& operator=(MenuItemList&&) = delete;

    // Links a new item in before the item at `position` (a position below 0 or past the end appends) and
    // returns the position it took. The kind is clamped to the three kinds; the text keeps its first 250
    // characters; the item starts unchecked.
    int Insert(int kind, int commandId, const wchar_t* text, int flag, int position);
    // 1 after removing the item at `index`, 0 when there is none.
    int Remove(int index);
    // Removes the first item whose text is exactly `text`; 0 when there is none.
    int RemoveByText(const wchar_t* text);
    // Copies the text of the item at `index` into `buffer`, which holds `capacity` characters AND a
    // terminator: a longer text is cut to `capacity` characters. 1 when copied, 0 for an index outside the
    // list (the buffer is left alone).
    int GetText(int index, wchar_t* buffer, int capacity) const;
    // The same into an array, whose size already counts the terminator.
    template <size_t N>
    int GetText(int index, wchar_t (&buffer)[N]) const {
        static_assert(N > 0);
        return GetText(index, buffer, int(N) - 1);
    }
    // Checks the item at `index` and unchecks every other: 1, or 0 (nothing changes) for an index outside
    // the list.
    int Check(int index);
    // Checks the first item whose text is exactly `text`; 0 when there is none.
    int CheckByText(const wchar_t* text);
    void Clear();

    MenuItem* First() const { return first_; }
    int Count() const { return count_; }

private:
    MenuItem* At(int index) const;
    int IndexOf(const wchar_t* text) const;
    void Renumber();

    int count_ = 0;
    MenuItem* first_ = nullptr;
};

}  // namespace kestrova
