#include "tools/skin_painter/contact_sheet.h"

#include <algorithm>
#include <string>

#include "tools/skin_painter/palette.h"
#include "tools/skin_painter/text.h"

namespace skin {
namespace {

constexpr int kMargin = 24;
constexpr int kGap = 20;
constexpr int kLabelHeight = 22;
constexpr Rgb kPage{232, 233, 236};

struct Placement {
    int x = 0, y = 0;
};

// Bottom-left skyline packing: each box goes where its top can be highest, then leftmost. Keeps the tall main
// window from leaving a hole beside it.
class Skyline {
public:
    explicit Skyline(int width) : tops_(size_t(width), kMargin) {}

    Placement Place(int width, int height) {
        Placement best{kMargin, 1 << 30};
        const int last = std::max(kMargin, int(tops_.size()) - kMargin - width);
        for (int x = kMargin; x <= last; x += 4) {
            const int top = *std::max_element(tops_.begin() + x,
                                              tops_.begin() + std::min<int>(x + width, int(tops_.size())));
            if (top < best.y) best = {x, top};
        }
        std::fill(tops_.begin() + best.x,
                  tops_.begin() + std::min<int>(best.x + width + kGap, int(tops_.size())),
                  best.y + height + kGap);
        return best;
    }

    int Bottom() const { return *std::max_element(tops_.begin(), tops_.end()); }

private:
    std::vector<int> tops_;
};

}  // namespace

Canvas ContactSheet(const std::vector<SheetItem>& items, int pageWidth, int scale) {
    Skyline skyline(pageWidth);
    std::vector<Placement> placements;
    for (const SheetItem& item : items)
        placements.push_back(skyline.Place(std::max(item.picture.Width() * scale, 90),
                                           item.picture.Height() * scale + kLabelHeight));
    Canvas page(pageWidth, skyline.Bottom() + kMargin - kGap, kPage);
    const Font& bold = RequireFont("DejaVu Sans", Weight::Bold, 12);
    const Font& regular = RequireFont("DejaVu Sans", Weight::Regular, 12);
    for (size_t i = 0; i < items.size(); ++i) {
        const Canvas& picture = items[i].picture;
        const Placement at = placements[i];
        page.DrawEnlarged(picture, at.x, at.y, scale);
        const std::string id = std::to_string(items[i].id);
        const int baseline = at.y + picture.Height() * scale + 15;
        bold.Draw(page, id, at.x, baseline, kText);
        regular.Draw(page, std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()),
                     at.x + bold.Width(id) + 8, baseline, kMutedText);
    }
    return page;
}

}  // namespace skin
