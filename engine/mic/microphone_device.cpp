#include "engine/mic/microphone_device.h"

#include "engine/device_settings.h"
#include "engine/mic/level_picture.h"
#include "engine/mic/microphone_format.h"
#include "engine/video_recording.h"

namespace kestrova {

using namespace media;

MicrophoneDevice::MicrophoneDevice() : CaptureDevice(kDeviceMicrophone) {
    SetKindDefaults();
}

MicrophoneDevice::~MicrophoneDevice() {
    ShutDown();
}

void MicrophoneDevice::SetKindDefaults() {
    // A microphone records sound when alarmed; it has no picture to photograph or film.
    SetSavePhotos(0);
    SetRecordVideo(0);
    SetFrameSize(0);
}

int MicrophoneDevice::GetType() {
    return kDeviceMicrophone;
}

int MicrophoneDevice::Init(const DeviceParams* params) {
    ResetCapture();
    ResetBaseFields();
    SetKindDefaults();
    const auto* mic = dynamic_cast<const MicrophoneParams*>(params);
    {
        // The recording graph keeps the recording capture filter across its builds; a new record brings its
        // own, and without one the old binding goes like the live one.
        std::lock_guard<CriticalSection> lock(recordingLock_);
        if (recording_) recording_->captureFilter.reset();
        if (mic != nullptr && mic->recordingCaptureFilter) {
            if (!recording_) recording_ = std::make_shared<RecordingGraph>();
            recording_->captureFilter = mic->recordingCaptureFilter;
        }
    }
    if (mic == nullptr) return 0;

    captureFilter_ = mic->captureFilter;
    std::vector<uint8_t> symbol = ReadSymbolPicture(mic->pictureResourceId);
    {
        std::lock_guard<CriticalSection> lock(frameLock_);
        symbolPicture_ = std::move(symbol);
    }
    // Names are cut to their limit; the stored lengths are not needed.
    StoreDisplayName(FieldText(mic->friendlyName, std::size(mic->friendlyName)));
    StoreDeviceKey(FieldText(mic->deviceKey, std::size(mic->deviceKey)));
    SetDisplayWindow(mic->displayWindow);
    SetNotifyWindow(mic->notifyWindow);
    SetStorageFolder(FieldText(mic->storageFolder, std::size(mic->storageFolder)));
    return 0;
}

void MicrophoneDevice::GetSettings(DeviceSettings& record) {
    {
        std::lock_guard<CriticalSection> lock(windowLock_);
        record.SetDeviceType(kDeviceMicrophone);
        record.SetDeviceKey(deviceKey_);
    }
    WriteSharedSettings(record, /*masks=*/false);
}

void MicrophoneDevice::SetSettings(const DeviceSettings& record) {
    ApplySharedSettings(record, /*masks=*/false);
}

int MicrophoneDevice::Start() {
    AM_MEDIA_TYPE pcm;
    pcm.majortype = MEDIATYPE_Audio;
    pcm.subtype = MEDIASUBTYPE_PCM;
    pcm.formattype = FORMAT_WaveFormatEx;
    pcm.bFixedSizeSamples = true;
    StartCapture({L"Audio Capture", MEDIATYPE_Audio, pcm, ChooseMicrophoneFormat},
                 std::make_unique<MicGrabberCallback>(this));
    return 1;
}

int MicrophoneDevice::GetBrightness(int) {
    return 0;
}
int MicrophoneDevice::SetBrightness(int, int) {
    return 0;
}
int MicrophoneDevice::GetContrast(int) {
    return 0;
}
int MicrophoneDevice::SetContrast(int, int) {
    return 0;
}
int MicrophoneDevice::ShowPropertyPages(HWND) {
    return 0;
}

}  // namespace kestrova
