#pragma once
// A playback device of ALSA's own file plugin, for tests of what the program plays: everything played to it
// lands in a file of the test's folder as raw samples, written as fast as the program writes them. Lives for
// a scope, during which ALSA reads the configuration it writes.

#include <string>

#include "tests/support/temp_folder.h"

namespace kestrova {

class AlsaFileSink {
public:
    // Writes the configuration into `folder` (ending in "/") and points ALSA at it.
    explicit AlsaFileSink(const std::string& folder);

    // The device name that plays into `file`, for SetSoundDevice.
    std::string Device(const std::string& file) const { return "kestrova_file:" + file; }

private:
    ScopedEnv config_;
};

}  // namespace kestrova
