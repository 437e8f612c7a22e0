#pragma once
// The items of a list box and where it stands among them: the selected item, the caret (the item that shows
// the focus), and the first item shown with the number of whole rows that fit. Bookkeeping only; the window
// is listbox.cpp's.

#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace kestrova::ui {

struct ListItem {
    std::wstring text;
    LPARAM data = 0;
};

class ListBoxItems {
public:
    int Count() const { return int(items_.size()); }
    // Null out of range.
    const ListItem* At(int index) const;
    ListItem* At(int index);

    // Puts `item` at `index` (-1: at the end); its index, or -1 when `index` is past the end.
    int Insert(int index, ListItem item);
    // False when out of range. The selection goes with its item; it is dropped with it.
    bool Remove(int index);
    void Clear();
    // The first item whose text equals `text` without regard to case, looking after `after` and wrapping
    // round to it (-1 or out of range: from the first); -1 when none does.
    int FindText(int after, std::wstring_view text) const;
    // The same, for the items' values.
    int FindData(int after, LPARAM data) const;

    int Selected() const { return selected_; }
    // -1 clears; false (and nothing changes) out of range. A selected item also takes the caret.
    bool Select(int index);
    int Caret() const { return caret_; }

    // The rows that fit whole (at least 1), and the first item shown: between 0 and MaxTop, which lets the
    // last page show full.
    void SetPage(int rows);
    int Page() const { return page_; }
    int Top() const { return top_; }
    int MaxTop() const;
    void SetTop(int top);
    // Scrolls the least that brings the item whole into view.
    void ScrollIntoView(int index);

private:
    template <typename Matches>
    int FindFrom(int after, Matches matches) const;

    std::vector<ListItem> items_;
    int selected_ = -1;
    int caret_ = 0;
    int top_ = 0;
    int page_ = 1;
};

// Equal texts when case is ignored, for every script (not only ASCII).
bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace kestrova::ui
