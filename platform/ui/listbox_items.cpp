#include "platform/ui/listbox_items.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>

namespace kestrova::ui {
namespace {

// Case folding needs the character tables of a UTF-8 locale; the "C" one folds ASCII only.
locale_t FoldingLocale() {
    static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    return locale;
}

wint_t Fold(wchar_t c) {
    locale_t locale = FoldingLocale();
    return locale ? towlower_l(wint_t(c), locale) : towlower(wint_t(c));
}

}  // namespace

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return Fold(x) == Fold(y); });
}

const ListItem* ListBoxItems::At(int index) const {
    return index >= 0 && index < Count() ? &items_[size_t(index)] : nullptr;
}

ListItem* ListBoxItems::At(int index) {
    return index >= 0 && index < Count() ? &items_[size_t(index)] : nullptr;
}

int ListBoxItems::Insert(int index, ListItem item) {
    if (index < 0) index = Count();
    if (index > Count()) return -1;
    items_.insert(items_.begin() + index, std::move(item));
    if (selected_ >= index) ++selected_;
    if (caret_ >= index && Count() > 1) ++caret_;
    return index;
}

bool ListBoxItems::Remove(int index) {
    if (!At(index)) return false;
    items_.erase(items_.begin() + index);
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
    if (caret_ > index) --caret_;
    caret_ = std::clamp(caret_, 0, std::max(Count() - 1, 0));
    SetTop(top_);
    return true;
}

void ListBoxItems::Clear() {
    items_.clear();
    selected_ = -1;
    caret_ = 0;
    top_ = 0;
}

template <typename Matches>
int ListBoxItems::FindFrom(int after, Matches matches) const {
    int n = Count();
    int start = (after >= 0 && after < n) ? after + 1 : 0;
    for (int k = 0; k < n; ++k) {
        int i = (start + k) % n;
        if (matches(items_[size_t(i)])) return i;
    }
    return -1;
}

int ListBoxItems::FindText(int after, std::wstring_view text) const {
    return FindFrom(after, [&](const ListItem& item) { return EqualIgnoringCase(item.text, text); });
}

int ListBoxItems::FindData(int after, LPARAM data) const {
    return FindFrom(after, [&](const ListItem& item) { return item.data == data; });
}

bool ListBoxItems::Select(int index) {
    if (index == -1) {
        selected_ = -1;
        return true;
    }
    if (!At(index)) return false;
    selected_ = caret_ = index;
    return true;
}

void ListBoxItems::SetPage(int rows) {
    page_ = std::max(rows, 1);
    SetTop(top_);
}

int ListBoxItems::MaxTop() const {
    return std::max(Count() - page_, 0);
}

void ListBoxItems::SetTop(int top) {
    top_ = std::clamp(top, 0, MaxTop());
}

void ListBoxItems::ScrollIntoView(int index) {
    if (!At(index)) return;
    if (index < top_)
        SetTop(index);
    else if (index >= top_ + page_)
        SetTop(index - page_ + 1);
}

}  // namespace kestrova::ui
