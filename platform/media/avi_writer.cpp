#include "platform/media/avi_writer.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "platform/media/riff_bytes.h"

namespace kestrova::media {
namespace {

// Fixed sizes of the structures, as the AVI and OpenDML formats define them.
constexpr uint32_t kMainHeaderBytes = 56;
constexpr uint32_t kStreamHeaderBytes = 56;
constexpr uint32_t kBitmapHeaderBytes = 40;
constexpr uint32_t kExtendedHeaderBytes = 248;
constexpr uint32_t kIndexHeadBytes = 24;  // of a super index and of an index chunk, after the chunk header
constexpr uint32_t kSuperEntryBytes = 16;
constexpr uint32_t kChunkEntryBytes = 8;
constexpr uint32_t kOldEntryBytes = 16;

constexpr uint32_t AVIF_HASINDEX = 0x10;
constexpr uint32_t AVIF_ISINTERLEAVED = 0x100;
constexpr uint32_t AVIF_TRUSTCKTYPE = 0x800;
constexpr uint32_t AVIIF_KEYFRAME = 0x10;
constexpr uint8_t AVI_INDEX_OF_INDEXES = 0;
constexpr uint8_t AVI_INDEX_OF_CHUNKS = 1;

// How much recorded time a crash may cost at most, besides the frame being written.
constexpr REFERENCE_TIME kCheckpointInterval = kUnitsPerSecond;

// Any frame a RIFF chunk can hold, padded to an even size.
constexpr size_t kMaxFrameBytes = 0xFFFFFFF0u;

uint32_t Clamp32(uint64_t v) {
    return v > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(v);
}

uint32_t RowBytes(const AviVideoFormat& format) {
    return (uint32_t(format.width) * 3 + 3) & ~3u;
}

uint32_t FramesPerSecond(const AviVideoFormat& format) {
    return uint32_t(kUnitsPerSecond / std::max<REFERENCE_TIME>(format.timePerFrame, 1));
}

}  // namespace

AviWriter::AviWriter(std::vector<AviVideoFormat> streams, Sink sink, AviLimits limits)
    : sink_(std::move(sink)), limits_(limits) {
    for (size_t i = 0; i < streams.size(); ++i) {
        Stream s;
        s.format = streams[i];
        if (s.format.timePerFrame <= 0) s.format.timePerFrame = kUnitsPerSecond / 25;
        std::snprintf(s.chunkId, sizeof s.chunkId, "%02zu%s", i % 100, s.format.mjpeg ? "dc" : "db");
        std::snprintf(s.indexId, sizeof s.indexId, "ix%02zu", i % 100);
        streams_.push_back(s);
    }
}

HRESULT AviWriter::Begin() {
    if (streams_.empty()) return E_UNEXPECTED;
    std::vector<uint8_t> header = LayOutHeader();
    const HRESULT hr = Write(0, header);
    if (FAILED(hr)) return hr;
    end_ = int64_t(header.size());
    riffAt_ = 0;
    riffs_ = 1;
    return S_OK;
}

std::vector<uint8_t> AviWriter::LayOutHeader() {
    RiffBytes h;
    h.Code("RIFF").U32(0).Code("AVI ");
    h.Code("LIST").U32(0).Code("hdrl");
    h.Code("avih").U32(kMainHeaderBytes);
    mainHeaderAt_ = int64_t(h.Size());
    h.Zeros(kMainHeaderBytes);  // filled in last, when the streams are known
    for (Stream& s : streams_) AddStreamList(s, h);
    h.Code("LIST").U32(4 + 8 + kExtendedHeaderBytes).Code("odml").Code("dmlh").U32(kExtendedHeaderBytes);
    totalFramesAt_ = int64_t(h.Size());
    h.Zeros(kExtendedHeaderBytes);
    h.SetU32(16, uint32_t(h.Size() - 20));  // the "hdrl" list
    moviAt_ = int64_t(h.Size());
    h.Code("LIST").U32(4).Code("movi");
    h.SetU32(4, uint32_t(h.Size() - 8));
    const std::vector<uint8_t> mainHeader = MainHeader();
    std::copy(mainHeader.begin(), mainHeader.end(), h.Bytes().begin() + mainHeaderAt_);
    return h.Bytes();
}

// A stream's list: its header, its format (a bitmap header) and its super index, with room for every entry.
void AviWriter::AddStreamList(Stream& s, RiffBytes& h) {
    const size_t listAt = h.Size();
    h.Code("LIST").U32(0).Code("strl");
    h.Code("strh").U32(kStreamHeaderBytes);
    s.headerAt = int64_t(h.Size());
    const std::vector<uint8_t> header = StreamHeader(s);
    h.Bytes().insert(h.Bytes().end(), header.begin(), header.end());
    h.Code("strf").U32(kBitmapHeaderBytes);
    h.U32(kBitmapHeaderBytes).U32(uint32_t(s.format.width)).U32(uint32_t(s.format.height)).U16(1).U16(24);
    h.U32(s.format.mjpeg ? kFourCCMjpg : BI_RGB).U32(RowBytes(s.format) * uint32_t(s.format.height));
    h.Zeros(16);
    h.Code("indx").U32(kIndexHeadBytes + kSuperEntryBytes * limits_.indexEntries);
    s.indexAt = int64_t(h.Size());
    h.U16(kSuperEntryBytes / 4).U8(0).U8(AVI_INDEX_OF_INDEXES).U32(0).Code(s.chunkId).Zeros(12);
    h.Zeros(size_t(kSuperEntryBytes) * limits_.indexEntries);
    h.SetU32(listAt + 4, uint32_t(h.Size() - listAt - 8));
}

HRESULT AviWriter::WriteFrame(size_t stream, uint8_t* data, size_t size) {
    if (stream >= streams_.size() || size > kMaxFrameBytes) return E_INVALIDARG;
    Stream& s = streams_[stream];
    const int64_t chunkBytes = 8 + int64_t(size) + int64_t(size % 2);
    const bool nextRiff = !riffFrames_.empty() && end_ + chunkBytes - riffAt_ > limits_.riffBytes;
    // The RIFF the frame goes into needs a super index entry of its own; closing this one takes one.
    const size_t entriesBefore = s.riffFirstEntry + (nextRiff && s.riffFrames > 0 ? 1 : 0);
    if (entriesBefore >= limits_.indexEntries) return S_FALSE;
    if (nextRiff) {
        const HRESULT hr = StartRiff();
        if (FAILED(hr)) return hr;
    }

    RiffBytes head;
    head.Code(s.chunkId).U32(uint32_t(size));
    HRESULT hr = Write(end_, head.Bytes());
    if (SUCCEEDED(hr)) hr = sink_(end_ + 8, data, size, false);
    if (SUCCEEDED(hr) && size % 2) {
        std::vector<uint8_t> pad(1, 0);
        hr = Write(end_ + 8 + int64_t(size), pad);
    }
    if (FAILED(hr)) return hr;
    riffFrames_.push_back({stream, end_ + 8, uint32_t(size)});
    end_ += chunkBytes;
    ++s.riffFrames;
    s.largest = std::max(s.largest, uint32_t(size));
    s.unindexedTime += s.format.timePerFrame;
    return s.unindexedTime >= kCheckpointInterval ? Checkpoint(Scope::kSinceCheckpoint) : S_OK;
}

HRESULT AviWriter::Finish() {
    HRESULT hr = Checkpoint(Scope::kSinceCheckpoint);
    if (SUCCEEDED(hr) && riffs_ == 1) hr = WriteOldIndex();
    return hr;
}

HRESULT AviWriter::Write(int64_t position, std::vector<uint8_t>& bytes, bool syncFirst) {
    return sink_(position, bytes.data(), bytes.size(), syncFirst);
}

HRESULT AviWriter::Checkpoint(Scope scope) {
    for (size_t i = 0; i < streams_.size(); ++i) {
        const HRESULT hr = WriteIndexChunk(streams_[i], i, scope);
        if (FAILED(hr)) return hr;
    }
    indexedRiffFrames_ = riffFrames_.size();
    return WriteHeader();
}

HRESULT AviWriter::WriteIndexChunk(Stream& stream, size_t number, Scope scope) {
    stream.unindexedTime = 0;
    // When its super index is full, a stream's entries of this RIFF are merged into one.
    const bool wholeRiff = scope == Scope::kWholeRiff || stream.superIndex.size() >= limits_.indexEntries;
    std::vector<const Frame*> frames;
    for (size_t i = wholeRiff ? 0 : indexedRiffFrames_; i < riffFrames_.size(); ++i) {
        if (riffFrames_[i].stream == number) frames.push_back(&riffFrames_[i]);
    }
    if (frames.empty()) return S_OK;
    // Offsets count from the RIFF, which no frame of it lies 4 GiB beyond.
    RiffBytes ix;
    ix.Code(stream.indexId).U32(uint32_t(kIndexHeadBytes + kChunkEntryBytes * frames.size()));
    ix.U16(kChunkEntryBytes / 4)
        .U8(0)
        .U8(AVI_INDEX_OF_CHUNKS)
        .U32(uint32_t(frames.size()))
        .Code(stream.chunkId);
    ix.U64(uint64_t(riffAt_)).U32(0);
    for (const Frame* frame : frames) ix.U32(uint32_t(frame->dataAt - riffAt_)).U32(frame->bytes);
    const HRESULT hr = Write(end_, ix.Bytes());
    if (FAILED(hr)) return hr;
    if (wholeRiff) {
        stream.superIndex.resize(stream.riffFirstEntry);
        stream.changedFrom = std::min(stream.changedFrom, stream.riffFirstEntry);
    }
    stream.superIndex.push_back({end_, uint32_t(ix.Size()), uint32_t(frames.size())});
    end_ += int64_t(ix.Size());
    return S_OK;
}

// The header catches up with what was written: first the super indexes (entries before their count), then
// frame counts, then sizes. The first write asks for the data to be durable before it, so a header never
// describes data a power cut could still take away.
HRESULT AviWriter::WriteHeader() {
    bool syncFirst = true;
    const auto write = [&](int64_t position, std::vector<uint8_t> bytes) {
        const HRESULT hr = Write(position, bytes, syncFirst);
        syncFirst = false;
        return hr;
    };
    HRESULT hr = S_OK;
    for (Stream& s : streams_) {
        if (SUCCEEDED(hr) && s.changedFrom < s.superIndex.size()) {
            hr = write(s.indexAt + kIndexHeadBytes + int64_t(kSuperEntryBytes * s.changedFrom),
                       SuperIndex(s, s.changedFrom));
        }
        if (SUCCEEDED(hr)) hr = write(s.indexAt + 4, RiffBytes().U32(uint32_t(s.superIndex.size())).Bytes());
        if (SUCCEEDED(hr)) s.changedFrom = s.superIndex.size();
        if (SUCCEEDED(hr)) hr = write(s.headerAt, StreamHeader(s));
    }
    if (SUCCEEDED(hr)) hr = write(mainHeaderAt_, MainHeader());
    if (SUCCEEDED(hr)) hr = write(totalFramesAt_, RiffBytes().U32(IndexedFrames(streams_[0])).Bytes());
    if (SUCCEEDED(hr)) hr = write(moviAt_ + 4, RiffBytes().U32(uint32_t(end_ - moviAt_ - 8)).Bytes());
    if (SUCCEEDED(hr)) hr = write(riffAt_ + 4, RiffBytes().U32(uint32_t(end_ - riffAt_ - 8)).Bytes());
    return hr;
}

// The old-style index of the first RIFF follows its "movi" list; offsets count from the list's "movi" code.
HRESULT AviWriter::WriteOldIndex() {
    RiffBytes idx;
    idx.Code("idx1").U32(uint32_t(kOldEntryBytes * riffFrames_.size()));
    for (const Frame& frame : riffFrames_) {
        idx.Code(streams_[frame.stream].chunkId).U32(AVIIF_KEYFRAME);
        idx.U32(uint32_t(frame.dataAt - 8 - (moviAt_ + 8))).U32(frame.bytes);
    }
    HRESULT hr = Write(end_, idx.Bytes());
    if (FAILED(hr)) return hr;
    end_ += int64_t(idx.Size());
    std::vector<uint8_t> riffSize = RiffBytes().U32(uint32_t(end_ - riffAt_ - 8)).Bytes();
    return Write(riffAt_ + 4, riffSize, true);
}

HRESULT AviWriter::StartRiff() {
    HRESULT hr = Checkpoint(Scope::kWholeRiff);
    if (SUCCEEDED(hr) && riffs_ == 1) {
        firstRiffFrames_ = IndexedFrames(streams_[0]);
        hr = WriteOldIndex();
    }
    if (FAILED(hr)) return hr;
    RiffBytes riff;
    riff.Code("RIFF").U32(16).Code("AVIX").Code("LIST").U32(4).Code("movi");
    hr = Write(end_, riff.Bytes());
    if (FAILED(hr)) return hr;
    riffAt_ = end_;
    moviAt_ = end_ + 12;
    end_ += int64_t(riff.Size());
    ++riffs_;
    riffFrames_.clear();
    indexedRiffFrames_ = 0;
    for (Stream& s : streams_) {
        s.riffFirstEntry = s.superIndex.size();
        s.riffFrames = 0;
    }
    return S_OK;
}

uint32_t AviWriter::IndexedFrames(const Stream& stream) const {
    uint32_t frames = 0;
    for (const SuperEntry& entry : stream.superIndex) frames += entry.frames;
    return frames;
}

std::vector<uint8_t> AviWriter::MainHeader() const {
    const Stream& first = streams_[0];
    uint64_t bytesPerSecond = 0;
    uint32_t largest = 0;
    for (const Stream& s : streams_) {
        bytesPerSecond += uint64_t(s.largest) * FramesPerSecond(s.format);
        largest = std::max(largest, s.largest);
    }
    // Past the first RIFF, the main header counts only its frames; the extended header counts them all.
    const uint32_t totalFrames = riffs_ > 1 ? firstRiffFrames_ : IndexedFrames(first);
    RiffBytes h;
    h.U32(uint32_t(first.format.timePerFrame / 10)).U32(Clamp32(bytesPerSecond)).U32(0);
    h.U32(AVIF_HASINDEX | AVIF_ISINTERLEAVED | AVIF_TRUSTCKTYPE).U32(totalFrames).U32(0);
    h.U32(uint32_t(streams_.size())).U32(largest + 8).U32(uint32_t(first.format.width));
    h.U32(uint32_t(first.format.height)).Zeros(16);
    return h.Bytes();
}

std::vector<uint8_t> AviWriter::StreamHeader(const Stream& stream) const {
    const AviVideoFormat& format = stream.format;
    const int64_t common = std::gcd(format.timePerFrame, kUnitsPerSecond);
    RiffBytes h;
    h.Code("vids").U32(format.mjpeg ? kFourCCMjpg : BI_RGB).U32(0).U16(0).U16(0).U32(0);
    h.U32(uint32_t(format.timePerFrame / common)).U32(uint32_t(kUnitsPerSecond / common)).U32(0);
    h.U32(IndexedFrames(stream)).U32(stream.largest).U32(0xFFFFFFFFu).U32(0);
    h.U16(0).U16(0).U16(uint16_t(format.width)).U16(uint16_t(format.height));
    return h.Bytes();
}

std::vector<uint8_t> AviWriter::SuperIndex(const Stream& stream, size_t from) const {
    RiffBytes entries;
    for (size_t i = from; i < stream.superIndex.size(); ++i) {
        const SuperEntry& entry = stream.superIndex[i];
        entries.U64(uint64_t(entry.position)).U32(entry.bytes).U32(entry.frames);
    }
    return entries.Bytes();
}

}  // namespace kestrova::media
