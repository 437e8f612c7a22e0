#pragma once
// Where the display window puts the live pictures: the tiles of each number of streams, and which devices
// take them. Kept apart from the window so that the layout is tested without painting.

#include <vector>

#include "platform/ui/types.h"

namespace kestrova {

class Device;

inline constexpr int kDisplayWidth = 480;
inline constexpr int kDisplayHeight = 360;

// The tiles of 1, 4, 9, 16 or 25 streams in rows from the top left, right and bottom exclusive; the
// one-pixel gaps between them stay background. Any other number gives the single tile of 1 stream.
std::vector<RECT> DisplayTiles(int streams);

struct ShownDevice {
    Device* device = nullptr;
    RECT tile;
};

// The devices the display shows. With 1 stream: the selected device, when it is powered. With more: the
// powered devices from `head` on (newest first), each taking the next tile until the tiles are used up;
// devices that are not powered take no tile.
std::vector<ShownDevice> ShownDevices(Device* head, Device* selected, int streams);

}  // namespace kestrova
