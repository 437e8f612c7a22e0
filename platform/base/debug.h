#pragma once
// Debug output: lines for a developer, not a log file. By default they go to standard error when
// KESTROVA_DEBUG is set, and nowhere otherwise; tests install a sink to read them.

#include <functional>
#include <string_view>

namespace kestrova {

using DebugSink = std::function<void(std::string_view line)>;

void DebugOutput(std::string_view text);
void DebugOutput(std::wstring_view text);
// Installs `sink` (an empty function restores the default) and returns the one it replaced.
DebugSink SetDebugSink(DebugSink sink);

}  // namespace kestrova
