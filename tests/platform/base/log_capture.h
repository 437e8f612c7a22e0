#pragma once
// Collects the program's log lines, from any thread, for the life of the object, and puts the previous sink
// back afterwards.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/log.h"

namespace kestrova::testing {

class LogCapture {
public:
    LogCapture()
        : old_(SetLogSink([this](LogLevel level, std::string_view component, std::string_view message) {
              std::lock_guard<std::mutex> hold(mutex_);
              text_.append(level == LogLevel::kError ? "error: " : "warning: ")
                  .append(component)
                  .append(": ")
                  .append(message) += '\n';
              logged_.notify_all();
          })) {}
    ~LogCapture() { SetLogSink(std::move(old_)); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Every line so far, each as "<level>: <component>: <message>\n".
    std::string Text() {
        std::lock_guard<std::mutex> hold(mutex_);
        return text_;
    }
    // The lines so far that hold `part`, each without its line feed. Threads of earlier tests (a detached
    // mail send) may still log: a test that shares its process with them picks its own lines out.
    std::vector<std::string> LinesWith(std::string_view part) {
        std::lock_guard<std::mutex> hold(mutex_);
        std::vector<std::string> lines;
        for (size_t start = 0, end; (end = text_.find('\n', start)) != std::string::npos; start = end + 1) {
            const std::string_view line = std::string_view(text_).substr(start, end - start);
            if (line.find(part) != std::string_view::npos) lines.emplace_back(line);
        }
        return lines;
    }
    // Waits in real time, up to `timeoutMs`, for a line that holds `part`; false when none came.
    bool AwaitLine(std::string_view part, int timeoutMs = 20000) {
        std::unique_lock<std::mutex> hold(mutex_);
        return logged_.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                                [&] { return text_.find(part) != std::string::npos; });
    }

private:
    std::mutex mutex_;
    std::condition_variable logged_;
    std::string text_;
    LogSink old_;
};

}  // namespace kestrova::testing
