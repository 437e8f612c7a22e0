#include "app/app_settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "app/registry_values.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/autostart.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

using Fields = std::array<int32_t, 5>;  // the record's fields in their order

Fields FieldsOf(const AppSettings& s) {
    return {s.startWithWin, s.saveDevListOnExit, s.loadUsbDevs, s.showTooltips, s.videoStreamsPerDisplay};
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

std::string CurrentDirectory() {
    char buffer[8192];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) + "/" : std::string();
}

class AppSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { startDir_ = CurrentDirectory(); }
    void TearDown() override { ASSERT_EQ(chdir(startDir_.c_str()), 0); }

    std::string SettingsPath() const { return ToUtf8(AppSettings::FilePath()); }
    void WriteSettings(const std::string& text) const {
        std::ofstream(SettingsPath(), std::ios::binary) << text;
    }
    // The Exec line of our autostart entry, "" without one.
    std::string ExecLine() const {
        std::istringstream entry(ReadText(ToUtf8(AutostartFolder()) + "KestrovaV2.desktop"));
        for (std::string line; std::getline(entry, line);) {
            if (line.rfind("Exec=", 0) == 0) return line;
        }
        return "";
    }

    TempFolder tmp_;
    ScopedEnv config_{"KESTROVA_CONFIG_DIR", (tmp_.native() + "config").c_str()};
    ScopedEnv session_{"XDG_CONFIG_HOME", (tmp_.native() + "session").c_str()};
    std::string startDir_;
};

