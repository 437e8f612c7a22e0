#include "app/program_globals.h"

#include "app/app_settings.h"

namespace kestrova {

ProgramGlobals& Globals() {
    static ProgramGlobals globals;
    return globals;
}

int StreamsPerDisplay() {
    const AppSettings* settings = Globals().settings;
    return settings ? settings->videoStreamsPerDisplay : 1;
}

}  // namespace kestrova
