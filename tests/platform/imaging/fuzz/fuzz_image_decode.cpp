// Pictures come from cameras on the network and from files: decoding any bytes must either fail or give a
// picture whose every row can be read.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/imaging/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrova::imaging;
    auto bitmap = Bitmap::Decode(data, size);
    if (!bitmap) return 0;
    const int stride = bitmap->Width() * 3;
    std::vector<uint8_t> rows(size_t(stride) * bitmap->Height());
    if (bitmap->LockBitsInto({0, 0, bitmap->Width(), bitmap->Height()}, rows.data(), stride) != Status::Ok) {
        __builtin_trap();
    }
    return 0;
}
