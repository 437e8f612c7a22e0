#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "tools/respack/manifest.h"
#include "tools/skin_painter/picture.h"

namespace skin {
namespace {

constexpr Rgb kWhite{255, 255, 255};

// Every picture the painter makes, painted, by the bitmap id the manifest gives its file.
class SkinPictures : public testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* root = std::getenv("KESTROVA_SOURCE_DIR");
        ASSERT_TRUE(root);
        std::ifstream in(std::string(root) + "/resources/manifest.txt");
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::vector<std::string> errors;
        manifest_ = respack::ParseManifest(text, errors);
        ASSERT_TRUE(errors.empty()) << errors[0];
        for (const Picture& picture : AllPictures()) {
            Canvas canvas(picture.width, picture.height, kWhite);
            picture.paint(canvas);
            painted_.emplace("painted/" + picture.name + ".png", std::move(canvas));
        }
    }

    static const Canvas& Bitmap(int id) {
        for (const respack::ManifestEntry& entry : manifest_) {
            if (entry.kind == "bitmap" && entry.id == id) return painted_.at(entry.file);
        }
        throw std::out_of_range("no bitmap " + std::to_string(id));
    }

    static std::vector<respack::ManifestEntry> manifest_;
    static std::map<std::string, Canvas> painted_;
};

std::vector<respack::ManifestEntry> SkinPictures::manifest_;
std::map<std::string, Canvas> SkinPictures::painted_;

// Whether `rows` rows of a from row ya on look the same as those of b from row yb.
bool SameRows(const Canvas& a, int ya, const Canvas& b, int yb, int rows) {
    if (a.Width() != b.Width()) return false;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (!(a.At(x, ya + y) == b.At(x, yb + y))) return false;
    return true;
}

bool AllOf(const Canvas& c, int x, int y, int width, int height, Rgb colour) {
    for (int row = y; row < y + height; ++row)
        for (int column = x; column < x + width; ++column)
            if (!(c.At(column, row) == colour)) return false;
    return true;
}

TEST_F(SkinPictures, EveryPaintedPictureIsPackedAtItsSizeAndEveryPaintedFileIsPainted) {
    size_t listed = 0;
    for (const respack::ManifestEntry& entry : manifest_) {
        if (entry.file.rfind("painted/", 0) != 0) continue;
        ++listed;
        auto found = painted_.find(entry.file);
        ASSERT_NE(found, painted_.end()) << entry.file << " is listed but not painted";
        EXPECT_EQ(found->second.Width(), entry.width) << entry.file;
        EXPECT_EQ(found->second.Height(), entry.height) << entry.file;
    }
    EXPECT_EQ(listed, painted_.size()) << "a painted picture is not listed, or two share a name";
}

// A control shows its state only if each of its stacked faces looks different from the others.
TEST_F(SkinPictures, StackedFacesDifferFromEachOther) {
    const struct {
        int id;
        int faces;
    } stacks[] = {
        {5457, 4}, {5458, 4}, {5459, 4}, {5462, 3}, {5463, 4}, {5464, 4}, {5465, 4}, {5667, 4},
        {5473, 3}, {5476, 3}, {5632, 4}, {5633, 4}, {5634, 4}, {5635, 4}, {5636, 4}, {5637, 4},
        {5638, 4}, {5639, 4}, {5640, 4}, {5641, 4}, {5648, 4}, {5649, 4}, {5650, 4}, {5651, 4},
        {5669, 4}, {5670, 4}, {5671, 4}, {5672, 4}, {5673, 4}, {5680, 4},
    };
    for (const auto& stack : stacks) {
        const Canvas& c = Bitmap(stack.id);
        const int rows = c.Height() / stack.faces;
        ASSERT_EQ(rows * stack.faces, c.Height()) << stack.id;
        for (int a = 0; a < stack.faces; ++a)
            for (int b = a + 1; b < stack.faces; ++b)
                EXPECT_FALSE(SameRows(c, a * rows, c, b * rows, rows))
                    << stack.id << ": faces " << a << ", " << b;
    }
    // Each state button's on and off skins must tell apart in every state.
    for (int on = 5632; on <= 5640; on += 2)
        for (int face = 0; face < 4; ++face)
            EXPECT_FALSE(SameRows(Bitmap(on), 26 * face, Bitmap(on + 1), 26 * face, 26))
                << on << " face " << face;
}

