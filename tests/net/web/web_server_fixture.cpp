#include "tests/net/web/web_server_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/ui/messages.h"
#include "platform/ui/testing/message_pump.h"
#include "tests/net/web/web_client.h"
#include "tests/support/wait_until.h"

namespace kestrova::webtest {
namespace {

constexpr wchar_t kRecorderClass[] = L"WebTestNotifyRecorder";

LRESULT RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kWebServerNotifyMessage) {
        reinterpret_cast<std::vector<WPARAM>*>(GetWindowLongPtrW(hwnd, 0))->push_back(wParam);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Listening needs the machine's own name to resolve; answer it here, so no lookup leaves the machine.
void ResolveOwnNameToLoopback() {
    char own[256] = {};
    gethostname(own, sizeof own - 1);
    SetHostLookup([name = std::string(own)](const std::string& asked) -> uint32_t {
        return asked == name || asked == "localhost" ? 0x7F000001 : 0;
    });
}

}  // namespace

NotifyRecorder::NotifyRecorder() {
    WNDCLASSW wc;
    wc.lpfnWndProc = RecorderProc;
    wc.cbWndExtra = sizeof(void*);
    wc.lpszClassName = kRecorderClass;
    RegisterClassW(&wc);  // a second registration fails harmlessly: the class is the same
    hwnd_ = CreateWindowExW(0, kRecorderClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, 0, nullptr, nullptr);
    if (hwnd_) SetWindowLongPtrW(hwnd_, 0, reinterpret_cast<intptr_t>(&received_));
}

NotifyRecorder::~NotifyRecorder() {
    if (hwnd_) DestroyWindow(hwnd_);
}

const std::vector<WPARAM>& NotifyRecorder::WaitFor(size_t count, int timeoutMs) {
    PumpUntil([&] { return received_.size() >= count; }, timeoutMs);
    return received_;
}

bool NotifyRecorder::WaitForValue(size_t from, WPARAM wParam, int timeoutMs) {
    auto came = [&] {
        return received_.size() > from &&
               std::find(received_.begin() + from, received_.end(), wParam) != received_.end();
    };
    return PumpUntil(came, timeoutMs);
}

bool NotifyRecorder::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    return testing::WaitUntil(
        [&] {
            uitest::PumpMessages();
            return done();
        },
        std::chrono::milliseconds(timeoutMs));
}

WebServerTest::WebServerTest() : dataEnv("KESTROVA_DATA_DIR", data.native().c_str()) {
    ResolveOwnNameToLoopback();
    port = FreeLoopbackPort();
}

WebServerTest::~WebServerTest() {
    SetHostLookup(nullptr);
}

WebServerSettings WebServerTest::Settings(int publishedCount, const char* password) {
    WebServerSettings settings;
    settings.publishedCount = publishedCount;
    ToUtf8Bounded(L"127.0.0.1", settings.bindAddress, sizeof settings.bindAddress - 1);
    settings.port = port;
    ToUtf8Bounded(FromUtf8(password), settings.password, sizeof settings.password - 1);
    CopyWide(frames.path(), settings.frameFolder, std::size(settings.frameFolder) - 1);
    settings.notifyWindow = recorder.hwnd();
    return settings;
}

void WebServerTest::StartListening(WebServer& server, const WebServerSettings& settings) {
    const size_t before = recorder.WaitFor(0, 0).size();
    ASSERT_EQ(server.Start(&settings), 1);
    ASSERT_TRUE(recorder.WaitForValue(before, 1)) << "the server did not listen";
}

void WebServerTest::WriteFrame(int number, const std::string& bytes) {
    ASSERT_TRUE(
        WriteFileAtomic(frames.path() + std::to_wstring(number) + L".jpg", bytes.data(), bytes.size()));
}

void WebServerTest::InstallServerDb() {
    std::vector<uint8_t> db;
    ASSERT_TRUE(ReadWholeFile(FromUtf8(KESTROVA_BUILT_SERVER_DB), db));
    ASSERT_TRUE(WriteFileAtomic(data.path() + L"Server.db", db.data(), db.size()));
}

std::string WebServerTest::Url(const std::string& path) const {
    return "'http://127.0.0.1:" + std::to_string(port) + path + "'";
}

}  // namespace kestrova::webtest
