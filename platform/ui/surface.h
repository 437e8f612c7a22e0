#pragma once
// The pixels of a top-level window and its children: 32-bit x8r8g8b8 (blue in the low byte, as the layer's
// COLORREF reversed), one pixman image. Drawing goes through device contexts; backends and the test driver
// read the pixels back.

#include <pixman.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace kestrova::ui {

class Surface {
public:
    Surface(int width, int height);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    pixman_image_t* Image() { return image_; }
    const uint32_t* Pixels() const { return pixels_.data(); }
    uint32_t* Pixels() { return pixels_.data(); }
    // A new size; the pixels that stay keep their place, new ones are white.
    void Resize(int width, int height);
    std::shared_ptr<Surface> Clone() const;

private:
    void MakeImage();

    int width_, height_;
    std::vector<uint32_t> pixels_;
    pixman_image_t* image_ = nullptr;
};

}  // namespace kestrova::ui
