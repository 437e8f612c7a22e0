#include "platform/base/text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kestrova {
namespace {

struct BoundedCase {
    std::wstring text;
    size_t maxBytes;
    std::string expected;
};

TEST(Utf8Bounded, CutsAtCharacterBoundaries) {
    const BoundedCase cases[] = {
        {std::wstring(60, L'a'), 51, std::string(51, 'a')},
        {L"abc", 51, "abc"},
        {L"", 51, ""},
        // "é" is two bytes: with one byte of room left it is left out whole.
        {std::wstring(50, L'a') + L"\u00e9", 51, std::string(50, 'a')},
        {std::wstring(49, L'a') + L"\u00e9", 51, std::string(49, 'a') + "\xc3\xa9"},
        // A four-byte character never splits.
        {L"ab\U0001F600", 5, "ab"},
        {L"ab\U0001F600", 6, "ab\xf0\x9f\x98\x80"},
    };
    for (const auto& c : cases) {
        char out[64];
        std::memset(out, 'x', sizeof out);
        size_t n = ToUtf8Bounded(c.text, out, c.maxBytes);
        EXPECT_EQ(n, c.expected.size()) << c.maxBytes;
        EXPECT_EQ(std::string(out), c.expected);
    }
}

TEST(Utf8, RoundTripsAndReplacesMalformedInput) {
    std::wstring text = L"K\u00f8benhavn \u20ac \U0001F600";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf8("a\xff" "b"), L"a\ufffdb");
    EXPECT_EQ(FromUtf8("\xe2\x82"), L"\ufffd\ufffd");   // truncated sequence
    EXPECT_EQ(FromUtf8("\xc0\xaf"), L"\ufffd\ufffd");   // overlong
}

TEST(FixedField, WithoutTerminatorReadsWidthMinusOne) {
    char field[8];
    std::memset(field, 'z', sizeof field);
    EXPECT_EQ(ReadFixedField(field, sizeof field), std::string(7, 'z'));
    field[3] = '\0';
    EXPECT_EQ(ReadFixedField(field, sizeof field), "zzz");
}

TEST(Utf16Field, WritesLittleEndianAndZeroFills) {
    uint8_t field[10];
    std::memset(field, 0xAA, sizeof field);
    EXPECT_EQ(ToUtf16LeField(L"A\u20ac", field, 4, 5), 2u);
    const uint8_t expected[10] = {'A', 0, 0xAC, 0x20, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(field, expected, sizeof field), 0);
    EXPECT_EQ(FromUtf16LeField(field, 5), L"A\u20ac");
}

TEST(Utf16Field, NeverSplitsASurrogatePairAndStopsInsideTheField) {
    uint8_t field[8];
    EXPECT_EQ(ToUtf16LeField(L"a\U0001F600", field, 2, 4), 1u);
    EXPECT_EQ(FromUtf16LeField(field, 4), L"a");
    EXPECT_EQ(ToUtf16LeField(L"a\U0001F600", field, 3, 4), 3u);
    EXPECT_EQ(FromUtf16LeField(field, 4), L"a\U0001F600");
    // No terminator: the last unit of the field is never read as text.
    const uint8_t full[6] = {'x', 0, 'y', 0, 'z', 0};
    EXPECT_EQ(FromUtf16LeField(full, 3), L"xy");
}

TEST(CopyWide, CopiesAtMostCountAndTerminates) {
    wchar_t buf[4];
    EXPECT_EQ(CopyWide(L"abcdef", buf, 3), 3u);
    EXPECT_EQ(std::wstring(buf), L"abc");
    EXPECT_EQ(CopyWide(L"x", buf, 3), 1u);
    EXPECT_EQ(std::wstring(buf), L"x");
}

}  // namespace
}  // namespace kestrova
