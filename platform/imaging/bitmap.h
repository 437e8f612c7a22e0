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

enum class Status { Ok = 0, InvalidParameter, OutOfMemory, FileNotFound, UnknownImageFormat, Win32Error,
                    NotImplemented };

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// A picture in memory: 24-bit, top-down rows, blue-green-red bytes, each row padded to 4 bytes.
class Bitmap {
public:
    // From a frame: a 24-bit BI_RGB header and its pixels (bottom-up when biHeight > 0).
    static std::unique_ptr<Bitmap> FromFrame(const BitmapInfoHeader& header, const uint8_t* pixels);
    // Decodes JPEG or PNG bytes; null when they are neither or are damaged.
    static std::unique_ptr<Bitmap> Decode(const uint8_t* data, size_t size);
    // Decodes a bitmap resource of the program by id (see platform/base/resources.h); null when missing.
    static std::unique_ptr<Bitmap> FromResource(int id);

    Bitmap(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }
    const uint8_t* Row(int y) const { return pixels_.data() + size_t(y) * stride_; }
    uint8_t* Row(int y) { return pixels_.data() + size_t(y) * stride_; }

    // A 24-bit copy of `area`; null when the area is not wholly inside the picture.
    std::unique_ptr<Bitmap> Clone(const Rect& area) const;
    // Copies `area` as 24-bit rows of `stride` bytes, top-down, into `out` (stride >= width * 3).
    Status LockBitsInto(const Rect& area, uint8_t* out, int stride) const;

private:
    int width_;
    int height_;
    int stride_;
    std::vector<uint8_t> pixels_;
};

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
Status Encode(const Bitmap& bitmap, int encoderId, int quality, std::vector<uint8_t>& out);
// Encodes and writes the file, replacing one that exists.
Status Save(const Bitmap& bitmap, const std::wstring& path, int encoderId, int quality);

}  // namespace kestrova::imaging
