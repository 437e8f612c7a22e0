#include "app/windows/mask_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/windows/property_window.h"
#include "platform/ui/windows.h"
#include "tests/app/windows/property_window_fixture.h"

namespace kestrova::uitest {
namespace {

constexpr int kMotionId = 1041, kPrivacyId = 1042;

// The middle of coarse cell (row, column) in the window: cells of 40 x 30 from (43, 280).
POINT Cell(int row, int column) {
    return {43 + 40 * column + 20, 280 + 30 * row + 15};
}

// The coarse cells set in a mask, as (row, column) of 0..9, after checking that every 4 x 4 block is whole.
using Cells = std::vector<std::array<int, 2>>;
Cells CoarseCells(const MaskGrid& mask) {
    Cells set;
    for (int r = 0; r < kMaskSide; ++r)
        for (int c = 0; c < kMaskSide; ++c) {
            EXPECT_EQ(mask[MaskCell(r, c)], mask[MaskCell(r / 4 * 4, c / 4 * 4)])
                << "block of " << r << "," << c;
            if (r % 4 == 0 && c % 4 == 0 && mask[MaskCell(r, c)]) set.push_back({r / 4, c / 4});
        }
    return set;
}

MaskGrid WithBlocks(const Cells& cells) {
    MaskGrid mask{};
    for (auto [row, column] : cells)
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) mask[MaskCell(row * 4 + r, column * 4 + c)] = 1;
    return mask;
}

class MaskWindowTest : public PropertyWindowTest {
protected:
    void SetUp() override {
        PropertyWindowTest::SetUp();
        static const bool registered = RegisterMaskWindowClass() != 0;
        ASSERT_TRUE(registered);
        params.motion = &motion;
        params.privacy = &privacy;
    }
    int Show(const std::function<void(HWND)>& act) {
        return Drive(
            kMaskWindowClass, [&] { return ShowMaskWindow(owner, &params); }, act);
    }
    // A still of one colour, 400 x 300, as the camera gives it.
    void Still(uint8_t blue, uint8_t green, uint8_t red) {
        params.header.biWidth = 400;
        params.header.biHeight = 300;
        still.clear();
        for (int i = 0; i < 400 * 300; ++i) still.insert(still.end(), {blue, green, red});
        params.pixels = still.data();
    }
    static void DragIn(HWND window, MouseButton button, POINT from, const std::vector<POINT>& path) {
        MoveMouse(OnScreen(window, from));
        PressMouse(button);
        for (POINT p : path) MoveMouse(OnScreen(window, p));
        ReleaseMouse(button);
    }

    MaskEditParams params;
    MaskGrid motion{}, privacy{};
    std::vector<uint8_t> still;
};

TEST_F(MaskWindowTest, BlocksOpenAsTheirTopLeftCellAndAreSavedWhole) {
    motion[MaskCell(0, 0)] = 1;  // block (0, 0) by its top-left cell
    motion[MaskCell(5, 6)] = 1;  // inside block (1, 1), not its top-left: dropped
    privacy[MaskCell(36, 36)] = 1;
    privacy[MaskCell(37, 39)] = 1;
    EXPECT_EQ(Show([](HWND window) { Press(window, kOkButtonId); }), kPropertyOk);
    EXPECT_EQ(CoarseCells(motion), (Cells{{0, 0}}));
    EXPECT_EQ(CoarseCells(privacy), (Cells{{9, 9}}));
}

TEST_F(MaskWindowTest, LeftDragsMarkRightDragsClearTheRectangleOfCells) {
    const struct {
        const char* what;
        Cells before;
        MouseButton button;
        POINT from;
        std::vector<POINT> path;
        Cells after;
    } cases[] = {
        {"a rectangle",
         {},
         MouseButton::Left,
         Cell(1, 3),
         {Cell(2, 2), Cell(2, 1)},
         {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}, {2, 3}}},
        {"a click", {}, MouseButton::Left, Cell(9, 0), {}, {{9, 0}}},
        {"a right drag",
         {{0, 0}, {0, 1}, {0, 2}, {1, 0}},
         MouseButton::Right,
         Cell(0, 1),
         {Cell(0, 2)},
         {{0, 0}, {1, 0}}},
        {"a right click", {{4, 4}, {4, 5}}, MouseButton::Right, Cell(4, 5), {}, {{4, 4}}},
    };
    for (const auto& c : cases) {
        motion = WithBlocks(c.before);
        EXPECT_EQ(Show([&](HWND window) {
                      DragIn(window, c.button, c.from, c.path);
                      Press(window, kOkButtonId);
                  }),
                  kPropertyOk)
            << c.what;
        EXPECT_EQ(CoarseCells(motion), c.after) << c.what;
        EXPECT_EQ(CoarseCells(privacy), Cells{}) << c.what;
    }
}

