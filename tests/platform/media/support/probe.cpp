#include "tests/platform/media/support/probe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// Little-endian fields read anywhere in a file, without reading all of it (AVI files pass 1 GiB).
class FileFields {
public:
    explicit FileFields(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat info {};
        if (fd_ >= 0 && fstat(fd_, &info) == 0) size_ = uint64_t(info.st_size);
    }
    ~FileFields() {
        if (fd_ >= 0) close(fd_);
    }
    FileFields(const FileFields&) = delete;
    FileFields& operator=(const FileFields&) = delete;

    uint64_t Size() const { return size_; }
    // `count` bytes at `at`; empty when they are not all in the file.
    std::vector<uint8_t> Bytes(uint64_t at, size_t count) const {
        std::vector<uint8_t> bytes(count);
        if (at > size_ || count > size_ - at ||
            pread(fd_, bytes.data(), count, off_t(at)) != ssize_t(count)) {
            return {};
        }
        return bytes;
    }
    std::string Code(uint64_t at) const {
        const std::vector<uint8_t> b = Bytes(at, 4);
        return b.empty() ? std::string() : std::string(b.begin(), b.end());
    }
    uint32_t U32(uint64_t at) const {
        const std::vector<uint8_t> b = Bytes(at, 4);
        return b.empty() ? 0 : Le32(b.data());
    }
    uint64_t U64(uint64_t at) const { return U32(at) | uint64_t(U32(at + 4)) << 32; }

private:
    int fd_;
    uint64_t size_ = 0;
};

class AviWalk {
public:
    explicit AviWalk(const FileFields& file) : file_(file) {}

    // The chunks from `at` to `end`, going into the header's lists.
    void WalkList(uint64_t at, uint64_t end, AviLayout& layout) {
        while (at + 8 <= end) {
            const std::string id = file_.Code(at);
            const uint32_t size = file_.U32(at + 4);
            const uint64_t chunkEnd = at + 8 + size;
            if (chunkEnd > end) {
                layout.sizesFit = false;
                return;
            }
            const std::string form = id == "LIST" ? file_.Code(at + 8) : std::string();
            if (form == "hdrl" || form == "strl" || form == "odml") WalkList(at + 12, chunkEnd, layout);
            if (id == "avih") layout.mainHeaderFrames = file_.U32(at + 8 + 16);
            if (id == "dmlh") layout.extendedFrames = file_.U32(at + 8);
            if (id == "strh" && ++streams_ == 1) layout.streamFrames = file_.U32(at + 8 + 32);
            if (id == "indx" && streams_ == 1 && superIndexAt_ == 0) superIndexAt_ = at + 8;
            at = chunkEnd + size % 2;
        }
    }

    // The frames the first stream's super index reaches; -1 when an entry leads anywhere else.
    int64_t IndexedFrames() const {
        if (superIndexAt_ == 0) return -1;
        const uint32_t entries = file_.U32(superIndexAt_ + 4);
        const std::string chunkId = file_.Code(superIndexAt_ + 8);
        int64_t frames = 0;
        for (uint32_t i = 0; i < entries; ++i) {
            const uint64_t entry = superIndexAt_ + 24 + uint64_t(i) * 16;
            const int64_t reached = FramesOfIndexChunk(file_.U64(entry), chunkId);
            if (reached < 0 || reached != file_.U32(entry + 12)) return -1;
            frames += reached;
        }
        return frames;
    }

private:
    int64_t FramesOfIndexChunk(uint64_t at, const std::string& chunkId) const {
        const uint32_t count = file_.U32(at + 12);
        if (file_.Code(at).substr(0, 2) != "ix" || file_.Code(at + 16) != chunkId) return -1;
        const uint64_t base = file_.U64(at + 20);
        const std::vector<uint8_t> entries = file_.Bytes(at + 32, size_t(count) * 8);
        if (entries.size() != size_t(count) * 8) return -1;
        for (uint32_t i = 0; i < count; ++i) {
            const uint64_t data = base + Le32(&entries[i * 8]);
            const uint32_t size = Le32(&entries[i * 8 + 4]) & 0x7FFFFFFF;
            if (data < 8 || file_.Code(data - 8) != chunkId || file_.U32(data - 4) != size ||
                data + size > file_.Size()) {
                return -1;
            }
        }
        return count;
    }

    const FileFields& file_;
    int streams_ = 0;
    uint64_t superIndexAt_ = 0;
};

}  // namespace

std::optional<ProbedStream> ProbeStream(const std::string& path, int index) {
    const std::string out =
        RunCommand("ffprobe -v error -count_frames -show_streams -select_streams " + std::to_string(index) +
                   " -of default=noprint_wrappers=1 " + Quoted(path) + " 2>/dev/null");
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

std::optional<double> ProbeDuration(const std::string& path) {
    const std::string out = RunCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " +
                                       Quoted(path) + " 2>/dev/null");
    try {
        return std::stod(out);
    } catch (...) {
        return std::nullopt;
    }
}

std::vector<uint8_t> DecodeFramesRgb(const std::string& path, int frames) {
    const std::string out = RunCommand("ffmpeg -v error -i " + Quoted(path) + " -frames:v " +
                                       std::to_string(frames) + " -f rawvideo -pix_fmt rgb24 - 2>/dev/null");
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
    // Chunks end where the RIFF says it ends: bytes after it (sound not counted yet) are no chunks.
    const uint64_t end = std::min<uint64_t>(bytes.size(), uint64_t(w.riffSize) + 8);
    for (size_t at = 12; at + 8 <= end;) {
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

std::optional<AviLayout> ReadAviLayout(const std::string& path) {
    const FileFields file(path);
    if (file.Code(0) != "RIFF" || file.Code(8) != "AVI ") return std::nullopt;
    AviLayout layout;
    layout.fileBytes = file.Size();
    AviWalk walk(file);
    for (uint64_t at = 0; at + 12 <= file.Size() && file.Code(at) == "RIFF";) {
        const uint32_t size = file.U32(at + 4);
        const uint64_t end = at + 8 + size;
        ++layout.riffs;
        if (end > file.Size()) {
            layout.sizesFit = false;
            break;
        }
        walk.WalkList(at + 12, end, layout);
        at = end + size % 2;
    }
    layout.indexedFrames = walk.IndexedFrames();
    return layout;
}

}  // namespace kestrova::mediatest
