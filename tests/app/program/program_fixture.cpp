#include "tests/app/program/program_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/app_settings.h"
#include "app/startup.h"
#include "app/windows/stream_settings.h"
#include "engine/device_list.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/shell_open.h"
#include "platform/ui/input.h"
#include "platform/ui/windows.h"
#include "toolkit/toolkit.h"

namespace kestrova::uitest {
namespace {

std::string CurrentFolder() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? buffer : "/";
}

int FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    close(fd);
    return bound ? ntohs(address.sin_port) : 0;
}

}  // namespace

void ProgramTest::SetUp() {
    static const bool registered = InitToolkit() && RegisterWindowClasses();
    ASSERT_TRUE(registered);
    startFolder_ = CurrentFolder();
    SetClock(&clock);
    ui::SetScreenSize(1280, 800);
    SetNotifyIconHandler([this](DWORD message, const NOTIFYICONDATAW& data) {
        trayMessages.push_back(message);
        trayCalls.push_back(data);
        return TRUE;
    });
    const std::string opener = tmp.native() + "opener.sh";
    std::ofstream(opener) << "#!/bin/sh\necho \"$1\" >> '" << tmp.native() << "opened.txt'\n";
    chmod(opener.c_str(), 0755);
    SetShellOpener(opener);
}

void ProgramTest::TearDown() {
    if (IsWindow(main)) DestroyWindow(main);
    PumpMessages();
    // The main window's WM_DESTROY posts the quit message, which no loop of the test takes.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    SetShellOpener("");
    SetNotifyIconHandler(nullptr);
    SetClock(nullptr);
    ASSERT_EQ(chdir(startFolder_.c_str()), 0);
}

void ProgramTest::OpenMainWindow(WindowStart start) {
    main = CreateMainWindow(start);
    ASSERT_NE(main, nullptr);
    PumpMessages();
}

testing::TestDevice* ProgramTest::AddDevice(int32_t type, const std::wstring& name, bool powered) {
    auto* device = new testing::TestDevice(type);
    testing::TestDeviceParams params;
    params.name = name;
    params.notifyWindow = main;
    device->Init(&params);
    device->SetDisplayWindow(Display());
    Main().GetDeviceList().Add(device);
    if (powered) device->Start();
    Main().RefreshDeviceList();
    PumpMessages();
    return device;
}

void ProgramTest::WriteSettings(const std::string& lines) const {
    std::ofstream(ToUtf8(AppSettings::FilePath())) << "[SETTINGS]\n" << lines;
}

std::vector<std::string> ProgramTest::Opened(size_t count) {
    // The opener runs as a process of its own: its line comes when it has run.
    std::vector<std::string> lines;
    for (int attempt = 0; attempt < 500; ++attempt) {
        lines.clear();
        std::ifstream in(tmp.native() + "opened.txt");
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        if (lines.size() >= count) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return lines;
}

}  // namespace kestrova::uitest

namespace kestrova::uitest {

void ProgramTest::ConfirmLoopbackStreaming() {
    const int port = FreeLoopbackPort();
    ASSERT_NE(port, 0);
    StreamingSetup& setup = Main().GetStreamingSetup();
    setup.settings = MakeStreamSettings({L"127.0.0.1", std::to_wstring(port), L""}, setup);
    ASSERT_NE(setup.settings, nullptr);
}

// One message at a time, looking at the condition and the deadline after each: with live pictures to paint the
// thread may never run out of messages (a paint that takes longer than a frame's interval is due again as soon
// as it ends), so waiting for an empty queue could wait for ever.
bool ProgramTest::WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        const bool dispatched = DispatchOneMessage();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (!dispatched) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace kestrova::uitest
