#include "app/windows/alarm_window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/windows/email_window.h"
#include "app/windows/property_window.h"
#include "platform/base/files.h"
#include "platform/shell/file_dialogs.h"
#include "tests/app/windows/property_window_fixture.h"
#include "tests/support/temp_folder.h"

namespace kestrova::uitest {
namespace {

constexpr int kSaveId = 1040, kPhotoId = 1041, kVideoId = 1042, kAudioId = 1043, kPlaySoundId = 1044;
constexpr int kBeepId = 1045, kSireneId = 1046, kPreviewId = 1047, kPopupId = 1048, kFullscreenId = 1049;
constexpr int kRunId = 1050, kFileLinkId = 1051, kSendEmailId = 1052, kToLinkId = 1053;
constexpr int kCameraOnly[] = {kPhotoId,      kVideoId,     kPreviewId, kPopupId,
                               kFullscreenId, kSendEmailId, kToLinkId};

// The nine flags and the e-mail flag, as a test compares them.
std::vector<int32_t> Flags(const AlarmActions& a) {
    return {a.save,  a.photo,   a.video,       a.audio, a.playSound,
            a.sound, a.preview, a.previewKind, a.run,   a.sendEmail};
}

AlarmActions Actions(int32_t type, std::vector<int32_t> flags) {
    AlarmActions a;
    a.type = type;
    int32_t* fields[] = {&a.save,  &a.photo,   &a.video,       &a.audio, &a.playSound,
                         &a.sound, &a.preview, &a.previewKind, &a.run,   &a.sendEmail};
    for (size_t i = 0; i < flags.size(); ++i) *fields[i] = flags[i];
    return a;
}

class AlarmWindowTest : public PropertyWindowTest {
protected:
    void SetUp() override {
        PropertyWindowTest::SetUp();
        previousHook = SetOpenFileDialogHook([this](const OPENFILENAMEW& open) {
            dialogStartedOn.push_back(std::wstring(open.lpstrFile));
            EXPECT_EQ(open.nMaxFile, 1001u);
            EXPECT_EQ(open.Flags & OFN_FILEMUSTEXIST, OFN_FILEMUSTEXIST);
            EXPECT_EQ(std::wstring(open.lpstrFilter), L"All Files (*.*)");
            return chosenFile;
        });
    }
    void TearDown() override {
        SetOpenFileDialogHook(previousHook);
        PropertyWindowTest::TearDown();
    }

    int Show(AlarmActions& actions, const std::function<void(HWND)>& act) {
        return Drive(
            kAlarmWindowClass, [&] { return ShowAlarmWindow(owner, &actions); }, act);
    }
    // Ticks "Send an email" (or clicks the "To:" link) and plays `email` in the e-mail window it opens.
    void OpenEmail(HWND alarm, int from, const std::function<void(HWND email)>& email) {
        Later([email] {
            HWND window = FindWindowW(kEmailWindowClass, nullptr);
            ASSERT_NE(window, nullptr) << "no e-mail window";
            email(window);
        });
        Press(alarm, from);
    }
    // Gives the e-mail window a complete account on another server and presses its OK.
    static void FillEmail(HWND email) {
        for (int i = 0; i < 3; ++i) Press(email, 1044);  // on to "Other"
        Type(email, 1045, L"127.0.0.1");
        Type(email, 1046, L"2525");
        Type(email, 1049, L"alarm");
        Type(email, 1050, L"pw");
        Type(email, 1051, L"cam@example.org");
        Type(email, 1052, L"me@example.org");
        Press(email, kOkButtonId);
    }

