#include "tests/platform/media/support/probe.h"

#include <cstdio>
#include <fstream>
#include <map>

namespace kestrova::mediatest {
namespace {

std::string Quoted(const std::string& path) {
    std::string q = "'";
    for (char c : path) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string RunCommand(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
    return out;
}

int64_t Number(const std::map<std::string, std::string>& values, const std::string& key, int64_t fallback) {
    auto it = values.find(key);
    if (it == values.end()) return fallback;
    try {
        return std::stoll(it->second);
    } catch (...) {
        return fallback;
    }
}

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

}  // namespace

std::optional<ProbedStream> ProbeFirstStream(const std::string& path) {
    const std::string out = RunCommand(
        "ffprobe -v error -count_frames -show_streams -select_streams 0 "
        "-of default=noprint_wrappers=1 " +
        Quoted(path) + " 2>/dev/null");
    std::map<std::string, std::string> values;
    size_t start = 0;
    while (start < out.size()) {
        size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        const std::string line = out.substr(start, end - start);
        const size_t eq = line.find('=');
        if (eq != std::string::npos) values.emplace(line.substr(0, eq), line.substr(eq + 1));
        start = end + 1;
    }
    if (!values.count("codec_name")) return std::nullopt;
    ProbedStream s;
    s.codecName = values["codec_name"];
    s.codecTag = values["codec_tag_string"];
    s.pixelFormat = values["pix_fmt"];
    s.width = int(Number(values, "width", 0));
    s.height = int(Number(values, "height", 0));
    s.frameRate = values["r_frame_rate"];
    s.headerFrames = Number(values, "nb_frames", -1);
    s.readFrames = Number(values, "nb_read_frames", -1);
    s.sampleRate = int(Number(values, "sample_rate", 0));
    s.channels = int(Number(values, "channels", 0));
    return s;
}

std::vector<uint8_t> DecodeFirstFrameRgb(const std::string& path) {
    const std::string out = RunCommand("ffmpeg -v error -i " + Quoted(path) +
                                       " -frames:v 1 -f rawvideo -pix_fmt rgb24 - 2>/dev/null");
    return std::vector<uint8_t>(out.begin(), out.end());
}

std::optional<WavSizes> ReadWavSizes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
        std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE") {
        return std::nullopt;
    }
    WavSizes w;
    w.fileBytes = bytes.size();
    w.riffSize = Le32(&bytes[4]);
    bool haveData = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id(bytes.begin() + long(at), bytes.begin() + long(at) + 4);
        const uint32_t size = Le32(&bytes[at + 4]);
        if (id == "fmt " && at + 8 + 16 <= bytes.size()) {
            w.channels = Le16(&bytes[at + 10]);
            w.sampleRate = Le32(&bytes[at + 12]);
            w.bitsPerSample = Le16(&bytes[at + 22]);
        } else if (id == "data") {
            w.dataSize = size;
            w.dataOffset = at + 8;
            haveData = true;
        }
        at += 8 + uint64_t(size) + size % 2;
    }
    if (!haveData) return std::nullopt;
    return w;
}

}  // namespace kestrova::mediatest
