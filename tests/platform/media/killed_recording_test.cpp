// Recordings cut off by a crash: a recorder in a process of its own is killed with SIGKILL in the middle of
// its work, and right afterwards, with nothing repaired, the file's own header must agree with what it holds
// to within the last two seconds, and readers must find the time that was recorded.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ostream>
#include <string>

#include "tests/platform/media/support/probe.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace kestrova::mediatest {
namespace {

constexpr int64_t kFramesPerSecond = 20;
constexpr int64_t kSoundBuffersPerSecond = 10;
constexpr uint64_t kSoundBufferBytes = 4410 * 4;  // a tenth of a second of 44,100 Hz 16-bit stereo
constexpr double kLostSecondsAtMost = 2.0;

struct KilledRecording {
    bool killed = false;  // it died of the signal, not of anything before it
    int64_t handed = 0;   // samples it had handed to the recording by then
};

// Starts the test recorder of `kind` on `file` with its standard output into `*output`; -1 when it does not
// start.
pid_t SpawnRecorder(const std::string& kind, const std::string& file, int* output) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::string program = KESTROVA_TEST_RECORDER, kindArgument = kind, fileArgument = file;
    char* argv[] = {program.data(), kindArgument.data(), fileArgument.data(), nullptr};
    pid_t child = -1;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return -1;
    }
    *output = pipeEnds[0];
    return child;
}

// The count on the last whole line of `pending`, which keeps only the unfinished line after it; -1 when no
// line is whole yet.
int64_t TakeLastCount(std::string& pending) {
    const size_t end = pending.rfind('\n');
    if (end == std::string::npos) return -1;
    const size_t start = end == 0 ? std::string::npos : pending.rfind('\n', end - 1);
    const int64_t count = std::atoll(pending.c_str() + (start == std::string::npos ? 0 : start + 1));
    pending.erase(0, end + 1);
    return count;
}

// Runs the test recorder of `kind` on `file` and kills it once it has handed over `samples` samples.
KilledRecording RecordAndKill(const std::string& kind, const std::string& file, int64_t samples) {
    KilledRecording result;
    int output = -1;
    const pid_t child = SpawnRecorder(kind, file, &output);
    if (child < 0) return result;
    // Every count the recorder wrote before it died is still in the pipe: it is read to its end.
    std::string pending;
    bool killSent = false, stalled = false;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    for (;;) {
        pollfd ready{output, POLLIN, 0};
        if (poll(&ready, 1, 1000) == 0) {
            // A recorder that stands still is killed too, and the test fails.
            if (!stalled && std::chrono::steady_clock::now() > giveUp) stalled = kill(child, SIGKILL) == 0;
            continue;
        }
        char buffer[4096];
        const ssize_t n = read(output, buffer, sizeof buffer);
        if (n <= 0) break;
        pending.append(buffer, size_t(n));
        result.handed = std::max(result.handed, TakeLastCount(pending));
        if (!killSent && !stalled && result.handed >= samples) killSent = kill(child, SIGKILL) == 0;
    }
    close(output);
    int status = 0;
    waitpid(child, &status, 0);
    result.killed = killSent && !stalled && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    return result;
}

struct KilledAviCase {
    const char* kind;
    int64_t frames;  // before the kill
    bool pastOneGibibyte;
};

void PrintTo(const KilledAviCase& c, std::ostream* out) {
    *out << c.kind << ", killed after " << c.frames << " frames";
}

class KilledAviRecording : public ::testing::TestWithParam<KilledAviCase> {};

TEST_P(KilledAviRecording, HeaderAndIndexAgreeWithTheFramesToWithinTwoSeconds) {
    const KilledAviCase c = GetParam();
    TempFolder folder;
    const std::string file = folder.native() + "killed.avi";
    const KilledRecording run = RecordAndKill(c.kind, file, c.frames);
    ASSERT_TRUE(run.killed);

    const auto layout = ReadAviLayout(file);
    ASSERT_TRUE(layout);
    EXPECT_TRUE(layout->sizesFit);
    if (c.pastOneGibibyte) {
        EXPECT_GT(layout->fileBytes, uint64_t(1) << 30);
        EXPECT_GE(layout->riffs, 2);
    } else {
        EXPECT_EQ(layout->mainHeaderFrames, layout->streamFrames);
    }
    // Counts and index are brought up to date together.
    EXPECT_EQ(layout->extendedFrames, layout->streamFrames);
    EXPECT_EQ(layout->indexedFrames, layout->streamFrames);

    const auto probed = ProbeFirstStream(file);
    ASSERT_TRUE(probed);
    EXPECT_LE(layout->streamFrames, probed->readFrames);
    EXPECT_LE(probed->readFrames - layout->streamFrames, kLostSecondsAtMost * kFramesPerSecond);
    EXPECT_LE(run.handed - layout->streamFrames, kLostSecondsAtMost * kFramesPerSecond);
    const auto duration = ProbeDuration(file);
    ASSERT_TRUE(duration);
    EXPECT_NEAR(*duration, double(run.handed) / kFramesPerSecond, kLostSecondsAtMost);
}

INSTANTIATE_TEST_SUITE_P(Kinds, KilledAviRecording,
                         ::testing::Values(KilledAviCase{"mjpeg", 10 * kFramesPerSecond, false},
                                           // 640 x 480 bitmaps go past 1 GiB in a minute of frames.
                                           KilledAviCase{"raw", 63 * kFramesPerSecond, true}),
                         [](const auto& info) { return std::string(info.param.kind); });

TEST(KilledWavRecording, HeaderCountsWholeSampleFramesToWithinTwoSeconds) {
    TempFolder folder;
    const std::string file = folder.native() + "killed.wav";
    const KilledRecording run = RecordAndKill("wav", file, 20 * kSoundBuffersPerSecond);
    ASSERT_TRUE(run.killed);

    const auto sizes = ReadWavSizes(file);
    ASSERT_TRUE(sizes);
    EXPECT_LE(uint64_t(sizes->riffSize) + 8, sizes->fileBytes);
    EXPECT_LE(sizes->dataOffset + sizes->dataSize, sizes->fileBytes);
    EXPECT_EQ(sizes->dataSize % 4, 0u);
    const uint64_t handedBytes = uint64_t(run.handed) * kSoundBufferBytes;
    EXPECT_LE(handedBytes - sizes->dataSize, kLostSecondsAtMost * kSoundBuffersPerSecond * kSoundBufferBytes);

    const auto probed = ProbeFirstStream(file);
    ASSERT_TRUE(probed);
    EXPECT_EQ(probed->codecName, "pcm_s16le");
    const auto duration = ProbeDuration(file);
    ASSERT_TRUE(duration);
    EXPECT_NEAR(*duration, double(run.handed) / kSoundBuffersPerSecond, kLostSecondsAtMost);
}

}  // namespace
}  // namespace kestrova::mediatest
