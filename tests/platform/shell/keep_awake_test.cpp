#include "platform/shell/keep_awake.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "tests/platform/shell/debug_lines.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

// The inhibitor is a script that notes its arguments, holds until its standard input closes, and notes that.
class KeepAwakeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string script = tmp_.native() + "inhibit.sh";
        std::ofstream(script) << "#!/bin/sh\necho \"$*\" >> '" << tmp_.native()
                              << "held'\ncat > /dev/null\necho ended >> '" << tmp_.native() << "held'\n";
        chmod(script.c_str(), 0755);
        std::ofstream(tmp_.native() + "bus") << "";
        SetInhibitorProgram(script);
    }
    void TearDown() override {
        KeepSystemAwake(false);
        SetInhibitorProgram("");
    }

    // The lines the script wrote, once it wrote `count` of them.
    std::vector<std::string> Held(size_t count) {
        std::vector<std::string> lines;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            lines.clear();
            std::ifstream in(tmp_.native() + "held");
            for (std::string line; std::getline(in, line);) lines.push_back(line);
            if (lines.size() >= count || std::chrono::steady_clock::now() > deadline) return lines;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    TempFolder tmp_;
    ScopedEnv bus_{"DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + tmp_.native() + "bus").c_str()};
};

TEST_F(KeepAwakeTest, HoldsOneSleepInhibitorUntilGivenBack) {
    ASSERT_TRUE(KeepSystemAwake(true));
    ASSERT_TRUE(KeepSystemAwake(true));
    ASSERT_EQ(Held(1).size(), 1u);
    EXPECT_EQ(Held(1)[0],
              "--what=sleep:idle --who=Kestrova --why=Watching cameras and microphones --mode=block cat");
    EXPECT_TRUE(KeepSystemAwake(false));
    EXPECT_EQ(Held(2), (std::vector<std::string>{Held(1)[0], "ended"}));  // and no second holder
    EXPECT_FALSE(KeepSystemAwake(false));
}

TEST_F(KeepAwakeTest, TheInhibitorEndsWithTheProgram) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(KeepSystemAwake(true) ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(Held(2).size(), 2u);
    EXPECT_EQ(Held(2).back(), "ended");
}

TEST_F(KeepAwakeTest, WithoutASystemBusNothingIsHeld) {
    DebugLines debug;
    for (const std::string& address :
         {"unix:path=" + tmp_.native() + "no-bus", std::string("tcp:host=127.0.0.1")}) {
        ScopedEnv bus("DBUS_SYSTEM_BUS_ADDRESS", address.c_str());
        EXPECT_FALSE(KeepSystemAwake(true)) << address;
    }
    EXPECT_EQ(debug.Count("no system bus"), 1);
    EXPECT_FALSE(FileExists(tmp_.path() + L"held"));
}

}  // namespace
}  // namespace kestrova
