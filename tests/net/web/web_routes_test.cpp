#include "net/web_routes.h"

#include <gtest/gtest.h>

#include <string>

#include "net/server_db.h"
#include "net/web_pages.h"
#include "platform/base/files.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

std::string Reply(int status, const std::string& type, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(status) + "\r\nContent-Type: " + type +
           "; charset=utf-8\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

class WebRoutesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (size_t i = 0; i < kServerDbSize; ++i) db[i] = uint8_t(i * 7);
        site.publishedCount = 3;
        site.frameFolder = frames.path();
        site.serverDb = &db;
        WriteFrame(L"3.jpg", "third frame");
        WriteFrame(L"0.jpg", "frame zero");
        WriteFrame(L"77.jpg", "not published");
    }
    void WriteFrame(const std::wstring& name, const std::string& bytes) {
        ASSERT_TRUE(WriteFileAtomic(frames.path() + name, bytes.data(), bytes.size()));
    }
    std::string Asset(size_t offset, size_t length) {
        return std::string(reinterpret_cast<const char*>(db.data()) + offset, length);
    }

    TempFolder frames;
    std::vector<uint8_t> db = std::vector<uint8_t>(kServerDbSize);
    WebSite site;
};

TEST_F(WebRoutesTest, AnswersEveryPathOfTheSite) {
    const std::string notFound = Reply(404, "text/html", NotFoundPage());
    const std::string index = Reply(200, "text/html", BuildIndexPage(3));
    const struct {
        std::string path;
        std::string reply;
    } cases[] = {
        {"/", index},
        {"/index.php", index},
        {"/INDEX.PHP", index},
        {"/index.php?x", notFound},
        {"/Device.php?id=2", Reply(200, "text/html", BuildDevicePage(2))},
        {"/device.php?id=3&t=1", Reply(200, "text/html", BuildDevicePage(3))},
        {"/device.php?id=0", notFound},
        {"/device.php?id=-1", notFound},
        {"/device.php?id=4", notFound},
        {"/device.php?id=abc", notFound},
        {"/device.php?id=99999999999999999999", notFound},
        {"/3.jpg?1700000000000", Reply(200, "image/jpeg", "third frame")},
        {"/x.jpg", Reply(200, "image/jpeg", "frame zero")},
        {"/77.jpg", Reply(200, "image/jpeg", "not published")},
        {"/1.jpg", notFound},  // not written yet
        {"/3.JPG", notFound},
        {"/global.css", Reply(200, "text/css", std::string(StyleSheet()))},
        {"/GLOBAL.CSS", Reply(200, "text/css", std::string(StyleSheet()))},
        {"/logo.png", Reply(200, "image/png", Asset(0, 579))},
        {"/beep.mp3", Reply(200, "audio/mpeg", Asset(579, 2052))},
        {"/Beep.WAV", Reply(200, "audio/wav", Asset(2631, 4460))},
        {"/logo.png?", notFound},
        {"/favicon.ico", notFound},
    };
    for (const auto& c : cases) EXPECT_EQ(RouteWebRequest(c.path, site), c.reply) << c.path;
}

TEST_F(WebRoutesTest, AssetsNeedAServerDbOfTheRightSize) {
    const std::string notFound = Reply(404, "text/html", NotFoundPage());
    std::vector<uint8_t> shortDb(kServerDbSize - 1);
    const std::vector<uint8_t>* candidates[] = {nullptr, &shortDb};
    for (const std::vector<uint8_t>* candidate : candidates) {
        site.serverDb = candidate;
        for (const char* path : {"/logo.png", "/beep.mp3", "/beep.wav"})
            EXPECT_EQ(RouteWebRequest(path, site), notFound) << path;
        EXPECT_EQ(RouteWebRequest("/", site), Reply(200, "text/html", BuildIndexPage(3)));
    }
}

TEST(WebRoutes, LeadingNumberReadsDigitsAndSaturates) {
    EXPECT_EQ(LeadingNumber("12.jpg"), 12);
    EXPECT_EQ(LeadingNumber("x"), 0);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("-5"), 0);
    EXPECT_EQ(LeadingNumber("2147483647"), 2147483647);
    EXPECT_EQ(LeadingNumber("2147483648"), 2147483647);
    EXPECT_EQ(LeadingNumber("99999999999999999999999"), 2147483647);
}

}  // namespace
}  // namespace kestrova
