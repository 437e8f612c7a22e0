#pragma once
// A picture as a capture thread hands it to its device (Device::PublishFrame): the pixels of a whole frame,
// stored at once, or a JPEG that the device keeps and decodes only when someone reads the frame.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrova {

// The frame a picture becomes: its size, and whether it is stored upside down (the device's vertical flip
// option).
struct FrameShape {
    int width = 0;
    int height = 0;
    bool flip = false;
};

struct CapturedFrame {
    enum class Form {
        kPixels,  // width x height x 3 bytes, blue-green-red, rows bottom-up as frames lie
        kJpeg,    // a JPEG of at least width x height pixels, cut to them at its top-left corner; rows top-down
    };
    Form form = Form::kPixels;
    const uint8_t* bytes = nullptr;
    size_t size = 0;
    FrameShape shape;
    // For a JPEG, when set: a buffer holding exactly `bytes`, which the device may take by exchanging it for
    // a buffer of its own instead of copying the bytes. The caller then drops what it gets back.
    std::vector<uint8_t>* handOver = nullptr;
};

// A received JPEG that the device keeps until it is decoded.
struct KeptJpeg {
    std::vector<uint8_t> bytes;  // empty: none
    FrameShape shape;
};

}  // namespace kestrova
