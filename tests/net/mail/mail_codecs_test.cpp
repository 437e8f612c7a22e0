#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "net/mail_base64.h"
#include "net/md5.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

std::string Text(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(MailBase64, EncodesWithPadding) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"", ""},        {"a", "YQ=="},          {"ab", "YWI="},
        {"abc", "YWJj"}, {"foobar", "Zm9vYmFy"}, {std::string("\xff\xfe\x00\x01", 4), "//4AAQ=="},
    };
    for (const Case& c : cases) EXPECT_EQ(MailBase64Encode(c.in), c.out) << c.in;
    // however long, the encoding stays on one line
    std::string longText = MailBase64Encode(std::string(100, 'x'));
    EXPECT_EQ(longText.size(), 136u);
    EXPECT_EQ(longText.find_first_of("\r\n"), std::string::npos);
}

TEST(MailBase64, DecodeStopsAtPaddingOrForeignCharacter) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"YWJj", "abc"},
        {"YWJj\r\n", "abc"},
        {"YWI=", "ab"},
        {"YQ==", "a"},
        {"YWI", "ab"},
        {"YQ", "a"},
        {"Y", ""},
        {"YWJj YWJj", "abc"},
        {"YQ==YWJj", "a"},
        {"", ""},
        {"//4AAQ==", std::string("\xff\xfe\x00\x01", 4)},
    };
    for (const Case& c : cases) EXPECT_EQ(Text(MailBase64Decode(c.in)), c.out) << c.in;
}

TEST(MailBase64, RoundTripsEveryByteValue) {
    std::string all;
    for (int i = 0; i < 256; ++i) all += char(i);
    for (size_t n = 0; n <= all.size(); n += 37) {
        std::string part = all.substr(0, n);
        EXPECT_EQ(Text(MailBase64Decode(MailBase64Encode(part))), part);
    }
}

std::string Md5Hex(const std::string& text) {
    MD5 md5;
    md5.update(text.data(), text.size());
    md5.finalize();
    return md5.hex_digest();
}

TEST(MD5, Rfc1321TestSuite) {
    struct Case {
        std::string in, hex;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case& c : cases) EXPECT_EQ(Md5Hex(c.in), c.hex) << c.in;
}

TEST(MD5, PiecesOfAnySizeGiveTheDigestOfTheWhole) {
    std::string data;
    for (int i = 0; i < 1000; ++i) data += char(i * 7 + i / 13);
    const std::string whole = Md5Hex(data);
    for (size_t piece : {1, 3, 55, 56, 63, 64, 65, 128, 999}) {
        MD5 md5;
        for (size_t i = 0; i < data.size(); i += piece)
            md5.update(data.data() + i, std::min(piece, data.size() - i));
        md5.finalize();
        EXPECT_EQ(md5.hex_digest(), whole) << piece;
    }
}

TEST(MD5, MisuseChangesNothingAndSaysSo) {
    MD5 open;
    testing::internal::CaptureStderr();
    EXPECT_EQ(open.hex_digest(), "");
    EXPECT_EQ(open.raw_digest(), MD5::Digest{});
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("MD5::hex_digest:  Can't get digest if you haven't finalized the digest!\n"),
              std::string::npos);
    EXPECT_NE(err.find("MD5::raw_digest:  Can't get digest if you haven't finalized the digest!\n"),
              std::string::npos);

    MD5 done;
    done.update("abc", 3);
    done.finalize();
    testing::internal::CaptureStderr();
    done.update("more", 4);
    done.finalize();
    err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err,
              "MD5::update:  Can't update a finalized digest!\n"
              "MD5::finalize:  Already finalized this digest!\n");
    EXPECT_EQ(done.hex_digest(), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(HexOf(done.raw_digest()), done.hex_digest());
}

}  // namespace
}  // namespace kestrova
