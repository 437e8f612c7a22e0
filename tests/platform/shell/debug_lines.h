#pragma once
// Collects the debug output of a scope.

#include <mutex>
#include <string>
#include <vector>

#include "platform/base/debug.h"

namespace kestrova {

class DebugLines {
public:
    DebugLines() {
        old_ = SetDebugSink([this](std::string_view line) {
            std::lock_guard<std::mutex> g(mutex_);
            lines_.emplace_back(line);
        });
    }
    ~DebugLines() { SetDebugSink(std::move(old_)); }

    // How many lines hold `part`.
    int Count(std::string_view part) {
        std::lock_guard<std::mutex> g(mutex_);
        int n = 0;
        for (const std::string& l : lines_) n += l.find(part) != std::string::npos;
        return n;
    }

private:
    DebugSink old_;
    std::mutex mutex_;
    std::vector<std::string> lines_;
};

}  // namespace kestrova
