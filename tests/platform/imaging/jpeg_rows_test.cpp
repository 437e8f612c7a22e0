// Reading chosen rows of a JPEG: each row as a whole decode writes it, whatever the coding, and damage
// found where a whole decode finds it.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/imaging/bitmap.h"
#include "platform/imaging/jpeg_rows.h"
#include "tests/peers/fakecam/test_jpeg.h"

namespace kestrova::imaging {
namespace {

using Bytes = std::vector<uint8_t>;

// A picture with texture in every block, coded with `subsampling` and `flags` at quality 85.
Bytes CodedPicture(int width, int height, int subsampling, int flags) {
    std::vector<uint8_t> bgr(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned texture = ((unsigned(x) * 2654435761u) ^ (unsigned(y) * 40503u)) >> 26;
            uint8_t* p = &bgr[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(x * 3 + texture), p[1] = uint8_t(y * 5 + texture), p[2] = uint8_t((x ^ y) + texture);
        }
    }
    tjhandle encoder = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int result =
        tjCompress2(encoder, bgr.data(), width, 0, height, TJPF_BGR, &jpeg, &size, subsampling, 85, flags);
    Bytes out = result == 0 ? Bytes(jpeg, jpeg + size) : Bytes();
    tjFree(jpeg);
    tjDestroy(encoder);
    return out;
}

// The rows DecodeInto writes for a picture of exactly width x height; empty when it does not decode.
std::vector<Bytes> WholeDecodeRows(const Bytes& jpeg, int width, int height) {
    const size_t stride = size_t(width) * 3;
    Bytes picture(stride * height);
    if (DecodeInto(jpeg.data(), jpeg.size(), width, height, picture.data(), int(stride)) != Status::Ok) return {};
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y) rows.emplace_back(picture.begin() + y * stride, picture.begin() + (y + 1) * stride);
    return rows;
}

std::vector<int> EveryColumn(int width) {
    std::vector<int> columns(size_t(width), 0);
    for (int x = 0; x < width; ++x) columns[size_t(x)] = x;
    return columns;
}

// Reads `rows` of a picture `width` wide, every column of them; empty when it does not read, or when a row is
// told of out of turn.
std::vector<Bytes> ChosenRows(const Bytes& jpeg, int width, int height, const std::vector<int>& rows) {
    const std::vector<int> columns = EveryColumn(width);
    std::vector<Bytes> taken(rows.size(), Bytes(size_t(width) * 3));
    std::vector<RowRequest> requests;
    for (size_t i = 0; i < rows.size(); ++i) requests.push_back({rows[i], &columns, taken[i].data()});
    size_t told = 0;
    const auto done = [&](size_t i) { told = i == told ? told + 1 : rows.size() + 1; };
    const bool read = ReadJpegRows(jpeg.data(), jpeg.size(), width, height, requests, done);
    return read && told == rows.size() ? taken : std::vector<Bytes>{};
}

// Rows alone and in runs, a gap within a block row and gaps across several, the first and the last.
std::vector<int> Scattered(int height) {
    std::vector<int> rows;
    for (int y : {0, 1, 2, 5, 9, 10, 11, 12, 13, 30, 47, 48, 49, 50, 51}) {
        if (y < height - 1) rows.push_back(y);
    }
    rows.push_back(height - 1);
    return rows;
}

TEST(JpegRows, GivesEachRowAsAWholeDecodeWritesIt) {
    struct Case {
        const char* name;
        int width, height, subsampling, flags;
    };
    for (const Case& c : {Case{"4:2:0 as cameras send", 640, 480, TJSAMP_420, 0},
                          Case{"4:2:0 of odd size", 83, 61, TJSAMP_420, 0},
                          Case{"4:2:0 two chroma samples wide", 4, 40, TJSAMP_420, 0},
                          Case{"4:2:0 three chroma samples wide", 5, 40, TJSAMP_420, 0},
                          Case{"4:2:2", 64, 52, TJSAMP_422, 0},
                          Case{"4:4:4", 40, 56, TJSAMP_444, 0},
                          Case{"4:4:0", 48, 60, TJSAMP_440, 0},
                          Case{"grey", 50, 53, TJSAMP_GRAY, 0},
                          Case{"progressive 4:2:0", 96, 64, TJSAMP_420, TJFLAG_PROGRESSIVE}}) {
        const Bytes jpeg = CodedPicture(c.width, c.height, c.subsampling, c.flags);
        const std::vector<Bytes> whole = WholeDecodeRows(jpeg, c.width, c.height);
        ASSERT_FALSE(whole.empty()) << c.name;
        const std::vector<int> rows = Scattered(c.height);
        const std::vector<Bytes> chosen = ChosenRows(jpeg, c.width, c.height, rows);
        ASSERT_EQ(chosen.size(), rows.size()) << c.name;
        for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(chosen[i], whole[size_t(rows[i])]) << c.name << ", row " << rows[i];
    }
}

TEST(JpegRows, ReadsTheTopLeftOfALargerPictureAndRefusesASmallerOne) {
    const Bytes jpeg = CodedPicture(80, 72, TJSAMP_420, 0);
    const std::vector<Bytes> whole = WholeDecodeRows(jpeg, 80, 72);
    const std::vector<Bytes> chosen = ChosenRows(jpeg, 80, 40, {3, 39});
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0], whole[3]) << "rows come across the picture's whole width";
    EXPECT_EQ(chosen[1], whole[39]);

    const auto done = [](size_t) {};
    const std::vector<int> left{0}, outside{40};
    uint8_t row[81 * 3];
    const std::vector<RowRequest> top{{0, &left, row}};
    EXPECT_FALSE(ReadJpegRows(jpeg.data(), jpeg.size(), 81, 72, top, done)) << "narrower than asked";
    EXPECT_FALSE(ReadJpegRows(jpeg.data(), jpeg.size(), 80, 73, top, done)) << "shorter than asked";
    EXPECT_FALSE(ReadJpegRows(jpeg.data(), jpeg.size(), 80, 40, {{40, &left, row}}, done))
        << "a row below the rows asked for";
    EXPECT_FALSE(ReadJpegRows(jpeg.data(), jpeg.size(), 80, 40, {{5, &left, row}, {4, &left, row}}, done))
        << "rows out of order";
    EXPECT_FALSE(ReadJpegRows(jpeg.data(), jpeg.size(), 40, 40, {{0, &left, row}, {1, &outside, row}}, done))
        << "a column right of those asked for";
    EXPECT_FALSE(ReadJpegRows(jpeg.data(), jpeg.size(), 80, 40, {{0, nullptr, row}}, done)) << "no columns";
    EXPECT_FALSE(ReadJpegRows(jpeg.data(), jpeg.size(), 80, 40, {{0, &left, nullptr}}, done)) << "nowhere to go";
    EXPECT_FALSE(ReadJpegRows(nullptr, 0, 80, 40, top, done));
}

TEST(JpegRows, FailsWhereAWholeDecodeFails) {
    const std::string good = testing::MakeTestJpeg(48, 32, [](int x, int y) {
        return testing::Rgb{uint8_t(x * 5), uint8_t(y * 7), uint8_t(x ^ y)};
    });
    std::vector<testing::DamagedJpeg> pictures = testing::DamagedJpegs(good);
    // Cut inside the scan: libjpeg warns and greys the rest, which a whole decode keeps as a picture.
    pictures.push_back({"cut inside the scan", good.substr(0, good.size() * 2 / 3)});
    for (const testing::DamagedJpeg& picture : pictures) {
        const Bytes jpeg(picture.bytes.begin(), picture.bytes.end());
        const std::vector<Bytes> whole = WholeDecodeRows(jpeg, 48, 32);
        const std::vector<Bytes> chosen = ChosenRows(jpeg, 48, 32, {0, 20, 31});
        EXPECT_EQ(chosen.empty(), whole.empty()) << picture.name;
        if (!chosen.empty() && !whole.empty()) {
            EXPECT_EQ(chosen[2], whole[31]) << picture.name;
        }
    }
}

}  // namespace
}  // namespace kestrova::imaging
