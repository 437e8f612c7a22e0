#include "platform/media/alsa/alsa_errors.h"

#include <alsa/asoundlib.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

#include "platform/base/debug.h"

namespace kestrova::media {
namespace {

void ToDebugOutput(const char* file, int line, const char* function, int, const char* format, ...) {
    char message[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof(message), format, arguments);
    va_end(arguments);
    DebugOutput("ALSA " + std::string(file ? file : "") + ":" + std::to_string(line) + " (" +
                (function ? function : "") + ") " + message);
}

}  // namespace

void RouteAlsaErrorsToDebugOutput() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(ToDebugOutput); });
}

}  // namespace kestrova::media
