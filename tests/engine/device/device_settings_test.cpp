#include "engine/device_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/engine/device/kit/test_device.h"

namespace kestrova::testing {
namespace {

using Bytes = std::vector<uint8_t>;

// Writes a fixture the way the file holds it, without the code under test.
void PutInt(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
void PutAscii(Bytes& b, size_t at, const std::string& s) {
    std::memcpy(b.data() + at, s.data(), s.size());
}
void PutAsciiUtf16(Bytes& b, size_t at, const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        b[at + 2 * i] = uint8_t(s[i]);
        b[at + 2 * i + 1] = 0;
    }
}

Bytes Fixture() {
    Bytes b(54804, 0);
    PutInt(b, 0, 1);
    PutAsciiUtf16(b, 4, "usb-key");
    PutInt(b, 516, 8080);
    PutAscii(b, 520, "127.0.0.7");
    PutAscii(b, 776, "camuser");
    PutAscii(b, 1032, "campass");
    for (int i = 0; i < 9; ++i) PutInt(b, 1292 + 4 * i, 100 + i);
    PutAsciiUtf16(b, 1328, "/opt/run.sh");
    PutInt(b, 3332, 1);
    PutAscii(b, 3336, "smtp.test");
    PutInt(b, 3388, 587);
    PutInt(b, 3392, 1);
    PutAscii(b, 3396, "mailuser");
    PutAscii(b, 3448, "mailpass");
    PutAscii(b, 3500, "from@test");
    PutAscii(b, 3552, "to@test");
    PutInt(b, 3604, 0x11);             // motion cell 0
    PutInt(b, 3604 + 4 * 1599, 0x22);  // motion cell 1599
    PutInt(b, 29204 + 4 * 40, 0x33);   // privacy cell (1, 0)
    return b;
}

TEST(DeviceSettingsTest, EveryFieldIsReadFromItsOffset) {
    const Bytes fixture = Fixture();
    DeviceSettings r;
    ASSERT_TRUE(r.Load(fixture.data(), fixture.size()));
    EXPECT_EQ(r.GetDeviceType(), 1);
    EXPECT_EQ(r.GetDeviceKey(), L"usb-key");
    EXPECT_EQ(r.GetCameraPort(), 8080);
    EXPECT_EQ(r.GetCameraHost(), "127.0.0.7");
    EXPECT_EQ(r.GetCameraUser(), "camuser");
    EXPECT_EQ(r.GetCameraPassword(), "campass");
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(r.GetAction(i), int32_t(100 + i)) << i;
    EXPECT_EQ(r.GetRunFile(), L"/opt/run.sh");
    EXPECT_EQ(r.GetSendEmail(), 1);
    EXPECT_EQ(r.GetSmtpServer(), "smtp.test");
    EXPECT_EQ(r.GetSmtpPort(), 587);
    EXPECT_EQ(r.GetSmtpProtocol(), 1);
    EXPECT_EQ(r.GetSmtpUser(), "mailuser");
    EXPECT_EQ(r.GetSmtpPassword(), "mailpass");
    EXPECT_EQ(r.GetEmailSender(), "from@test");
    EXPECT_EQ(r.GetEmailRecipient(), "to@test");
    const MaskGrid motion = r.GetMotionMask();
    EXPECT_EQ(motion[0], 0x11);
    EXPECT_EQ(motion[1599], 0x22);
    EXPECT_EQ(r.GetPrivacyMask()[MaskCell(1, 0)], 0x33);
}

TEST(DeviceSettingsTest, EveryFieldIsWrittenToItsOffset) {
    const Bytes fixture = Fixture();
    DeviceSettings r;
    r.SetDeviceType(1);
    r.SetDeviceKey(L"usb-key");
    r.SetCameraPort(8080);
    r.SetCameraHost("127.0.0.7");
    r.SetCameraUser("camuser");
    r.SetCameraPassword("campass");
    for (size_t i = 0; i < 9; ++i) r.SetAction(i, int32_t(100 + i));
    r.SetAction(9, 5);  // outside the flags: ignored
    r.SetRunFile(L"/opt/run.sh");
    r.SetSendEmail(1);
    r.SetSmtpServer("smtp.test");
    r.SetSmtpPort(587);
    r.SetSmtpProtocol(1);
    r.SetSmtpUser("mailuser");
    r.SetSmtpPassword("mailpass");
    r.SetEmailSender("from@test");
    r.SetEmailRecipient("to@test");
    MaskGrid motion{}, privacy{};
    motion[0] = 0x11;
    motion[1599] = 0x22;
    privacy[MaskCell(1, 0)] = 0x33;
    r.SetMotionMask(motion);
    r.SetPrivacyMask(privacy);
    const Bytes written(r.Bytes(), r.Bytes() + DeviceSettings::kSize);
    for (size_t i = 0; i < fixture.size(); ++i) ASSERT_EQ(written[i], fixture[i]) << "offset " << i;
}

TEST(DeviceSettingsTest, WideFieldsAreUtf16LittleEndian) {
    DeviceSettings r;
    r.SetDeviceKey(L"\U0001F600\u00e9");
    const uint8_t expected[] = {0x3D, 0xD8, 0x00, 0xDE, 0xE9, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(r.Bytes() + 4, expected, sizeof expected), 0);
    EXPECT_EQ(r.GetDeviceKey(), L"\U0001F600\u00e9");
}

TEST(DeviceSettingsTest, TextsAreCutToTheirWidthWhenWrittenAndRead) {
    // Written: at most the width minus one, cut at a character boundary.
    DeviceSettings w;
    w.SetSmtpServer(std::string(60, 'a'));
    EXPECT_EQ(w.GetSmtpServer(), std::string(51, 'a'));
    w.SetCameraHost(std::string(254, 'h') + "\xC3\xA9");  // the last letter would need bytes 254 and 255
    EXPECT_EQ(w.GetCameraHost(), std::string(254, 'h'));
    w.SetRunFile(std::wstring(1500, L'r'));
    EXPECT_EQ(w.GetRunFile(), std::wstring(1000, L'r'));

    // Read from a record whose text fields have no terminator: each stops one short of its width.
    const Bytes full(DeviceSettings::kSize, 0x41);
    DeviceSettings r;
    ASSERT_TRUE(r.Load(full.data(), full.size()));
    struct Case {
        const char* field;
        size_t length;
        size_t expected;
    };
    const Case cases[] = {
        {"device key", r.GetDeviceKey().size(), 255},
        {"camera host", r.GetCameraHost().size(), 255},
        {"camera user", r.GetCameraUser().size(), 255},
        {"camera password", r.GetCameraPassword().size(), 255},
        {"file to run", r.GetRunFile().size(), 1000},
        {"SMTP server", r.GetSmtpServer().size(), 51},
        {"SMTP user", r.GetSmtpUser().size(), 51},
        {"SMTP password", r.GetSmtpPassword().size(), 51},
        {"sender", r.GetEmailSender().size(), 51},
        {"recipient", r.GetEmailRecipient().size(), 51},
    };
    for (const Case& c : cases) EXPECT_EQ(c.length, c.expected) << c.field;
}

TEST(DeviceSettingsTest, OnlyARecordOfTheExactSizeLoads) {
    DeviceSettings r;
    r.SetSmtpPort(25);
    const Bytes shorter(DeviceSettings::kSize - 1, 0xFF), longer(DeviceSettings::kSize + 1, 0xFF);
    EXPECT_FALSE(r.Load(shorter.data(), shorter.size()));
    EXPECT_FALSE(r.Load(longer.data(), longer.size()));
    EXPECT_FALSE(r.Load(nullptr, DeviceSettings::kSize));
    EXPECT_EQ(r.GetSmtpPort(), 25);
}

void FillSettings(Device& d) {
    d.SetSaveFiles(0);
    d.SetSavePhotos(1);
    d.SetRecordVideo(1);
    d.SetRecordAudio(0);
    d.SetPlaySound(0);
    d.SetSoundKind(0);
    d.SetPreview(1);
    d.SetPreviewKind(1);
    d.SetRunFile(1);
    d.SetRunFilePath(L"/opt/alarm \u00e9.sh");
    d.SetSendEmail(1);
    d.SetSmtpServer(L"127.0.0.1");
    d.SetSmtpPort(2525);
    d.SetSmtpProtocol(1);
    d.SetSmtpUser(L"user\u00fc");
    d.SetSmtpPassword(L"secret");
    d.SetEmailSender(L"cam@localhost");
    d.SetEmailRecipient(L"me@localhost");
}

std::wstring Text(Device& d, int (Device::*get)(wchar_t*, int)) {
    wchar_t buffer[1001] = {};
    (d.*get)(buffer, 1000);
    return buffer;
}

TEST(DeviceSettingsTest, ACameraSurvivesASaveAndRestore) {
    TestDevice first(kDeviceUsbCamera);
    FillSettings(first);
    first.SetDeviceKey(L"usb-1");
    MaskGrid motion{}, privacy{};
    motion[MaskCell(0, 0)] = 1;
    privacy[MaskCell(39, 39)] = 1;
    first.SetMasks(&motion, &privacy);

    DeviceSettings record;
    first.GetSettings(record);
    EXPECT_EQ(record.GetDeviceType(), kDeviceUsbCamera);
    EXPECT_EQ(record.GetDeviceKey(), L"usb-1");

    TestDevice second(kDeviceUsbCamera);
    second.SetSettings(record);
    using Getter = int (Device::*)();
    const Getter flags[] = {&Device::GetSaveFiles,   &Device::GetSavePhotos,  &Device::GetRecordVideo,
                            &Device::GetRecordAudio, &Device::GetPlaySound,   &Device::GetSoundKind,
                            &Device::GetPreview,     &Device::GetPreviewKind, &Device::GetRunFile,
                            &Device::GetSendEmail,   &Device::GetSmtpPort,    &Device::GetSmtpProtocol};
    for (Getter g : flags) EXPECT_EQ((second.*g)(), (first.*g)());
    using TextGetter = int (Device::*)(wchar_t*, int);
    const TextGetter texts[] = {&Device::GetRunFilePath, &Device::GetSmtpServer,
                                &Device::GetSmtpUser,    &Device::GetSmtpPassword,
                                &Device::GetEmailSender, &Device::GetEmailRecipient};
    for (TextGetter g : texts) {
        EXPECT_EQ(Text(second, g), Text(first, g));
        EXPECT_FALSE(Text(second, g).empty());
    }
    MaskGrid gotMotion, gotPrivacy;
    second.GetMasks(&gotMotion, &gotPrivacy);
    EXPECT_EQ(gotMotion, motion);
    EXPECT_EQ(gotPrivacy, privacy);
    MaskGrid ignore = motion;
    ignore[MaskCell(39, 39)] = 1;
    EXPECT_EQ(second.IgnoreMask(), ignore);
}

TEST(DeviceSettingsTest, AMicrophoneRecordHasNoMasks) {
    TestDevice mic(kDeviceMicrophone);
    MaskGrid mask;
    mask.fill(1);
    mic.SetMasks(&mask, &mask);
    DeviceSettings record;
    mic.GetSettings(record);
    const uint8_t* b = record.Bytes();
    for (size_t i = DeviceSettings::kMotionMaskOffset; i < DeviceSettings::kSize; ++i)
        ASSERT_EQ(b[i], 0) << i;

    // And it ignores the mask areas of a record it is given.
    DeviceSettings withMasks;
    withMasks.SetMotionMask(mask);
    TestDevice other(kDeviceMicrophone);
    other.SetSettings(withMasks);
    EXPECT_EQ(other.IgnoreMask(), MaskGrid{});
}

}  // namespace
}  // namespace kestrova::testing
