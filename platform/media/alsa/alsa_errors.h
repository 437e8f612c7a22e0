#pragma once
// ALSA reports its errors on standard error by default; the layer sends them to the debug output instead,
// so that listing devices that cannot be opened prints nothing for the user.

namespace kestrova::media {

// Installs the handler once per process; every ALSA call site calls it first.
void RouteAlsaErrorsToDebugOutput();

}  // namespace kestrova::media
