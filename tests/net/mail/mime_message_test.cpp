#include "net/mime_message.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "net/mail_base64.h"
#include "net/smtp_error.h"
#include "platform/base/clock.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

constexpr int64_t k5Mar2024At090703 = 1709629623;

class MimeMessage : public ::testing::Test {
protected:
    void SetUp() override { SetClock(&clock); }
    void TearDown() override { SetClock(nullptr); }

    std::string WriteFile(const std::string& name, const std::string& bytes) {
        std::string path = folder.native() + name;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }
    std::string SparseFile(const std::string& name, off_t size) {
        std::string path = WriteFile(name, "");
        EXPECT_EQ(truncate(path.c_str(), size), 0);
        return path;
    }
    static MailContent Basic() {
        MailContent c;
        c.senderAddress = "cam@example.test";
        c.to = {{"", "me@example.test"}};
        c.subject = "Kestrova";
        return c;
    }
    static std::vector<std::string> Blocks(const MailContent& content) {
        std::vector<std::string> blocks;
        WriteMessage(content, [&](const std::string& b) { blocks.push_back(b); });
        return blocks;
    }
    static std::string Joined(const std::vector<std::string>& blocks, size_t from = 0) {
        std::string all;
        for (size_t i = from; i < blocks.size(); ++i) all += blocks[i];
        return all;
    }
    static int32_t CodeOf(const std::function<void()>& step) {
        try {
            step();
        } catch (const ECSmtp& e) {
            return e.Code();
        }
        return 0;
    }

    TestClock clock{k5Mar2024At090703};
    TempFolder folder;
};

TEST_F(MimeMessage, HeaderOfAMailWithAttachments) {
    MailContent c = Basic();
    c.senderName = "Front door";
    c.mailer = "Kestrova";
    c.replyTo = "cam@example.test";
    c.to = {{"", "me@example.test"}, {"Other", "you@example.test"}};
    c.priority = 2;
    c.attachments = {"/x/a.jpg"};
    EXPECT_EQ(BuildHeader(c),
              "Date: 5 Mar 2024 9:7:3\r\n"
              "From: Front door <cam@example.test>\r\n"
              "X-Mailer: Kestrova\r\n"
              "Reply-To: cam@example.test\r\n"
              "X-Priority: 2 (High)\r\n"
              "To: <me@example.test>,Other<you@example.test>\r\n"
              "Subject: Kestrova\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-Type: multipart/mixed; boundary=\"__MESSAGE__ID__54yg6f6h6y456345\"\r\n"
              "\r\n"
              "--__MESSAGE__ID__54yg6f6h6y456345\r\n"
              "Content-type: text/plain; charset=US-ASCII\r\n"
              "Content-Transfer-Encoding: 7bit\r\n"
              "\r\n");
}

TEST_F(MimeMessage, SinglePartMailHasNoBoundaryAnywhere) {
    MailContent c = Basic();
    c.subject.clear();
    c.priority = 7;
    std::string all = Joined(Blocks(c));
    EXPECT_EQ(all,
              "Date: 5 Mar 2024 9:7:3\r\n"
              "From:  <cam@example.test>\r\n"
              "X-Priority: 3 (Normal)\r\n"
              "To: <me@example.test>\r\n"
              "Subject:  \r\n"
              "MIME-Version: 1.0\r\n"
              "Content-type: text/plain; charset=\"US-ASCII\"\r\n"
              "Content-Transfer-Encoding: 7bit\r\n"
              "\r\n"
              " \r\n");
}

TEST_F(MimeMessage, HeaderErrors) {
    MailContent noTo = Basic();
    noTo.to.clear();
    MailContent noSender = Basic();
    noSender.senderAddress.clear();
    EXPECT_EQ(CodeOf([&] { BuildHeader(noTo); }), ECSmtp::kUndefinedRecipients);
    EXPECT_EQ(CodeOf([&] { BuildHeader(noSender); }), ECSmtp::kUndefinedSender);
    clock.SetCalendarSeconds(0);
    EXPECT_EQ(CodeOf([&] { BuildHeader(Basic()); }), ECSmtp::kTimeFailed);
}

TEST_F(MimeMessage, BodyLinesCannotEndTheDataEarly) {
    struct Case {
        std::vector<std::string> lines;
        std::string body;
    } cases[] = {
        {{"Front door"}, "Front door\r\n"},
        {{"a", "b"}, "a\r\nb\r\n"},
        {{"a\nb"}, "a\r\nb\r\n"},  // bare line feeds between appended texts
        {{"a\r\nb\rc"}, "a\r\nb\r\nc\r\n"},
        {{"."}, "..\r\n"},
        {{"x\n.\nQUIT"}, "x\r\n..\r\nQUIT\r\n"},
        {{".hidden", "a.b"}, "..hidden\r\na.b\r\n"},
        {{""}, "\r\n"},
    };
    for (const Case& c : cases) {
        MailContent content = Basic();
        content.lines = c.lines;
        EXPECT_EQ(Joined(Blocks(content), 1), c.body) << c.lines[0];
    }
}

