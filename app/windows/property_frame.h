#pragma once
// The part of every property window's object that is the same in all of them: the window, its result and
// where its Show waits for it, the record it edits, its three fonts, the standard buttons, the frame's
// painting, and the messages every property window answers alike. A window's object holds one and passes it
// what its own procedure leaves.
//
//   closing (WM_CLOSE)    enables the owner, then destroys the window, so the owner takes the activation back
//   WM_DESTROY            enables the owner again (also when the window goes with its owner) and hands the
//                         result to the Show that waits for it

#include <cstdint>
#include <functional>

#include "app/windows/property_window.h"
#include "platform/ui/messages.h"
#include "platform/ui/types.h"
#include "toolkit/gdi_object.h"

namespace kestrova {

// How a property window is made: the record, the owner Show disabled (null when it was disabled already,
// so that it stays so), and where the window leaves its result as it goes.
struct PropertyWindowCreation {
    void* record = nullptr;
    HWND ownerToEnable = nullptr;
    int* result = nullptr;
};

// The standard buttons a window has (every one but About has all four).
enum class FrameButtons { CloseOkCancelDefault, CloseAndOk };

// Whether the fonts are drawn with proof quality (the About window) or plain.
enum class FontQuality { Plain, Proof };

class PropertyFrame {
public:
    PropertyFrame(HWND window, const CREATESTRUCTW& create, FontQuality quality = FontQuality::Plain);
    PropertyFrame(const PropertyFrame&) = delete;
    PropertyFrame& operator=(const PropertyFrame&) = delete;

    HWND Window() const { return window_; }
    // The record given to Show, or null.
    template <class Record>
    Record* RecordAs() const {
        return static_cast<Record*>(record_);
    }
    void SetResult(int result) { result_ = result; }

    HFONT NormalFont() const { return HFONT(normalFont_.get()); }
    HFONT BoldFont() const { return HFONT(boldFont_.get()); }
    HFONT HeadingFont() const { return HFONT(headingFont_.get()); }

    // Makes the close button and, along the bottom, OK and Cancel on the right and Default on the left.
    void CreateButtons(FrameButtons buttons);
    // Closes the window as its close button does.
    void Close() const;
    // For commands: the close button (1026) and Cancel (1028), where the window has it, close with the
    // result as it is; true for them.
    bool HandleCloseCommand(int id) const;
    // Shows a message about this window's input over it (the skinned message box, OK only) and waits for it.
    void ShowMessage(const wchar_t* text, int icon) const;

    // For WM_PAINT: the frame with `caption`, then `extra` on top, into one off-screen picture.
    using ExtraPainting = std::function<void(HDC dc, int width, int height)>;
    void Paint(const wchar_t* caption, const ExtraPainting& extra = nullptr) const;
    // WM_NCHITTEST, WM_CLOSE and WM_DESTROY; everything else goes to the default processing.
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void EnableOwner();

    HWND window_;
    FrameButtons buttons_ = FrameButtons::CloseAndOk;
    int32_t result_ = kPropertyCancelled;
    toolkit::OwnedGdiObject normalFont_;
    toolkit::OwnedGdiObject boldFont_;
    toolkit::OwnedGdiObject headingFont_;
    void* record_ = nullptr;
    HWND ownerToEnable_ = nullptr;
    int* resultOut_ = nullptr;
};

// The messages every property window's WndProc sends alike: WM_CREATE to `OnCreate`, WM_PAINT to `OnPaint`,
// the close and Cancel buttons to the frame and any other command to `OnCommand` with the control's id,
// and the rest to the frame.
template <class Window>
LRESULT DispatchPropertyMessage(Window& window, PropertyFrame& frame, UINT msg, WPARAM wParam,
                                LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            window.OnCreate();
            return 0;
        case WM_PAINT:
            window.OnPaint();
            return 0;
        case WM_COMMAND:
            if (!frame.HandleCloseCommand(LOWORD(wParam))) window.OnCommand(LOWORD(wParam));
            return 0;
    }
    return frame.HandleMessage(msg, wParam, lParam);
}

}  // namespace kestrova
