// JPEG through the TurboJPEG API. Each thread keeps its own coder handles and output buffer, so a frame costs
// no set-up and no allocation once the first one has been coded. A decoder handle that failed is thrown away:
// libjpeg stops where an error finds it, for instance half-way through a header, and would read the next
// picture as the rest of the damaged one.
#include <turbojpeg.h>

#include <climits>

#include "platform/imaging/codecs.h"

namespace kestrova::imaging {
namespace {

class JpegCoders {
public:
    ~JpegCoders() {
        if (compressor_) tjDestroy(compressor_);
        if (decompressor_) tjDestroy(decompressor_);
        tjFree(buffer_);
    }

    tjhandle Compressor() { return compressor_ ? compressor_ : (compressor_ = tjInitCompress()); }
    tjhandle Decompressor() { return decompressor_ ? decompressor_ : (decompressor_ = tjInitDecompress()); }
    void DropDecompressor() {
        tjDestroy(decompressor_);
        decompressor_ = nullptr;
    }

    // A buffer that holds any JPEG of that size, so the compressor never has to grow it.
    unsigned char* Buffer(int width, int height, unsigned long* capacity) {
        const unsigned long needed = tjBufSize(width, height, TJSAMP_420);
        if (needed == (unsigned long)-1) return nullptr;
        if (needed > capacity_) {
            tjFree(buffer_);
            buffer_ = tjAlloc(int(needed));
            capacity_ = buffer_ ? needed : 0;
        }
        *capacity = capacity_;
        return buffer_;
    }

private:
    tjhandle compressor_ = nullptr;
    tjhandle decompressor_ = nullptr;
    unsigned char* buffer_ = nullptr;
    unsigned long capacity_ = 0;
};

JpegCoders& ThreadCoders() {
    thread_local JpegCoders coders;
    return coders;
}

// How a decode ended: `kRefused` when the bytes hold no picture or `place` refused it, `kFailed` when the
// library met an error.
enum class Outcome { kDecoded, kRefused, kFailed };

Outcome DecodeWith(tjhandle handle, const uint8_t* data, size_t size, const PlaceRows& place) {
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle, data, size, &width, &height, &subsampling, &colorspace) != 0) {
        return Outcome::kFailed;
    }
    // A stream of tables alone reads as a header without a picture.
    if (width <= 0 || height <= 0) return Outcome::kRefused;
    int stride = 0;
    uint8_t* top = place(width, height, &stride);
    if (top == nullptr) return Outcome::kRefused;
    uint8_t* first = stride < 0 ? top + ptrdiff_t(height - 1) * stride : top;
    const int flags = stride < 0 ? TJFLAG_BOTTOMUP : 0;
    // Warnings (a few stray bytes, a picture cut short) still leave a whole picture, as cameras expect of a
    // decoder; only errors drop it.
    return tjDecompress2(handle, data, size, first, width, stride < 0 ? -stride : stride, height, TJPF_BGR,
                         flags) == 0 ||
                   tjGetErrorCode(handle) == TJERR_WARNING
               ? Outcome::kDecoded
               : Outcome::kFailed;
}

}  // namespace

bool LooksLikeJpeg(const uint8_t* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8;
}

bool DecodeJpegRows(const uint8_t* data, size_t size, const PlaceRows& place) {
    if (size > ULONG_MAX) return false;
    JpegCoders& coders = ThreadCoders();
    tjhandle handle = coders.Decompressor();
    if (handle == nullptr) return false;
    const Outcome outcome = DecodeWith(handle, data, size, place);
    if (outcome == Outcome::kFailed) coders.DropDecompressor();
    return outcome == Outcome::kDecoded;
}

Status EncodeJpeg(const Bitmap& bitmap, int quality, std::vector<uint8_t>& out) {
    JpegCoders& coders = ThreadCoders();
    tjhandle handle = coders.Compressor();
    unsigned long capacity = 0;
    unsigned char* buffer = coders.Buffer(bitmap.Width(), bitmap.Height(), &capacity);
    if (handle == nullptr || buffer == nullptr) return Status::OutOfMemory;
    const int flags = TJFLAG_NOREALLOC | (bitmap.RowsBottomUp() ? TJFLAG_BOTTOMUP : 0);
    unsigned long size = capacity;
    if (tjCompress2(handle, bitmap.FirstStoredRow(), bitmap.Width(), bitmap.Stride(), bitmap.Height(),
                    TJPF_BGR, &buffer, &size, TJSAMP_420, quality < 1 ? 1 : quality, flags) != 0) {
        return Status::GenericError;
    }
    out.assign(buffer, buffer + size);
    return Status::Ok;
}

}  // namespace kestrova::imaging