TEST_F(AppSettingsTest, LoadReadsEachKeyWithItsDefaultAndItsLimits) {
    const std::string store = tmp_.native() + "Vidéo Store";
    ASSERT_TRUE(CreateFolder(FromUtf8(store)));
    const std::string longest = "/" + std::string(1021, 'a');  // 1,023 characters with its separator
    const std::string tooLong = "/" + std::string(1022, 'a');
    const std::wstring kept = L"/initial/";
    struct Case {
        const char* what;
        std::optional<std::string> file;
        Fields fields;
        std::wstring storage;
        std::string cwd;  // "" when the current directory stays
    };
    const Case cases[] = {
        {"no file", std::nullopt, {0, 0, 1, 1, 1}, kept, ""},
        {"no keys", "[SETTINGS]\n", {0, 0, 1, 1, 1}, kept, ""},
        {"missing keys", "[SETTINGS]\nSHOW_TOOLTIPS=0\nLOAD_USB_DEVS=0\n", {0, 0, 0, 0, 1}, kept, ""},
        {"leading numbers",
         "[SETTINGS]\nSAVE_DEV_LIST_ON_EXIT=55zz\nLOAD_USB_DEVS=zz\nSHOW_TOOLTIPS=\n"
         "VIDEO_STREAMS_PER_DISPALY= 16 tiles\n",
         {0, 55, 0, 0, 16},
         kept,
         ""},
        {"3 streams", "[SETTINGS]\nVIDEO_STREAMS_PER_DISPALY=3\n", {0, 0, 1, 1, 1}, kept, ""},
        {"START_WITH_WIN 5", "[SETTINGS]\nSTART_WITH_WIN=5\n", {1, 0, 1, 1, 1}, kept, ""},
        {"another section, other letter case",
         "[Other]\nSTART_WITH_WIN=1\nVIDEO_STREAMS_PER_DISPALY=4\n[settings]\n video_streams_per_dispaly = "
         "25 \n",
         {0, 0, 1, 1, 25},
         kept,
         ""},
        {"editor's byte-order mark and CR LF",
         "\xEF\xBB\xBF[SETTINGS]\r\nSHOW_TOOLTIPS=0\r\n",
         {0, 0, 1, 0, 1},
         kept,
         ""},
        {"UTF-8 path with a blank",
         "[SETTINGS]\nSTORAGE_PATH=" + store + "\n",
         {0, 0, 1, 1, 1},
         FromUtf8(store + "/"),
         store + "/"},
        {"quoted path of a missing folder",
         "[SETTINGS]\nSTORAGE_PATH=\"" + tmp_.native() + "gone/\"\n",
         {0, 0, 1, 1, 1},
         FromUtf8(tmp_.native() + "gone/"),
         ""},
        {"longest path",
         "[SETTINGS]\nSTORAGE_PATH=" + longest + "\n",
         {0, 0, 1, 1, 1},
         FromUtf8(longest + "/"),
         ""},
        {"over-long path", "[SETTINGS]\nSTORAGE_PATH=" + tooLong + "\n", {0, 0, 1, 1, 1}, kept, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveFile(AppSettings::FilePath());
        if (c.file) WriteSettings(*c.file);
        ASSERT_EQ(chdir(startDir_.c_str()), 0);

        AppSettings settings;
        std::wstring storage = kept;
        settings.Load(storage);
        EXPECT_EQ(FieldsOf(settings), c.fields);
        EXPECT_EQ(storage, c.storage);
        EXPECT_EQ(CurrentDirectory(), c.cwd.empty() ? startDir_ : c.cwd);
    }
}

TEST_F(AppSettingsTest, SaveWritesTheKeysInOrderAndKeepsTheRestOfTheFile) {
    AppSettings settings;
    settings.saveDevListOnExit = 1;
    settings.loadUsbDevs = 0;
    settings.videoStreamsPerDisplay = 9;
    ASSERT_EQ(settings.Save(L"/srv/Vidéo Store/"), 1);
    EXPECT_EQ(ReadText(SettingsPath()),
              "[SETTINGS]\nSTART_WITH_WIN=0\nSAVE_DEV_LIST_ON_EXIT=1\nLOAD_USB_DEVS=0\nSHOW_TOOLTIPS=1\n"
              "VIDEO_STREAMS_PER_DISPALY=9\nSTORAGE_PATH=/srv/Vidéo Store/\n");

    // Keys already there change in place; the missing ones follow the section's last line.
    WriteSettings(
        "; kept as it is\n[Other]\nSTORAGE_PATH=/elsewhere/\n\n[SETTINGS]\nEXTRA=x\nshow_tooltips=1\n\n"
        "[Tail]\nz=2\n");
    settings.showTooltips = 0;
    ASSERT_EQ(settings.Save(L"/srv/Vidéo Store/"), 1);
    EXPECT_EQ(ReadText(SettingsPath()),
              "; kept as it is\n[Other]\nSTORAGE_PATH=/elsewhere/\n\n[SETTINGS]\nEXTRA=x\nSHOW_TOOLTIPS=0\n"
              "START_WITH_WIN=0\nSAVE_DEV_LIST_ON_EXIT=1\nLOAD_USB_DEVS=0\nVIDEO_STREAMS_PER_DISPALY=9\n"
              "STORAGE_PATH=/srv/Vidéo Store/\n\n[Tail]\nz=2\n");

    // What reads as something else is written as what it was read as.
    WriteSettings("[SETTINGS]\nSTART_WITH_WIN=5\nVIDEO_STREAMS_PER_DISPALY=3\nSTORAGE_PATH=/srv/old/\n");
    AppSettings loaded;
    std::wstring storage;
    loaded.Load(storage);
    // A folder name with a line break would make a key of its own: the old value stays.
    ASSERT_EQ(loaded.Save(L"/srv/x\nSTART_WITH_WIN=0/"), 1);
    EXPECT_EQ(ReadText(SettingsPath()),
              "[SETTINGS]\nSTART_WITH_WIN=1\nVIDEO_STREAMS_PER_DISPALY=1\nSTORAGE_PATH=/srv/old/\n"
              "SAVE_DEV_LIST_ON_EXIT=0\nLOAD_USB_DEVS=1\nSHOW_TOOLTIPS=1\n");
}

TEST_F(AppSettingsTest, StartWithWinKeepsTheAutostartEntryInStep) {
    const std::wstring program = ExecutablePath();
    AppSettings settings;
    settings.startWithWin = 1;
    ASSERT_EQ(settings.Save(L""), 1);
    EXPECT_EQ(ReadAutostartEntry(kAutoStartValue), program + L" /min");
    EXPECT_EQ(ExecLine(), "Exec=" + ToUtf8(program) + " /min");

    settings.startWithWin = 0;
    ASSERT_EQ(settings.Save(L""), 1);
    EXPECT_EQ(ReadAutostartEntry(kAutoStartValue), std::nullopt);
    EXPECT_EQ(ExecLine(), "");

    // An entry of a program that has moved since is corrected by the next load that finds the flag on, and
    // removed by one that finds it off.
    ASSERT_TRUE(WriteAutostartEntry(kAutoStartValue, L"/old/place/kestrova /min"));
    std::wstring storage;
    WriteSettings("[SETTINGS]\nSTART_WITH_WIN=1\n");
    settings.Load(storage);
    EXPECT_EQ(ReadAutostartEntry(kAutoStartValue), program + L" /min");
    WriteSettings("[SETTINGS]\nSTART_WITH_WIN=0\n");
    settings.Load(storage);
    EXPECT_EQ(ReadAutostartEntry(kAutoStartValue), std::nullopt);
}

TEST_F(AppSettingsTest, TheFlagBecomesOneOnlyWhenTheEntryIsWritten) {
    // The autostart folder's place is taken by a file: no entry can be written.
    ASSERT_TRUE(CreateFolder(FromUtf8(tmp_.native() + "session")));
    std::ofstream(tmp_.native() + "session/autostart") << "in the way";
    WriteSettings("[SETTINGS]\nSTART_WITH_WIN=5\n");
    AppSettings settings;
    std::wstring storage;
    settings.Load(storage);
    EXPECT_EQ(settings.startWithWin, 5);
    EXPECT_EQ(ReadAutostartEntry(kAutoStartValue), std::nullopt);
}

TEST_F(AppSettingsTest, AFailedSaveLeavesTheOldFileWhole) {
    const std::string old = "[SETTINGS]\nSHOW_TOOLTIPS=0\nSTORAGE_PATH=/srv/old/\n";
    WriteSettings(old);
    AppSettings settings;
    {
        FileSizeLimit fullDisk(16);
        EXPECT_EQ(settings.Save(L"/srv/new/"), 0);
    }
    EXPECT_EQ(ReadText(SettingsPath()), old);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(tmp_.native() + "config"))
        left.push_back(entry.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{"Settings.ini"});  // no temporary file stays behind
}

}  // namespace
}  // namespace kestrova