// The text button stretches its middle row and column and fills its centre with the colour at (18, r + 18);
// its arrows are copied onto that centre, so they carry the same colour behind them.
TEST_F(SkinPictures, TextButtonStretchesFlatAndItsArrowsSitOnItsFace) {
    const Canvas& button = Bitmap(5463);
    for (int state = 0; state < 4; ++state) {
        const int r = 37 * state;
        const Rgb face = button.At(18, r + 18);
        EXPECT_TRUE(AllOf(button, 1, r + 18, 35, 1, face)) << "middle row of state " << state;
        EXPECT_TRUE(AllOf(button, 18, r + 1, 1, 35, face)) << "middle column of state " << state;
        for (int arrow : {5464, 5465})
            EXPECT_EQ(Bitmap(arrow).At(0, 9 * state), face) << arrow << " " << state;
        EXPECT_EQ(Bitmap(5667).At(0, 5 * state), face) << "5667 " << state;
    }
}

// The windows copy the frame's side row (0..2, 30) unmirrored to both sides, below the band block and above
// the bottom corners: it must read the same from either side, and run on into both blocks without a seam.
TEST_F(SkinPictures, FrameSidesReadTheSameFromEitherSideAndMeetTheirCorners) {
    for (int id : {5377, 5460}) {
        const Canvas& frame = Bitmap(id);
        const Rgb outer = frame.At(0, 30), middle = frame.At(1, 30), inner = frame.At(2, 30);
        EXPECT_EQ(outer, inner) << id;
        for (int y = 31; y < 44; ++y) {
            EXPECT_EQ(frame.At(0, y), outer) << id << " left, row " << y;
            EXPECT_EQ(frame.At(1, y), middle) << id << " left, row " << y;
            EXPECT_EQ(frame.At(319, y), outer) << id << " right, row " << y;
            EXPECT_EQ(frame.At(318, y), middle) << id << " right, row " << y;
        }
    }
}

TEST_F(SkinPictures, ScheduleGridHasItsBarsAndPiecesWhereTheWindowCopiesThem) {
    const Canvas& grid = Bitmap(5668);
    constexpr Rgb kGrey{217, 217, 219}, kBlue{86, 121, 179}, kGreen{145, 197, 78};
    for (int h = 0; h < 24; ++h)
        for (int q = 0; q < 4; ++q)
            EXPECT_TRUE(AllOf(grid, 25 + 22 * h, 19 + 7 * q, 12, 3, kGrey))
                << "hour " << h << " quarter " << q;
    EXPECT_TRUE(AllOf(grid, 553, 19, 12, 3, kBlue));
    EXPECT_TRUE(AllOf(grid, 553, 26, 12, 3, kGreen));
    // The day letter is written in white inside x 1..13, y 18..32: the band must lie behind all of it.
    EXPECT_TRUE(AllOf(grid, 1, 18, 13, 15, kBlue));
    // The hover box: outlined, white inside, with the hour's unset quarters where the strip has them.
    EXPECT_NE(grid.At(570, 30), kWhite);
    EXPECT_EQ(grid.At(572, 16), kWhite);
    for (int q = 0; q < 4; ++q) EXPECT_TRUE(AllOf(grid, 575, 19 + 7 * q, 12, 3, kGrey)) << q;
}

TEST_F(SkinPictures, DeviceListHighlightMatchesTheLinesDrawnOverIt) {
    EXPECT_TRUE(AllOf(Bitmap(5653), 0, 0, 2, 33, Rgb{97, 130, 184}));
}

// The main window draws its buttons, frames and list over plain white, and the display shows the skin's
// picture area when it has nothing to show.
TEST_F(SkinPictures, MainWindowLeavesWhiteWhereTheWindowDrawsItsControls) {
    const Canvas& skin = Bitmap(5376);
    EXPECT_TRUE(AllOf(skin, 84, 403, 333, 26, kWhite)) << "tool buttons";
    EXPECT_TRUE(AllOf(skin, 24, 445, 452, 210, kWhite)) << "sliders' frames and the device list";
    EXPECT_NE(skin.At(10, 33), kWhite) << "the empty display";
    EXPECT_NE(skin.At(489, 392), kWhite) << "the empty display";
    EXPECT_EQ(skin.At(10, 393), kWhite) << "below the display";
}

}  // namespace
}  // namespace skin
