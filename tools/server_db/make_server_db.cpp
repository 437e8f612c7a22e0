// Makes "Server.db", the web site's logo and two sounds back to back: a PNG of exactly 579 bytes drawn here,
// the given MP3 behind a tag that brings it to exactly 2,052 bytes, and a WAV tone of exactly 4,460 bytes.
// Each part stays a valid file of its kind: the sizes are reached with a PNG text chunk, the MP3 tag's
// padding and the WAV's sample count.
//
// Usage: make_server_db <beep.mp3> <Server.db>

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr size_t kLogoSize = 579;
constexpr size_t kMp3Size = 2052;
constexpr size_t kWavSize = 4460;

using Bytes = std::vector<uint8_t>;

struct Rgb {
    double r, g, b;
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kOrange{255, 146, 17};  // the site's accent colour
constexpr Rgb kDark{51, 51, 51};      // the site's text colour

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// The logo: a camera lens, an orange disc with a white ring around a dark pupil and a small highlight, on
// the white of the page header.
constexpr int kLogoWidth = 38;
constexpr int kLogoHeight = 38;

Rgb LensColour(double x, double y) {
    auto inside = [&](double cx, double cy, double r) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r;
    };
    if (inside(15.5, 15.5, 2.6)) return kWhite;
    if (inside(19, 19, 8)) return kDark;
    if (inside(19, 19, 12)) return kWhite;
    if (inside(19, 19, 18.5)) return kOrange;
    return kWhite;
}

// Palette: the three colours and three steps between each pair that meet at an edge.
std::vector<Rgb> LogoPalette() {
    std::vector<Rgb> palette{kWhite, kOrange, kDark};
    for (double t : {0.25, 0.5, 0.75}) {
        palette.push_back(Mix(kWhite, kOrange, t));
        palette.push_back(Mix(kWhite, kDark, t));
    }
    return palette;
}

uint8_t Nearest(const std::vector<Rgb>& palette, Rgb c) {
    size_t best = 0;
    double bestDistance = 1e18;
    for (size_t i = 0; i < palette.size(); ++i) {
        double dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
        double d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) bestDistance = d, best = i;
    }
    return uint8_t(best);
}

