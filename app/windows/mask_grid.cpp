#include "app/windows/mask_grid.h"

namespace kestrova {
namespace {

constexpr int kBytesPerPixel = 3;

int Stride(const BITMAPINFOHEADER& header) {
    return (header.biWidth * kBytesPerPixel + 3) / 4 * 4;
}

void TintPixel(uint8_t* bgr) {
    bgr[0] = uint8_t(bgr[0] - bgr[0] / 5);
    bgr[1] = uint8_t(bgr[1] - bgr[1] / 5);
    bgr[2] = uint8_t(bgr[2] + (255 - bgr[2]) / 5);
}

}  // namespace

void ReduceMask(CoarseMask& coarse, const MaskGrid& mask) {
    for (int r = 0; r < kCoarseSide; ++r)
        for (int c = 0; c < kCoarseSide; ++c)
            coarse[r * kCoarseSide + c] = mask[MaskCell(r * kCoarseBlock, c * kCoarseBlock)];
}

void ExpandMask(MaskGrid& mask, const CoarseMask& coarse) {
    for (int row = 0; row < kMaskSide; ++row)
        for (int column = 0; column < kMaskSide; ++column)
            mask[MaskCell(row, column)] = coarse[(row / kCoarseBlock) * kCoarseSide + column / kCoarseBlock];
}

size_t StillBytes(const BITMAPINFOHEADER& header) {
    if (header.biBitCount != 24 || header.biWidth <= 0 || header.biHeight <= 0) return 0;
    return size_t(Stride(header)) * size_t(header.biHeight);
}

std::vector<uint8_t> TintMaskedCells(const uint8_t* pixels, const BITMAPINFOHEADER& header,
                                     const CoarseMask& shown) {
    const size_t bytes = pixels ? StillBytes(header) : 0;
    if (!bytes) return {};
    std::vector<uint8_t> tinted(pixels, pixels + bytes);
    const int stride = Stride(header);
    const int cellWidth = header.biWidth / kCoarseSide, cellHeight = header.biHeight / kCoarseSide;
    for (int i = 0; i < kCoarseSide; ++i) {
        // The rows run bottom-up: the picture's top cell row is the buffer's last.
        const int firstRow = (kCoarseSide - 1 - i) * cellHeight;
        for (int j = 0; j < kCoarseSide; ++j) {
            if (!shown[i * kCoarseSide + j]) continue;
            for (int y = firstRow; y < firstRow + cellHeight; ++y) {
                uint8_t* pixel = &tinted[size_t(y) * stride + size_t(cellWidth) * j * kBytesPerPixel];
                for (int x = 0; x < cellWidth; ++x, pixel += kBytesPerPixel) TintPixel(pixel);
            }
        }
    }
    return tinted;
}

}  // namespace kestrova
