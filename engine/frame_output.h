#pragma once
// Image encoders by MIME type, as frame output finds them, and what became of a frame's save.

#include <string_view>

namespace kestrova {

enum class FrameSave {
    kSaved,
    kNoFrame,     // the device has no picture yet: nothing was written
    kNoEncoder,   // no encoder for the format's MIME type
    kBadFrame,    // the frame's header does not describe its pixels
    kNotEncoded,  // the encoder refused the picture
    kNotWritten,  // the file could not be written
};

// Why a save failed, for a log line ("the device has no picture yet"); empty for kSaved.
std::string_view FrameSaveFailure(FrameSave result);

// 1 and the encoder's id in `classId` when an installed encoder has exactly `mimeType` (the first in the list
// wins); 0 when none has.
int GetEncoderClsid(std::string_view mimeType, int* classId);

// The JPEG quality of web snapshots.
inline constexpr int kWebSnapshotQuality = 70;

}  // namespace kestrova
