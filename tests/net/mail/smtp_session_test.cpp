// Sessions against a scripted server: replies and timings that no real server here gives on demand.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "net/host_resolver.h"
#include "net/mail_base64.h"
#include "net/smtp_client.h"
#include "net/smtp_error.h"
#include "platform/base/clock.h"
#include "tests/net/mail/mail_test_support.h"

namespace kestrova {
namespace {

std::string LocalHostName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

int32_t CodeOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const ECSmtp& e) {
        return e.Code();
    }
    return 0;
}

// Answers the greeting and EHLO, then `rest`; notes every line the client sent.
ScriptedServer::Script Greets(const std::string& ehloReply, std::vector<std::string>& seen,
                              std::function<void(ScriptedConnection&)> rest = nullptr) {
    return [&seen, ehloReply, rest](ScriptedConnection& c) {
        c.Send("220 kestrova.test ready\r\n");
        if (auto line = c.ReadLine()) seen.push_back(*line);
        c.Send(ehloReply);
        if (rest) rest(c);
        while (auto line = c.ReadLine()) {
            seen.push_back(*line);
            if (*line == "QUIT") c.Send("221 bye\r\n");
        }
    };
}

class SmtpSession : public ::testing::Test {
protected:
    void TearDown() override {
        SetHostResolver(nullptr);
        SetClock(nullptr);
    }
    static void Fill(SmtpClient& client, uint16_t port) {
        client.SetServer("127.0.0.1", port, true);
        client.SetSenderMail("cam@kestrova.test");
        client.AddRecipient("me@kestrova.test");
    }
    // Runs `step` on a thread while the test clock moves ahead 10 s at a time; its error code.
    static int32_t CodeWhileTimePasses(TestClock& clock, const std::function<void()>& step) {
        auto done = std::async(std::launch::async, [&] { return CodeOf(step); });
        while (done.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready) clock.Advance(10000);
        return done.get();
    }
};

TEST_F(SmtpSession, RepliesArriveInPiecesAndTheBodyCannotEndTheData) {
    std::vector<std::string> seen, data;
    ScriptedServer server([&](ScriptedConnection& c) {
        c.Dribble("220-kestrova.test first\r\n220 second\r\n");
        seen.push_back(c.ReadLine().value_or("?"));
        c.Dribble("250-kestrova.test\r\n250-SIZE 1000\r\n250 8BITMIME\r\n");  // no AUTH: none is tried
        for (const char* reply : {"250 ok\r\n", "250 ok\r\n", "354 go on\r\n"}) {
            seen.push_back(c.ReadLine().value_or("?"));
            c.Send(reply);
        }
        data = c.ReadData();
        c.Send("250 queued\r\n");
        seen.push_back(c.ReadLine().value_or("?"));
        c.Send("221 bye\r\n");
        if (!c.ReadLine()) seen.push_back("closed");
    });
    {
        SmtpClient client;
        Fill(client, server.port());
        client.SetLogin("kestrova");
        client.SetPassword("s3cret-pass");
        client.AddMsgLine("Front door\n.\nQUIT");
        client.Send();
    }  // the session ends with the client
    server.Finish();
    EXPECT_EQ(seen, (std::vector<std::string>{"EHLO " + LocalHostName(), "MAIL FROM:<cam@kestrova.test>",
                                              "RCPT TO:<me@kestrova.test>", "DATA", "QUIT", "closed"}));
    ASSERT_GE(data.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(data.end() - 5, data.end()),
              (std::vector<std::string>{"Front door", "..", "QUIT", "", "."}));
}

TEST_F(SmtpSession, RefusedAuthenticationEndsWithQuitUnless530) {
    struct Case {
        const char* reply;
        bool quit;
    } cases[] = {{"530 5.7.0 Must issue a STARTTLS command first\r\n", false}, {"535 5.7.8 Bad\r\n", true}};
    for (const Case& c : cases) {
        std::vector<std::string> seen;
        ScriptedServer server(
            Greets("250-kestrova.test\r\n250 AUTH PLAIN\r\n", seen, [&](ScriptedConnection& s) {
                seen.push_back(s.ReadLine().value_or("?"));
                s.Send(c.reply);
            }));
        SmtpClient client;
        Fill(client, server.port());
        client.SetLogin("kestrova");
        client.SetPassword("s3cret-pass");
        EXPECT_EQ(CodeOf([&] { client.Send(); }), ECSmtp::kAuthPlainRejected);
        server.Finish();
        ASSERT_GE(seen.size(), 2u);
        EXPECT_EQ(seen[1],
                  "AUTH PLAIN " + MailBase64Encode(std::string("kestrova\0kestrova\0s3cret-pass", 29)));
        EXPECT_EQ(seen.back() == "QUIT", c.quit) << c.reply;
    }
}

