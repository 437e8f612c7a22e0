#include "tests/peers/fakecam/test_jpeg.h"

#include <turbojpeg.h>

#include <stdexcept>
#include <vector>

namespace kestrova::testing {

std::string MakeTestJpeg(int width, int height, const std::function<Rgb(int x, int y)>& pixel) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
    tjhandle encoder = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(encoder, rgb.data(), width, 0, height, TJPF_RGB, &jpeg, &size, TJSAMP_444, 95, 0);
    std::string out = result == 0 ? std::string(reinterpret_cast<char*>(jpeg), size) : std::string();
    tjFree(jpeg);
    tjDestroy(encoder);
    if (out.empty()) throw std::runtime_error("test picture could not be encoded");
    return out;
}

}  // namespace kestrova::testing
