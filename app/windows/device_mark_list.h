#pragma once
// The devices window's lists: one owner-drawn system list per device kind, each item a device's display
// name with a tick (keep) or a cross (remove) in front. The glyph is the item's data, so the list itself
// remembers which devices the user crossed. The keyboard does not move through the lists, and a click on
// an item toggles it (the window clears the selection after each click). User-interface thread.

#include <string>

#include "platform/ui/listbox.h"
#include "platform/ui/types.h"

namespace kestrova {

// The glyphs, 9 x 8 each, drawn at (5, 11) of an item.
inline constexpr int kTickGlyph = 5474;
inline constexpr int kCrossGlyph = 5475;
inline constexpr int kMarkItemHeight = 30;

// The glyph that stands for a device's deleted mark (1 cross, anything else tick), and back.
int GlyphForMark(int32_t deletedMark);
int32_t MarkForGlyph(int glyph);

// A 224 x 330 list at (x, y) of `window`, with the list procedure of these lists.
HWND CreateMarkList(HWND window, int id, int x, int y);

enum class ListEnd { Top, Bottom };
void InsertMarkItem(HWND list, const std::wstring& name, int glyph, ListEnd end);

// For the list's selection change: flips the selected item's glyph, repaints it, clears the selection and
// answers the item's name and new glyph; nothing (an empty name) when no item is selected.
struct ToggledItem {
    std::wstring name;
    int glyph = 0;
};
ToggledItem ToggleSelectedItem(HWND list);

// WM_DRAWITEM of these lists: a white item with its glyph and its name.
void DrawMarkItem(const DRAWITEMSTRUCT& item);

}  // namespace kestrova
