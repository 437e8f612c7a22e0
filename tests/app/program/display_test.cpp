#include <gtest/gtest.h>

#include "app/app_settings.h"
#include "app/display_paint.h"
#include "app/display_tiles.h"
#include "app/display_window.h"
#include "platform/base/text.h"
#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "tests/app/program/program_fixture.h"
#include "toolkit/skin.h"

namespace kestrova::uitest {
namespace {

bool Overlaps(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

POINT Centre(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(DisplayTiles, EachGridFillsTheDisplayInRowsWithOnePixelGaps) {
    struct Case {
        int streams;
        size_t count;
        int probe;  // a tile whose place is checked
        RECT place;
    };
    const Case cases[] = {
        {1, 1, 0, {0, 0, 480, 360}},        {4, 4, 3, {240, 180, 480, 360}},
        {9, 9, 2, {321, 0, 480, 119}},      {16, 16, 5, {120, 90, 239, 179}},
        {25, 25, 24, {385, 289, 480, 360}}, {25, 25, 7, {192, 72, 288, 143}},
        {6, 1, 0, {0, 0, 480, 360}},  // a number the settings never give: one picture
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.streams);
        const std::vector<RECT> tiles = DisplayTiles(c.streams);
        ASSERT_EQ(tiles.size(), c.count);
        EXPECT_TRUE(SameRect(tiles[c.probe], c.place));
        for (size_t i = 0; i < tiles.size(); ++i) {
            EXPECT_GE(tiles[i].left, 0);
            EXPECT_LE(tiles[i].right, kDisplayWidth);
            EXPECT_LE(tiles[i].bottom, kDisplayHeight);
            if (i > 0) {  // rows from the top left: each tile starts right of or below the one before
                EXPECT_TRUE(tiles[i].left > tiles[i - 1].left || tiles[i].top > tiles[i - 1].top);
            }
            for (size_t j = i + 1; j < tiles.size(); ++j) EXPECT_FALSE(Overlaps(tiles[i], tiles[j]));
        }
    }
}

TEST(DisplayTiles, PoweredDevicesTakeTilesNewestFirstWithoutGaps) {
    // Newest first: d0 is the head. Unpowered: d1 and d3.
    std::vector<std::unique_ptr<testing::TestDevice>> devices;
    for (int i = 0; i < 6; ++i) {
        devices.push_back(std::make_unique<testing::TestDevice>());
        if (i != 1 && i != 3) devices.back()->Start();
        if (i > 0) devices[i - 1]->SetNext(devices[i].get());
    }
    Device* head = devices[0].get();
    auto shown = [&](Device* selected, int streams) {
        std::vector<Device*> got;
        for (const ShownDevice& s : ShownDevices(head, selected, streams)) got.push_back(s.device);
        return got;
    };
    Device* d[6];
    for (int i = 0; i < 6; ++i) d[i] = devices[i].get();

    EXPECT_EQ(shown(d[5], 4), (std::vector<Device*>{d[0], d[2], d[4], d[5]}));
    EXPECT_EQ(shown(d[0], 9), (std::vector<Device*>{d[0], d[2], d[4], d[5]}));
    const std::vector<ShownDevice> four = ShownDevices(head, d[0], 4);
    EXPECT_TRUE(SameRect(four[1].tile, DisplayTiles(4)[1]));  // d2 takes the tile d1 would have had
    EXPECT_EQ(shown(d[2], 1), std::vector<Device*>{d[2]});    // one stream: the selected device alone
    EXPECT_TRUE(shown(d[1], 1).empty());                      // ...only while it is powered
    EXPECT_TRUE(shown(nullptr, 1).empty());
    for (auto& device : devices) device->SetNext(nullptr);
}

class DisplayWindowTest : public ProgramTest {
protected:
    void SetStreams(int streams) {
        Main().GetSettings().videoStreamsPerDisplay = streams;
        InvalidateRect(Display(), nullptr, FALSE);
        PumpMessages();
    }
    COLORREF At(POINT p) { return ReadPixel(Display(), p.x, p.y); }
    // The pixel of the main window's skin at a point of the display.
    COLORREF SkinAt(POINT p) {
        HDC dc = GetDC(main);
        const toolkit::Skin skin(dc, kMainSkin);
        const COLORREF colour = skin.Pixel(10 + p.x, 33 + p.y);
        ReleaseDC(main, dc);
        return colour;
    }
    int CountInDisplay(COLORREF colour) {
        int count = 0;
        for (int y = 0; y < kDisplayHeight; ++y)
            for (int x = 0; x < kDisplayWidth; ++x) count += At(POINT{x, y}) == colour;
        return count;
    }
    bool OverlayShown(int id) { return IsWindowVisible(GetDlgItem(Display(), id)) != 0; }
    void Select(Device* device) {
        Main().GetDeviceList().SetSelected(device);
        InvalidateRect(Display(), nullptr, FALSE);
        PumpMessages();
    }
};

TEST_F(DisplayWindowTest, AnEmptyDisplayShowsTheSkinsPictureAreaForAnyNumberOfStreams) {
    OpenMainWindow();
    AddDevice(kDeviceUsbCamera, L"Idle", false);
    for (int streams : {1, 4, 25}) {
        SCOPED_TRACE(streams);
        SetStreams(streams);
        for (POINT p : {POINT{0, 0}, POINT{240, 180}, POINT{479, 359}}) EXPECT_EQ(At(p), SkinAt(p));
    }
}

TEST_F(DisplayWindowTest, AGridShowsTheNewestPoweredDevicesAndFramesTheSelectedOne) {
    OpenMainWindow();
    // Added oldest first; each shows its own colour. "Off 1" and "Off 2" are not powered.
    const char* names[] = {"A", "Off 1", "B", "C", "Off 2", "D"};
    std::vector<testing::TestDevice*> devices;
    for (int i = 0; i < 6; ++i) {
        const bool powered = names[i][0] != 'O';
        devices.push_back(AddDevice(kDeviceUsbCamera, FromUtf8(names[i]), powered));
        devices.back()->PutFrame(320, 240, uint8_t(40 * i), 200, 10);
    }
    SetStreams(4);
    const std::vector<RECT> tiles = DisplayTiles(4);
    // Newest first: D, C, B, A; the unpowered ones leave no gap.
    const int expected[] = {5, 3, 2, 0};
    for (int t = 0; t < 4; ++t) {
        SCOPED_TRACE(t);
        EXPECT_EQ(At(Centre(tiles[t])), FrameColour(uint8_t(40 * expected[t]), 200, 10));
    }
    EXPECT_EQ(At(POINT{239, 100}), RGB(0, 0, 0));  // the gap between columns stays black
    // Drawn tiles decode their next frames on their capture threads; the others wait to be read.
    for (int i = 0; i < 6; ++i) EXPECT_EQ(devices[size_t(i)]->IsShown(), names[i][0] != 'O') << names[i];

    Select(devices[2]);  // B, in the third tile
    const RECT& tile = tiles[2];
    for (POINT p :
         {POINT{tile.left, tile.top}, POINT{tile.right - 1, tile.bottom - 1}, POINT{tile.left, 250}})
        EXPECT_EQ(At(p), kSelectedTileColour);
    EXPECT_EQ(CountInDisplay(kSelectedTileColour),
              2 * (tile.right - tile.left) + 2 * (tile.bottom - tile.top) - 4);

    Select(devices[1]);  // not powered, so not shown
    EXPECT_EQ(CountInDisplay(kSelectedTileColour), 0);
    AddDevice(kDeviceUsbCamera, L"E", true)->PutFrame(320, 240, 1, 2, 3);
    Select(devices[0]);  // powered, but the fifth now
    EXPECT_EQ(CountInDisplay(kSelectedTileColour), 0);
}

TEST_F(DisplayWindowTest, OneStreamShowsTheSelectedDeviceOverTheWholeDisplay) {
    OpenMainWindow();
    testing::TestDevice* camera = AddDevice(kDeviceUsbCamera, L"Porch", true);
    camera->PutFrame(320, 240, 30, 60, 90);
    AdvanceClock(clock, kDisplayFrameIntervalMs);
    EXPECT_EQ(CountInDisplay(FrameColour(30, 60, 90)), kDisplayWidth * kDisplayHeight);
    camera->Stop();
    InvalidateRect(Display(), nullptr, FALSE);
    PumpMessages();
    EXPECT_EQ(At(POINT{240, 180}), SkinAt(POINT{240, 180}));
}

TEST_F(DisplayWindowTest, EveryShownDeviceRepaintsItsTileAtTheDisplaysPace) {
    OpenMainWindow();
    testing::TestDevice* other = AddDevice(kDeviceUsbCamera, L"Other", true);
    testing::TestDevice* selected = AddDevice(kDeviceUsbCamera, L"Selected", true);
    Select(selected);
    SetStreams(4);
    const POINT otherTile = Centre(DisplayTiles(4)[1]);

    // A device that is not selected: its frames alone move its tile on.
    other->PutFrame(320, 240, 0, 0, 255);
    AdvanceClock(clock, kDisplayFrameIntervalMs);
    EXPECT_EQ(At(otherTile), FrameColour(0, 0, 255));

    // A second frame right after a paint waits for the display's next turn.
    other->PutFrame(320, 240, 0, 255, 0);
    PumpMessages();
    EXPECT_EQ(At(otherTile), FrameColour(0, 0, 255));
    AdvanceClock(clock, kDisplayFrameIntervalMs);
    EXPECT_EQ(At(otherTile), FrameColour(0, 255, 0));
}

TEST_F(DisplayWindowTest, TheOverlayShowsAfterTheHoverRestAndOnlyOverAPoweredDevice) {
    OpenMainWindow();
    struct Case {
        int32_t type;
        bool powered;
        std::vector<int> shown;
    };
    const Case cases[] = {
        {kDeviceUsbCamera, true, {kOverlayFullscreenId, kOverlayPopupId}},
        {kDeviceIpCamera,
         true,
         {kOverlayFullscreenId, kOverlayPopupId, kOverlayPanLeftId, kOverlayPanRightId, kOverlayTiltUpId,
          kOverlayTiltDownId}},
        {kDeviceIpCamera, false, {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        Select(AddDevice(c.type, L"Device " + std::to_wstring(n++), c.powered));
        MoveMouse(OnScreen(Display(), POINT{100, 100}));
        AdvanceClock(clock, 190);
        EXPECT_FALSE(OverlayShown(kOverlayFullscreenId));  // not rested long enough yet
        AdvanceClock(clock, 1);
        for (int id = kOverlayFullscreenId; id <= kOverlayTiltDownId; ++id) {
            const bool wanted = std::find(c.shown.begin(), c.shown.end(), id) != c.shown.end();
            EXPECT_EQ(OverlayShown(id), wanted) << id;
        }
        MoveMouse(OnScreen(main, POINT{250, 600}));  // off the display, over the list
        AdvanceClock(clock, 10);
        for (int id = kOverlayFullscreenId; id <= kOverlayTiltDownId; ++id)
            EXPECT_FALSE(OverlayShown(id)) << id;
    }
}

}  // namespace
}  // namespace kestrova::uitest
