#include "app/display_tiles.h"

#include <span>

#include "engine/device.h"

namespace kestrova {
namespace {

struct Span {
    int begin, end;
};

// The columns and rows of each grid, as the display has always drawn them (not all tiles are the same
// size).
constexpr Span kSingle[] = {{0, kDisplayWidth}};
constexpr Span kSingleRow[] = {{0, kDisplayHeight}};
constexpr Span kColumns4[] = {{0, 239}, {240, 480}};
constexpr Span kRows4[] = {{0, 179}, {180, 360}};
constexpr Span kColumns9[] = {{0, 159}, {160, 320}, {321, 480}};
constexpr Span kRows9[] = {{0, 119}, {120, 239}, {240, 360}};
constexpr Span kColumns16[] = {{0, 119}, {120, 239}, {240, 360}, {361, 480}};
constexpr Span kRows16[] = {{0, 89}, {90, 179}, {180, 270}, {271, 360}};
constexpr Span kColumns25[] = {{0, 95}, {96, 191}, {192, 288}, {289, 384}, {385, 480}};
constexpr Span kRows25[] = {{0, 71}, {72, 143}, {144, 216}, {217, 288}, {289, 360}};

struct Grid {
    std::span<const Span> columns, rows;
};

Grid GridOf(int streams) {
    switch (streams) {
        case 4:
            return {kColumns4, kRows4};
        case 9:
            return {kColumns9, kRows9};
        case 16:
            return {kColumns16, kRows16};
        case 25:
            return {kColumns25, kRows25};
    }
    return {kSingle, kSingleRow};
}

bool Powered(Device* device) {
    return device->GetState(kStatePowered) != 0;
}

}  // namespace

std::vector<RECT> DisplayTiles(int streams) {
    const Grid grid = GridOf(streams);
    std::vector<RECT> tiles;
    for (const Span& row : grid.rows) {
        for (const Span& column : grid.columns)
            tiles.push_back(RECT{column.begin, row.begin, column.end, row.end});
    }
    return tiles;
}

std::vector<ShownDevice> ShownDevices(Device* head, Device* selected, int streams) {
    const std::vector<RECT> tiles = DisplayTiles(streams);
    std::vector<ShownDevice> shown;
    if (tiles.size() == 1) {
        if (selected != nullptr && Powered(selected)) shown.push_back({selected, tiles[0]});
        return shown;
    }
    for (Device* device = head; device != nullptr && shown.size() < tiles.size();
         device = device->GetNext()) {
        if (Powered(device)) shown.push_back({device, tiles[shown.size()]});
    }
    return shown;
}

}  // namespace kestrova
