#pragma once
// The program's log: failures that nobody sees at the moment they happen (a photo that was not saved, a mail
// the server refused, a web server that could not listen), each with the component that met it and the
// reason. Errors and warnings go to standard error as "kestrova: <level>: <component>: <message>" unless a
// sink is installed; tests install one to read them. Each line is also given to the debug output (debug.h),
// so that a developer's trace holds it in order with the rest. Any thread may log.
//
// Never put a password or other secret into a message: the log is read by people who may not know it.
// The SMTP session's own command trace is debug output (debug.h), not log lines.

#include <functional>
#include <string>
#include <string_view>

namespace kestrova {

enum class LogLevel { kError, kWarning };

// Receives each line; calls are serialised, so a sink needs no lock of its own for that. A sink must not log.
using LogSink = std::function<void(LogLevel level, std::string_view component, std::string_view message)>;

// Something failed and its effect is lost (a file not written, a mail not sent).
void LogError(std::string_view component, std::string_view message);
// Something failed and the program went on in a lesser way (a recording without compression, a retry).
void LogWarning(std::string_view component, std::string_view message);

// Installs `sink` (an empty function restores standard error) and returns the one it replaced.
LogSink SetLogSink(LogSink sink);

// The system's text for an errno value, for the reason part of a message.
std::string SystemErrorText(int error);

}  // namespace kestrova
