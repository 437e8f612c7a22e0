#include "engine/device.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/engine/device/kit/notify_recorder.h"
#include "tests/engine/device/kit/test_device.h"

namespace kestrova::testing {
namespace {

TEST(DeviceTest, NewDeviceHasTheDefaults) {
    TestDevice d;
    EXPECT_EQ(d.GetState(0), 0);
    struct Case {
        const char* field;
        int value;
        int expected;
    };
    const Case cases[] = {
        {"Tolerance", d.GetTolerance(), 5},
        {"Sensitivity", d.GetSensitivity(), 5},
        {"frame size", d.GetFrameSize(), 2},
        {"photo quality", d.GetPhotoQuality(), 70},
        {"web index", d.GetWebIndex(), 0},
        {"photo format", d.GetPhotoFormat(), 0},
        {"compression", d.GetVideoCompression(), 0},
        {"flip", d.GetFlipVertical(), 0},
        {"Save", d.GetSaveFiles(), 1},
        {"Photo", d.GetSavePhotos(), 1},
        {"Video", d.GetRecordVideo(), 0},
        {"Audio", d.GetRecordAudio(), 1},
        {"Play sound", d.GetPlaySound(), 1},
        {"sound kind", d.GetSoundKind(), 1},
        {"Preview", d.GetPreview(), 0},
        {"preview kind", d.GetPreviewKind(), 0},
        {"Run", d.GetRunFile(), 0},
        {"Send an email", d.GetSendEmail(), 0},
        {"SMTP port", d.GetSmtpPort(), 0},
        {"SMTP protocol", d.GetSmtpProtocol(), 0},
        {"schedule Monitoring", d.GetScheduleMonitoring(), 0},
        {"schedule Streaming", d.GetScheduleStreaming(), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.value, c.expected) << c.field;
    MaskGrid motion, privacy;
    motion.fill(7);
    privacy.fill(7);
    d.GetMasks(&motion, &privacy);
    EXPECT_EQ(motion, MaskGrid{});
    EXPECT_EQ(privacy, MaskGrid{});
}

TEST(DeviceTest, LevelSettersClampToZeroToTen) {
    const int cases[][2] = {{-3, 0}, {0, 0}, {7, 7}, {10, 10}, {12, 10}};
    for (const auto& c : cases) {
        TestDevice d;
        d.SetTolerance(c[0]);
        d.SetSensitivity(c[0]);
        EXPECT_EQ(d.GetTolerance(), c[1]) << c[0];
        EXPECT_EQ(d.GetSensitivity(), c[1]) << c[0];
    }
}

TEST(DeviceTest, GetStateAnswersForAnyBitOfTheMask) {
    TestDevice d;
    d.SetState(kStateMonitoring, 1);
    const int cases[][2] = {{0, 2}, {0x06, 1}, {0x02, 1}, {0x04, 0}, {0x05, 0}, {0x7F, 1}};
    for (const auto& c : cases) EXPECT_EQ(d.GetState(c[0]), c[1]) << "mask " << c[0];
}

TEST(DeviceTest, SetStatePostsEveryChangeEvenWhenNothingChanged) {
    NotifyRecorder recorder;
    TestDevice d;
    d.SetNotifyWindow(recorder.window());
    d.SetState(kStateAlarm, 1);
    d.SetState(kStateAlarm, 1);
    d.SetState(kStateAlarm | kStateRecording, 0);
    EXPECT_EQ(d.GetState(0), 0);
    const std::vector<Note> expected = {{2, 0x04, &d}, {2, 0x04, &d}, {2, 0x14, &d}};
    EXPECT_EQ(recorder.Drain(), expected);
}

TEST(DeviceTest, SmtpTextsKeepAtMost51BytesCutAtACharacterBoundary) {
    using Setter = int (Device::*)(std::wstring_view);
    using Getter = int (Device::*)(wchar_t*, int);
    const std::pair<Setter, Getter> fields[] = {
        {&Device::SetSmtpServer, &Device::GetSmtpServer},
        {&Device::SetSmtpUser, &Device::GetSmtpUser},
        {&Device::SetSmtpPassword, &Device::GetSmtpPassword},
        {&Device::SetEmailSender, &Device::GetEmailSender},
        {&Device::SetEmailRecipient, &Device::GetEmailRecipient},
    };
    struct Case {
        std::wstring text;
        int storedBytes;
        std::wstring readBack;
    };
    const Case cases[] = {
        {std::wstring(60, L'a'), 51, std::wstring(51, L'a')},
        // 26 two-byte letters are 52 bytes: the 26th does not fit whole.
        {std::wstring(26, L'\u00e9'), 50, std::wstring(25, L'\u00e9')},
        {L"mail.example.org", 16, L"mail.example.org"},
        {L"", 0, L""},
    };
    for (const auto& [set, get] : fields) {
        for (const Case& c : cases) {
            TestDevice d;
            (d.*set)(L"something else first");
            EXPECT_EQ((d.*set)(c.text), c.storedBytes);
            wchar_t buffer[52] = {};
            EXPECT_EQ((d.*get)(buffer, 51), int(c.readBack.size()));
            EXPECT_EQ(std::wstring(buffer), c.readBack);
        }
    }
}

TEST(DeviceTest, RunFilePathKeepsAThousandCharactersAndCopiesWhatFits) {
    TestDevice d;
    EXPECT_EQ(d.SetRunFilePath(std::wstring(1200, L'x')), 1000);
    wchar_t buffer[11];
    EXPECT_EQ(d.GetRunFilePath(buffer, 10), 1000);
    EXPECT_EQ(std::wstring(buffer), std::wstring(10, L'x'));
    EXPECT_EQ(d.SetRunFilePath(L"/usr/bin/true"), 13);
    wchar_t whole[1001];
    EXPECT_EQ(d.GetRunFilePath(whole, 1000), 13);
    EXPECT_EQ(std::wstring(whole), L"/usr/bin/true");
}

TEST(DeviceTest, IgnoreMaskIsTheUnionOfMotionAndPrivacy) {
    TestDevice d;
    MaskGrid motion{}, privacy{};
    motion[0] = 1;
    privacy[1] = 1;
    d.SetMasks(&motion, &privacy);
    MaskGrid expected{};
    expected[0] = 1;
    expected[1] = 1;
    EXPECT_EQ(d.IgnoreMask(), expected);
    MaskGrid gotMotion, gotPrivacy;
    d.GetMasks(&gotMotion, nullptr);
    d.GetMasks(nullptr, &gotPrivacy);
    EXPECT_EQ(gotMotion, motion);
    EXPECT_EQ(gotPrivacy, privacy);

    // A new motion mask alone rebuilds the ignore mask from it and keeps the privacy mask.
    MaskGrid other{};
    other[5] = 1;
    d.SetMasks(&other, nullptr);
    EXPECT_EQ(d.IgnoreMask(), other);
    d.GetMasks(nullptr, &gotPrivacy);
    EXPECT_EQ(gotPrivacy, privacy);
}

TEST(DeviceTest, NamesAreCutAt255AndCopiedWithinTheCount) {
    TestDevice d;
    wchar_t buffer[256];
    buffer[0] = L'?';
    EXPECT_EQ(d.GetFriendlyName(buffer, 255), 0);
    EXPECT_EQ(buffer[0], L'?') << "an empty name leaves the buffer alone";

    EXPECT_EQ(d.SetFriendlyName(std::wstring(300, L'n')), 255);
    EXPECT_EQ(d.GetFriendlyName(buffer, 255), 255);
    EXPECT_EQ(std::wstring(buffer), std::wstring(255, L'n'));
    wchar_t small[5];
    EXPECT_EQ(d.GetFriendlyName(small, 4), 4);
    EXPECT_EQ(std::wstring(small), L"nnnn");

    EXPECT_EQ(d.SetDeviceKey(L"/dev/v4l/by-id/cam"), 18);
    EXPECT_EQ(d.GetDeviceKey(buffer, 255), 18);
    EXPECT_EQ(std::wstring(buffer), L"/dev/v4l/by-id/cam");
}

TEST(DeviceTest, ScheduleGridIsCopiedInAndOutAndNullDoesNothing) {
    TestDevice d;
    WeekGrid grid{};
    grid[WeekGridWord(6, 23)] = 0x0008;
    d.SetSchedule(&grid);
    d.SetSchedule(nullptr);
    WeekGrid out{};
    d.GetSchedule(&out);
    d.GetSchedule(nullptr);
    EXPECT_EQ(out, grid);
}

TEST(DeviceTest, StorageFolderEndsInASlash) {
    TestDevice d;
    d.SetStorageFolder(L"/tmp/store");
    EXPECT_EQ(d.GetStorageFolder(), L"/tmp/store/");
    d.SetStorageFolder(L"/tmp/other/");
    EXPECT_EQ(d.GetStorageFolder(), L"/tmp/other/");
}

TEST(DeviceTest, InitPutsBackTheDefaults) {
    TestDevice d;
    d.SetTolerance(9);
    d.SetSmtpServer(L"smtp.example.org");
    d.SetState(kStateMaskSet, 1);
    MaskGrid motion{};
    motion[3] = 1;
    d.SetMasks(&motion, &motion);
    TestDeviceParams params;
    params.name = L"Cam";
    d.Init(&params);
    EXPECT_EQ(d.GetTolerance(), 5);
    EXPECT_EQ(d.GetState(0), 0);
    EXPECT_EQ(d.IgnoreMask(), MaskGrid{});
    wchar_t buffer[52] = {};
    EXPECT_EQ(d.GetSmtpServer(buffer, 50), 0);
    EXPECT_EQ(d.GetFriendlyName(buffer, 50), 3);
}

}  // namespace
}  // namespace kestrova::testing
