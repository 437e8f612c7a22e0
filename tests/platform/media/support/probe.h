#pragma once
// What real readers make of a recorded file: ffprobe's view of its first stream, ffmpeg's decoding of its
// first video frame, and the sizes in a WAV file's header.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrova::mediatest {

struct ProbedStream {
    std::string codecName;    // "mjpeg", "rawvideo", "pcm_s16le"
    std::string codecTag;     // "MJPG", "[0][0][0][0]"
    std::string pixelFormat;  // "bgr24"...
    int width = 0;
    int height = 0;
    std::string frameRate;      // "20/1"
    int64_t headerFrames = -1;  // the count the file's header gives
    int64_t readFrames = -1;    // the frames ffprobe could read
    int sampleRate = 0;
    int channels = 0;
};

// ffprobe -count_frames -show_streams on `path`; nothing when ffprobe finds no stream.
std::optional<ProbedStream> ProbeFirstStream(const std::string& path);

// The first video frame as top-down RGB (red, green, blue bytes), as ffmpeg decodes it; empty on failure.
std::vector<uint8_t> DecodeFirstFrameRgb(const std::string& path);

struct WavSizes {
    uint64_t fileBytes = 0;
    uint32_t riffSize = 0;  // the size after "RIFF"
    uint32_t dataSize = 0;  // the size of the "data" chunk
    uint64_t dataOffset = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t bitsPerSample = 0;
};

// Walks the chunks of a WAV file; nothing when it is not one.
std::optional<WavSizes> ReadWavSizes(const std::string& path);

}  // namespace kestrova::mediatest
