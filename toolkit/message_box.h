#pragma once
// The program's own message box, window class BKV2MessageExWndClass: a borderless popup with rounded
// corners on the frame skin, a 48 x 48 icon, the message wrapped to a comfortable width, one to three
// toolkit buttons and, when asked, a "Don't show again" check box. Every failure, question and hint the
// program's windows show goes through it. The top band of the box drags it.
//
// A modal box disables its owner and runs a message loop of its own, which goes on dispatching every message
// of the thread (the owner's timers and notifications go on; only its input is blocked), until the box is
// answered or closed. A WM_QUIT that comes up meanwhile belongs to an outer loop: the box closes (result 1)
// and the quit is posted again for that loop.

#include <cstdint>

#include "platform/ui/types.h"

namespace kestrova {

// Styles: the buttons, and the check box bit.
inline constexpr int kMessageOkStyle = 0;           // OK
inline constexpr int kMessageYesNoStyle = 1;        // Yes, No
inline constexpr int kMessageYesNoCancelStyle = 2;  // Yes, No, Cancel
inline constexpr int kMessageDontShowAgain = 4;     // adds the "Don't show again" check box

// Icons, pictures of the icon skin.
enum MessageIcon : int32_t {
    kMessageInformation = 0,  // information and hints
    kMessageQuestion = 1,     // every question
    kMessageWarning = 2,      // a device that is already in the list
    kMessageError = 3,        // errors; the box sounds the error beep
    kMessageDenied = 4,       // access to the registry denied
};

// Results: the button, plus kMessageTicked when the "Don't show again" box was ticked. Closing the box any
// other way gives kMessageOk.
inline constexpr int kMessageOk = 1;
inline constexpr int kMessageCancel = 2;
inline constexpr int kMessageYes = 3;
inline constexpr int kMessageNo = 4;
inline constexpr int kMessageTicked = 256;

// The controls' ids.
inline constexpr int kMessageOkId = 1026;
inline constexpr int kMessageCancelId = 1027;
inline constexpr int kMessageYesId = 1028;
inline constexpr int kMessageNoId = 1029;
inline constexpr int kMessageDontShowAgainId = 1030;

// The skins: the frame (320 x 47, the same pieces as the property windows' frame) and the five icons
// (240 x 48, 48 x 48 each, side by side in MessageIcon order).
inline constexpr int kMessageFrameSkin = 5460;
inline constexpr int kMessageIconSkin = 5461;

inline constexpr int kMessageCaptionCapacity = 101;  // characters of a caption and its terminator

// How a box is made: its style, icon, whether it is modal, and its buttons' captions (empty for "OK",
// "Cancel", "Yes" and "No").
struct MessageExParams {
    int32_t style = kMessageOkStyle;
    int32_t icon = kMessageInformation;
    int32_t modal = 1;
    wchar_t okCaption[kMessageCaptionCapacity] = {};
    wchar_t cancelCaption[kMessageCaptionCapacity] = {};
    wchar_t yesCaption[kMessageCaptionCapacity] = {};
    wchar_t noCaption[kMessageCaptionCapacity] = {};
};

// Registers BKV2MessageExWndClass; the start-up calls it once. 0 when that fails.
BOOL RegisterMessageExWindowClass();

// Shows `text` (at most 999 characters; the word "<nl>" or a line feed breaks a line). Modal, the box is
// owned by `parent`, centred on it, and returns the result when it is answered or closed. Non-modal, which
// only style kMessageOkStyle can be, it has no owner, is centred on the screen and returns 1 at once (0 for
// any other style). 0 when the box could not be made.
int ShowMessageEx(HWND parent, const wchar_t* text, int style, int icon, int modal);
// The same with the style, icon, modal flag and captions of `params`; 0 for null params.
int ShowMessageExCustom(HWND parent, const wchar_t* text, const MessageExParams* params);

}  // namespace kestrova
