// Records into a file until it is killed, as fast as the recording takes samples (the clock runs free, the
// samples keep their times), and says on standard output how many samples it has handed to the recording:
// after each, a line with the count so far, the one being handed over included.
//
//   media_test_recorder mjpeg|raw|wav FILE
//
// "mjpeg": 320 x 240 JPEG frames at 20 a second; "raw": 640 x 480 bitmaps at 20 a second; "wav": the
// virtual microphone's 44,100 Hz stereo in tenths of a second.

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/base/text.h"
#include "platform/media/wav_dest.h"
#include "tests/platform/media/support/free_running_clock.h"
#include "tests/platform/media/support/recording_graphs.h"

using namespace kestrova;
using namespace kestrova::mediatest;

namespace {

uint64_t handed = 0;

void ReportSample() {
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%llu\n", static_cast<unsigned long long>(++handed));
    // The test reads every line; a failed write only means it stopped listening.
    if (write(STDOUT_FILENO, line, size_t(length)) != length) return;
}

// Runs `graph` and waits to be killed.
int RunUntilKilled(media::FilterGraph& graph) {
    if (media::FAILED(graph.Run())) {
        std::fprintf(stderr, "the recording graph does not run\n");
        return 1;
    }
    for (;;) pause();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: media_test_recorder mjpeg|raw|wav FILE\n");
        return 2;
    }
    const std::string kind = argv[1];
    const std::wstring file = FromUtf8(argv[2]);
    ScopedFreeRunningClock clock;
    if (kind == "wav") {
        WavGraph g;
        g.callback.paint = [](uint8_t*, long) { ReportSample(); };
        if (media::FAILED(g.Build(std::make_shared<media::WavDest>(), 44100, 2, file))) return 1;
        return RunUntilKilled(*g.graph);
    }
    if (kind != "mjpeg" && kind != "raw") return 2;
    RecordingGraph g;
    const bool mjpeg = kind == "mjpeg";
    g.callback.paint = [mjpeg](uint8_t* buffer, long length) {
        if (mjpeg) PaintHalves(buffer, length);
        ReportSample();
    };
    if (media::FAILED(g.Build(mjpeg ? 320 : 640, mjpeg ? 0.5 : -1, file))) return 1;
    return RunUntilKilled(*g.graph);
}