TEST_F(MaskWindowTest, ADragBeyondThePictureKeepsItsSelectionAlongTheEdge) {
    Show([&](HWND window) {
        MoveMouse(OnScreen(window, Cell(8, 7)));
        PressMouse();
        MoveMouse(OnScreen(window, POINT{600, 700}));
        clock.Advance(20);  // the pointer has been away a moment
        PumpMessages();
        MoveMouse(OnScreen(window, POINT{610, 710}));
        ReleaseMouse();
        Press(window, kOkButtonId);
    });
    EXPECT_EQ(CoarseCells(motion), (Cells{{8, 7}, {8, 8}, {8, 9}, {9, 7}, {9, 8}, {9, 9}}));
}

TEST_F(MaskWindowTest, EachMaskKeepsItsEditsAndDefaultClearsBoth) {
    Show([&](HWND window) {
        EXPECT_TRUE(Checked(window, kMotionId));
        DragIn(window, MouseButton::Left, Cell(0, 0), {});
        Press(window, kPrivacyId);
        EXPECT_FALSE(Checked(window, kMotionId));
        DragIn(window, MouseButton::Left, Cell(5, 5), {});
        Press(window, kMotionId);
        DragIn(window, MouseButton::Left, Cell(0, 1), {});
        Press(window, kOkButtonId);
    });
    EXPECT_EQ(CoarseCells(motion), (Cells{{0, 0}, {0, 1}}));
    EXPECT_EQ(CoarseCells(privacy), (Cells{{5, 5}}));

    Show([&](HWND window) {
        Press(window, kPrivacyId);
        Press(window, kDefaultButtonId);
        EXPECT_TRUE(Checked(window, kMotionId));
        EXPECT_FALSE(Checked(window, kPrivacyId));
        // Cancel: the record keeps its masks whatever the window showed.
        Press(window, kCancelButtonId);
    });
    EXPECT_EQ(CoarseCells(privacy), (Cells{{5, 5}}));
    Show([&](HWND window) {
        Press(window, kDefaultButtonId);
        Press(window, kOkButtonId);
    });
    EXPECT_EQ(CoarseCells(motion), Cells{});
    EXPECT_EQ(CoarseCells(privacy), Cells{});
}

TEST_F(MaskWindowTest, MaskedCellsShowTintedRed) {
    const struct {
        uint8_t grey;
        COLORREF masked;
    } cases[] = {{255, RGB(255, 204, 204)}, {0, RGB(51, 0, 0)}, {100, RGB(131, 80, 80)}};
    for (const auto& c : cases) {
        Still(c.grey, c.grey, c.grey);
        motion = WithBlocks({{2, 3}});
        Show([&](HWND window) {
            EXPECT_EQ(ReadPixel(window, Cell(2, 3).x, Cell(2, 3).y), c.masked);
            EXPECT_EQ(ReadPixel(window, Cell(2, 4).x, Cell(2, 4).y), RGB(c.grey, c.grey, c.grey));
            // The still stays the camera's: the tint is a copy.
            EXPECT_EQ(still[0], c.grey);
            Press(window, kCancelButtonId);
        });
    }
}

}  // namespace
}  // namespace kestrova::uitest
