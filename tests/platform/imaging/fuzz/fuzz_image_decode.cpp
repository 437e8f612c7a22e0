// Pictures come from cameras on the network and from files: decoding any bytes must either fail or give a
// picture whose every row can be read, whether into a new bitmap or straight into a bottom-up frame.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/imaging/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrova::imaging;
    auto bitmap = Bitmap::Decode(data, size);
    if (!bitmap) return 0;
    const int width = bitmap->Width(), height = bitmap->Height(), stride = width * 3;
    std::vector<uint8_t> rows(size_t(stride) * height);
    if (bitmap->LockBitsInto({0, 0, width, height}, rows.data(), stride) != Status::Ok) __builtin_trap();
    int readWidth = 0, readHeight = 0;
    if (!ReadImageSize(data, size, &readWidth, &readHeight) || readWidth != width || readHeight != height) {
        __builtin_trap();
    }
    DecodeInto(data, size, width, height, rows.data() + size_t(height - 1) * stride, -stride);
    return 0;
}
