#include "platform/base/log.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/platform/base/log_capture.h"

namespace kestrova {
namespace {

TEST(Log, ErrorsAndWarningsGoToStandardErrorWithTheirComponent) {
    ::testing::internal::CaptureStderr();
    LogError("web server", "cannot listen on 127.0.0.1:8000: Address already in use");
    LogWarning("alarm", "photo not saved");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "kestrova: error: web server: cannot listen on 127.0.0.1:8000: Address already in use\n"
              "kestrova: warning: alarm: photo not saved\n");
}

TEST(Log, ASinkTakesTheLinesUntilItIsReplaced) {
    ::testing::internal::CaptureStderr();
    {
        testing::LogCapture outer;
        {
            testing::LogCapture inner;
            LogError("e-mail", "the server refused");
            EXPECT_EQ(inner.Text(), "error: e-mail: the server refused\n");
        }
        LogWarning("snapshot", "disk full");
        EXPECT_EQ(outer.Text(), "warning: snapshot: disk full\n");
    }
    LogError("shell", "nothing to open");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "kestrova: error: shell: nothing to open\n");
}

TEST(Log, LinesOfManyThreadsArriveWhole) {
    constexpr int kThreads = 8;
    constexpr int kLines = 200;
    std::vector<std::string> lines;
    // The sink keeps no lock of its own: the log calls it one line at a time.
    const LogSink old = SetLogSink([&](LogLevel, std::string_view component, std::string_view message) {
        lines.push_back(std::string(component) + ":" + std::string(message));
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i) LogWarning("thread " + std::to_string(t), std::to_string(i));
        });
    for (std::thread& thread : threads) thread.join();
    SetLogSink(old);
    ASSERT_EQ(lines.size(), size_t(kThreads * kLines));
    for (const std::string& line : lines) EXPECT_EQ(line.rfind("thread ", 0), 0u) << line;
}

}  // namespace
}  // namespace kestrova
