#pragma once
// ALSA capture devices made of ALSA's file plugin: each captures the bytes of a raw 16-bit PCM file through
// the real ALSA code path. The devices live in a configuration of their own (the system's, plus them),
// which ALSA reads for the life of the object.

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace kestrova::mediatest {

class AlsaFileDevices {
public:
    AlsaFileDevices();

    // A capture device `name`, listed with `description`, whose input is `samples` repeated `repeats` times.
    void Add(const std::string& name, const std::string& description, const std::vector<int16_t>& samples,
             int repeats);
    // A listed device whose input file does not exist, so that it cannot be opened.
    void AddBroken(const std::string& name, const std::string& description);

private:
    void AddEntry(const std::string& name, const std::string& description, const std::string& infile);
    void WriteConfiguration();

    TempFolder folder_;
    std::string entries_;
    int files_ = 0;
    ScopedEnv configPath_{"ALSA_CONFIG_PATH", nullptr};
};

}  // namespace kestrova::mediatest
