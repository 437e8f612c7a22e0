#pragma once
// The contact sheet: every bitmap of the resource manifest on one page, enlarged, each with its id and size,
// so the whole skin can be looked over at once.

#include <string>
#include <vector>

#include "tools/skin_painter/canvas.h"

namespace skin {

struct SheetItem {
    int id = 0;
    Canvas picture;
};

// Lays the pictures out in id order on a grey page `pageWidth` wide, each enlarged `scale` times and
// labelled.
Canvas ContactSheet(const std::vector<SheetItem>& items, int pageWidth, int scale);

}  // namespace skin
