#include "net/smtp_auth.h"

#include <gtest/gtest.h>

#include <string>

#include "net/mail_base64.h"
#include "net/smtp_error.h"
#include "net/smtp_reply.h"

namespace kestrova {
namespace {

TEST(SmtpReply, FinalLineEndsTheReply) {
    struct Case {
        std::string text;
        int code;  // -1: the reply is not complete yet
    } cases[] = {
        {"220 ready\r\n", 220},
        {"250-one\r\n250-two\r\n250 three\r\n", 250},
        {"250-one\r\n250-two\r\n", -1},
        {"250-one\r\n250 tw", -1},  // the final line has not ended
        {"250\r\n", 250},
        {"25\r\n250 x\r\n", 250},      // too short to be a final line
        {"hello\r\n554 no\r\n", 554},  // anything else is passed over
        {"2a0 x\r\n", -1},
        {"250x\r\n", -1},
        {"220 a\n", -1},  // a bare line feed ends no line
        {"", -1},
        {"334 \r\n", 334},
    };
    for (const Case& c : cases) EXPECT_EQ(FinalReplyCode(c.text).value_or(-1), c.code) << c.text;
}

TEST(SmtpReply, KeywordsAndTheAuthenticationMethodChosen) {
    struct Case {
        std::string reply;
        bool startTls, auth;
        std::optional<SmtpAuthMethod> method;
    } cases[] = {
        {"250-kestrova\r\n250-AUTH LOGIN PLAIN\r\n250 STARTTLS\r\n", true, true, SmtpAuthMethod::kLogin},
        {"250-kestrova\r\n250 AUTH=PLAIN CRAM-MD5\r\n", false, true, SmtpAuthMethod::kPlain},
        {"250-kestrova\r\n250-auth cram-md5 digest-md5\r\n250 starttls\r\n", true, true,
         SmtpAuthMethod::kCramMd5},
        {"250-kestrova\r\n250 AUTH DIGEST-MD5\r\n", false, true, SmtpAuthMethod::kDigestMd5},
        {"250-kestrova\r\n250 AUTH XOAUTH2 NTLM\r\n", false, true, std::nullopt},
        {"250-kestrova\r\n250-SIZE 1000\r\n250 8BITMIME\r\n", false, false, std::nullopt},
        // a keyword inside a longer word, or at the very start, is not named
        {"250-kestrova\r\n250 XSTARTTLS AUTHX PLAINLOGIN\r\n", false, false, std::nullopt},
        {"AUTH LOGIN\r\n", false, false, SmtpAuthMethod::kLogin},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReplyNamesKeyword(c.reply, "STARTTLS"), c.startTls) << c.reply;
        EXPECT_EQ(ReplyNamesKeyword(c.reply, "AUTH"), c.auth) << c.reply;
        EXPECT_EQ(ChooseSmtpAuthMethod(c.reply), c.method) << c.reply;
    }
}

TEST(SmtpAuth, PlainMessageKeepsEveryByte) {
    EXPECT_EQ(PlainAuthMessage("L", "P"), std::string("L\0L\0P", 5));
    std::string odd = std::string("\xc3\xa9 :\"", 5);
    EXPECT_EQ(PlainAuthMessage(odd, "p\0w"), odd + '\0' + odd + '\0' + "p");
    EXPECT_EQ(MailBase64Encode(PlainAuthMessage("tim", "tanstaaftanstaaf")),
              "dGltAHRpbQB0YW5zdGFhZnRhbnN0YWFm");
}

TEST(SmtpAuth, HmacMd5KnownAnswers) {
    // RFC 2195's example exchange.
    std::vector<uint8_t> challenge =
        MailBase64Decode("PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+");
    std::string text(challenge.begin(), challenge.end());
    EXPECT_EQ(text, "<1896.697170952@postoffice.reston.mci.net>");
    EXPECT_EQ(MailBase64Encode(CramMd5Response(text, "tim", "tanstaaftanstaaf")),
              "dGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw");
    // RFC 2202: a key of exactly one block, and one longer than a block (hashed first).
    EXPECT_EQ(HmacMd5Hex("Jefe", "what do ya want for nothing?"), "750c783e6ab0b503eaa86e310a5db738");
    EXPECT_EQ(HmacMd5Hex(std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First"),
              "6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd");
    EXPECT_EQ(HmacMd5Hex(std::string(16, '\x0b'), "Hi There"), "9294727a3638bb1c13f48ef8158bfc9d");
}

TEST(SmtpAuth, DigestMd5ResponseMatchesTheRfcExample) {
    // RFC 2831's example, with its digest-uri.
    DigestChallenge challenge = ParseDigestChallenge(
        "realm=\"elwood.innosoft.com\",nonce=\"OA6MG9tEQGm2hh\",qop=\"auth\",algorithm=md5-sess,charset=utf-"
        "8");
    EXPECT_EQ(challenge.nonce, "OA6MG9tEQGm2hh");
    EXPECT_EQ(challenge.realm, "elwood.innosoft.com");
    EXPECT_EQ(DigestMd5Response(challenge, "chris", "secret", "OA6MHXh6VqTrRk", "imap/elwood.innosoft.com"),
              "charset=utf-8,username=\"chris\",realm=\"elwood.innosoft.com\",nonce=\"OA6MG9tEQGm2hh\","
              "nc=00000001,cnonce=\"OA6MHXh6VqTrRk\",digest-uri=\"imap/elwood.innosoft.com\","
              "response=d388dad90d4bbd760a152321f2143af7,qop=auth");
}

TEST(SmtpAuth, DigestChallengeWithoutRealmOrBroken) {
    DigestChallenge noRealm = ParseDigestChallenge("nonce=\"abc\",qop=\"auth\"");
    EXPECT_EQ(noRealm.realm, "");
    std::string text = DigestMd5Response(noRealm, "u", "p", "1", "smtp/127.0.0.1");
    EXPECT_EQ(text.find(",realm="), std::string::npos);
    EXPECT_EQ(text.rfind("charset=utf-8,username=\"u\",nonce=\"abc\",nc=00000001,cnonce=\"1\",", 0), 0u);
    // The A1 key is over "u::p": the same response as an explicit empty realm.
    EXPECT_EQ(text, DigestMd5Response({"abc", ""}, "u", "p", "1", "smtp/127.0.0.1"));
    // A realm whose text holds the word nonce does not hide the real nonce.
    EXPECT_EQ(ParseDigestChallenge("realm=\"nonce.test\",nonce=\"n1\"").nonce, "n1");

    for (std::string broken :
         {"realm=\"x\",qop=\"auth\"", "nonce=\"abc", "nonce=\"a\",realm=\"open", "", "nonce"}) {
        int32_t code = 0;
        try {
            ParseDigestChallenge(broken);
        } catch (const ECSmtp& e) {
            code = e.Code();
        }
        EXPECT_EQ(code, ECSmtp::kBadDigestChallenge) << broken;
    }
}

TEST(SmtpError, MessageTexts) {
    struct Case {
        int32_t code;
        const char* text;
    } cases[] = {
        {0, "Undefined error id"},
        {102, "Function send() failed"},
        {109, "Undefined error id"},
        {203, "Undefined at least one reciepent"},
        {309, "Server returned error after sending RCPT TO"},
        {403, "Undefined error id"},
        {406, "Bad login or password"},
        {414, "SSL problem"},
        {416, "The STARTTLS command is not supported by the server"},
        {417, "AUTH LOGIN is not supported by the server"},
        {999, "Undefined error id"},
    };
    for (const Case& c : cases) EXPECT_EQ(ECSmtp::MessageText(c.code), c.text) << c.code;
}

}  // namespace
}  // namespace kestrova
