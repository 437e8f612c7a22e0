#include "engine/ipcam/mjpeg_stream_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova {
namespace {

using Result = MjpegStreamParser::Result;

std::string JpegPart(const std::string& body) {
    return "--frame\r\nContent-Type: image/jpeg\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
           body + "\r\n";
}

struct Collected {
    std::vector<std::string> frames;
    Result result = Result::kContinue;
};

// Feeds `stream` in blocks of `blockSize` bytes and collects the bodies handed out.
Collected FeedInBlocks(const std::string& stream, size_t blockSize) {
    Collected collected;
    MjpegStreamParser parser([&](const uint8_t* data, size_t size) {
        collected.frames.emplace_back(reinterpret_cast<const char*>(data), size);
    });
    for (size_t at = 0; at < stream.size(); at += blockSize) {
        const std::string block = stream.substr(at, blockSize);
        collected.result = parser.Feed(reinterpret_cast<const uint8_t*>(block.data()), block.size());
    }
    return collected;
}

TEST(MjpegStreamParser, GivesEveryPartWholeHoweverTheStreamIsSplit) {
    // Bodies that look like headers must not confuse the cutting.
    const std::vector<std::string> bodies = {"\xFF\xD8 first \xFF\xD9", std::string("a\0\r\n\r\nb", 7),
                                             "Content-Length: 99\r\n\r\n", "last"};
    std::string stream = "\r\n";
    for (const std::string& body : bodies) stream += JpegPart(body);
    for (size_t blockSize : {size_t{1}, size_t{2}, size_t{3}, size_t{5}, size_t{17}, size_t{64}, stream.size()}) {
        const Collected collected = FeedInBlocks(stream, blockSize);
        EXPECT_EQ(collected.result, Result::kContinue) << "blocks of " << blockSize;
        EXPECT_EQ(collected.frames, bodies) << "blocks of " << blockSize;
    }
}

TEST(MjpegStreamParser, SkipsPartsThatAreNoJpeg) {
    const std::string text = "Content-Type: image/jpeg\r\nContent-Length: 1\r\n\r\nX";
    const std::string stream = "--frame\r\nContent-Type: text/plain\r\nContent-Length: " +
                               std::to_string(text.size()) + "\r\n\r\n" + text +
                               "--frame\r\nContent-Type: text/plain\r\n\r\n" + JpegPart("picture");
    for (size_t blockSize : {size_t{1}, size_t{4}, stream.size()}) {
        EXPECT_EQ(FeedInBlocks(stream, blockSize).frames, std::vector<std::string>{"picture"});
    }
}

TEST(MjpegStreamParser, AJpegHeaderWithoutLengthSpoilsTheStream) {
    for (const std::string header : {"Content-Type: image/jpeg\r\n\r\n",
                                     "Content-Type: image/jpeg\r\nContent-Length: none\r\n\r\n"}) {
        const Collected collected = FeedInBlocks(JpegPart("before") + header + JpegPart("after"), 7);
        EXPECT_EQ(collected.result, Result::kMalformed) << header;
        EXPECT_EQ(collected.frames, std::vector<std::string>{"before"}) << header;
    }
}

TEST(MjpegStreamParser, OversizedAndEmptyPartsAreNotStored) {
    const size_t oversized = MjpegStreamParser::kMaxPartBytes + 1;
    const std::string stream = "Content-Type: image/jpeg\r\nContent-Length: " + std::to_string(oversized) +
                               "\r\n\r\n" + std::string(oversized, 'x') + JpegPart("") + JpegPart("kept");
    const Collected collected = FeedInBlocks(stream, 500000);
    EXPECT_EQ(collected.result, Result::kContinue);
    EXPECT_EQ(collected.frames, (std::vector<std::string>{"", "kept"}));

    const Collected huge =
        FeedInBlocks("Content-Type: image/jpeg\r\nContent-Length: 99999999999999999999999\r\n\r\nxyz", 3);
    EXPECT_EQ(huge.result, Result::kContinue);
    EXPECT_TRUE(huge.frames.empty());
}

TEST(MjpegStreamParser, DropsAHeaderThatNeverEnds) {
    // Were the runaway header kept, its own length would cut the part that follows.
    const std::string stream = "Content-Type: image/jpeg\r\nContent-Length: 3\r\n" +
                               std::string(MjpegStreamParser::kMaxHeaderBytes, 'g') + JpegPart("found");
    for (size_t blockSize : {size_t{1000}, stream.size()}) {
        EXPECT_EQ(FeedInBlocks(stream, blockSize).frames, std::vector<std::string>{"found"}) << blockSize;
    }
}

TEST(MjpegStreamParser, AHandlerMayKeepTheBodyItWasGiven) {
    const std::vector<std::string> bodies = {"a longer first body", "second", "a third, longer than the second"};
    std::string stream;
    for (const std::string& body : bodies) stream += JpegPart(body);
    for (size_t blockSize : {size_t{5}, stream.size()}) {
        std::vector<std::string> kept;
        // What the handler gives back holds stale bytes, which must not show in a later body.
        std::vector<uint8_t> spare(64, 'z');
        MjpegStreamParser* self = nullptr;
        MjpegStreamParser parser([&](const uint8_t* data, size_t size) {
            self->SwapBody(spare);
            ASSERT_EQ(spare.data(), data);
            ASSERT_EQ(spare.size(), size);
            kept.emplace_back(spare.begin(), spare.end());
        });
        self = &parser;
        for (size_t at = 0; at < stream.size(); at += blockSize) {
            const std::string block = stream.substr(at, blockSize);
            parser.Feed(reinterpret_cast<const uint8_t*>(block.data()), block.size());
        }
        EXPECT_EQ(kept, bodies) << "blocks of " << blockSize;
    }
}

}  // namespace
}  // namespace kestrova
