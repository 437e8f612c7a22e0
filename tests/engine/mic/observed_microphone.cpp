#include "observed_microphone.h"

#include <cwchar>

#include "platform/media/device_enumerator.h"

namespace kestrova::testing {

using namespace media;

int ObservedMicrophone::SoundLevel() {
    std::lock_guard<CriticalSection> lock(frameLock_);
    return soundLevel_;
}

std::vector<uint8_t> ObservedMicrophone::Picture() {
    std::lock_guard<CriticalSection> lock(frameLock_);
    return frame_;
}

imaging::BitmapInfoHeader ObservedMicrophone::PictureHeader() {
    std::lock_guard<CriticalSection> lock(frameLock_);
    return frameInfo_.bmiHeader;
}

BoundMicrophone BindFirstMicrophone() {
    SystemDeviceEnum enumerator;
    std::vector<std::shared_ptr<IMoniker>> monikers;
    enumerator.CreateClassEnumerator(CLSID_AudioInputDeviceCategory, &monikers);
    BoundMicrophone bound;
    if (!monikers.empty()) {
        monikers[0]->BindToObject(&bound.live);
        monikers[0]->BindToObject(&bound.recording);
    }
    return bound;
}

AlsaMicrophone::AlsaMicrophone(const std::vector<int16_t>& pattern, int repeats) {
    alsa.Add("deskmic", "Desk Microphone", pattern, repeats);
    filters = BindFirstMicrophone();
    MicrophoneParams params;
    params.captureFilter = filters.live;
    params.recordingCaptureFilter = filters.recording;
    std::wcsncpy(params.friendlyName, L"Desk Microphone", 255);
    std::wcsncpy(params.deviceKey, L"0 Desk Microphone", 255);
    params.frameSize = 2;
    params.notifyWindow = notes.window();
    std::wcsncpy(params.storageFolder, storage.path().c_str(), 1023);
    params.pictureResourceId = kMicrophoneSymbolResource;
    device.Init(&params);
}

}  // namespace kestrova::testing
