#pragma once
// A web server on 127.0.0.1 with its own data folder (for "Server.db") and frame folder, and a message-only
// window that records the server's notifications.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "net/web_server.h"
#include "tests/support/temp_folder.h"

namespace kestrova::webtest {

// A message-only window of the test's thread that keeps the wParam of every listening notification.
class NotifyRecorder {
public:
    NotifyRecorder();
    ~NotifyRecorder();
    HWND hwnd() const { return hwnd_; }
    // Pumps the thread's messages until `count` notifications came or `timeoutMs` passed; what came.
    const std::vector<WPARAM>& WaitFor(size_t count, int timeoutMs = 5000);
    // Pumps until a notification with `wParam` came at position `from` or later; false when none came in
    // time.
    bool WaitForValue(size_t from, WPARAM wParam, int timeoutMs = 5000);

private:
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

    HWND hwnd_ = nullptr;
    std::vector<WPARAM> received_;
};

class WebServerTest : public ::testing::Test {
protected:
    WebServerTest();
    ~WebServerTest() override;

    // Settings for 127.0.0.1 and this test's port and folders, notifying `recorder`.
    WebServerSettings Settings(int publishedCount, const char* password = "");
    // Starts `server` (which ends a running one first) and waits until it listens.
    void StartListening(WebServer& server, const WebServerSettings& settings);
    void WriteFrame(int number, const std::string& bytes);
    // Puts the Server.db of the build into the data folder.
    void InstallServerDb();
    std::string Url(const std::string& path) const;

    TempFolder data;
    TempFolder frames;
    ScopedEnv dataEnv;
    NotifyRecorder recorder;
    int port = 0;
};

}  // namespace kestrova::webtest
