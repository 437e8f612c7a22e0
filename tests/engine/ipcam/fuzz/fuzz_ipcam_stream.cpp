// Feeds arbitrary bytes to the camera stream parser, cut into blocks at sizes the input itself chooses, and
// checks that every part it hands out lies within the bounds it promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/ipcam/mjpeg_stream_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    kestrova::MjpegStreamParser parser([](const uint8_t* jpeg, size_t length) {
        if (length > kestrova::MjpegStreamParser::kMaxPartBytes) std::abort();
        // Reading every byte lets the address checker see a part that lies outside its buffer.
        const std::vector<uint8_t> copy(jpeg, jpeg + length);
    });
    // The first byte sets the block size, so one input is tried split in many ways.
    const size_t block = 1 + data[0] % 64;
    for (size_t at = 1; at < size; at += block) {
        const size_t length = size - at < block ? size - at : block;
        parser.Feed(data + at, length);
    }
    return 0;
}
