#include "net/web_request.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrova {
namespace {

struct ParseCase {
    const char* name;
    std::string received;
    bool parsed;
    std::string path;
    std::string authorization;
};

TEST(WebRequest, ReadsThePathAndTheBasicCredentialsOfOneHead) {
    const std::string longPath = "/" + std::string(300, 'a');
    const ParseCase cases[] = {
        {"get", "GET /index.php HTTP/1.1\r\nHost: x\r\n\r\n", true, "/index.php", ""},
        {"post body ignored", "POST /device.php?id=2 HTTP/1.1\r\n\r\nbody", true, "/device.php?id=2", ""},
        {"query kept", "GET /3.jpg?1700000000000 HTTP/1.1\r\n\r\n", true, "/3.jpg?1700000000000", ""},
        {"credentials", "GET / HTTP/1.1\r\nAuthorization: Basic dTpw\r\n\r\n", true, "/", "dTpw"},
        {"path cut at 250", "GET " + longPath + " HTTP/1.1\r\n\r\n", true, longPath.substr(0, 250), ""},
        {"credentials cut at 250",
         "GET / HTTP/1.1\r\nAuthorization: Basic " + std::string(260, 'Q') + "\r\n\r\n", true, "/",
         std::string(250, 'Q')},
        {"head split, end missing", "GET / HTTP/1.1\r\nHost: x\r\n", false, "", ""},
        {"no method", "PUT / HTTP/1.1\r\n\r\n", false, "", ""},
        {"method without path", "GET index HTTP/1.1\r\n\r\n", false, "", ""},
        {"empty", "", false, "", ""},
        {"credentials at the very end", "GET / HTTP/1.1\r\n\r\nAuthorization: Basic", true, "/", ""},
    };
    for (const ParseCase& c : cases) {
        WebRequest request;
        EXPECT_EQ(ParseWebRequest(c.received, &request), c.parsed) << c.name;
        if (!c.parsed) continue;
        EXPECT_EQ(request.path, c.path) << c.name;
        EXPECT_EQ(request.authorization, c.authorization) << c.name;
    }
}

TEST(WebRequest, AuthorisesOnlyTheRightPasswordWithAnyUser) {
    struct AuthCase {
        const char* authorization;  // base64 of the comment
        const char* password;
        bool authorised;
    } cases[] = {
        {"", "", true},                             // no password: all pass
        {"garbage", "", true},                      //
        {"YWRtaW46c2VjcmV0", "secret", true},       // admin:secret
        {"OnNlY3JldA==", "secret", true},           // :secret
        {"eDpzZWNyZXQ=", "secret", true},           // x:secret
        {"YWRtaW46U2VjcmV0", "secret", false},      // admin:Secret
        {"YWRtaW46c2VjcmV0MQ==", "secret", false},  // admin:secret1
        {"c2VjcmV0", "secret", false},              // secret (no colon)
        {"YWRtaW46c2VjcmV0A", "secret", false},     // not a multiple of four
        {"", "secret", false},
        {"YWRtaW46", "secret", false},  // admin:
        {"YTpiOmM=", "b:c", true},      // a:b:c, the password follows the first colon
    };
    for (const AuthCase& c : cases)
        EXPECT_EQ(IsAuthorised(c.authorization, c.password), c.authorised)
            << c.authorization << " / " << c.password;
}

}  // namespace
}  // namespace kestrova
