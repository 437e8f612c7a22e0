#include "tests/app/program/program_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/app_settings.h"
#include "app/startup.h"
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
