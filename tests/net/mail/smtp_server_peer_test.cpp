// Mail to the npm SMTP server over STARTTLS and TLS from connect, each message read back by mailparser.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "net/email_job.h"
#include "net/mail_base64.h"
#include "net/smtp_client.h"
#include "net/smtp_error.h"
#include "tests/net/mail/mail_test_support.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

const std::string kPassword = "s3cret-pass";

class NpmSmtpPeer : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(servers.Ready(why)) << why;
        // A storage folder with "#" in its name must not break the attachment list.
        photos = folder.native() + "Photos#1/";
        std::filesystem::create_directories(photos);
        for (int i = 0; i < 3; ++i) {
            std::string bytes;
            for (int k = 0; k < 3000 + 5400 * i; ++k) bytes += char((k * 131 + i * 7) >> 3);
            contents.push_back(bytes);
            paths.push_back(photos + "26-01-05 00-00-0" + std::to_string(i) + " 000 Email.jpg");
            WriteText(paths.back(), bytes);
        }
    }
    void FillJob(EmailJob& job, const std::string& server, int security) {
        job.SetMailer("Kestrova");
        job.SetServer("127.0.0.1", servers.Port(server));
        job.SetSecurity(security);
        job.SetLogin("kestrova");
        job.SetPassword(kPassword.c_str());
        job.SetSenderMail("cam@kestrova.test");
        job.SetRecipient("me@kestrova.test");
        job.SetSubject("Kestrova");
    }
    static int32_t CodeOf(const std::function<void()>& step) {
        try {
            step();
        } catch (const ECSmtp& e) {
            return e.Code();
        }
        return 0;
    }

    NpmSmtpServers& servers = NpmSmtpServers::Get();
    TempFolder folder;
    std::string photos;
    std::vector<std::string> paths, contents;
};

struct Route {
    const char* server;
    int security;  // as the job takes it: 0 STARTTLS, 1 TLS from connect
    const char* method;
};

class NpmSmtpRoutes : public NpmSmtpPeer, public ::testing::WithParamInterface<Route> {};

