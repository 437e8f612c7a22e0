#include "platform/media/alsa/alsa_devices.h"

#include <alsa/asoundlib.h>

#include <cstdlib>

#include "platform/base/text.h"
#include "platform/media/alsa/alsa_errors.h"
#include "platform/media/alsa/alsa_formats.h"

namespace kestrova::media {
namespace {

std::string TakeHint(const void* hint, const char* id) {
    char* value = snd_device_name_get_hint(hint, id);
    std::string text = value ? value : "";
    std::free(value);
    return text;
}

// The hardware-level names (hw:, plughw:, front:, dsnoop: and the like) reach the same cards that
// "sysdefault:" reaches, most of them exclusively; "null" captures nothing.
bool Offered(const std::string& name) {
    if (name == "null") return false;
    if (name.rfind("sysdefault:", 0) == 0) return true;
    return name.find(':') == std::string::npos;
}

}  // namespace

std::vector<AlsaDevice> ListAlsaCaptureDevices() {
    RouteAlsaErrorsToDebugOutput();
    std::vector<AlsaDevice> devices;
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "pcm", &hints) != 0) return devices;
    for (void** hint = hints; *hint; ++hint) {
        const std::string name = TakeHint(*hint, "NAME");
        const std::string direction = TakeHint(*hint, "IOID");
        if (name.empty() || (!direction.empty() && direction != "Input") || !Offered(name)) continue;
        if (ProbeAlsaFormats(name).empty()) continue;
        std::string description = TakeHint(*hint, "DESC");
        description = description.substr(0, description.find('\n'));
        devices.push_back({name, FromUtf8(description.empty() ? name : description)});
    }
    snd_device_name_free_hint(hints);
    return devices;
}

}  // namespace kestrova::media
