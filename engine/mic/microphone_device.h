#pragma once
// The microphone: an audio capture device of the media layer. While it is powered, its capture graph brings
// 16-bit PCM buffers through a Sample Grabber, whose callback turns each buffer's loudest sample into the
// sound level that detection reads and draws it as a level meter, the picture the device shows. A second
// capture filter of the same device serves the audio recording.

#include <cstdint>
#include <memory>

#include "engine/capture_device.h"

namespace kestrova {

// The bitmap resource of the microphone symbol that every creator passes.
inline constexpr int kMicrophoneSymbolResource = 5652;

// The creation record of a microphone, zero-filled by its creator.
struct MicrophoneParams : DeviceParams {
    std::shared_ptr<media::IBaseFilter> captureFilter;           // for the live graph, handed over
    std::shared_ptr<media::IBaseFilter> recordingCaptureFilter;  // for the audio recording, handed over
    wchar_t friendlyName[256] = {};                              // becomes the display name
    wchar_t deviceKey[256] = {};                                 // "<WaveInID> <FriendlyName>"
    int32_t frameSize = 0;                                       // not used by a microphone
    HWND displayWindow = nullptr;
    HWND notifyWindow = nullptr;
    wchar_t storageFolder[1024] = {};
    int32_t pictureResourceId = 0;  // the symbol bitmap; its low 16 bits are the resource id
};

class MicrophoneDevice : public CaptureDevice {
public:
    MicrophoneDevice();
    ~MicrophoneDevice() override;

    int GetType() override;
    int Init(const DeviceParams* params) override;
    void GetSettings(DeviceSettings& record) override;
    void SetSettings(const DeviceSettings& record) override;
    int Start() override;
    // A microphone has no picture controls and no property pages.
    int GetBrightness(int useDefault) override;
    int SetBrightness(int level, int useDefault) override;
    int GetContrast(int useDefault) override;
    int SetContrast(int level, int useDefault) override;
    int ShowPropertyPages(HWND owner) override;

    // One delivered buffer of 16-bit samples, from the grabber callback on the streaming thread: stores its
    // sound level, redraws the level picture and posts a frame notification.
    void OnAudioBuffer(const uint8_t* buffer, long length);

private:
    void SetKindDefaults();
    // The level picture as the current frame, allocated (and drawn white with the symbol) when there is
    // none; false when it cannot be allocated. Frame lock held.
    bool EnsureLevelPicture();
};

using MicGrabberCallback = GrabberCallback<MicrophoneDevice, &MicrophoneDevice::OnAudioBuffer>;

}  // namespace kestrova
