#pragma once
// Bitmaps and image codecs: 24-bit pictures made from frames or decoded from JPEG and PNG, saved through an
// encoder chosen by MIME type. libjpeg-turbo and libpng do the coding.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::imaging {

// The 40-byte device-independent bitmap header, as frames carry it.
struct BitmapInfoHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;  // positive: rows bottom-up; negative: top-down
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 24;
    uint32_t biCompression = 0;  // BI_RGB
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

// A header plus one colour entry.
struct BitmapInfo {
    BitmapInfoHeader bmiHeader;
    uint32_t bmiColors[1] = {0};
};

enum class Status {
    Ok = 0,
    InvalidParameter,
    OutOfMemory,
    FileNotFound,
    UnknownImageFormat,
    Win32Error,
    NotImplemented,
    GenericError
};

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// A picture in memory: 24-bit, blue-green-red bytes, each row padded to 4 bytes. Row(0) is the top row. The
// rows are kept in the order they came in (a bottom-up frame stays bottom-up), so that making a bitmap from a
// frame is one copy and the encoders read the frame's rows where they lie.
class Bitmap {
public:
    // Pictures larger than this on either side, or with more pixels in all, are refused.
    static constexpr int kMaxSide = 16384;
    static constexpr int64_t kMaxPixels = int64_t(1) << 25;

    // From a frame: a 24-bit BI_RGB header and its pixels (bottom-up when biHeight > 0, each row padded to 4
    // bytes); null for any other header or a size out of range.
    static std::unique_ptr<Bitmap> FromFrame(const BitmapInfoHeader& header, const uint8_t* pixels);
    // The same picture over the frame's own pixels, without a copy: for encoding a frame while its owner
    // keeps it alive and unchanged (under the frame lock).
    static std::unique_ptr<const Bitmap> ViewFrame(const BitmapInfoHeader& header, const uint8_t* pixels);
    // Decodes JPEG, PNG or 24-bit BMP bytes; null when they are none of these or are damaged.
    static std::unique_ptr<Bitmap> Decode(const uint8_t* data, size_t size);
    // Decodes a bitmap resource of the program by id (see platform/base/resources.h); null when missing.
    static std::unique_ptr<Bitmap> FromResource(int id);
    // A top-down picture whose bytes the caller overwrites in full; null for a size out of range.
    static std::unique_ptr<Bitmap> ForOverwrite(int width, int height);

    // A black picture (a size out of range gives an empty one).
    Bitmap(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }
    bool RowsBottomUp() const { return bottomUp_; }
    const uint8_t* Row(int y) const { return pixels_ + RowOffset(y); }
    uint8_t* Row(int y) { return pixels_ + RowOffset(y); }
    // The row that lies first in memory: Row(0), or Row(Height() - 1) when the rows are bottom-up.
    const uint8_t* FirstStoredRow() const { return pixels_; }

    // A 24-bit copy of `area`; null when the area is not wholly inside the picture.
    std::unique_ptr<Bitmap> Clone(const Rect& area) const;
    // Copies `area` as 24-bit rows into `out`: the top row at `out`, each next row `stride` bytes further
    // (|stride| >= width * 3; a negative stride writes the rows bottom-up). InvalidParameter when the area is
    // not wholly inside the picture or the buffer or stride cannot hold it.
    Status LockBitsInto(const Rect& area, uint8_t* out, int stride) const;

private:
    struct Uninitialized {};
    Bitmap(int width, int height, bool bottomUp, Uninitialized);
    Bitmap(int width, int height, bool bottomUp, uint8_t* pixels);
    size_t RowOffset(int y) const { return size_t(bottomUp_ ? height_ - 1 - y : y) * size_t(stride_); }

    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    bool bottomUp_ = false;
    std::unique_ptr<uint8_t[]> owned_;  // empty for a view of a frame
    uint8_t* pixels_ = nullptr;
};

// The width and height of JPEG, PNG or BMP bytes, from their header alone; false when it cannot be read.
bool ReadImageSize(const uint8_t* data, size_t size, int* width, int* height);
// Decodes a picture of exactly `width` x `height` straight into the caller's rows: the top row at `out`, each
// next row `stride` bytes further (negative: bottom-up, as frames lie). InvalidParameter for a picture of
// another size or a stride shorter than a row (nothing is written then); UnknownImageFormat when the bytes
// cannot be decoded, which may leave the rows partly written.
Status DecodeInto(const uint8_t* data, size_t size, int width, int height, uint8_t* out, int stride);

// An image encoder: an id and the MIME type it writes.
struct EncoderInfo {
    int id;
    std::string mimeType;
};

// The installed encoders, in the order a lookup sees them: "image/jpeg", then "image/png".
const std::vector<EncoderInfo>& ImageEncoders();
// The id of the first encoder with exactly `mimeType`; false when there is none.
bool FindEncoder(std::string_view mimeType, int* id);

// Encodes with encoder `encoderId`; `quality` (0..100) is the JPEG quality and ignored by PNG.
// InvalidParameter for an unknown encoder, an empty picture or a JPEG quality out of range.
Status Encode(const Bitmap& bitmap, int encoderId, int quality, std::vector<uint8_t>& out);
// Encodes and writes the file, replacing one that exists; a reader of the old file never sees a part of the
// new one. Win32Error when the file cannot be written.
Status Save(const Bitmap& bitmap, const std::wstring& path, int encoderId, int quality);

}  // namespace kestrova::imaging
