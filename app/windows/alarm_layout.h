#pragma once
// The alarm actions window's two layouts, a camera's and a microphone's, and the ids of their controls.

#include <span>

#include "app/windows/control_table.h"
#include "platform/ui/types.h"

namespace kestrova::alarm {

inline constexpr int kSaveId = 1040, kPhotoId = 1041, kVideoId = 1042, kAudioId = 1043;
inline constexpr int kPlaySoundId = 1044, kBeepId = 1045, kSireneId = 1046;
inline constexpr int kPreviewId = 1047, kPopupId = 1048, kFullscreenId = 1049;
inline constexpr int kRunId = 1050, kFileLinkId = 1051, kSendEmailId = 1052, kToLinkId = 1053;
inline constexpr int kFileLabelId = 1038, kToLabelId = 1039;

inline constexpr RadioChoice kSounds[] = {{kBeepId, 0}, {kSireneId, 1}};
inline constexpr RadioChoice kPreviewKinds[] = {{kPopupId, 0}, {kFullscreenId, 1}};

struct AlarmLayout {
    SIZE size;
    std::span<const ControlSpec> controls;
};

// The layout for a device of `type`; a microphone's for kDeviceMicrophone, a camera's for anything else.
AlarmLayout LayoutFor(int32_t type);

// Moves each link to stand 4 pixels after the end of its label's text (labels fit themselves to it).
void PlaceLinksAfterLabels(HWND window);

}  // namespace kestrova::alarm
