#pragma once
// The mask window's coarse grid: a device's 40 x 40 masks edited as 10 x 10 cells of 4 x 4 mask cells each,
// and the still shown under them with the masked cells tinted red.

#include <array>
#include <cstdint>
#include <vector>

#include "engine/grids.h"
#include "platform/ui/gdi.h"

namespace kestrova {

inline constexpr int kCoarseSide = 10;
inline constexpr int kCoarseBlock = kMaskSide / kCoarseSide;
// Row-major, row 0 at the top of the picture; a non-zero cell is masked.
using CoarseMask = std::array<int32_t, kCoarseSide * kCoarseSide>;

// Each coarse cell takes the value of the top-left mask cell of its 4 x 4 block.
void ReduceMask(CoarseMask& coarse, const MaskGrid& mask);
// Every mask cell of a block takes its coarse cell's value.
void ExpandMask(MaskGrid& mask, const CoarseMask& coarse);

// The bytes of a 24-bit bottom-up still whose rows are padded to 4 bytes, as device-independent bitmaps
// are; 0 for anything else (another depth, top-down rows, no area), which the window does not show.
size_t StillBytes(const BITMAPINFOHEADER& header);
// A copy of the still with every masked cell tinted: blue and green lose a fifth, red gains a fifth of what
// it lacks of 255. The picture splits into 10 x 10 cells of width / 10 by height / 10 pixels; the pixels
// beyond them at the right and the top edge stay as they are.
std::vector<uint8_t> TintMaskedCells(const uint8_t* pixels, const BITMAPINFOHEADER& header,
                                     const CoarseMask& shown);

}  // namespace kestrova
