#include "engine/base64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova {
namespace {

std::string Encode(const std::string& text) {
    std::vector<char> out(size_t(Base64Encode(text.c_str(), nullptr)));
    EXPECT_EQ(Base64Encode(text.c_str(), out.data()), 0);
    return out.data();
}

std::string Decode(const std::string& text) {
    int size = Base64Decode(text.c_str(), nullptr);
    if (size < 0) return "<" + std::to_string(size) + ">";
    std::vector<char> out(size_t(size), '#');
    EXPECT_EQ(Base64Decode(text.c_str(), out.data()), 0);
    return out.data();
}

TEST(Base64Test, EncodesInGroupsOfThreeWithPadding) {
    struct Case {
        const char* text;
        const char* encoded;
        int size;
    };
    const Case cases[] = {
        {"", "", 1},
        {"a", "YQ==", 5},
        {"ab", "YWI=", 5},
        {"abc", "YWJj", 5},
        {"abcd", "YWJjZA==", 9},
        {"user:pass", "dXNlcjpwYXNz", 13},
        {"\xff\xfe\xfd", "//79", 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Base64Encode(c.text, nullptr), c.size) << c.text;
        EXPECT_EQ(Encode(c.text), c.encoded);
        EXPECT_EQ(Decode(c.encoded), c.text);
    }
    EXPECT_EQ(Base64Encode(nullptr, nullptr), -1);
}

TEST(Base64Test, DecodeSizesAndTheFirstPaddedGroupEndsTheData) {
    struct Case {
        const char* text;
        int size;
        const char* decoded;
    };
    const Case cases[] = {
        {"YQ==", 2, "a"},    {"YWI=", 3, "ab"},     {"YWJj", 4, "abc"},
        {"", 1, ""},         {"YQ==YWJj", 7, "a"},  // the first group with padding ends it
        {"YW!j", 4, "a`#"},  // a character outside the alphabet counts as 0 ("YWJj" is "abc")
        {"YWJ", -1, "<-1>"}, {"YWJjZ", -1, "<-1>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Base64Decode(c.text, nullptr), c.size) << c.text;
        EXPECT_EQ(Decode(c.text), c.decoded) << c.text;
    }
    EXPECT_EQ(Base64Decode(nullptr, nullptr), -1);
}

TEST(Base64Test, DecodeNeverWritesMoreThanTheSizeItAsksFor) {
    const char* texts[] = {"A===", "AB==", "ABC=", "A=CD", "====", "=A==", "AAAAAAA="};
    for (const char* text : texts) {
        const int size = Base64Decode(text, nullptr);
        ASSERT_GT(size, 0) << text;
        std::vector<char> out(size_t(size) + 8, '#');
        ASSERT_EQ(Base64Decode(text, out.data()), 0);
        for (size_t i = size_t(size); i < out.size(); ++i) EXPECT_EQ(out[i], '#') << text;
    }
}

TEST(Base64Test, EveryByteValueRoundTrips) {
    std::string all;
    for (int c = 1; c < 256; ++c) all.push_back(char(c));
    for (size_t n = 0; n <= all.size(); n += 17) {
        const std::string part = all.substr(0, n);
        EXPECT_EQ(Decode(Encode(part)), part) << n;
    }
}

}  // namespace
}  // namespace kestrova
