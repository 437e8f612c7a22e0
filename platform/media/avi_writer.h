#pragma once
// An AVI file that is playable at every moment of its recording, not only once it is finished, so that a
// crash or a power cut costs at most the last second or so.
//
// The file is OpenDML (AVI 2.0): RIFFs of about 1 GiB each ("AVI " first, "AVIX" after it), every stream
// with a super index in its header that points at index chunks in the "movi" lists. About once a second of
// recorded time a checkpoint writes an index chunk for the frames since the last one and brings the header
// up to date: super index, frame counts, the sizes of the "movi" list and the RIFF. Only those fields, whose
// places the header fixes, are ever written again; the frames and index chunks that a header describes are
// never touched once written, and the header is written after them (with a request to make them durable
// first), so at any moment the header describes whole data. A closed RIFF gets one index chunk for all its
// frames; the first RIFF also gets the old-style index ("idx1") when it is closed or the file is finished.
//
// Bytes leave through a sink as (file position, bytes); the writer never reads back. Not thread-safe: the
// AVI multiplexer calls it under its own lock.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/media/media_type.h"
#include "platform/media/results.h"

namespace kestrova::media {

class RiffBytes;

struct AviVideoFormat {
    int width = 0;
    int height = 0;
    bool mjpeg = false;  // otherwise uncompressed 24-bit rows, bottom-up as frames lie
    REFERENCE_TIME timePerFrame = kUnitsPerSecond / 25;
};

struct AviLimits {
    // A RIFF is closed before a frame would take it past this size.
    int64_t riffBytes = int64_t(1) << 30;
    // Super index entries kept in the header of each stream: one per closed RIFF, plus one per checkpoint in
    // the current RIFF (merged into one when they run out). A stream whose index has no room left for another
    // RIFF records no more frames: 512 entries hold about 500 GiB.
    uint32_t indexEntries = 512;
};

class AviWriter {
public:
    // Writes `size` bytes at `position` of the file. With `syncFirst` set, everything written before must be
    // durable before these bytes are written: they describe it.
    using Sink = std::function<HRESULT(int64_t position, uint8_t* data, size_t size, bool syncFirst)>;

    AviWriter(std::vector<AviVideoFormat> streams, Sink sink, AviLimits limits = {});

    // Writes the header of a recording without frames.
    HRESULT Begin();
    // Appends a frame (all frames are key frames) of stream `stream`, 0 being the first. S_FALSE when the
    // stream's index has no room for it and it was dropped; a sink failure is returned as it came.
    HRESULT WriteFrame(size_t stream, uint8_t* data, size_t size);
    // Indexes the last frames and, while there is one RIFF, adds the old-style index.
    HRESULT Finish();

private:
    struct SuperEntry {
        int64_t position;  // of an index chunk
        uint32_t bytes;    // the whole chunk
        uint32_t frames;
    };
    struct Stream {
        AviVideoFormat format;
        char chunkId[5];                   // "00dc" for JPEG, "00db" for bitmaps
        char indexId[5];                   // "ix00"
        int64_t headerAt;                  // the "strh" data
        int64_t indexAt;                   // the "indx" data
        uint32_t riffFrames = 0;           // written into the current RIFF
        uint32_t largest = 0;              // bytes of the largest frame
        REFERENCE_TIME unindexedTime = 0;  // recorded time since the last checkpoint
        std::vector<SuperEntry> superIndex;
        size_t riffFirstEntry = 0;  // the first super index entry of the current RIFF
        size_t changedFrom = 0;     // super index entries from here on are not in the file yet
    };
    struct Frame {
        size_t stream;
        int64_t dataAt;
        uint32_t bytes;
    };
    enum class Scope { kSinceCheckpoint, kWholeRiff };

    // The header of a file without frames; notes where its fields lie.
    std::vector<uint8_t> LayOutHeader();
    void AddStreamList(Stream& stream, RiffBytes& header);
    HRESULT Write(int64_t position, std::vector<uint8_t>& bytes, bool syncFirst = false);
    HRESULT Checkpoint(Scope scope);
    HRESULT WriteIndexChunk(Stream& stream, size_t number, Scope scope);
    HRESULT WriteHeader();
    HRESULT WriteOldIndex();
    HRESULT StartRiff();
    uint32_t IndexedFrames(const Stream& stream) const;

    std::vector<uint8_t> MainHeader() const;
    std::vector<uint8_t> StreamHeader(const Stream& stream) const;
    std::vector<uint8_t> SuperIndex(const Stream& stream, size_t from) const;

    std::vector<Stream> streams_;
    Sink sink_;
    AviLimits limits_;
    int64_t end_ = 0;            // where the next chunk goes
    int64_t riffAt_ = 0;         // the current RIFF
    int64_t moviAt_ = 0;         // its "movi" list
    int64_t mainHeaderAt_ = 0;   // the "avih" data
    int64_t totalFramesAt_ = 0;  // the "dmlh" data
    int riffs_ = 0;
    uint32_t firstRiffFrames_ = 0;   // frames of the first stream in the first RIFF, once it is closed
    std::vector<Frame> riffFrames_;  // the current RIFF's frames, in file order
    size_t indexedRiffFrames_ = 0;   // riffFrames_ before this one are in index chunks
};

}  // namespace kestrova::media
