#include <string>

#include "platform/base/files.h"
#include "platform/imaging/bitmap.h"
#include "platform/imaging/codecs.h"

namespace kestrova::imaging {
namespace {

enum EncoderId { kJpegEncoder = 1, kPngEncoder = 2 };

}  // namespace

const std::vector<EncoderInfo>& ImageEncoders() {
    static const std::vector<EncoderInfo> encoders = {{kJpegEncoder, "image/jpeg"},
                                                      {kPngEncoder, "image/png"}};
    return encoders;
}

bool FindEncoder(std::string_view mimeType, int* id) {
    for (const EncoderInfo& encoder : ImageEncoders()) {
        if (encoder.mimeType == mimeType) {
            if (id) *id = encoder.id;
            return true;
        }
    }
    return false;
}

Status Encode(const Bitmap& bitmap, int encoderId, int quality, std::vector<uint8_t>& out) {
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return Status::InvalidParameter;
    switch (encoderId) {
        case kJpegEncoder:
            if (quality < 0 || quality > 100) return Status::InvalidParameter;
            return EncodeJpeg(bitmap, quality, out);
        case kPngEncoder:
            return EncodePng(bitmap, out);
        default:
            return Status::InvalidParameter;
    }
}

Status Save(const Bitmap& bitmap, const std::wstring& path, int encoderId, int quality) {
    std::vector<uint8_t> bytes;
    const Status encoded = Encode(bitmap, encoderId, quality, bytes);
    if (encoded != Status::Ok) return encoded;
    return WriteFileAtomic(path, bytes.data(), bytes.size()) ? Status::Ok : Status::Win32Error;
}

}  // namespace kestrova::imaging
