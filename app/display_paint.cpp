#include "app/display_paint.h"

#include "app/display_tiles.h"
#include "engine/device.h"
#include "platform/ui/gdi.h"
#include "toolkit/gdi_object.h"
#include "toolkit/skin.h"

namespace kestrova {
namespace {

// Where the display window lies on the main window, and so on its skin.
constexpr int kSkinLeft = 10, kSkinTop = 33;

void PaintSkinArea(HDC dc) {
    const toolkit::Skin skin(dc, kMainSkin);
    skin.CopyTo(dc, 0, 0, kDisplayWidth, kDisplayHeight, kSkinLeft, kSkinTop);
}

void PaintBlack(HDC dc) {
    const RECT all{0, 0, kDisplayWidth, kDisplayHeight};
    FillRect(dc, &all, HBRUSH(GetStockObject(BLACK_BRUSH)));
}

}  // namespace

void PaintDisplay(HDC dc, Device* head, Device* selected, int streams) {
    const std::vector<ShownDevice> shown = ShownDevices(head, selected, streams);
    const bool grid = DisplayTiles(streams).size() > 1;
    // An empty display always shows the skin's picture area.
    if (grid && !shown.empty()) {
        PaintBlack(dc);
    } else {
        PaintSkinArea(dc);
    }
    const RECT* selectedTile = nullptr;
    for (const ShownDevice& tile : shown) {
        // From now on its frames decode on its capture thread and their notices come at once.
        tile.device->NoteShown();
        tile.device->DrawFrame(dc, tile.tile);
        if (tile.device == selected) selectedTile = &tile.tile;
    }
    if (grid && selectedTile != nullptr) {
        const toolkit::OwnedGdiObject highlight(CreateSolidBrush(kSelectedTileColour));
        FrameRect(dc, selectedTile, HBRUSH(highlight.get()));
    }
}

}  // namespace kestrova
