// Mail to a Postfix with Cyrus SASL: the one server here with DIGEST-MD5 beside LOGIN, PLAIN and CRAM-MD5.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "net/email_job.h"
#include "net/smtp_client.h"
#include "net/smtp_error.h"
#include "tests/net/mail/mail_test_support.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

// One Postfix for the whole test program, each port offering one mechanism.
class Postfix {
public:
    static Postfix& Get() {
        static Postfix postfix;
        return postfix;
    }
    ~Postfix() { RunCommand({"bash", SmtpPeersFolder() + "postfix.sh", "stop", folder_.native()}); }

    bool started() const { return started_; }
    const std::string& output() const { return output_; }
    uint16_t Port(const std::string& service) const { return ports_.at(service); }
    std::set<std::string> Held() const {
        std::set<std::string> ids;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.native() + "queue/hold")) {
            ids.insert(entry.path().filename().string());
        }
        return ids;
    }
    std::string Show(const std::string& id) const {
        std::string text;
        RunCommand({"postcat", "-c", folder_.native() + "etc", "-q", id}, &text);
        return text;
    }

private:
    Postfix() {
        std::vector<std::string> command = {"bash", SmtpPeersFolder() + "postfix.sh", "start",
                                            folder_.native()};
        for (const char* mechanism : {"login", "plain", "cram-md5", "digest-md5"}) {
            for (const char* mode : {"starttls", "tls"}) AddService(command, mechanism, mode);
        }
        AddService(command, "plain", "starttls-rejectdata");
        started_ = RunCommand(command, &output_) == 0;
    }
    void AddService(std::vector<std::string>& command, const std::string& mechanism,
                    const std::string& mode) {
        uint16_t port = FreeLoopbackPort();
        ports_[mechanism + ":" + mode] = port;
        command.push_back(mechanism + ":" + mode + ":" + std::to_string(port));
    }

    TempFolder folder_;
    std::map<std::string, uint16_t> ports_;
    std::string output_;
    bool started_ = false;
};

class PostfixPeer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(postfix.started()) << "Postfix did not start: " << postfix.output(); }
    Postfix& postfix = Postfix::Get();
};

struct Route {
    const char* mechanism;
    const char* mode;
};

class PostfixRoutes : public PostfixPeer, public ::testing::WithParamInterface<Route> {};

TEST_P(PostfixRoutes, MailIsAccepted) {
    const Route& route = GetParam();
    TempFolder folder;
    std::string photo = folder.native() + "photo 000 Email.jpg";
    WriteText(photo, std::string(4000, 'p'));
    EmailJob job;
    job.SetMailer("Kestrova");
    job.SetServer("127.0.0.1", postfix.Port(std::string(route.mechanism) + ":" + route.mode));
    job.SetSecurity(std::string(route.mode) == "tls" ? 1 : 0);
    job.SetLogin("kestrova");
    job.SetPassword("s3cret-pass");
    job.SetSenderMail("cam@kestrova.test");
    job.SetRecipient("me@elsewhere.test");
    job.SetSubject("Kestrova");
    job.AppendBody("Front door");
    job.AddAttachmentPath(photo.c_str());

    std::set<std::string> before = postfix.Held();
    TraceCapture trace;
    ASSERT_EQ(job.SendNow(), 1) << trace.All();
    std::set<std::string> after = postfix.Held();
    ASSERT_EQ(after.size(), before.size() + 1);
    std::string id;
    for (const std::string& held : after) {
        if (!before.count(held)) id = held;
    }
    std::string shown = postfix.Show(id);
    std::string mechanism = route.mechanism;
    for (char& c : mechanism) c = char(toupper(c));
    EXPECT_NE(shown.find("sasl_method=" + mechanism), std::string::npos) << shown;
    EXPECT_NE(shown.find("Subject: Kestrova"), std::string::npos);
    EXPECT_EQ(trace.All().find("s3cret-pass"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Mechanisms, PostfixRoutes,
                         ::testing::Values(Route{"login", "starttls"}, Route{"login", "tls"},
                                           Route{"plain", "starttls"}, Route{"plain", "tls"},
                                           Route{"cram-md5", "starttls"}, Route{"cram-md5", "tls"},
                                           Route{"digest-md5", "starttls"}, Route{"digest-md5", "tls"}),
                         [](const auto& info) {
                             std::string name = std::string(info.param.mechanism) + info.param.mode;
                             std::erase(name, '-');
                             return name;
                         });

TEST_F(PostfixPeer, RefusalsEndWithTheirCodes) {
    struct Case {
        std::string service;
        SmtpSecurity security;
        std::string password;
        int32_t code;
    } cases[] = {
        {"digest-md5:starttls", SmtpSecurity::kStartTls, "wrong", ECSmtp::kDigestResponseRejected},
        {"digest-md5:tls", SmtpSecurity::kTlsFromConnect, "wrong", ECSmtp::kDigestResponseRejected},
        {"plain:starttls-rejectdata", SmtpSecurity::kStartTls, "s3cret-pass", ECSmtp::kDataRejected},
    };
    for (const Case& c : cases) {
        int32_t code = 0;
        try {
            SmtpClient client;
            client.SetServer("127.0.0.1", postfix.Port(c.service), true);
            client.SetSecurity(c.security);
            client.SetLogin("kestrova");
            client.SetPassword(c.password);
            client.SetSenderMail("cam@kestrova.test");
            client.AddRecipient("me@elsewhere.test");
            client.Send();
        } catch (const ECSmtp& e) {
            code = e.Code();
        }
        EXPECT_EQ(code, c.code) << c.service;
    }
}

}  // namespace
}  // namespace kestrova
