#include "tests/support/alsa_file_sink.h"

#include <fstream>

namespace kestrova {
namespace {

std::string WriteConfig(const std::string& folder) {
    const std::string path = folder + "asound.conf";
    std::ofstream(path) << "</usr/share/alsa/alsa.conf>\n"
                           "pcm.kestrova_file {\n"
                           "  @args [FILE]\n"
                           "  @args.FILE { type string }\n"
                           "  type file\n"
                           "  slave.pcm \"null\"\n"
                           "  file $FILE\n"
                           "  format \"raw\"\n"
                           "}\n";
    return path;
}

}  // namespace

AlsaFileSink::AlsaFileSink(const std::string& folder)
    : config_("ALSA_CONFIG_PATH", WriteConfig(folder).c_str()) {}

}  // namespace kestrova
