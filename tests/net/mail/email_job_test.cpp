#include "net/email_job.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/net/mail/mail_test_support.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait_until.h"

namespace kestrova {
namespace {

class EmailJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(servers.Ready(why)) << why;
    }
    void Fill(EmailJob& job, const char* server = "starttls-login", int security = 0) {
        job.SetServer("127.0.0.1", servers.Port(server));
        job.SetSecurity(security);
        job.SetLogin("kestrova");
        job.SetPassword("s3cret-pass");
        job.SetSenderMail("cam@kestrova.test");
        job.SetRecipient("me@kestrova.test");
        job.SetSubject("Kestrova");
    }
    // Sends the job and returns the folder of the message it made, empty when none arrived.
    std::string Sent(EmailJob& job) {
        int before = servers.MessageCount();
        if (job.SendNow() != 1 || servers.MessageCount() != before + 1) return std::string();
        return servers.MessageFolder(before + 1);
    }

    NpmSmtpServers& servers = NpmSmtpServers::Get();
};

TEST_F(EmailJobTest, TextsKeepWhatTheDeviceHoldsCutAtCharacters) {
    const std::string umlaut = "\xc3\xbc";
    struct Case {
        std::string subject;
        std::string sent;
    } cases[] = {
        {std::string(60, 's'), std::string(51, 's')},
        {std::string(51, 's'), std::string(51, 's')},
        {std::string(50, 's') + umlaut + "x",
         std::string(50, 's')},  // the last character would not fit whole
        {std::string(49, 's') + umlaut + "x", std::string(49, 's') + umlaut},
    };
    for (const Case& c : cases) {
        EmailJob job;
        Fill(job);
        job.SetSubject(c.subject.c_str());
        std::string message = Sent(job);
        ASSERT_FALSE(message.empty());
        EXPECT_EQ(ReadText(message + "subject.txt"), c.sent);
    }
    EmailJob job;
    Fill(job);
    job.SetSubject(nullptr);
    std::string message = Sent(job);
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(ReadText(message + "subject.txt"), "");
}

TEST_F(EmailJobTest, BodyTextsAndAttachmentList) {
    TempFolder folder;
    std::string first = folder.native() + "first.jpg", second = folder.native() + "second.jpg";
    WriteText(first, "1");
    WriteText(second, "22");

    EmailJob job;
    Fill(job);
    job.AppendBody("a");
    job.AppendBody("b");
    job.AddAttachmentPath(first.c_str());
    std::string message = Sent(job);
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(ReadText(message + "text.txt"), "a\nb");
    EXPECT_EQ(ReadText(message + "attachments/1-first.jpg"), "1");

    job.AppendBody(nullptr);
    job.AppendBody("c");
    job.AddAttachmentPath(nullptr);
    job.AddAttachmentPath(second.c_str());
    message = Sent(job);
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(ReadText(message + "text.txt"), "c");
    EXPECT_EQ(ReadText(message + "attachments/1-second.jpg"), "22");
    EXPECT_FALSE(std::filesystem::exists(message + "attachments/2-second.jpg"));
}

TEST_F(EmailJobTest, SecurityAndModes) {
    EmailJob job;
    Fill(job, "tls-login", 1);
    EXPECT_EQ(job.SetSecurity(2), 0);  // refused: the job still speaks TLS from connect
    EXPECT_FALSE(Sent(job).empty());

    int before = servers.MessageCount();
    EXPECT_EQ(job.Start(2), 0);
    EXPECT_EQ(job.Start(-1), 0);
    EXPECT_EQ(job.Start(0), 1);
    EXPECT_EQ(servers.MessageCount(), before + 1);
}

TEST_F(EmailJobTest, ThreadedSendOutlivesTheJob) {
    int before = servers.MessageCount();
    {
        EmailJob job;
        Fill(job);
        job.AppendBody("Front door");
        ASSERT_EQ(job.Start(1), 1);
    }  // gone while its thread works
    ASSERT_TRUE(testing::WaitUntil([&] { return servers.MessageCount() > before; }));
    ASSERT_EQ(servers.MessageCount(), before + 1);
    EXPECT_EQ(ReadText(servers.MessageFolder(before + 1) + "text.txt"),
              "Front door\n\n");  // the end of data adds a line
}

TEST_F(EmailJobTest, FailedSendGivesZero) {
    EmailJob unreachable;
    Fill(unreachable);
    unreachable.SetServer("127.0.0.1", FreeLoopbackPort());
    EXPECT_EQ(unreachable.SendNow(), 0);

    EmailJob wrongPassword;
    Fill(wrongPassword);
    wrongPassword.SetPassword("wrong");
    EXPECT_EQ(wrongPassword.SendNow(), 0);

    EmailJob noHost;
    Fill(noHost);
    noHost.SetServer(nullptr, 25);
    EXPECT_EQ(noHost.SendNow(), 0);
}

}  // namespace
}  // namespace kestrova
