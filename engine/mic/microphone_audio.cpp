// The microphone's grabber callback: the sound level of each delivered buffer and its level picture.
#include <new>

#include "engine/mic/level_picture.h"
#include "engine/mic/microphone_device.h"
#include "engine/mic/sound_level.h"

namespace kestrova {

void MicrophoneDevice::OnAudioBuffer(const uint8_t* buffer, long length) {
    const int level = SoundLevelOf(PeakOfBuffer(buffer, length), GetSensitivity());
    {
        std::lock_guard<CriticalSection> lock(frameLock_);
        soundLevel_ = level;
        // Without a picture the level still counts for detection, and the views are still told.
        if (EnsureLevelPicture()) DrawLevelBar(frame_.data(), level);
    }
    Notify(GetNotifyWindow(), kNotifyFrame, 0);
}

bool MicrophoneDevice::EnsureLevelPicture() {
    if (frame_.size() == size_t(kFrameBytes480x360)) return true;
    frameInfo_ = imaging::BitmapInfo{};  // 40 bytes, 1 plane, 24 bits, BI_RGB, the rest 0
    frameInfo_.bmiHeader.biWidth = kLevelPictureWidth;
    frameInfo_.bmiHeader.biHeight = kLevelPictureHeight;  // positive: the rows are bottom-up
    try {
        frame_.resize(size_t(kFrameBytes480x360));
    } catch (const std::bad_alloc&) {
        frame_.clear();
        return false;
    }
    DrawLevelBackground(frame_.data(), symbolPicture_);
    return true;
}

}  // namespace kestrova
