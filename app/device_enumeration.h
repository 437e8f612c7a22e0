#pragma once
// The capture devices attached now, as the layer's device enumerator lists them: each with its moniker,
// which binds new capture filters for it, and the values its property bag gives. User-interface thread.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/media/device_enumerator.h"

namespace kestrova {

enum class CaptureCategory { kVideoInput, kAudioInput };

// Text values are cut to their first 255 characters; a value that cannot be read stays empty.
struct CaptureDeviceEntry {
    std::shared_ptr<media::IMoniker> moniker;
    std::wstring friendlyName;        // "FriendlyName"
    std::wstring devicePath;          // "DevicePath": a camera's key
    std::optional<int32_t> waveInId;  // "WaveInID" of an audio input
};

// The devices of the category in the enumerator's order; none when there are none or the enumerator fails.
std::vector<CaptureDeviceEntry> EnumerateCaptureDevices(CaptureCategory category);

// A microphone's key, "<WaveInID> <first 200 characters of FriendlyName>"; empty without a wave-in number.
std::wstring MicrophoneKey(const CaptureDeviceEntry& device);

}  // namespace kestrova
