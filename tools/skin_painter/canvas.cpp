#include "tools/skin_painter/canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>

namespace skin {

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "RGB(" << colour.r << "," << colour.g << "," << colour.b << ")";
}

Canvas::Canvas(int width, int height, Rgb background)
    : width_(width), height_(height), pixels_(size_t(width) * size_t(height), background) {}

Rgb Canvas::At(int x, int y) const {
    const Rgb p = pixels_[size_t(y) * size_t(width_) + size_t(x)];
    return {std::round(p.r), std::round(p.g), std::round(p.b)};
}

void Canvas::Fill(const Shape& shape, Rgb colour) {
    const int x0 = std::max(0, int(std::floor(shape.bounds.x0)) - 1);
    const int y0 = std::max(0, int(std::floor(shape.bounds.y0)) - 1);
    const int x1 = std::min(width_, int(std::ceil(shape.bounds.x1)) + 1);
    const int y1 = std::min(height_, int(std::ceil(shape.bounds.y1)) + 1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            // A pixel whose centre lies half a pixel inside the edge is covered whole.
            const double coverage = std::clamp(0.5 - shape.distance({x + 0.5, y + 0.5}), 0.0, 1.0);
            if (coverage > 0) Blend(x, y, colour, coverage);
        }
    }
}

void Canvas::FillRect(int x, int y, int width, int height, Rgb colour) {
    for (int row = std::max(0, y); row < std::min(height_, y + height); ++row)
        for (int column = std::max(0, x); column < std::min(width_, x + width); ++column)
            pixels_[size_t(row) * size_t(width_) + size_t(column)] = colour;
}

void Canvas::Blend(int x, int y, Rgb colour, double amount) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Rgb& p = pixels_[size_t(y) * size_t(width_) + size_t(x)];
    p = Mix(p, colour, amount);
}

void Canvas::Draw(const Canvas& picture, int x, int y) {
    DrawEnlarged(picture, x, y, 1);
}

void Canvas::DrawEnlarged(const Canvas& picture, int x, int y, int scale) {
    for (int py = 0; py < picture.height_; ++py)
        for (int px = 0; px < picture.width_; ++px)
            FillRect(x + px * scale, y + py * scale, scale, scale,
                     picture.pixels_[size_t(py) * size_t(picture.width_) + size_t(px)]);
}

std::vector<uint8_t> Canvas::RgbBytes() const {
    std::vector<uint8_t> bytes;
    bytes.reserve(pixels_.size() * 3);
    for (const Rgb& p : pixels_) {
        for (double channel : {p.r, p.g, p.b})
            bytes.push_back(uint8_t(std::clamp(std::round(channel), 0.0, 255.0)));
    }
    return bytes;
}

bool WritePng(const Canvas& canvas, const std::string& path, std::string* error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(canvas.Width());
    image.height = png_uint_32(canvas.Height());
    image.format = PNG_FORMAT_RGB;
    const std::vector<uint8_t> bytes = canvas.RgbBytes();
    if (png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr)) return true;
    *error = path + ": " + image.message;
    return false;
}

namespace {

uint32_t LittleEndian(const std::string& bytes, size_t at, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + size_t(i)]);
    return value;
}

// An uncompressed 24-bit BMP, bottom-up or top-down, rows padded to 4 bytes.
bool ReadBmp(const std::string& bytes, Canvas* out) {
    if (bytes.size() < 54 || LittleEndian(bytes, 28, 2) != 24 || LittleEndian(bytes, 30, 4) != 0)
        return false;
    const int width = int32_t(LittleEndian(bytes, 18, 4)), rows = int32_t(LittleEndian(bytes, 22, 4));
    const int height = std::abs(rows);
    const size_t offset = LittleEndian(bytes, 10, 4), stride = (size_t(width) * 3 + 3) / 4 * 4;
    if (width <= 0 || height == 0 || offset + stride * size_t(height) > bytes.size()) return false;
    Canvas canvas(width, height, Rgb{});
    for (int y = 0; y < height; ++y) {
        const size_t row = offset + stride * size_t(rows > 0 ? height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes.data()) + row + size_t(x) * 3;
            canvas.FillRect(x, y, 1, 1, Rgb{double(p[2]), double(p[1]), double(p[0])});
        }
    }
    *out = std::move(canvas);
    return true;
}

bool ReadPng(const std::string& bytes, Canvas* out, std::string* why) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        *why = image.message;
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        *why = image.message;
        png_image_free(&image);
        return false;
    }
    Canvas canvas(int(image.width), int(image.height), Rgb{});
    const uint8_t* p = pixels.data();
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x, p += 3)
            canvas.FillRect(x, y, 1, 1, Rgb{double(p[0]), double(p[1]), double(p[2])});
    *out = std::move(canvas);
    return true;
}

}  // namespace

bool ReadPicture(const std::string& path, Canvas* out, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in && !in.eof()) {
        *error = path + ": cannot be read";
        return false;
    }
    std::string why = "not a 24-bit BMP";
    if (bytes.starts_with("BM") ? ReadBmp(bytes, out) : ReadPng(bytes, out, &why)) return true;
    *error = path + ": " + why;
    return false;
}

}  // namespace skin
