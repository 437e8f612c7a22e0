#include "tools/respack/manifest.h"

#include <gtest/gtest.h>

namespace respack {
namespace {

TEST(ResourceManifest, ReadsEntriesAndSkipsCommentsAndBlankLines) {
    std::vector<std::string> errors;
    const auto entries = ParseManifest(
        "# kind id file\n\nbitmap 5652 86x128 bitmaps/mic.bmp\n  icon\t101   icons/main.ico  \nmenu 4608 "
        "menu.txt",
        errors);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].kind, "bitmap");
    EXPECT_EQ(entries[0].id, 5652);
    EXPECT_EQ(entries[0].width, 86);
    EXPECT_EQ(entries[0].height, 128);
    EXPECT_EQ(entries[0].file, "bitmaps/mic.bmp");
    EXPECT_EQ(entries[0].line, 3);
    EXPECT_EQ(entries[1].kind, "icon");
    EXPECT_EQ(entries[1].file, "icons/main.ico");
    EXPECT_EQ(entries[2].line, 5);
}

TEST(ResourceManifest, ReportsEveryBadLineByNumber) {
    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"bitmap 5652 86x128", "line 2: expected \"bitmap id WIDTHxHEIGHT file\""},
        {"bitmap 5652 a.bmp", "line 2: expected \"bitmap id WIDTHxHEIGHT file\""},
        {"icon 1 1x1 a.ico", "line 2: expected \"kind id file\""},
        {"cursor 1 a.cur", "line 2: unknown kind \"cursor\""},
        {"bitmap 0 1x1 a.bmp", "line 2: id \"0\" is not a number from 1 to 65535"},
        {"bitmap 65536 1x1 a.bmp", "line 2: id \"65536\" is not a number from 1 to 65535"},
        {"bitmap 12x 1x1 a.bmp", "line 2: id \"12x\" is not a number from 1 to 65535"},
        {"bitmap 1 37 a.bmp", "line 2: size \"37\" is not WIDTHxHEIGHT, each from 1 to 65535"},
        {"bitmap 1 0x5 a.bmp", "line 2: size \"0x5\" is not WIDTHxHEIGHT, each from 1 to 65535"},
        {"bitmap 1 5x a.bmp", "line 2: size \"5x\" is not WIDTHxHEIGHT, each from 1 to 65535"},
        {"bitmap 1 5x-4 a.bmp", "line 2: size \"5x-4\" is not WIDTHxHEIGHT, each from 1 to 65535"},
        {"bitmap 10 2x2 other.bmp", "line 2: bitmap 10 is listed twice"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> errors;
        const auto entries =
            ParseManifest(std::string("bitmap 10 4x4 a.bmp\n") + c.line + "\nicon 10 a.ico\n", errors);
        EXPECT_EQ(entries.size(), 2u) << c.line;
        EXPECT_EQ(errors, std::vector<std::string>{c.error}) << c.line;
    }
}

TEST(ResourceManifest, SortsByKindInEnumerationOrderThenId) {
    std::vector<std::string> errors;
    auto entries = ParseManifest("menu 1 m\nicon 9 i\nbitmap 20 1x1 b\nbitmap 3 1x1 c\ndata 2 d\n", errors);
    SortForLookup(entries);
    std::vector<std::pair<std::string, int>> order;
    for (const auto& entry : entries) order.emplace_back(entry.kind, entry.id);
    const std::vector<std::pair<std::string, int>> expected = {
        {"bitmap", 3}, {"bitmap", 20}, {"icon", 9}, {"data", 2}, {"menu", 1}};
    EXPECT_EQ(order, expected);
}

}  // namespace
}  // namespace respack