TEST_P(NpmSmtpRoutes, AlarmMailArrivesWhole) {
    const Route& route = GetParam();
    TraceCapture trace;
    EmailJob job;
    FillJob(job, route.server, route.security);
    job.AppendBody("Haust\xc3\xbcr vorne");
    for (const std::string& path : paths) job.AddAttachmentPath(path.c_str());
    int before = servers.MessageCount();
    ASSERT_EQ(job.SendNow(), 1) << trace.All();
    ASSERT_EQ(servers.MessageCount(), before + 1);

    std::string message = servers.MessageFolder(before + 1);
    EXPECT_EQ(ReadText(message + "auth.txt"), std::string(route.method) + " kestrova");
    EXPECT_EQ(ReadText(message + "subject.txt"), "Kestrova");
    EXPECT_EQ(ReadText(message + "text.txt"), "Haust\xc3\xbcr vorne\n");
    for (int i = 0; i < 3; ++i) {
        std::string name = std::filesystem::path(paths[i]).filename().string();
        EXPECT_EQ(ReadText(message + "attachments/" + std::to_string(i + 1) + "-" + name), contents[i])
            << name;
    }
    EXPECT_FALSE(std::filesystem::exists(message + "attachments/4-"));
    std::string raw = ReadText(message + "raw.eml");
    EXPECT_NE(raw.find("X-Mailer: Kestrova\r\n"), std::string::npos);
    EXPECT_NE(raw.find("Reply-To: cam@kestrova.test\r\n"), std::string::npos);

    std::string all = trace.All();
    EXPECT_NE(all.find("MAIL FROM:<cam@kestrova.test>"), std::string::npos);
    EXPECT_NE(all.find("\nQUIT\n221"), std::string::npos);
    for (const std::string& secret :
         {kPassword, MailBase64Encode(kPassword),
          MailBase64Encode(std::string("kestrova\0kestrova\0", 18) + kPassword)}) {
        EXPECT_EQ(all.find(secret), std::string::npos) << route.method;
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, NpmSmtpRoutes,
                         ::testing::Values(Route{"starttls-login", 0, "LOGIN"},
                                           Route{"starttls-plain", 0, "PLAIN"},
                                           Route{"starttls-cram", 0, "CRAM-MD5"},
                                           Route{"tls-login", 1, "LOGIN"}, Route{"tls-plain", 1, "PLAIN"},
                                           Route{"tls-cram", 1, "CRAM-MD5"}),
                         [](const auto& info) {
                             std::string name = info.param.server;
                             std::erase(name, '-');
                             return name;
                         });

TEST_F(NpmSmtpPeer, FailuresEndWithTheirCodes) {
    std::string big = folder.native() + "big.jpg";
    WriteText(big, "");
    ASSERT_EQ(truncate(big.c_str(), 5243904), 0);
    struct Case {
        std::string name, server;
        SmtpSecurity security;
        std::string password, recipient, sender, attachment;
        int32_t code;
        bool quit;  // QUIT follows the failure
    } cases[] = {
        {"rejected recipient", "starttls-login", SmtpSecurity::kStartTls, kPassword, "reject@kestrova.test",
         "", "", ECSmtp::kRcptToRejected, true},
        {"rejected data", "tls-plain", SmtpSecurity::kTlsFromConnect, kPassword, "",
         "reject-data@kestrova.test", "", ECSmtp::kMessageBodyRejected, true},
        {"wrong password, LOGIN", "starttls-login", SmtpSecurity::kStartTls, "wrong", "", "", "",
         ECSmtp::kBadLoginOrPassword, true},
        {"wrong password, PLAIN", "starttls-plain", SmtpSecurity::kStartTls, "wrong", "", "", "",
         ECSmtp::kAuthPlainRejected, true},
        {"wrong password, CRAM-MD5", "tls-cram", SmtpSecurity::kTlsFromConnect, "wrong", "", "", "",
         ECSmtp::kBadLoginOrPassword, true},
        {"dropped over STARTTLS", "starttls-login", SmtpSecurity::kStartTls, kPassword, "drop@kestrova.test",
         "", "", ECSmtp::kConnectionClosed, false},
        {"dropped over TLS", "tls-login", SmtpSecurity::kTlsFromConnect, kPassword, "drop@kestrova.test", "",
         "", ECSmtp::kConnectionClosed, false},
        {"no STARTTLS offered", "nostarttls", SmtpSecurity::kStartTls, kPassword, "", "", "",
         ECSmtp::kStartTlsUnsupported, true},
        {"no common method", "xoauth", SmtpSecurity::kStartTls, kPassword, "", "", "",
         ECSmtp::kNoCommonAuthMethod, true},
        {"greeting refused", "refuse", SmtpSecurity::kNone, kPassword, "", "", "",
         ECSmtp::kServerNotResponding, false},
        {"attachment too large", "starttls-login", SmtpSecurity::kStartTls, kPassword, "", "", big,
         ECSmtp::kMessageTooBig, true},
        {"attachment missing", "starttls-login", SmtpSecurity::kStartTls, kPassword, "", "", big + ".gone",
         ECSmtp::kAttachmentMissing, true},
    };
    for (const Case& c : cases) {
        int before = servers.MessageCount();
        TraceCapture trace;
        {
            SmtpClient client;
            client.SetServer("127.0.0.1", servers.Port(c.server), true);
            client.SetSecurity(c.security);
            client.SetLogin("kestrova");
            client.SetPassword(c.password);
            client.SetSenderMail(c.sender.empty() ? "cam@kestrova.test" : c.sender);
            client.AddRecipient(c.recipient.empty() ? "me@kestrova.test" : c.recipient.c_str());
            if (!c.attachment.empty()) client.AddAttachment(c.attachment);
            EXPECT_EQ(CodeOf([&] { client.Send(); }), c.code) << c.name;
        }
        std::string all = trace.All();
        EXPECT_EQ(all.find("\nQUIT\n221") != std::string::npos, c.quit) << c.name << "\n" << all;
        if (c.code == ECSmtp::kMessageTooBig) {
            EXPECT_EQ(all.find("MAIL FROM"), std::string::npos);
        }
        EXPECT_EQ(servers.MessageCount(), before) << c.name;
    }
}

}  // namespace
}  // namespace kestrova