TEST_F(MimeMessage, BodyThatIsNotAsciiIsDeclaredUtf8AndEncoded) {
    MailContent c = Basic();
    c.lines = {
        "K\xc3\xbc"
        "che",
        "Gar\xc3\xa7on\n."};
    c.attachments = {WriteFile("p.jpg", "x")};
    std::vector<std::string> blocks = Blocks(c);
    EXPECT_NE(
        blocks[0].find("Content-type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n"),
        std::string::npos);
    std::string body = blocks[1];
    ASSERT_GE(body.size(), 2u);
    std::string decoded;
    for (size_t start = 0; start < body.size();) {
        size_t end = body.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LE(end - start, 76u);
        std::vector<uint8_t> bytes = MailBase64Decode(body.substr(start, end - start));
        decoded.append(bytes.begin(), bytes.end());
        start = end + 2;
    }
    EXPECT_EQ(decoded,
              "K\xc3\xbc"
              "che\r\nGar\xc3\xa7on\r\n.\r\n");
}

// The Base64 line lengths of one attachment's part, and its decoded bytes.
void ReadPart(const std::string& part, std::vector<size_t>& lengths, std::string& bytes) {
    size_t start = part.find("\r\n\r\n") + 4;
    while (start < part.size()) {
        size_t end = part.find("\r\n", start);
        if (end == std::string::npos) break;
        std::string line = part.substr(start, end - start);
        lengths.push_back(line.size());
        std::vector<uint8_t> got = MailBase64Decode(line);
        bytes.append(got.begin(), got.end());
        start = end + 2;
    }
}

TEST_F(MimeMessage, AttachmentLinesHold54BytesEach) {
    struct Case {
        size_t size;
        std::vector<size_t> lengths;
    } cases[] = {
        {10, {16}}, {108, {72, 72, 0}}, {0, {0}}, {54, {72, 0}}, {55, {72, 4}},
    };
    for (const Case& c : cases) {
        std::string data;
        for (size_t i = 0; i < c.size; ++i) data += char(i * 31);
        MailContent content = Basic();
        content.attachments = {WriteFile("a.bin", data)};
        std::vector<std::string> blocks = Blocks(content);
        ASSERT_EQ(blocks.size(), 5u);  // header, body, part header, data, closing boundary
        std::vector<size_t> lengths;
        std::string bytes;
        ReadPart(blocks[2] + blocks[3], lengths, bytes);
        EXPECT_EQ(lengths, c.lengths) << c.size;
        EXPECT_EQ(bytes, data);
    }
}

TEST_F(MimeMessage, ThreeAttachmentsInOrderUnderTheirFileNames) {
    MailContent c = Basic();
    std::string big(20000, 'z');
    c.attachments = {WriteFile("a b.jpg", "first"), WriteFile("2.png", big), WriteFile("3.jpg", "third")};
    std::string all = Joined(Blocks(c));
    const std::string boundary = std::string("--") + kMimeBoundary;
    std::vector<std::string> parts;
    for (size_t at = all.find(boundary); at != std::string::npos;) {
        size_t next = all.find(boundary, at + 1);
        parts.push_back(all.substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = next;
    }
    ASSERT_EQ(parts.size(), 5u);  // text part, three attachments, closing
    EXPECT_EQ(parts[4], boundary + "--\r\n");
    const std::string names[] = {"a b.jpg", "2.png", "3.jpg"};
    const std::string contents[] = {"first", big, "third"};
    for (int i = 0; i < 3; ++i) {
        std::string word = "=?UTF-8?B?" + MailBase64Encode(names[i]) + "?=";
        EXPECT_EQ(parts[i + 1].rfind(boundary + "\r\nContent-Type: application/x-msdownload; name=\"" + word +
                                         "\"\r\nContent-Transfer-Encoding: base64\r\n"
                                         "Content-Disposition: attachment; filename=\"" +
                                         word + "\"\r\n\r\n",
                                     0),
                  0u)
            << names[i];
        std::vector<size_t> lengths;
        std::string bytes;
        ReadPart(parts[i + 1], lengths, bytes);
        EXPECT_EQ(bytes, contents[i]);
    }
    EXPECT_EQ(AttachmentName("no-folder.jpg"), "no-folder.jpg");
}

TEST_F(MimeMessage, AttachmentChecks) {
    std::string exact = SparseFile("exact", 5242880);
    std::string withinKiB = SparseFile("within", 5243903);
    std::string over = SparseFile("over", 5243904);
    std::string small = WriteFile("small", std::string(1024, 's'));
    struct Case {
        std::vector<std::string> paths;
        int32_t code;
    } cases[] = {
        {{exact}, 0},
        {{withinKiB}, 0},
        {{over}, ECSmtp::kMessageTooBig},
        {{exact, small}, ECSmtp::kMessageTooBig},
        {{small, folder.native() + "missing.jpg"}, ECSmtp::kAttachmentMissing},
        {{}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CodeOf([&] { CheckAttachments(c.paths); }), c.code);

    MailContent gone = Basic();
    gone.attachments = {folder.native() + "missing.jpg"};
    EXPECT_EQ(CodeOf([&] { Blocks(gone); }), ECSmtp::kAttachmentMissing);
}

}  // namespace
}  // namespace kestrova
