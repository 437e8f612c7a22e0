#include "engine/ipcam/mjpeg_stream_parser.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace kestrova {
namespace {

constexpr std::string_view kBlankLine = "\r\n\r\n";
constexpr std::string_view kJpegType = "image/jpeg";
constexpr std::string_view kLengthName = "Content-Length:";

std::string_view AsText(const uint8_t* data, size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number at the first digit after "Content-Length:" (a number too large for memory stays the largest
// count); false when the name or the digits are missing.
bool FindLength(std::string_view header, size_t* length) {
    const size_t name = header.find(kLengthName);
    if (name == std::string_view::npos) return false;
    size_t at = name + kLengthName.size();
    while (at < header.size() && !IsDigit(header[at])) ++at;
    if (at == header.size()) return false;
    size_t value = 0;
    for (; at < header.size() && IsDigit(header[at]); ++at) {
        const size_t digit = size_t(header[at] - '0');
        value = value > (SIZE_MAX - digit) / 10 ? SIZE_MAX : value * 10 + digit;
    }
    *length = value;
    return true;
}

}  // namespace

MjpegStreamParser::Result MjpegStreamParser::Feed(const uint8_t* data, size_t size) {
    // While no bytes wait from an earlier block, bodies and headers whole in the block are read where they lie,
    // so a body goes from the block into its part in one copy. (Kept bytes always begin a header.)
    while (!malformed_ && size > 0 && kept_.empty()) {
        if (state_ != State::kHeader) {
            const size_t used = TakePartBytes(data, size);
            data += used;
            size -= used;
            continue;
        }
        const size_t blank = AsText(data, size).find(kBlankLine);
        if (blank == std::string_view::npos) break;
        const size_t end = blank + kBlankLine.size();
        const size_t start = end > kMaxHeaderBytes ? end - kMaxHeaderBytes : 0;
        StartPart(data + start, end - start);
        data += end;
        size -= end;
    }
    if (malformed_ || size == 0) return malformed_ ? Result::kMalformed : Result::kContinue;
    kept_.insert(kept_.end(), data, data + size);
    size_t offset = 0;
    while (!malformed_ && offset < kept_.size()) {
        if (state_ != State::kHeader) {
            offset += TakePartBytes(kept_.data() + offset, kept_.size() - offset);
            continue;
        }
        size_t headerEnd = 0;
        if (!FindHeaderEnd(&offset, &headerEnd)) break;
        StartPart(kept_.data() + offset, headerEnd - offset);
        offset = headerEnd;
        searched_ = headerEnd;
    }
    kept_.erase(kept_.begin(), kept_.begin() + static_cast<ptrdiff_t>(offset));
    searched_ = searched_ > offset ? searched_ - offset : 0;
    return malformed_ ? Result::kMalformed : Result::kContinue;
}

size_t MjpegStreamParser::TakePartBytes(const uint8_t* data, size_t size) {
    const size_t used = std::min(size, partLeft_);
    if (state_ == State::kBody) body_.insert(body_.end(), data, data + used);
    partLeft_ -= used;
    if (partLeft_ == 0) {
        if (state_ == State::kBody) {
            onFrame_(body_.data(), body_.size());
            body_.clear();
        }
        state_ = State::kHeader;
    }
    return used;
}

bool MjpegStreamParser::FindHeaderEnd(size_t* offset, size_t* headerEnd) {
    const std::string_view text = AsText(kept_.data(), kept_.size());
    const size_t blank = text.find(kBlankLine, std::max(*offset, searched_));
    const size_t end = blank == std::string_view::npos ? kept_.size() : blank + kBlankLine.size();
    // A header is no longer than kMaxHeaderBytes: anything before that is dropped.
    if (end - *offset > kMaxHeaderBytes) *offset = end - kMaxHeaderBytes;
    if (blank == std::string_view::npos) {
        // The last bytes may begin the blank line.
        searched_ = std::max(*offset, end >= kBlankLine.size() ? end - (kBlankLine.size() - 1) : 0);
        return false;
    }
    *headerEnd = end;
    return true;
}

void MjpegStreamParser::StartPart(const uint8_t* header, size_t size) {
    const std::string_view text = AsText(header, size);
    size_t length = 0;
    const bool hasLength = FindLength(text, &length);
    if (text.find(kJpegType) == std::string_view::npos) {
        // Another kind of part: step over its body when its length is known.
        partLeft_ = hasLength ? length : 0;
        state_ = partLeft_ > 0 ? State::kSkip : State::kHeader;
        return;
    }
    if (!hasLength) {
        malformed_ = true;
        return;
    }
    partLeft_ = length;
    if (length > kMaxPartBytes) {
        state_ = State::kSkip;
    } else if (length == 0) {
        onFrame_(nullptr, 0);
    } else {
        body_.clear();
        body_.reserve(length);
        state_ = State::kBody;
    }
}

}  // namespace kestrova
