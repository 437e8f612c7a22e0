// The built program as a process of its own: closed through the single-instance channel, and restarted by
// a later start.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "app/app_settings.h"
#include "app/device_list_file.h"
#include "app/instance_requests.h"
#include "app/own_windows.h"
#include "app/registry_values.h"
#include "app/startup.h"
#include "engine/device_settings.h"
#include "platform/base/files.h"
#include "tests/app/program/program_fixture.h"
#include "toolkit/message_box.h"
#include "toolkit/message_box_window.h"

extern char** environ;

namespace kestrova::uitest {
namespace {

constexpr auto kPatience = std::chrono::seconds(20);

// `kestrova` with the test's environment: its folders, no display, no system bus to keep awake with.
class ProgramProcess {
public:
    explicit ProgramProcess(std::vector<std::string> arguments) {
        std::vector<char*> argv{const_cast<char*>(KESTROVA_PROGRAM)};
        for (std::string& a : arguments_ = std::move(arguments)) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, KESTROVA_PROGRAM, nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
    }
    ~ProgramProcess() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool Started() const { return pid_ > 0; }
    void Signal(int signal) const { kill(pid_, signal); }

    // Waits for the program to end: its exit code, or -1 when it did not end in time or not normally.
    int ExitCode() {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        int status = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

private:
    std::vector<std::string> arguments_;
    pid_t pid_ = -1;
    bool exited_ = false;
};

// Waits until a running instance takes requests.
bool InstanceAnswers() {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (InstanceChannel::Send(InstanceRequest::kShow)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

class ProgramProcessTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // The restart waits in real time for the other process.
        SetClock(nullptr);
        // Not a first run: no welcome page opens in the desktop's browser.
        std::unique_ptr<RegistryKey> key;
        ASSERT_EQ(OpenFirstRunKey(key), kRegistryOk);
        RegWriteDword(*key, kFirstRunValue, 1);
    }

    // "Settings.ini" as the program writes it: every key, which the test's own file does not have.
    static bool SettingsSaved() {
        std::vector<uint8_t> bytes;
        ReadWholeFile(AppSettings::FilePath(), bytes);
        return std::string(bytes.begin(), bytes.end()).find("STORAGE_PATH=") != std::string::npos;
    }

    ScopedEnv noBus_{"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent"};
    ScopedEnv virtualDevices_{"KESTROVA_VIRTUAL_DEVICES", "1"};
};

TEST_F(ProgramProcessTest, AskedToCloseItSavesItsStateAndEndsWithZero) {
    for (const bool saveList : {false, true}) {
        SCOPED_TRACE(saveList);
        RemoveFile(DeviceListFile::Path());
        WriteSettings(saveList ? "SAVE_DEV_LIST_ON_EXIT=1\n" : "");
        ProgramProcess program({"/min"});
        ASSERT_TRUE(program.Started());
        ASSERT_TRUE(InstanceAnswers());
        ASSERT_TRUE(InstanceChannel::Send(InstanceRequest::kClose));
        EXPECT_EQ(program.ExitCode(), 0);
        EXPECT_TRUE(SettingsSaved());
        // The virtual camera, added at the start, is the one device saved.
        std::vector<uint8_t> list;
        EXPECT_EQ(ReadWholeFile(DeviceListFile::Path(), list), saveList);
        if (saveList) {
            EXPECT_EQ(list.size(), DeviceListFile::kHeaderSize + DeviceSettings::kSize);
        }
    }
}

TEST_F(ProgramProcessTest, EndedBySignalItStillClosesThroughItsShutdown) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        RemoveFile(AppSettings::FilePath());
        ProgramProcess program({"/min"});
        ASSERT_TRUE(program.Started());
        ASSERT_TRUE(InstanceAnswers());
        program.Signal(signal);
        EXPECT_EQ(program.ExitCode(), 0);
        EXPECT_TRUE(SettingsSaved());
    }
}

TEST_F(ProgramProcessTest, ARestartClosesTheRunningInstanceThroughItsShutdownFirst) {
    ProgramProcess running({"/min"});
    ASSERT_TRUE(running.Started());
    ASSERT_TRUE(InstanceAnswers());

    InstanceRequests requests;
    std::unique_ptr<InstanceChannel> channel;
    LoopSteps steps;
    steps.Then([] {
        std::vector<HWND> boxes = OwnWindowsOfClass(toolkit::kMessageExClassName);
        ASSERT_EQ(boxes.size(), 1u);
        Click(OnScreen(GetDlgItem(boxes[0], kMessageYesId), POINT{20, 10}));
    });
    EXPECT_TRUE(BecomeTheRunningInstance(requests, channel));
    EXPECT_NE(channel, nullptr);
    EXPECT_EQ(running.ExitCode(), 0);
    EXPECT_TRUE(SettingsSaved());  // by the running instance as it closed
}

}  // namespace
}  // namespace kestrova::uitest
