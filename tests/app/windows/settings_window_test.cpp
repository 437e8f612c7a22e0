#include "app/windows/settings_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/app_settings.h"
#include "app/windows/property_window.h"
#include "platform/base/files.h"
#include "platform/shell/file_dialogs.h"
#include "tests/app/windows/property_window_fixture.h"
#include "tests/support/temp_folder.h"
#include "toolkit/message_box.h"
#include "toolkit/message_box_window.h"

namespace kestrova::uitest {
namespace {

constexpr int kOptions[] = {1043, 1044, 1045, 1046};
constexpr int kOpenFolderId = 1047, kSelectFolderId = 1048;

std::vector<int32_t> Options(const AppSettings& s) {
    return {s.startWithWin, s.saveDevListOnExit, s.loadUsbDevs, s.showTooltips};
}

std::vector<int32_t> Shown(HWND window) {
    std::vector<int32_t> shown;
    for (int id : kOptions) shown.push_back(Checked(window, id) ? 1 : 0);
    return shown;
}

class SettingsWindowTest : public PropertyWindowTest {
protected:
    void SetUp() override {
        PropertyWindowTest::SetUp();
        StoreOptions();
        folder = tmp.path() + L"Storage/";
        previousHook = SetFolderBrowserHook([this](const BROWSEINFOW& info) {
            ++browsed;
            EXPECT_EQ(std::wstring(info.lpszTitle), L"Select storage folder:");
            EXPECT_EQ(info.ulFlags, BIF_RETURNONLYFSDIRS);
            return chosen;
        });
    }
    void TearDown() override {
        SetFolderBrowserHook(previousHook);
        PropertyWindowTest::TearDown();
    }

    // Options unlike the defaults: start with the session and show tooltips only.
    void StoreOptions() {
        settings.startWithWin = 1;
        settings.saveDevListOnExit = 0;
        settings.loadUsbDevs = 0;
        settings.showTooltips = 1;
    }
    int Show(const std::function<void(HWND)>& act) {
        return Drive(
            kSettingsWindowClass, [this] { return ShowSettingsWindow(owner, &settings, &folder); }, act);
    }
    // Chooses a folder with "Select storage folder" and answers the restart question with `answer`.
    void SelectFolder(HWND window, int answer) {
        Later([answer] {
            HWND box = FindWindowW(toolkit::kMessageExClassName, nullptr);
            ASSERT_NE(box, nullptr) << "no restart question";
            Press(box, answer);
        });
        Press(window, kSelectFolderId);
    }

    TempFolder tmp;
    AppSettings settings;
    std::wstring folder;
    std::optional<std::wstring> chosen;
    int browsed = 0;
    FolderBrowserHook previousHook;
};

TEST_F(SettingsWindowTest, ShowsTheOptionsAndWritesThemOnlyOnOk) {
    const struct {
        int closeWith;
        std::vector<int> presses;
        int expected;
        std::vector<int32_t> stored;
    } cases[] = {
        {kOkButtonId, {1043, 1045}, kPropertyOk, {0, 0, 1, 1}},
        {kOkButtonId, {kDefaultButtonId}, kPropertyOk, {0, 0, 1, 1}},
        {kCancelButtonId, {kDefaultButtonId}, kPropertyCancelled, {1, 0, 0, 1}},
        {kCloseButtonId, {1044}, kPropertyCancelled, {1, 0, 0, 1}},
        {kOkButtonId, {1044, 1046}, kPropertyOk, {1, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        StoreOptions();
        const int result = Show([&](HWND window) {
            EXPECT_EQ(Shown(window), (std::vector<int32_t>{1, 0, 0, 1}));
            for (int id : c.presses) Press(window, id);
            Press(window, c.closeWith);
        });
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(Options(settings), c.stored);
    }
    EXPECT_EQ(folder, tmp.path() + L"Storage/");
}

TEST_F(SettingsWindowTest, ANewStorageFolderEndsTheWindowWithTwoOnlyAfterYes) {
    chosen = tmp.path() + L"New place";
    const int result = Show([this](HWND window) {
        SelectFolder(window, kMessageNoId);
        EXPECT_TRUE(IsWindow(window)) << "No keeps the window open";
        EXPECT_EQ(folder, tmp.path() + L"Storage/");
        chosen.reset();  // the browser cancelled: no question
        Press(window, kSelectFolderId);
        EXPECT_TRUE(IsWindow(window));
        chosen = tmp.path() + L"New place";
        Press(window, 1046);  // the options travel with the answer
        SelectFolder(window, kMessageYesId);
    });
    EXPECT_EQ(result, kSettingsRestart);
    EXPECT_EQ(browsed, 3);
    EXPECT_EQ(folder, tmp.path() + L"New place/");
    EXPECT_EQ(Options(settings), (std::vector<int32_t>{1, 0, 0, 0}));
}

TEST_F(SettingsWindowTest, WithoutSettingsNothingIsWrittenAndTheAnswerIsZero) {
    EXPECT_EQ(Drive(
                  kSettingsWindowClass, [this] { return ShowSettingsWindow(owner, nullptr, &folder); },
                  [](HWND window) {
                      EXPECT_EQ(Shown(window), (std::vector<int32_t>{0, 0, 0, 0}));
                      Press(window, kOkButtonId);
                  }),
              kPropertyCancelled);
}

TEST_F(SettingsWindowTest, OpeningTheStorageFolderMakesItAgainWhenItWasDeleted) {
    ReportingOpener opener(tmp);
    ASSERT_FALSE(IsFolder(folder));
    Show([](HWND window) {
        Press(window, kOpenFolderId);
        Press(window, kCancelButtonId);
    });
    EXPECT_TRUE(IsFolder(folder));
    EXPECT_EQ(opener.Opened(), folder);
}

TEST_F(SettingsWindowTest, AStorageFolderThatCannotBeMadeIsNotOpenedAndTheUserHearsWhy) {
    ReportingOpener opener(tmp);
    folder = tmp.path() + L"gone/Storage/";  // its parent is missing
    Show([this](HWND window) {
        const std::optional<std::wstring> said = MessageAfter([window] { Press(window, kOpenFolderId); });
        ASSERT_TRUE(said);
        EXPECT_NE(said->find(L"could not be opened"), std::wstring::npos);
        Press(window, kCancelButtonId);
    });
    EXPECT_FALSE(IsFolder(folder));
}

TEST(StorageFolderForTest, AddsTheSeparatorAndRefusesAFolderTooLongForTheSettings) {
    const std::wstring longest(kMaxStorageFolderChars - 1, L'a');
    const struct {
        std::wstring chosen;
        std::optional<std::wstring> folder;
    } cases[] = {
        {L"/home/ana/Videos", L"/home/ana/Videos/"},
        {L"/", L"/"},
        {L"/" + longest.substr(1), L"/" + longest.substr(1) + L"/"},
        {L"/" + longest, std::nullopt},
        {L"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(StorageFolderFor(c.chosen), c.folder) << c.chosen.size();
}

}  // namespace
}  // namespace kestrova::uitest
