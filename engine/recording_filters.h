#pragma once
// The two filters that recording graphs rest on: the frame source of video recordings and the WAV writer
// of audio recordings.

namespace kestrova {

// 1 when one of each filter can be created (each is made and let go at once), else 0; the frame source is
// tried first and a failure there skips the WAV writer.
int CheckRecordingFilters();

}  // namespace kestrova
