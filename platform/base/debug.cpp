#include "platform/base/debug.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/base/text.h"

namespace kestrova {
namespace {

std::mutex g_mutex;
DebugSink g_sink;

void DefaultSink(std::string_view line) {
    static const bool enabled = std::getenv("KESTROVA_DEBUG") != nullptr;
    if (enabled) std::fprintf(stderr, "%.*s\n", int(line.size()), line.data());
}

}  // namespace

void DebugOutput(std::string_view text) {
    std::lock_guard<std::mutex> g(g_mutex);
    if (g_sink) {
        g_sink(text);
    } else {
        DefaultSink(text);
    }
}

void DebugOutput(std::wstring_view text) { DebugOutput(std::string_view(ToUtf8(text))); }

DebugSink SetDebugSink(DebugSink sink) {
    std::lock_guard<std::mutex> g(g_mutex);
    DebugSink old = std::move(g_sink);
    g_sink = std::move(sink);
    return old;
}

}  // namespace kestrova
