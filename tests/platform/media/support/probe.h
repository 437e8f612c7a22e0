#pragma once
// What real readers make of a recorded file: ffprobe's view of its first stream and of its duration,
// ffmpeg's decoding of its first video frames, the sizes in a WAV file's header, and the layout of an AVI
// file as its own header and index describe it.

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

// ffprobe -count_frames -show_streams on stream `index` of `path`; nothing when ffprobe finds no such stream.
std::optional<ProbedStream> ProbeStream(const std::string& path, int index);
inline std::optional<ProbedStream> ProbeFirstStream(const std::string& path) {
    return ProbeStream(path, 0);
}

// The duration ffprobe gives the whole file, in seconds; nothing when it gives none.
std::optional<double> ProbeDuration(const std::string& path);

// The first `frames` video frames as top-down RGB (red, green, blue bytes), one after another, as ffmpeg
// decodes them; empty on failure.
std::vector<uint8_t> DecodeFramesRgb(const std::string& path, int frames);
inline std::vector<uint8_t> DecodeFirstFrameRgb(const std::string& path) {
    return DecodeFramesRgb(path, 1);
}

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

struct AviLayout {
    uint64_t fileBytes = 0;
    int riffs = 0;                  // RIFF chunks found one after the other from the start
    bool sizesFit = true;           // every RIFF lies within the file and every chunk within its list
    uint32_t mainHeaderFrames = 0;  // the count of the main header ("avih")
    uint32_t streamFrames = 0;      // the length in the first stream's header ("strh")
    int64_t extendedFrames = -1;    // the count of the extended header ("dmlh"); -1 without one
    // The frames the first stream's super index ("indx") reaches through its index chunks; -1 when an entry
    // points at anything but a whole chunk of the stream of the size it gives, or there is no super index.
    int64_t indexedFrames = -1;
};

// Walks the RIFFs of an AVI file and their lists, and follows the first stream's index to every frame;
// nothing when the file does not start as an AVI.
std::optional<AviLayout> ReadAviLayout(const std::string& path);

}  // namespace kestrova::mediatest
