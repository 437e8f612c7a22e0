#pragma once
// A microphone whose stored sound level and level picture a test can read, and a microphone made of ALSA's
// file plugin: an ALSA capture device that captures a raw PCM pattern, bound twice (live and recording) and
// handed to a microphone's Init.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "alsa_file_devices.h"
#include "engine/mic/microphone_device.h"
#include "tests/engine/device/kit/notify_recorder.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait_until.h"

namespace kestrova::testing {

class ObservedMicrophone : public MicrophoneDevice {
public:
    int SoundLevel();
    // The current frame, empty when there is none.
    std::vector<uint8_t> Picture();
    imaging::BitmapInfoHeader PictureHeader();
};

// The capture filters of the first audio input the device enumerator lists.
struct BoundMicrophone {
    std::shared_ptr<media::IBaseFilter> live;
    std::shared_ptr<media::IBaseFilter> recording;
};
BoundMicrophone BindFirstMicrophone();

// One ALSA microphone whose input is `pattern` over and over, initialised into `device`.
struct AlsaMicrophone {
    // A pattern of one buffer (a tenth of a second at 11,025 Hz) keeps each buffer's samples in place.
    static constexpr int kBufferSamples = 1102;

    explicit AlsaMicrophone(const std::vector<int16_t>& pattern, int repeats = 50);

    ScopedEnv noVirtual{"KESTROVA_VIRTUAL_DEVICES", nullptr};
    mediatest::AlsaFileDevices alsa;
    TempFolder storage;
    NotifyRecorder notes;
    BoundMicrophone filters;
    ObservedMicrophone device;
};

}  // namespace kestrova::testing
