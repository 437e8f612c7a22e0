#include "engine/ipcam/camera_request.h"

#include <gtest/gtest.h>

#include "engine/ipcam/host_redirect.h"

namespace kestrova {
namespace {

TEST(CameraRequest, AuthorizesUnlessTheCredentialsAreEmpty) {
    EXPECT_EQ(BuildCameraRequest("camera_control.cgi?param=0&value=0", "127.0.1.10", kNoCredentials),
              "GET /camera_control.cgi?param=0&value=0 HTTP/1.0\r\nHost: 127.0.1.10\r\n\r\n");
    EXPECT_EQ(BuildCameraRequest("video.cgi", "cam", "YWRtaW46"),
              "GET /video.cgi HTTP/1.0\r\nHost: cam\r\nAuthorization: Basic YWRtaW46\r\n\r\n");
    EXPECT_EQ(BuildCameraRequest(std::string(kRequestCapacity, 'p'), "cam", kNoCredentials), "");
}

TEST(HostRedirect, SplitsTheHostText) {
    struct Case {
        const char* text;
        const char* host;
        const char* path;
    };
    for (const Case& c : {Case{"camhost", "camhost", ""}, Case{"http://camhost", "camhost", ""},
                          Case{"http://camhost/a", "camhost", "/a"}, Case{"https://cam:81/x/y", "cam:81", "/x/y"},
                          Case{"127.0.0.20", "127.0.0.20", ""}, Case{"/only/path", "", ""},
                          Case{"", "", ""}}) {
        const HostAndPath split = SplitHostText(c.text);
        EXPECT_EQ(split.host, c.host) << c.text;
        EXPECT_EQ(split.path, c.path) << c.text;
    }
    EXPECT_EQ(SplitHostText(std::string(400, 'h')).host.size(), kHostTextCapacity - 1);
}

TEST(HostRedirect, ReadsTheLocationOfARedirect) {
    struct Case {
        const char* reply;
        bool redirect;
        const char* host;
        int port;
    };
    for (const Case& c : {
             Case{"HTTP/1.0 302 Moved Temporarily\r\nLocation: 127.0.0.7:8080/\r\n\r\n", true, "127.0.0.7", 8080},
             Case{"HTTP/1.0 302 Moved Temporarily\r\nLocation:http://127.0.0.2:81/v\r\n\r\n", true, "127.0.0.2", 81},
             Case{"HTTP/1.0 302 Moved Temporarily\r\nLocation: https://cam:443\r\n\r\n", true, "cam", 443},
             Case{"HTTP/1.0 302 Moved Temporarily\r\nLocation: cam\r\n\r\n", true, "cam", 0},
             Case{"HTTP/1.0 302 Moved Temporarily\r\n\r\n", false, "", 0},
             Case{"HTTP/1.0 200 OK\r\nLocation: 127.0.0.7:8080/\r\n\r\n", false, "", 0},
         }) {
        std::string host;
        int port = -1;
        EXPECT_EQ(ParseRedirect(c.reply, &host, &port), c.redirect) << c.reply;
        if (c.redirect) {
            EXPECT_EQ(host, c.host) << c.reply;
            EXPECT_EQ(port, c.port) << c.reply;
        }
    }
}

}  // namespace
}  // namespace kestrova