// Rows of 4-bit palette indexes, each pixel the average of 4 x 4 samples.
std::vector<Bytes> LogoRows(const std::vector<Rgb>& palette) {
    std::vector<Bytes> rows(kLogoHeight, Bytes((kLogoWidth + 1) / 2, 0));
    for (int y = 0; y < kLogoHeight; ++y) {
        for (int x = 0; x < kLogoWidth; ++x) {
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    Rgb c = LensColour(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
                    sum = {sum.r + c.r / 16, sum.g + c.g / 16, sum.b + c.b / 16};
                }
            uint8_t index = Nearest(palette, sum);
            rows[y][x / 2] |= x % 2 ? index : uint8_t(index << 4);
        }
    }
    return rows;
}

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// The logo as PNG, with a comment of `commentLength` characters (none when 0).
bool EncodeLogo(size_t commentLength, Bytes* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<Rgb> palette = LogoPalette();
    std::vector<Bytes> rows = LogoRows(palette);
    std::vector<png_color> colours;
    for (const Rgb& c : palette)
        colours.push_back(
            {png_byte(std::lround(c.r)), png_byte(std::lround(c.g)), png_byte(std::lround(c.b))});
    std::vector<png_bytep> rowPointers;
    for (Bytes& row : rows) rowPointers.push_back(row.data());
    std::string comment(commentLength, ' ');
    char key[] = "Comment";
    png_text text{};
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = key;
    text.text = comment.data();
    text.text_length = comment.size();

    out->clear();
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendToBytes, nullptr);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, kLogoWidth, kLogoHeight, 4, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, colours.data(), int(colours.size()));
    if (commentLength > 0) png_set_text(png, info, &text, 1);
    png_set_rows(png, info, rowPointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// A tEXt chunk costs 12 bytes of frame, the key "Comment" and its NUL besides its text.
constexpr size_t kTextChunkOverhead = 12 + 8;

bool MakeLogo(Bytes* out) {
    if (!EncodeLogo(0, out) || out->size() + kTextChunkOverhead + 1 > kLogoSize) return false;
    return EncodeLogo(kLogoSize - out->size() - kTextChunkOverhead, out) && out->size() == kLogoSize;
}

void PutBigEndian32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void PutLittleEndian(Bytes& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// An ID3v2.3 tag holding the title and zero padding up to `size` bytes, then the MPEG frames.
bool MakeMp3(const Bytes& frames, Bytes* out) {
    if (frames.size() < 2 || frames[0] != 0xFF || (frames[1] & 0xE0) != 0xE0)
        return false;  // an MPEG frame first
    const std::string title = "Beep";
    const size_t titleFrame = 10 + 1 + title.size();
    if (frames.size() + 10 + titleFrame > kMp3Size) return false;
    const uint32_t tagBody = uint32_t(kMp3Size - frames.size() - 10);
    out->assign({'I', 'D', '3', 3, 0, 0});
    for (int shift = 21; shift >= 0; shift -= 7)
        out->push_back(uint8_t((tagBody >> shift) & 0x7F));  // syncsafe
    out->insert(out->end(), {'T', 'I', 'T', '2'});
    PutBigEndian32(*out, uint32_t(1 + title.size()));
    out->insert(out->end(), {0, 0, 0});  // flags, then the ISO-8859-1 encoding byte
    out->insert(out->end(), title.begin(), title.end());
    out->resize(10 + tagBody, 0);
    out->insert(out->end(), frames.begin(), frames.end());
    return out->size() == kMp3Size;
}

// A 16-bit mono PCM tone at 8 kHz whose sample count fills the asset exactly.
Bytes MakeWav() {
    constexpr uint32_t kRate = 8000;
    constexpr uint32_t kDataBytes = kWavSize - 44;
    constexpr uint32_t kSamples = kDataBytes / 2;
    Bytes out{'R', 'I', 'F', 'F'};
    PutLittleEndian(out, kWavSize - 8, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLittleEndian(out, 16, 4);
    PutLittleEndian(out, 1, 2);  // PCM
    PutLittleEndian(out, 1, 2);  // mono
    PutLittleEndian(out, kRate, 4);
    PutLittleEndian(out, kRate * 2, 4);
    PutLittleEndian(out, 2, 2);
    PutLittleEndian(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutLittleEndian(out, kDataBytes, 4);
    const double kPi = 3.14159265358979323846;
    for (uint32_t i = 0; i < kSamples; ++i) {
        double edge = std::min(1.0, std::min(i, kSamples - 1 - i) / 160.0);  // 20 ms fade at each end
        double v = std::sin(2 * kPi * 880.0 * i / kRate) * edge * 0.6;
        PutLittleEndian(out, uint32_t(int16_t(std::lround(v * 32767))) & 0xFFFF, 2);
    }
    return out;
}

bool ReadFile(const char* path, Bytes* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !out->empty();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_server_db <beep.mp3> <Server.db>\n");
        return 2;
    }
    Bytes logo, frames, mp3;
    if (!MakeLogo(&logo)) {
        std::fprintf(stderr, "make_server_db: the logo does not fit in %zu bytes\n", kLogoSize);
        return 1;
    }
    if (!ReadFile(argv[1], &frames) || !MakeMp3(frames, &mp3)) {
        std::fprintf(stderr, "make_server_db: %s is missing or does not fit in %zu bytes\n", argv[1],
                     kMp3Size);
        return 1;
    }
    Bytes wav = MakeWav();
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    for (const Bytes* part : {&logo, &mp3, &wav})
        out.write(reinterpret_cast<const char*>(part->data()), part->size());
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_server_db: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
