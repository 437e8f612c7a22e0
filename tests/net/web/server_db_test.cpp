#include "net/server_db.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "tests/net/web/web_client.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

TEST(ServerDb, BuiltFileHoldsAValidPngMp3AndWavOfTheExactSizes) {
    std::vector<uint8_t> db;
    ASSERT_TRUE(ReadWholeFile(FromUtf8(KESTROVA_BUILT_SERVER_DB), db));
    ASSERT_EQ(db.size(), kServerDbSize);
    TempFolder tmp;
    const char* names[] = {"logo.png", "beep.mp3", "beep.wav"};
    const char* expected[] = {"codec_name=png\nwidth=38\nheight=38\n", "codec_name=mp3\n",
                              "codec_name=pcm_s16le\n"};
    size_t end = 0;
    for (int i = 0; i < 3; ++i) {
        const ServerDbAsset& asset = kServerDbAssets[i];
        EXPECT_EQ(asset.offset, end);
        end = asset.offset + asset.length;
        const std::string path = tmp.native() + names[i];
        ASSERT_TRUE(WriteFileAtomic(FromUtf8(path), db.data() + asset.offset, asset.length));
        EXPECT_EQ(
            webtest::RunCommand("ffprobe -v error -show_entries stream=codec_name,width,height -of default=nw=1 " +
                       path),
            expected[i]);
        // Decoding the whole of it reports no damaged data.
        EXPECT_EQ(webtest::RunCommand("ffmpeg -v error -i " + path + " -f null - 2>&1"), "") << names[i];
    }
    EXPECT_EQ(end, kServerDbSize);
    // The WAV's own sizes agree with its length.
    const uint8_t* wav = db.data() + kServerDbAssets[2].offset;
    auto le32 = [](const uint8_t* p) {
        return uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
    };
    EXPECT_EQ(le32(wav + 4), 4460u - 8);
    EXPECT_EQ(le32(wav + 40), 4460u - 44);
}

TEST(ServerDb, LoadWholeFileLooksForServerDbInTheDataFolderOnly) {
    TempFolder data, other;
    ScopedEnv env("KESTROVA_DATA_DIR", data.native().c_str());
    ASSERT_TRUE(WriteFileAtomic(data.path() + L"Server.db", "data", 4));
    ASSERT_TRUE(WriteFileAtomic(other.path() + L"Server.db", "other!", 6));
    ASSERT_TRUE(WriteFileAtomic(other.path() + L"server.db", "lower", 5));
    ASSERT_TRUE(WriteFileAtomic(other.path() + L"empty.jpg", "", 0));
    std::vector<uint8_t> out{9};
    EXPECT_EQ(LoadWholeFile(L"Server.db", &out, other.path()), 4);
    EXPECT_EQ(std::string(out.begin(), out.end()), "data");
    EXPECT_EQ(LoadWholeFile(L"server.db", &out, other.path()), 5);
    EXPECT_EQ(std::string(out.begin(), out.end()), "lower");
    out = {9};
    EXPECT_EQ(LoadWholeFile(L"empty.jpg", &out, other.path()), 0);
    EXPECT_EQ(LoadWholeFile(L"missing.jpg", &out, other.path()), 0);
    EXPECT_EQ(out, std::vector<uint8_t>{9});
}

TEST(ServerDb, OnlyAFileOfTheExactSizeIsUsed) {
    TempFolder data;
    ScopedEnv env("KESTROVA_DATA_DIR", data.native().c_str());
    EXPECT_TRUE(LoadServerDb().empty());
    for (size_t size : {kServerDbSize - 1, kServerDbSize + 1, kServerDbSize}) {
        std::vector<uint8_t> bytes(size, 0x5A);
        ASSERT_TRUE(WriteFileAtomic(data.path() + L"Server.db", bytes.data(), bytes.size()));
        EXPECT_EQ(LoadServerDb(), size == kServerDbSize ? bytes : std::vector<uint8_t>()) << size;
    }
}

}  // namespace
}  // namespace kestrova
