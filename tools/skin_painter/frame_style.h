#pragma once
// The measures every window frame shares, in pixels: the main window's skin and the frame pieces agree on
// them.

namespace skin {

constexpr int kCaptionRows = 29;  // the dark band; the windows drag by exactly these rows
constexpr int kEdge = 3;          // the side and bottom edges

}  // namespace skin
