#include "app/windows/alarm_layout.h"

#include "engine/device.h"
#include "platform/ui/windows.h"

namespace kestrova::alarm {
namespace {

constexpr int kLinkGap = 4, kLinkWidth = 509, kLinkHeight = 14;

constexpr ControlSpec kCameraControls[] = {
    {ControlKind::Heading, 1036, L"Actions", 19, 101, 300, 18},
    {ControlKind::Label, 1037, L"Set of actions to be done when movement is detected.", 37, 130, 300, 18},
    {ControlKind::CheckBox, kSaveId, L"Save", 37, 157},
    {ControlKind::CheckBox, kPhotoId, L"Photo", 57, 182},
    {ControlKind::CheckBox, kVideoId, L"Video", 57, 207},
    {ControlKind::CheckBox, kPlaySoundId, L"Play sound", 37, 232},
    {ControlKind::Radio, kSireneId, L"Sirene", 57, 257},
    {ControlKind::Radio, kBeepId, L"Beep", 57, 282},
    {ControlKind::CheckBox, kPreviewId, L"Preview", 37, 307},
    {ControlKind::Radio, kPopupId, L"Popup", 57, 332},
    {ControlKind::Radio, kFullscreenId, L"Fullscreen", 57, 357},
    {ControlKind::CheckBox, kRunId, L"Run", 37, 382},
    {ControlKind::Label, kFileLabelId, L"File:", 57, 407, 300, 18},
    {ControlKind::Link, kFileLinkId, L"None", 57, 407, kLinkWidth, kLinkHeight},
    {ControlKind::CheckBox, kSendEmailId, L"Send an email", 37, 432},
    {ControlKind::Label, kToLabelId, L"To:", 57, 457, 300, 18},
    {ControlKind::Link, kToLinkId, L"None", 57, 457, kLinkWidth, kLinkHeight},
};

constexpr ControlSpec kMicrophoneControls[] = {
    {ControlKind::Heading, 1036, L"Actions", 19, 101, 300, 18},
    {ControlKind::Label, 1037, L"Set of actions to be done when sound is detected.", 37, 130, 300, 18},
    {ControlKind::CheckBox, kSaveId, L"Save", 37, 157},
    {ControlKind::CheckBox, kAudioId, L"Audio", 57, 182},
    {ControlKind::CheckBox, kPlaySoundId, L"Play sound", 37, 207},
    {ControlKind::Radio, kSireneId, L"Sirene", 57, 232},
    {ControlKind::Radio, kBeepId, L"Beep", 57, 257},
    {ControlKind::CheckBox, kRunId, L"Run", 37, 282},
    {ControlKind::Label, kFileLabelId, L"File:", 57, 307, 300, 18},
    {ControlKind::Link, kFileLinkId, L"None", 57, 307, kLinkWidth, kLinkHeight},
};

// A control's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

AlarmLayout LayoutFor(int32_t type) {
    if (type == kDeviceMicrophone) return {SIZE{540, 411}, kMicrophoneControls};
    return {SIZE{540, 561}, kCameraControls};
}

void PlaceLinksAfterLabels(HWND window) {
    for (const auto& [label, link] :
         {std::pair{kFileLabelId, kFileLinkId}, std::pair{kToLabelId, kToLinkId}}) {
        HWND labelWindow = GetDlgItem(window, label), linkWindow = GetDlgItem(window, link);
        if (!labelWindow || !linkWindow) continue;
        const RECT text = PlaceOf(labelWindow), at = PlaceOf(linkWindow);
        SetWindowPos(linkWindow, nullptr, text.right + kLinkGap, at.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace kestrova::alarm
