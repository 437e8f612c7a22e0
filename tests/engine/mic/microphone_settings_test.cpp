// What Init, the settings and the picture operations do to a microphone, without capture.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cwchar>

#include "engine/device_settings.h"
#include "engine/mic/microphone_device.h"
#include "platform/media/virtual/virtual_microphone.h"

namespace kestrova {
namespace {

using namespace media;

std::array<int, kActionCount> Actions(Device& device) {
    return {device.GetSaveFiles(),   device.GetSavePhotos(),  device.GetRecordVideo(),
            device.GetRecordAudio(), device.GetPlaySound(),   device.GetSoundKind(),
            device.GetPreview(),     device.GetPreviewKind(), device.GetRunFile()};
}

MicrophoneParams Record(std::shared_ptr<IBaseFilter> live, std::shared_ptr<IBaseFilter> recording) {
    MicrophoneParams params;
    params.captureFilter = std::move(live);
    params.recordingCaptureFilter = std::move(recording);
    std::wcsncpy(params.friendlyName, L"Desk Microphone", 255);
    std::wcsncpy(params.deviceKey, L"0 Desk Microphone", 255);
    params.frameSize = 2;
    std::wcsncpy(params.storageFolder, L"/tmp/storage/", 1023);
    params.pictureResourceId = kMicrophoneSymbolResource;
    return params;
}

TEST(MicrophoneInit, SetsTheKindsDefaultsAndTakesTheRecord) {
    MicrophoneDevice device;
    EXPECT_EQ(device.GetType(), 2);
    device.SetSavePhotos(1);
    device.SetRecordAudio(0);
    device.SetSensitivity(9);
    device.SetFrameSize(2);

    const MicrophoneParams params = Record(nullptr, nullptr);
    EXPECT_EQ(device.Init(&params), 0);
    EXPECT_EQ(Actions(device), (std::array<int, kActionCount>{1, 0, 0, 1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(device.GetFrameSize(), 0) << "the record's frame size is not used";
    EXPECT_EQ(device.GetSensitivity(), 5);
    EXPECT_EQ(device.GetTolerance(), 5);
    wchar_t text[256] = {};
    EXPECT_EQ(device.GetFriendlyName(text, 255), 15);
    EXPECT_STREQ(text, L"Desk Microphone");
    EXPECT_EQ(device.GetDeviceKey(text, 255), 17);
    EXPECT_STREQ(text, L"0 Desk Microphone");
    EXPECT_EQ(device.GetStorageFolder(), L"/tmp/storage/");

    // No picture controls, pan or tilt.
    EXPECT_EQ(device.GetBrightness(0), 0);
    EXPECT_EQ(device.SetBrightness(10, 0), 0);
    EXPECT_EQ(device.GetContrast(1), 0);
    EXPECT_EQ(device.SetContrast(10, 1), 0);
    EXPECT_EQ(device.PanLeft(1, 100), 1);
    EXPECT_EQ(device.TiltDown(1, 100), 1);
}

TEST(MicrophoneInit, HoldsBothCaptureFiltersUntilTheNextInitOrItsEnd) {
    std::weak_ptr<IBaseFilter> live, recording;
    {
        MicrophoneDevice device;
        {
            auto liveFilter = std::make_shared<VirtualMicrophone>();
            auto recordingFilter = std::make_shared<VirtualMicrophone>();
            live = liveFilter;
            recording = recordingFilter;
            const MicrophoneParams params = Record(liveFilter, recordingFilter);
            device.Init(&params);
        }
        EXPECT_FALSE(live.expired());
        EXPECT_FALSE(recording.expired());
        EXPECT_EQ(device.BuildAudioGraph(1), 1) << "the recording graph records from the second filter";
        EXPECT_EQ(device.BuildAudioGraph(0), 1);
        EXPECT_FALSE(recording.expired()) << "a teardown keeps it for the next build";

        // Init without a record lets both go; the device cannot start or record then.
        device.Init(nullptr);
        EXPECT_TRUE(live.expired());
        EXPECT_TRUE(recording.expired());
        device.Start();
        EXPECT_EQ(device.GetState(kStatePowered), 0);
        EXPECT_EQ(device.BuildAudioGraph(1), 0);

        const auto liveFilter = std::make_shared<VirtualMicrophone>();
        const auto recordingFilter = std::make_shared<VirtualMicrophone>();
        live = liveFilter;
        recording = recordingFilter;
        const MicrophoneParams params = Record(liveFilter, recordingFilter);
        device.Init(&params);
    }
    EXPECT_TRUE(live.expired()) << "released with the device";
    EXPECT_TRUE(recording.expired());
}

TEST(MicrophoneSettings, CarryActionsAndMailButNoMasks) {
    MicrophoneDevice device;
    const MicrophoneParams params = Record(nullptr, nullptr);
    device.Init(&params);
    MaskGrid mask{};
    mask.fill(1);
    device.SetMasks(&mask, &mask);
    device.SetRunFilePath(L"/usr/bin/true");
    device.SetSmtpPort(587);

    DeviceSettings record;
    device.GetSettings(record);
    EXPECT_EQ(record.GetDeviceType(), 2);
    EXPECT_EQ(record.GetDeviceKey(), L"0 Desk Microphone");
    EXPECT_EQ(record.GetAction(kActionAudio), 1);
    EXPECT_EQ(record.GetRunFile(), L"/usr/bin/true");
    EXPECT_EQ(record.GetSmtpPort(), 587);
    const uint8_t* bytes = record.Bytes();
    EXPECT_TRUE(std::all_of(bytes + DeviceSettings::kMotionMaskOffset, bytes + DeviceSettings::kSize,
                            [](uint8_t b) { return b == 0; }))
        << "the mask areas stay as the caller left them";

    DeviceSettings stored;
    stored.SetDeviceType(1);
    stored.SetDeviceKey(L"something else");
    stored.SetAction(kActionPhoto, 1);
    stored.SetSmtpPort(25);
    stored.SetMotionMask(mask);
    MicrophoneDevice restored;
    restored.Init(&params);
    restored.SetSettings(stored);
    EXPECT_EQ(restored.GetSavePhotos(), 1);
    EXPECT_EQ(restored.GetSmtpPort(), 25);
    wchar_t key[256] = {};
    restored.GetDeviceKey(key, 255);
    EXPECT_STREQ(key, L"0 Desk Microphone");
    MaskGrid motion;
    motion.fill(7);
    restored.GetMasks(&motion, nullptr);
    EXPECT_EQ(motion, MaskGrid{}) << "the stored masks are ignored";
}

}  // namespace
}  // namespace kestrova
