// Camera pictures arrive damaged in every way. Decoding any JPEG bytes must fail or give a picture, and must
// leave the thread's decoder as it found it: a good picture decoded right after gives the same pixels.
// Reading chosen rows of them may refuse a damaged picture that decoding makes something of, but what it reads
// must be those rows of the picture exactly.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/imaging/bitmap.h"
#include "platform/imaging/jpeg_rows.h"

namespace {

using namespace kestrova::imaging;

struct Reference {
    std::vector<uint8_t> jpeg;
    std::unique_ptr<Bitmap> pixels;
};

Reference MakeReference() {
    Bitmap picture(24, 16);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width() * 3; ++x) picture.Row(y)[x] = uint8_t(x * 9 + y * 15);
    }
    Reference reference;
    int encoder = 0;
    if (!FindEncoder("image/jpeg", &encoder) || Encode(picture, encoder, 90, reference.jpeg) != Status::Ok) {
        __builtin_trap();
    }
    reference.pixels = Bitmap::Decode(reference.jpeg.data(), reference.jpeg.size());
    if (!reference.pixels) __builtin_trap();
    return reference;
}

bool SameAs(const Bitmap& picture, const Bitmap& expected) {
    if (picture.Width() != expected.Width() || picture.Height() != expected.Height()) return false;
    for (int y = 0; y < picture.Height(); ++y) {
        if (!std::equal(picture.Row(y), picture.Row(y) + picture.Width() * 3, expected.Row(y))) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Reference reference = MakeReference();
    // Only bytes that start as a JPEG reach its decoder.
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) return 0;

    int width = 0, height = 0;
    ReadImageSize(data, size, &width, &height);
    std::vector<int> chosen;
    for (int y = 0; y < height; y += 1 + y % 5) chosen.push_back(y);
    std::vector<int> columns(size_t(width > 0 ? width : 0));
    for (size_t x = 0; x < columns.size(); ++x) columns[x] = int(x);
    // The whole decode first: only a picture that decodes, and so is no larger than a bitmap may be, gets
    // memory for each row; for any other header, however large it claims to be, the rows share one.
    const auto picture = Bitmap::Decode(data, size);
    const size_t rowBytes = columns.size() * 3;
    std::vector<uint8_t> taken(picture ? rowBytes * chosen.size() : rowBytes);
    std::vector<RowRequest> requests;
    for (size_t i = 0; i < chosen.size(); ++i)
        requests.push_back({chosen[i], &columns, taken.data() + (picture ? i * rowBytes : 0)});
    const bool rowsRead = ReadJpegRows(data, size, width, height, requests, [](size_t) {});
    if (rowsRead && !picture) __builtin_trap();
    for (size_t i = 0; rowsRead && i < chosen.size(); ++i) {
        const uint8_t* row = taken.data() + i * rowBytes;
        if (!std::equal(row, row + rowBytes, picture->Row(chosen[i]))) __builtin_trap();
    }
    if (picture) {
        const int stride = picture->Width() * 3;
        std::vector<uint8_t> rows(size_t(stride) * size_t(picture->Height()));
        DecodeInto(data, size, picture->Width(), picture->Height(), rows.data(), stride);
    }

    const auto after = Bitmap::Decode(reference.jpeg.data(), reference.jpeg.size());
    if (!after || !SameAs(*after, *reference.pixels)) __builtin_trap();
    return 0;
}