TEST_F(SmtpSession, LoginSendsNameAndPasswordOnLinesOfTheirOwnAndTracesNeither) {
    std::vector<std::string> seen;
    ScriptedServer server(
        Greets("250-kestrova.test\r\n250 AUTH LOGIN PLAIN\r\n", seen, [&](ScriptedConnection& s) {
            for (const char* reply : {"334 VXNlcm5hbWU6\r\n", "334 UGFzc3dvcmQ6\r\n", "235 ok\r\n"}) {
                seen.push_back(s.ReadLine().value_or("?"));
                s.Send(reply);
            }
        }));
    TraceCapture trace;
    {
        SmtpClient client;
        client.SetLogin("kestrova");
        client.SetPassword("s3cret-pass");
        client.Connect("127.0.0.1", server.port(), SmtpSecurity::kNone, true);
    }
    server.Finish();
    EXPECT_EQ(seen,
              (std::vector<std::string>{"EHLO " + LocalHostName(), "AUTH LOGIN", MailBase64Encode("kestrova"),
                                        MailBase64Encode("s3cret-pass"), "QUIT"}));
    std::string all = trace.All();
    EXPECT_NE(
        all.find("AUTH LOGIN\n334 VXNlcm5hbWU6\n[redacted]\n334 UGFzc3dvcmQ6\n[redacted]\n235 ok\nQUIT"),
        std::string::npos)
        << all;
    EXPECT_EQ(all.find(MailBase64Encode("s3cret-pass")), std::string::npos);
}

TEST_F(SmtpSession, RefusedQuitIsRaisedByDisconnectButNeverByTheDestructor) {
    std::vector<std::string> seen;
    auto refusesQuit = [&](ScriptedConnection& c) {
        c.Send("220 ready\r\n");
        while (auto line = c.ReadLine()) c.Send(line->starts_with("QUIT") ? "500 no\r\n" : "250 ok\r\n");
    };
    {
        ScriptedServer server(refusesQuit);
        SmtpClient client;
        client.Connect("127.0.0.1", server.port(), SmtpSecurity::kNone, false);
        EXPECT_EQ(CodeOf([&] { client.Disconnect(); }), ECSmtp::kQuitRejected);
        EXPECT_EQ(CodeOf([&] { client.Disconnect(); }), 0);  // closed already: nothing more is sent
    }
    ScriptedServer server(refusesQuit);
    auto client = std::make_unique<SmtpClient>();
    client->Connect("127.0.0.1", server.port(), SmtpSecurity::kNone, false);
    client.reset();  // the refused QUIT stays inside
}

TEST_F(SmtpSession, ReplyLengthIsCapped) {
    for (size_t size : {20 * 1024, 70 * 1024}) {
        std::string ehlo;
        while (ehlo.size() < size) ehlo += "250-" + std::string(60, 'x') + "\r\n";
        ehlo += "250 end\r\n";
        std::vector<std::string> seen;
        ScriptedServer server(Greets(ehlo, seen));
        SmtpClient client;
        int32_t expected = size > SmtpClient::kMaxReplyBytes ? ECSmtp::kLackOfMemory : 0;
        EXPECT_EQ(CodeOf([&] { client.Connect("127.0.0.1", server.port(), SmtpSecurity::kNone, false); }),
                  expected)
            << size;
    }
}

TEST_F(SmtpSession, ServerAddressesAndPorts) {
    std::vector<std::string> asked;
    SetHostResolver([&](const std::string& host) -> std::optional<uint32_t> {
        asked.push_back(host);
        if (host == "mail.kestrova.test") return htonl(INADDR_LOOPBACK);
        return std::nullopt;
    });
    std::vector<std::string> seen;
    ScriptedServer good(Greets("250 kestrova.test\r\n", seen));
    bool reached = false;
    ScriptedServer wrapped([&](ScriptedConnection&) { reached = true; });
    struct Case {
        std::string host;
        int port;
        int32_t code;
    } cases[] = {
        {"mail.kestrova.test", good.port(), 0},
        {"nowhere.kestrova.test", good.port(), ECSmtp::kUnknownServer},
        {"127.0.0.1", wrapped.port() + 65536, ECSmtp::kConnectFailed},  // would wrap to the listening port
        {"127.0.0.1", -1, ECSmtp::kConnectFailed},
        {"127.0.0.1", FreeLoopbackPort(), ECSmtp::kWaitFailed},  // refused
    };
    for (const Case& c : cases) {
        SmtpClient client;
        EXPECT_EQ(CodeOf([&] { client.Connect(c.host, c.port, SmtpSecurity::kNone, false); }), c.code)
            << c.host;
    }
    good.Finish();
    wrapped.Finish();
    EXPECT_FALSE(reached);
    EXPECT_EQ(asked, (std::vector<std::string>{"mail.kestrova.test", "nowhere.kestrova.test"}));
    EXPECT_EQ(seen.back(), "QUIT");
    EXPECT_EQ(MailServicePort(), 25);
}

TEST_F(SmtpSession, SilentPeersTimeOutOnTheClock) {
    TestClock clock;
    SetClock(&clock);
    for (SmtpSecurity security : {SmtpSecurity::kNone, SmtpSecurity::kTlsFromConnect}) {
        ScriptedServer silent([](ScriptedConnection& c) { c.ReadData(); });  // reads until the client goes
        SmtpClient client;
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(
            CodeWhileTimePasses(clock, [&] { client.Connect("127.0.0.1", silent.port(), security, false); }),
            ECSmtp::kServerNotResponding);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    }
}

TEST_F(SmtpSession, ConnectionThatNeverCompletesTimesOut) {
    TestClock clock;
    SetClock(&clock);
    // A listener whose backlog is full lets further connections hang.
    uint16_t port = 0;
    int listener = ListenOnLoopback(0, port);
    int filler = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    ASSERT_EQ(connect(filler, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);

    SmtpClient client;
    EXPECT_EQ(
        CodeWhileTimePasses(clock, [&] { client.Connect("127.0.0.1", port, SmtpSecurity::kNone, false); }),
        ECSmtp::kConnectTimedOut);
    close(filler);
    close(listener);
}

}  // namespace
}  // namespace kestrova
