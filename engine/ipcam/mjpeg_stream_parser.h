#pragma once
// Cuts the JPEG parts out of a camera's multipart stream. The stream arrives in blocks of any size; bytes that
// do not complete a part yet are kept, so a part split anywhere across blocks comes out whole.
//
// Each part is a header ending in a blank line (CR LF CR LF) and a body of the header's "Content-Length:"
// bytes. Parts whose header does not name "image/jpeg" are skipped. A JPEG part header without
// "Content-Length:" or without digits after it makes the stream unusable. Parts larger than
// kMaxPartBytes are skipped without being stored.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrova {

class MjpegStreamParser {
public:
    static constexpr size_t kMaxPartBytes = 8u << 20;
    // A header is at most this many bytes before its blank line; bytes before them are dropped.
    static constexpr size_t kMaxHeaderBytes = 64u << 10;

    enum class Result { kContinue, kMalformed };
    using FrameHandler = std::function<void(const uint8_t* jpeg, size_t size)>;

    explicit MjpegStreamParser(FrameHandler onFrame) : onFrame_(std::move(onFrame)) {}

    // Takes the next block of the stream, handing every JPEG body it completes to the handler. Once it
    // returned kMalformed the stream stays malformed.
    Result Feed(const uint8_t* data, size_t size);
    // Called from the handler: exchanges the body it was handed with `other`, so the handler keeps the bytes
    // without copying them. Whatever `other` held becomes room for later bodies.
    void SwapBody(std::vector<uint8_t>& other) { body_.swap(other); }

private:
    enum class State { kHeader, kBody, kSkip };

    // Moves bytes from `data` into the current body or past the skipped part; returns how many it used.
    size_t TakePartBytes(const uint8_t* data, size_t size);
    // Looks for the end of the header that starts at `*offset` in the kept bytes; false when more bytes are
    // needed. Moves `*offset` on past bytes that are too far from a blank line to belong to a header.
    bool FindHeaderEnd(size_t* offset, size_t* headerEnd);
    void StartPart(const uint8_t* header, size_t size);

    FrameHandler onFrame_;
    State state_ = State::kHeader;
    bool malformed_ = false;
    std::vector<uint8_t> kept_;  // bytes not used yet, beginning with a header whose blank line is missing
    size_t searched_ = 0;        // where in kept_ the search for the blank line goes on
    std::vector<uint8_t> body_;
    size_t partLeft_ = 0;  // bytes of the current body or skipped part still to come
};

}  // namespace kestrova
