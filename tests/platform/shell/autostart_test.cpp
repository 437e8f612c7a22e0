#include "platform/shell/autostart.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/registry.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

// The session's side is played by gio, which reads the entry with the desktop's own parser and starts it.
class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateFolder(tmp_.path() + L"My Programs"));
        program_ = tmp_.native() + "My Programs/kestrova 'v2' $x";
        std::ofstream(program_) << "#!/bin/sh\n{ for a in \"$@\"; do printf '[%s]' \"$a\"; done; } > \"" +
                                       tmp_.native() + "started.tmp\" && mv \"" + tmp_.native() +
                                       "started.tmp\" \"" + tmp_.native() + "started\"\n";
        chmod(program_.c_str(), 0755);
    }

    std::wstring EntryFile(const char* name) { return AutostartFolder() + FromUtf8(name) + L".desktop"; }

    // The arguments the program got when the session started the entry, as "[a][b]".
    std::string StartedBySession(const char* name) {
        const std::string started = tmp_.native() + "started";
        RemoveFile(FromUtf8(started));
        const pid_t pid = fork();
        if (pid == 0) {
            execlp("gio", "gio", "launch", ToUtf8(EntryFile(name)).c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_EQ(status, 0) << "gio launch";
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!FileExists(FromUtf8(started)) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        std::ifstream in(started);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

    TempFolder tmp_;
    ScopedEnv configHome_{"XDG_CONFIG_HOME", (tmp_.native() + "config").c_str()};
    std::string program_;
};

TEST_F(AutostartTest, TheSessionStartsTheCommandLineAsWritten) {
    const std::string q = "\"" + program_ + "\"";
    const std::pair<std::string, std::string> cases[] = {
        {program_ + " /min", "[/min]"},  // an unquoted path with blanks, as the program writes its own
        {program_, ""},
        {q + " /min", "[/min]"},
        {q + " 100% $HOME `x` a\\b \"two words\" 'q'", "[100%][$HOME][`x`][a\\b][two words]['q']"},
    };
    for (const auto& [command, arguments] : cases) {
        SCOPED_TRACE(command);
        ASSERT_TRUE(WriteAutostartEntry(L"KestrovaV2", FromUtf8(command)));
        EXPECT_EQ(ReadAutostartEntry(L"KestrovaV2"), FromUtf8(command));
        EXPECT_EQ(StartedBySession("KestrovaV2"), arguments);
    }
    EXPECT_TRUE(RemoveAutostartEntry(L"KestrovaV2"));
    EXPECT_FALSE(FileExists(EntryFile("KestrovaV2")));
    EXPECT_FALSE(RemoveAutostartEntry(L"KestrovaV2"));
    EXPECT_EQ(ReadAutostartEntry(L"KestrovaV2"), std::nullopt);
}

TEST_F(AutostartTest, TheSessionStartKeyKeepsItsTextValuesAsEntries) {
    std::unique_ptr<RegistryKey> run;
    ASSERT_EQ(RegistryKey::Create(RegistryRoot::kCurrentUser, kSessionStartKey, run), kRegistryOk);
    const std::wstring command = FromUtf8(program_) + L" /min";
    ASSERT_EQ(run->SetValue(L"KestrovaV2", kRegistryText, command.c_str(),
                            uint32_t((command.size() + 1) * sizeof(wchar_t))),
              kRegistryOk);
    EXPECT_TRUE(FileExists(EntryFile("KestrovaV2")));
    EXPECT_EQ(StartedBySession("KestrovaV2"), "[/min]");

    std::wstring read(command.size() + 1, L'\0');
    uint32_t type = 0, size = uint32_t(read.size() * sizeof(wchar_t));
    ASSERT_EQ(run->QueryValue(L"KestrovaV2", &type, read.data(), &size), kRegistryOk);
    EXPECT_EQ(type, kRegistryText);
    EXPECT_EQ(read.c_str(), command);

    const uint32_t one = 1;
    EXPECT_EQ(run->SetValue(L"KestrovaV2", kRegistryDword, &one, 4), kRegistryInvalid);
    EXPECT_EQ(run->DeleteValue(L"KestrovaV2"), kRegistryOk);
    EXPECT_FALSE(FileExists(EntryFile("KestrovaV2")));
    EXPECT_EQ(run->DeleteValue(L"KestrovaV2"), kRegistryNotFound);
    EXPECT_EQ(run->QueryValue(L"KestrovaV2", &type, nullptr, &size), kRegistryNotFound);
}

TEST_F(AutostartTest, EntryNamesStayInsideTheAutostartFolder) {
    ASSERT_TRUE(WriteAutostartEntry(L"../Kestrova V2", FromUtf8(program_)));
    EXPECT_TRUE(FileExists(EntryFile(".._Kestrova_V2")));
    EXPECT_EQ(ReadAutostartEntry(L"../Kestrova V2"), FromUtf8(program_));
}

}  // namespace
}  // namespace kestrova
