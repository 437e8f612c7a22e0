#include "alsa_file_devices.h"

#include <cstdlib>
#include <fstream>

namespace kestrova::mediatest {

AlsaFileDevices::AlsaFileDevices() {
    WriteConfiguration();
}

void AlsaFileDevices::Add(const std::string& name, const std::string& description,
                          const std::vector<int16_t>& samples, int repeats) {
    const std::string infile = folder_.native() + name + ".raw";
    std::ofstream out(infile, std::ios::binary);
    for (int i = 0; i < repeats; ++i) {
        out.write(reinterpret_cast<const char*>(samples.data()), std::streamsize(samples.size() * 2));
    }
    AddEntry(name, description, infile);
}

void AlsaFileDevices::AddBroken(const std::string& name, const std::string& description) {
    AddEntry(name, description, folder_.native() + "missing.raw");
}

void AlsaFileDevices::AddEntry(const std::string& name, const std::string& description,
                               const std::string& infile) {
    entries_ += "pcm." + name + " {\n  type file\n  slave.pcm \"null\"\n  file \"/dev/null\"\n  infile \"" +
                infile + "\"\n  format \"raw\"\n  hint { show on description \"" + description + "\" }\n}\n";
    WriteConfiguration();
}

void AlsaFileDevices::WriteConfiguration() {
    // ALSA notices a changed configuration by its files' names and times in whole seconds: every change gets
    // a file of its own.
    const std::string path = folder_.native() + "asound-" + std::to_string(files_++) + ".conf";
    std::ofstream(path) << "</usr/share/alsa/alsa.conf>\n" << entries_;
    setenv("ALSA_CONFIG_PATH", path.c_str(), 1);
}

}  // namespace kestrova::mediatest
