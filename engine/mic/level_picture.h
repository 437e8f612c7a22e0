#pragma once
// The picture a powered microphone shows in place of a camera's: 480 x 360, 24-bit, bottom-up rows, with
// the microphone symbol on white and a meter of ten segments below it that lights up to the sound level.

#include <cstdint>
#include <vector>

namespace kestrova {

inline constexpr int kLevelPictureWidth = 480;
inline constexpr int kLevelPictureHeight = 360;
inline constexpr int kSymbolWidth = 86;
inline constexpr int kSymbolHeight = 128;
inline constexpr int kSymbolStride = kSymbolWidth * 3;

// The symbol bitmap resource `resourceId` (its low 16 bits) as top-down blue-green-red rows of 258 bytes;
// empty when the resource is missing, unreadable or not 86 x 128.
std::vector<uint8_t> ReadSymbolPicture(int resourceId);

// Paints a new picture white and puts `symbol` (rows as ReadSymbolPicture gives them; empty: none) at
// x 197..282, y 105..232.
void DrawLevelBackground(uint8_t* picture, const std::vector<uint8_t>& symbol);

// Redraws the meter's 8 rows: segment k (1..10) lit when `level` is at least k. The gaps between the
// segments are not touched.
void DrawLevelBar(uint8_t* picture, int level);

}  // namespace kestrova
