#include "platform/base/log.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <system_error>

#include "platform/base/debug.h"

namespace kestrova {
namespace {

std::mutex g_mutex;
LogSink g_sink;

std::string_view LevelName(LogLevel level) {
    return level == LogLevel::kError ? "error" : "warning";
}

void WriteToStandardError(LogLevel level, std::string_view component, std::string_view message) {
    std::string line = "kestrova: ";
    line.append(LevelName(level)).append(": ").append(component).append(": ").append(message) += '\n';
    // One write per line, so that lines of different threads never interleave.
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void Log(LogLevel level, std::string_view component, std::string_view message) {
    {
        std::lock_guard<std::mutex> hold(g_mutex);
        if (g_sink) {
            g_sink(level, component, message);
        } else {
            WriteToStandardError(level, component, message);
        }
    }
    DebugOutput(std::string(component) + ": " + std::string(message));
}

}  // namespace

void LogError(std::string_view component, std::string_view message) {
    Log(LogLevel::kError, component, message);
}

void LogWarning(std::string_view component, std::string_view message) {
    Log(LogLevel::kWarning, component, message);
}

LogSink SetLogSink(LogSink sink) {
    std::lock_guard<std::mutex> hold(g_mutex);
    LogSink old = std::move(g_sink);
    g_sink = std::move(sink);
    return old;
}

std::string SystemErrorText(int error) {
    return std::system_category().message(error);
}

}  // namespace kestrova
