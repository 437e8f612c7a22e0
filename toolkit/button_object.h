#pragma once
// The object behind each WButtonEx_0000 window (button.h) and the helpers its procedure (button.cpp) and its
// painting (button_paint.cpp) share.
//
// Its press follows one path: idle; hovered, with the hover timer polling; pressed with the mouse captured,
// with timer 101 following the cursor (or, for the spin kind, timer 102 repeating); back to idle when the
// button is released or the capture is lost. A latch button goes from released to latched, holding the
// capture, and back at each click inside it.
//
// The parent may destroy the button while it handles a notification, and releasing the capture notifies it:
// where the button still has work after such a call, it goes on only when its window still exists.

#include "toolkit/button.h"
#include "toolkit/gdi_object.h"
#include "toolkit/hover.h"

namespace kestrova::toolkit {

inline constexpr UINT_PTR kPressTimer = 101;   // 10 ms: a push, check or cycle press follows the cursor
inline constexpr UINT_PTR kRepeatTimer = 102;  // a held spin button: first after 399 ms, then every 77 ms
inline constexpr UINT_PTR kRestTimer = 103;    // 191 ms after the hover began: the cursor rests there
inline constexpr UINT kPressPollMs = 10;
inline constexpr UINT kFirstRepeatMs = 399;
inline constexpr UINT kRepeatMs = 77;
inline constexpr UINT kRestMs = 191;

class WButtonEx {
public:
    WButtonEx(HWND window, const CREATESTRUCTW& create);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    LRESULT OnProperty(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnEnable(bool enabled);
    void OnTimer(UINT_PTR id);
    void OnMouseMove();
    void OnLButtonDown();
    void OnLButtonUp();
    void OnCaptureChanged();
    void OnRepeat();
    void Click(int cursorY);
    int Minimum() const { return range_.first; }
    int Maximum() const { return range_.second; }

    // Whether the cursor is over the button and inside its hit rectangle; `y` gets its client y.
    bool CursorInside(int* y = nullptr) const;
    void SetPressed(bool pressed);
    // False when the button was destroyed meanwhile (and this object with it).
    bool SendCommandAndSurvive();
    bool ReleaseCaptureAndSurvive();
    // Paints the whole button into `dc` (button_paint.cpp).
    void Paint(HDC dc, int width, int height) const;
    void PaintBackground(HDC dc, int width, int height, int state) const;
    void PaintIcons(HDC dc, int width, int state) const;
    void PaintText(HDC dc, int width, int height, int state) const;

    HWND window_;
    int32_t kind_ = kPushButton;
    int32_t backgroundMode_ = kNineSliceBackground;
    int32_t backgroundBitmap_ = 0;
    int32_t icon1_ = 0;
    int32_t icon2_ = 0;
    OwnedGdiObject font_;
    WordPair icon1Position_;
    WordPair icon2Position_;
    int32_t textX_ = -1;
    int32_t hitInset_ = 2;
    RECT hit_;        // left, top, right, bottom: the whole client area until the inset is set
    WordPair range_;  // minimum, maximum
    int32_t value_ = 0;
    int32_t checked_ = 0;
    int32_t toggleOnClick_ = 1;
    Hover hover_;
    bool pressed_ = false;
    bool capturing_ = false;
    bool firstRepeatPending_ = false;
};

}  // namespace kestrova::toolkit
