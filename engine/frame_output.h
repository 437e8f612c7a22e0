#pragma once
// Image encoders by MIME type, as frame output finds them.

#include <string_view>

namespace kestrova {

// 1 and the encoder's id in `classId` when an installed encoder has exactly `mimeType` (the first in the list
// wins); 0 when none has.
int GetEncoderClsid(std::string_view mimeType, int* classId);

// The JPEG quality of web snapshots.
inline constexpr int kWebSnapshotQuality = 70;

}  // namespace kestrova
