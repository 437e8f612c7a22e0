#include "platform/shell/shell_open.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "tests/platform/shell/debug_lines.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

// The desktop's opener is a script that writes each argument it got on a line of `report`, with what it
// inherited: its open descriptors and its ignored signals.
class ShellOpenTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteScript(
            "opener.sh",
            "{ for a in \"$@\"; do printf 'arg %s\\n' \"$a\"; done; printf 'fds %s\\n' \"$(ls /proc/$$/fd | "
            "tr '\\n' ' ')\"; grep SigIgn /proc/$$/status; } > \"$0.out.tmp\" && mv \"$0.out.tmp\" "
            "\"$0.out\"\n");
        SetShellOpener(tmp_.native() + "opener.sh");
    }
    void TearDown() override { SetShellOpener(""); }

    void WriteScript(const std::string& name, const std::string& body) {
        const std::string path = tmp_.native() + name;
        std::ofstream(path) << "#!/bin/sh\n" << body;
        chmod(path.c_str(), 0755);
    }

    // What the script `name` reported, once it has.
    std::string Report(const std::string& name) {
        const std::string path = tmp_.native() + name + ".out";
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!FileExists(FromUtf8(path)) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        std::ifstream in(path);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

    static std::string Args(const std::string& report) {
        std::istringstream in(report);
        std::string line, args;
        while (std::getline(in, line))
            if (line.rfind("arg ", 0) == 0) args += line.substr(4) + "|";
        return args;
    }

    TempFolder tmp_;
};

TEST_F(ShellOpenTest, HandsFilesAndAddressesToTheOpenerAsTheyAre) {
    const std::string odd = tmp_.native() + "a file; with $HOME, 'quotes' & \"more\".txt";
    std::ofstream(odd) << "x";
    const std::string folder = tmp_.native() + "Photos/";
    ASSERT_TRUE(CreateFolder(FromUtf8(folder)));
    const std::string address = "http://127.0.0.1:8080/index.html?a=1&b=$x y";
    for (const std::string& target : {odd, folder, address, std::string("mailto:alarm@127.0.0.1")}) {
        SCOPED_TRACE(target);
        unlink((tmp_.native() + "opener.sh.out").c_str());
        ASSERT_TRUE(ShellOpen(FromUtf8(target)));
        EXPECT_EQ(Args(Report("opener.sh")), target + "|");
    }
}

TEST_F(ShellOpenTest, StartsAProgramFileItselfWithoutArguments) {
    // Written aside and renamed, so the report is never seen half-written.
    WriteScript("alarm-action.sh", "echo \"ran $#\" > \"$0.out.tmp\" && mv \"$0.out.tmp\" \"$0.out\"\n");
    ASSERT_TRUE(ShellOpen(tmp_.path() + L"alarm-action.sh"));
    EXPECT_EQ(Report("alarm-action.sh"), "ran 0\n");
    EXPECT_FALSE(FileExists(tmp_.path() + L"opener.sh.out"));
}

TEST_F(ShellOpenTest, TheStartedProcessInheritsNoDescriptorAndNoIgnoredSignal) {
    // Without close-on-exec, as a careless socket would be; far above what the script's shell opens itself.
    const int devNull = open("/dev/null", O_RDONLY);
    const int leaky = dup2(devNull, 57);
    close(devNull);
    ASSERT_EQ(leaky, 57);
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &old);
    const std::string file = tmp_.native() + "photo.png";
    std::ofstream(file) << "x";
    const bool opened = ShellOpen(FromUtf8(file));
    sigaction(SIGPIPE, &old, nullptr);
    close(leaky);
    ASSERT_TRUE(opened);

    const std::string report = Report("opener.sh");
    EXPECT_EQ(report.find(" " + std::to_string(leaky) + " "), std::string::npos) << report;
    const size_t sigIgn = report.find("SigIgn:");
    ASSERT_NE(sigIgn, std::string::npos);
    const unsigned long long ignored = std::stoull(report.substr(sigIgn + 7), nullptr, 16);
    EXPECT_EQ(ignored & (1ull << (SIGPIPE - 1)), 0u) << report;
}

TEST_F(ShellOpenTest, FailsWhenThereIsNothingToOpenOrNothingCanStart) {
    DebugLines debug;
    EXPECT_FALSE(ShellOpen(tmp_.path() + L"missing.avi"));
    EXPECT_FALSE(ShellOpen(L""));
    EXPECT_FALSE(ShellOpen(L"no such file"));
    EXPECT_EQ(debug.Count("nothing to open"), 2);

    std::ofstream(tmp_.native() + "clip.avi") << "x";
    SetShellOpener(tmp_.native() + "missing-opener");
    EXPECT_FALSE(ShellOpen(tmp_.path() + L"clip.avi"));
    EXPECT_FALSE(StartProgram({}));
    EXPECT_EQ(debug.Count("cannot start"), 1);
}

TEST_F(ShellOpenTest, HelpIsThePageInTheDataFolder) {
    EXPECT_TRUE(std::filesystem::exists(ProgramDataFolder() + L"Kestrova.html"));  // the page the program ships
    ScopedEnv data("KESTROVA_DATA_DIR", tmp_.native().c_str());
    EXPECT_FALSE(OpenHelp());
    std::ofstream(tmp_.native() + "Kestrova.html") << "<html></html>";
    ASSERT_TRUE(OpenHelp());
    EXPECT_EQ(Args(Report("opener.sh")), tmp_.native() + "Kestrova.html|");
}

}  // namespace
}  // namespace kestrova