    std::optional<std::wstring> chosenFile;
    std::vector<std::wstring> dialogStartedOn;
    OpenFileDialogHook previousHook;
    TempFolder tmp;
};

TEST_F(AlarmWindowTest, ACameraRecordIsShownAndWrittenBackWithoutAudio) {
    const struct {
        std::vector<int32_t> stored;
        std::vector<int32_t> written;
    } cases[] = {
        {{1, 1, 0, 1, 1, 1, 0, 0, 0, 0}, {1, 1, 0, 0, 1, 1, 0, 0, 0, 0}},
        {{0, 0, 1, 0, 0, 0, 1, 1, 1, 1}, {0, 0, 1, 0, 0, 0, 1, 1, 1, 1}},
        // A sound or preview kind outside the choices shows the defaults, which OK then stores.
        {{1, 1, 1, 0, 1, 5, 1, 9, 0, 0}, {1, 1, 1, 0, 1, 1, 1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        AlarmActions actions = Actions(1, c.stored);
        SetEmailText(actions.email.recipient, L"me@example.org");
        const int result = Show(actions, [&](HWND window) {
            EXPECT_EQ(GetDlgItem(window, kAudioId), nullptr);
            const std::vector<int32_t>& s = c.stored;
            EXPECT_EQ(Checked(window, kSaveId), s[0] != 0);
            EXPECT_EQ(Enabled(window, kPhotoId), s[0] != 0);
            EXPECT_EQ(Checked(window, kPhotoId), s[1] != 0);
            EXPECT_EQ(Checked(window, kVideoId), s[2] != 0);
            EXPECT_EQ(Checked(window, kPlaySoundId), s[4] != 0);
            EXPECT_EQ(Enabled(window, kBeepId), s[4] != 0);
            EXPECT_EQ(Checked(window, kBeepId), s[5] == 0);
            EXPECT_EQ(Checked(window, kPreviewId), s[6] != 0);
            EXPECT_EQ(Enabled(window, kFullscreenId), s[6] != 0);
            EXPECT_EQ(Checked(window, kFullscreenId), s[7] == 1);
            EXPECT_EQ(Checked(window, kRunId), s[8] != 0);
            EXPECT_EQ(Enabled(window, kFileLinkId), s[8] != 0);
            EXPECT_EQ(Text(window, kFileLinkId), L"None");
            EXPECT_EQ(Checked(window, kSendEmailId), s[9] != 0);
            EXPECT_EQ(Enabled(window, kToLinkId), s[9] != 0);
            EXPECT_EQ(Text(window, kToLinkId), L"me@example.org");
            Press(window, kOkButtonId);
        });
        EXPECT_EQ(result, kPropertyOk);
        EXPECT_EQ(Flags(actions), c.written);
        EXPECT_EQ(std::wstring(actions.email.recipient), L"me@example.org");
    }
}

TEST_F(AlarmWindowTest, AMicrophonesWindowIsLowerAndOkClearsWhatItLacks) {
    AlarmActions actions = Actions(2, {1, 1, 1, 0, 1, 0, 1, 1, 0, 1});
    const int result = Show(actions, [](HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        EXPECT_EQ(r.bottom - r.top, 411);
        for (int id : kCameraOnly) EXPECT_EQ(GetDlgItem(window, id), nullptr) << id;
        EXPECT_EQ(Text(window, 1037), L"Set of actions to be done when sound is detected.");
        EXPECT_FALSE(Checked(window, kAudioId));
        EXPECT_TRUE(Checked(window, kBeepId));
        Press(window, kAudioId);
        Press(window, kSireneId);
        Press(window, kOkButtonId);
    });
    EXPECT_EQ(result, kPropertyOk);
    // Photo, Video, Preview and Send an email become 0; the preview kind stays as it was.
    EXPECT_EQ(Flags(actions), (std::vector<int32_t>{1, 0, 0, 1, 1, 1, 0, 1, 0, 0}));
}

TEST_F(AlarmWindowTest, UntickingAGroupsSwitchGreysItsChoicesButKeepsThem) {
    AlarmActions actions = Actions(0, {1, 1, 1, 0, 1, 0, 1, 1, 0, 0});
    const int result = Show(actions, [](HWND window) {
        Press(window, kSaveId);
        EXPECT_FALSE(Enabled(window, kPhotoId));
        EXPECT_FALSE(Enabled(window, kVideoId));
        EXPECT_TRUE(Checked(window, kPhotoId));
        Press(window, kPlaySoundId);
        EXPECT_FALSE(Enabled(window, kBeepId));
        EXPECT_FALSE(Enabled(window, kSireneId));
        Press(window, kPreviewId);
        EXPECT_FALSE(Enabled(window, kPopupId));
        Press(window, kPreviewId);
        EXPECT_TRUE(Enabled(window, kPopupId));
        Press(window, kPopupId);
        EXPECT_FALSE(Checked(window, kFullscreenId));
        Press(window, kOkButtonId);
    });
    EXPECT_EQ(result, kPropertyOk);
    EXPECT_EQ(Flags(actions), (std::vector<int32_t>{0, 1, 1, 0, 0, 0, 1, 0, 0, 0}));
}

TEST_F(AlarmWindowTest, RunAsksForTheFileAndKeepsItWhileUnticked) {
    const std::wstring file = tmp.path() + L"siren light.sh";
    AlarmActions actions = Actions(1, {1, 1, 0, 0, 1, 1, 0, 0, 0, 0});
    const int result = Show(actions, [&](HWND window) {
        chosenFile.reset();  // cancelled with no file yet: Run goes back
        Press(window, kRunId);
        EXPECT_FALSE(Checked(window, kRunId));
        EXPECT_FALSE(Enabled(window, kFileLinkId));

        chosenFile = file;
        Press(window, kRunId);
        EXPECT_TRUE(Checked(window, kRunId));
        EXPECT_TRUE(Enabled(window, kFileLinkId));
        EXPECT_EQ(Text(window, kFileLinkId), file);

        Press(window, kRunId);
        EXPECT_EQ(Text(window, kFileLinkId), L"None");
        EXPECT_FALSE(Enabled(window, kFileLinkId));

        chosenFile.reset();  // cancelled this time: the earlier file stays
        Press(window, kRunId);
        EXPECT_TRUE(Checked(window, kRunId));
        EXPECT_EQ(Text(window, kFileLinkId), file);
        Press(window, kRunId);
        Press(window, kOkButtonId);
    });
    EXPECT_EQ(result, kPropertyOk);
    EXPECT_EQ(dialogStartedOn, (std::vector<std::wstring>{L"", L"", file}));
    EXPECT_EQ(actions.run, 0);
    EXPECT_EQ(std::wstring(actions.fileToRun), file) << "kept with Run off";
}

TEST_F(AlarmWindowTest, AFilePathLongerThanTheRecordKeepsIsRefusedWithAMessage) {
    const std::wstring fits = L"/" + std::wstring(999, L'f');
    const std::wstring tooLong = fits + L"g";
    AlarmActions actions;
    std::wmemcpy(actions.fileToRun, L"/bin/true", 10);
    actions.run = 1;
    const int result = Show(actions, [&](HWND window) {
        Press(window, kRunId);  // off
        chosenFile = tooLong;
        const std::optional<std::wstring> said = MessageAfter([window] { Press(window, kRunId); });
        ASSERT_TRUE(said);
        EXPECT_NE(said->find(L"too long"), std::wstring::npos);
        EXPECT_EQ(Text(window, kFileLinkId), L"/bin/true");
        Press(window, kRunId);
        chosenFile = fits;
        Press(window, kRunId);
        EXPECT_EQ(Text(window, kFileLinkId), fits);
        Press(window, kOkButtonId);
    });
    EXPECT_EQ(result, kPropertyOk);
    EXPECT_EQ(std::wstring(actions.fileToRun), fits);
    EXPECT_EQ(actions.run, 1);
}

TEST_F(AlarmWindowTest, SendAnEmailIsTickedOnlyWhenTheEmailWindowGivesSettings) {
    AlarmActions actions = Actions(0, {1, 1, 0, 0, 1, 1, 0, 0, 0, 0});
    const int result = Show(actions, [&](HWND window) {
        EXPECT_FALSE(Enabled(window, kToLinkId));
        OpenEmail(window, kSendEmailId, [](HWND email) { Press(email, kCancelButtonId); });
        EXPECT_FALSE(Checked(window, kSendEmailId));
        EXPECT_EQ(Text(window, kToLinkId), L"None");
        EXPECT_FALSE(Enabled(window, kToLinkId));

        OpenEmail(window, kSendEmailId, FillEmail);
        EXPECT_TRUE(Checked(window, kSendEmailId));
        EXPECT_TRUE(Enabled(window, kToLinkId));
        EXPECT_EQ(Text(window, kToLinkId), L"me@example.org");

        // The link opens the settings again, on what was given.
        OpenEmail(window, kToLinkId, [](HWND email) {
            EXPECT_EQ(Text(email, 1045), L"127.0.0.1");
            Type(email, 1052, L"night@example.org");
            Press(email, kOkButtonId);
        });
        EXPECT_EQ(Text(window, kToLinkId), L"night@example.org");
        Press(window, kSendEmailId);  // off: the recipient stays shown, greyed
        EXPECT_FALSE(Enabled(window, kToLinkId));
        EXPECT_EQ(Text(window, kToLinkId), L"night@example.org");
        Press(window, kOkButtonId);
    });
    EXPECT_EQ(result, kPropertyOk);
    EXPECT_EQ(actions.sendEmail, 0);
    EXPECT_EQ(std::wstring(actions.email.host), L"127.0.0.1");
    EXPECT_EQ(actions.email.port, 2525);
    EXPECT_EQ(std::wstring(actions.email.recipient), L"night@example.org");
}

TEST_F(AlarmWindowTest, CancellingTheAlarmWindowDiscardsTheEmailEditsToo) {
    AlarmActions actions;
    const AlarmActions stored = actions;
    const int result = Show(actions, [&](HWND window) {
        OpenEmail(window, kSendEmailId, FillEmail);
        EXPECT_TRUE(Checked(window, kSendEmailId));
        Press(window, kCancelButtonId);
    });
    EXPECT_EQ(result, kPropertyCancelled);
    EXPECT_EQ(std::memcmp(&actions, &stored, sizeof actions), 0);
}

TEST_F(AlarmWindowTest, DefaultKeepsTheFileAndTheEmailButUnticksBothAndGreysTheLinks) {
    AlarmActions actions = Actions(1, {0, 0, 1, 0, 0, 0, 1, 1, 1, 1});
    std::wmemcpy(actions.fileToRun, L"/bin/true", 10);
    SetEmailText(actions.email.host, L"127.0.0.1");
    SetEmailText(actions.email.recipient, L"me@example.org");
    const int result = Show(actions, [](HWND window) {
        Press(window, kDefaultButtonId);
        EXPECT_EQ(Text(window, kFileLinkId), L"/bin/true");
        EXPECT_EQ(Text(window, kToLinkId), L"me@example.org");
        EXPECT_FALSE(Enabled(window, kFileLinkId));
        EXPECT_FALSE(Enabled(window, kToLinkId));
        Press(window, kOkButtonId);
    });
    EXPECT_EQ(result, kPropertyOk);
    // Save with Photo, Play sound with Sirene, Popup unticked Preview; Run and Send an email off.
    EXPECT_EQ(Flags(actions), (std::vector<int32_t>{1, 1, 0, 0, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(std::wstring(actions.fileToRun), L"/bin/true");
    EXPECT_EQ(std::wstring(actions.email.recipient), L"me@example.org");
}

TEST_F(AlarmWindowTest, TheFileLinkOpensTheChosenFileOrSaysItCannot) {
    ReportingOpener opener(tmp);
    const std::wstring file = tmp.path() + L"plan.txt";
    std::ofstream(NativePath(file)) << "x";
    AlarmActions actions;
    actions.run = 1;
    std::wmemcpy(actions.fileToRun, file.c_str(), file.size() + 1);
    Show(actions, [&](HWND window) {
        Press(window, kFileLinkId);
        // A file gone since it was chosen is not opened, and the user hears why.
        RemoveFile(file);
        const std::optional<std::wstring> said = MessageAfter([window] { Press(window, kFileLinkId); });
        ASSERT_TRUE(said);
        EXPECT_NE(said->find(L"could not be opened"), std::wstring::npos);
        Press(window, kCancelButtonId);
    });
    EXPECT_EQ(opener.Opened(), file);
}

}  // namespace
}  // namespace kestrova::uitest
