// The alarm's e-mail: a test device in alarm mails its first three photos to the npm SMTP server.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "net/alarm_mailer.h"
#include "platform/base/text.h"
#include "tests/engine/detection/alarm_fixture.h"
#include "tests/net/mail/mail_test_support.h"
#include "tests/platform/base/log_capture.h"
#include "tests/support/wait_until.h"

namespace kestrova::testing {
namespace {

class AlarmEmailTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(servers.Ready(why)) << why;
        before = servers.MessageCount();
        a.device.SetFriendlyName(L"Halle S\u00fcd");
        a.device.SetSendEmail(1);
        a.device.SetSmtpServer(L"127.0.0.1");
        a.device.SetSmtpPort(servers.Port("starttls-login"));
        a.device.SetSmtpProtocol(0);
        a.device.SetSmtpUser(L"kestrova");
        a.device.SetSmtpPassword(L"s3cret-pass");
        a.device.SetEmailSender(L"cam@kestrova.test");
        a.device.SetEmailRecipient(L"me@kestrova.test");
        InstallAlarmMailer();
    }
    void TearDown() override { SetAlarmMailSender({}); }

    // Waits (in real time) for the servers to have accepted `count` messages since the test began.
    bool AwaitMessages(int count) {
        return WaitUntil([&] { return servers.MessageCount() >= before + count; });
    }
    // The message carries the device's name and exactly these photos of the alarm, as they are on disk.
    void ExpectMail(int n, const std::vector<std::string>& photos) {
        const std::string message = servers.MessageFolder(before + n);
        EXPECT_EQ(ReadText(message + "auth.txt"), "LOGIN kestrova");
        EXPECT_EQ(ReadText(message + "subject.txt"), "Kestrova");
        EXPECT_EQ(ReadText(message + "text.txt"),
                  "Halle S\xc3\xbc"
                  "d\n");
        for (size_t i = 0; i < photos.size(); ++i) {
            const std::string name = photos[i].substr(photos[i].rfind('/') + 1);
            const std::string sent = ReadText(message + "attachments/" + std::to_string(i + 1) + "-" + name);
            EXPECT_FALSE(sent.empty()) << name;
            EXPECT_EQ(sent, ReadText(a.storage.native() + "Photos/" + photos[i])) << name;
        }
        const auto attachments = std::filesystem::directory_iterator(message + "attachments");
        EXPECT_EQ(size_t(std::distance(begin(attachments), end(attachments))), photos.size());
    }

    NpmSmtpServers& servers = NpmSmtpServers::Get();
    int before = 0;
    Alarmed a;
};

TEST_F(AlarmEmailTest, AnAlarmMailsItsFirstThreePhotos) {
    a.Start();
    EXPECT_EQ(a.PassToTheEnd(), 14);
    const std::vector<std::string> photos = a.Photos();
    ASSERT_EQ(photos.size(), 14u);
    ASSERT_TRUE(AwaitMessages(1));
    ExpectMail(1, {"26-01-05/26-01-05 00-00-00 000 Email.png", "26-01-05/26-01-05 00-00-00 001 Email.png",
                   "26-01-05/26-01-05 00-00-01 000 Email.png"});
}

TEST_F(AlarmEmailTest, AnAlarmStoppedBeforeTheThirdPhotoSendsNone) {
    a.Start();
    ASSERT_TRUE(a.Pass());
    a.device.StopAlarm();
    ASSERT_EQ(a.Photos().size(), 2u);

    // The next alarm's mail is the only one: it carries that alarm's photos.
    a.Start();
    a.PassToTheEnd();
    ASSERT_TRUE(AwaitMessages(1));
    ExpectMail(1, {"26-01-05/26-01-05 00-00-00 002 Email.png", "26-01-05/26-01-05 00-00-01 000 Email.png",
                   "26-01-05/26-01-05 00-00-01 001 Email.png"});
    EXPECT_EQ(servers.MessageCount(), before + 1);
}

TEST_F(AlarmEmailTest, ADeviceWithoutAPictureMailsNoPhotoItNeverSaved) {
    LogCapture log;
    a.device.ClearFrame();
    a.Start();
    EXPECT_EQ(a.PassToTheEnd(), 14);
    EXPECT_TRUE(a.Photos().empty());
    // The mail still tells of the alarm, without the photos that are not there.
    ASSERT_TRUE(AwaitMessages(1));
    ExpectMail(1, {});
    ASSERT_TRUE(log.AwaitLine("more photos"));
    EXPECT_EQ(
        log.LinesWith("alarm:"),
        (std::vector<std::string>{"error: alarm: Halle S\xc3\xbc"
                                  "d: photo not saved, " +
                                      a.storage.native() +
                                      "Photos/26-01-05/26-01-05 00-00-00 000 Email.png: the device has no "
                                      "picture yet",
                                  "error: alarm: Halle S\xc3\xbc"
                                  "d: 13 more photos of this alarm were not saved"}));
}

TEST_F(AlarmEmailTest, AFailedMailSaysWhyInTheLogButNeverThePassword) {
    LogCapture log;
    a.device.SetSmtpPassword(L"wrong-pass");
    a.Start();
    a.PassToTheEnd();
    const std::string failure = "error: e-mail: the mail to me@kestrova.test through 127.0.0.1:" +
                                std::to_string(servers.Port("starttls-login")) +
                                " was not sent: Bad login or password (error 406)";
    ASSERT_TRUE(log.AwaitLine(failure)) << log.Text();
    EXPECT_EQ(log.Text().find("wrong-pass"), std::string::npos);
    EXPECT_EQ(servers.MessageCount(), before);
}

TEST_F(AlarmEmailTest, AnUnknownSecurityIsToldAndTheMailGoesOutWithStartTls) {
    LogCapture log;
    a.device.SetSmtpProtocol(5);
    a.Start();
    a.PassToTheEnd();
    ASSERT_TRUE(AwaitMessages(1));
    EXPECT_EQ(log.LinesWith("security"),
              std::vector<std::string>{"warning: alarm: Halle S\xc3\xbc"
                                       "d: unknown e-mail security 5, STARTTLS is used"});
}

}  // namespace
}  // namespace kestrova::testing
