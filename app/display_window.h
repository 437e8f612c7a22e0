#pragma once
// The display window, class BKV2DispalyWndClass: the 480 x 360 child of the main window that shows the live
// pictures, the selected device's alone or the powered devices' in a grid of 4, 9, 16 or 25 tiles, as the
// settings' number of streams says. While the pointer rests on it, buttons over the picture open the selected
// device's fullscreen or popup view and, for an IP camera, pan and tilt it.
//
// It repaints when a device it shows has a new frame (at most once per frame interval, however many devices
// report), and when the main window asks (selection, number of streams, power). User-interface thread only;
// frames are read under each device's frame lock by Device::DrawFrame.

#include <cstdint>

#include "platform/ui/messages.h"

namespace kestrova {

class Device;

inline constexpr wchar_t kDisplayWindowClass[] = L"BKV2DispalyWndClass";

// The overlay buttons' ids.
inline constexpr int kOverlayFullscreenId = 1026;
inline constexpr int kOverlayPopupId = 1027;
inline constexpr int kOverlayPanLeftId = 1028;
inline constexpr int kOverlayPanRightId = 1029;
inline constexpr int kOverlayTiltUpId = 1030;
inline constexpr int kOverlayTiltDownId = 1031;

// The display repaints at most this often for new frames: the pace of the popup and fullscreen views.
inline constexpr uint32_t kDisplayFrameIntervalMs = 40;

BOOL RegisterDisplayWindowClass();
// A visible child at (10, 33), 480 x 360, clipping its children; null when it cannot be made.
HWND CreateDisplayWindow(HWND parent, int id);

class DisplayWindow {
public:
    DisplayWindow(HWND window, const CREATESTRUCTW& create);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // The object of a display window, or null.
    static DisplayWindow* FromHandle(HWND display);

    // Shows the overlay buttons when the selected device is powered (the pan and tilt buttons only for an IP
    // camera), or hides them all; repaints either way.
    void ShowOverlay(bool show);
    // A device reported a new frame: repaints when the device is shown.
    void FrameArrived(const Device* device);

private:
    void OnCreate();
    void OnPaint();
    void OnCommand(int id);
    void OnMouseMove();
    void OnTimer(UINT_PTR id);
    void OnCaptureChanged();
    void EndHover();
    void RequestFrameRepaint();
    bool PointerInside() const;

    HWND window_;
    bool hovering_ = false;         // the pointer is inside and the hover timers run
    bool frameRepaintDue_ = false;  // the repaint timer runs
    uint64_t lastPaintMs_ = 0;
    bool painted_ = false;
};

}  // namespace kestrova
