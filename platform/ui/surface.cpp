#include "platform/ui/surface.h"

#include <algorithm>
#include <cstring>

namespace kestrova::ui {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

}  // namespace

Surface::Surface(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixels_(size_t(width_) * size_t(height_), kWhite) {
    MakeImage();
}

Surface::~Surface() {
    pixman_image_unref(image_);
}

void Surface::MakeImage() {
    if (image_) pixman_image_unref(image_);
    image_ = pixman_image_create_bits(PIXMAN_x8r8g8b8, width_, height_, pixels_.data(), width_ * 4);
}

void Surface::Resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == width_ && height == height_) return;
    std::vector<uint32_t> pixels(size_t(width) * size_t(height), kWhite);
    int keepW = std::min(width, width_), keepH = std::min(height, height_);
    for (int y = 0; y < keepH; ++y)
        std::memcpy(&pixels[size_t(y) * size_t(width)], &pixels_[size_t(y) * size_t(width_)],
                    size_t(keepW) * 4);
    pixels_.swap(pixels);
    width_ = width;
    height_ = height;
    MakeImage();
}

std::shared_ptr<Surface> Surface::Clone() const {
    auto copy = std::make_shared<Surface>(width_, height_);
    copy->pixels_ = pixels_;
    return copy;
}

}  // namespace kestrova::ui
