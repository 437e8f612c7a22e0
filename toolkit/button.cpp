#include "toolkit/button.h"

#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"
#include "toolkit/button_object.h"
#include "toolkit/control_window.h"
#include "toolkit/drawing.h"
#include "toolkit/notify.h"
#include "toolkit/spin_step.h"

namespace kestrova {

HWND CreateButtonEx(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height) {
    return toolkit::CreateControl(toolkit::kButtonExClass, parent, text, id, x, y, width, height);
}

namespace toolkit {

const ControlClass kButtonExClass{L"WButtonEx_0000", IDC_ARROW, ControlWindowProc<WButtonEx>};

WButtonEx::WButtonEx(HWND window, const CREATESTRUCTW&)
    : window_(window), font_(CreateUiFont(L"Tahoma", 13, 0, 0)) {
    GetClientRect(window, &hit_);
}

LRESULT WButtonEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ENABLE:
            OnEnable(wParam != 0);
            return 0;
        case WM_PAINT:
            PaintBuffered(window_, [this](HDC dc, int width, int height) { Paint(dc, width, height); });
            return 0;
        case WM_TIMER:
            OnTimer(UINT_PTR(wParam));
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove();
            return 1;
        case WM_LBUTTONDOWN:
            OnLButtonDown();
            return 0;
        case WM_LBUTTONUP:
            OnLButtonUp();
            return 0;
        case WM_CAPTURECHANGED:
            OnCaptureChanged();
            return 0;
    }
    if (msg >= kButtonKind && msg <= kButtonRange) return OnProperty(msg, wParam, lParam);
    return DefWindowProcW(window_, msg, wParam, lParam);
}

LRESULT WButtonEx::OnProperty(UINT msg, WPARAM wParam, LPARAM lParam) {
    const PropertyMessage property(window_, wParam, lParam);
    switch (msg) {
        case kButtonKind:
            return property.Apply(kind_);
        case kButtonBackgroundMode:
            return property.Apply(backgroundMode_);
        case kButtonBackgroundBitmap:
            return property.Apply(backgroundBitmap_);
        case kButtonIcon1:
            return property.Apply(icon1_);
        case kButtonIcon2:
            return property.Apply(icon2_);
        case kButtonIcon1Position:
            return property.Apply(icon1Position_);
        case kButtonIcon2Position:
            return property.Apply(icon2Position_);
        case kButtonHitInset:
            if (property.Sets()) {
                hitInset_ = int32_t(lParam);
                RECT client;
                GetClientRect(window_, &client);
                hit_ = RECT{hitInset_, hitInset_, client.right - hitInset_, client.bottom - hitInset_};
                property.RepaintIfAsked();
            }
            return hitInset_;
        case kButtonTextX:
            return property.Apply(textX_);
        case kButtonChecked:
            return property.Apply(checked_);
        case kButtonToggleOnClick:
            return property.Apply(toggleOnClick_);
        case kButtonValue:
            return property.Apply(value_);
        case kButtonRange:
            return property.Apply(range_);
    }
    return 0;
}

bool WButtonEx::CursorInside(int* y) const {
    const CursorPlace cursor = CursorOn(window_);
    if (y) *y = cursor.client.y;
    return cursor.overControl && cursor.client.x >= hit_.left && cursor.client.x < hit_.right &&
           cursor.client.y >= hit_.top && cursor.client.y < hit_.bottom;
}

bool WButtonEx::SendCommandAndSurvive() {
    const HWND window = window_;
    SendCommand(window);
    return IsWindow(window);
}

bool WButtonEx::ReleaseCaptureAndSurvive() {
    const HWND window = window_;
    ReleaseCapture();
    return IsWindow(window);
}

void WButtonEx::SetPressed(bool pressed) {
    pressed_ = pressed;
    InvalidateRect(window_, nullptr, FALSE);
}

void WButtonEx::OnEnable(bool enabled) {
    if (!enabled) {
        // A press in progress is dropped before the disabled face shows.
        if (capturing_ && !ReleaseCaptureAndSurvive()) return;
        pressed_ = false;
    }
    RepaintForEnable(window_, enabled, [this](HDC dc, int width, int height) { Paint(dc, width, height); });
}

void WButtonEx::OnMouseMove() {
    if (!hover_.IsOn() && hover_.Enter(window_, CursorInside()))
        SetTimer(window_, kRestTimer, kRestMs, nullptr);
}

void WButtonEx::OnTimer(UINT_PTR id) {
    switch (id) {
        case kHoverTimer:
            if (hover_.Poll(window_, CursorInside())) {
                KillTimer(window_, kRestTimer);
                SendNotify(window_, kButtonCursorLeft);
            }
            return;
        case kPressTimer:
            if (const bool inside = CursorInside(); inside != pressed_) SetPressed(inside);
            return;
        case kRepeatTimer:
            OnRepeat();
            return;
        case kRestTimer:
            if (CursorInside()) {
                KillTimer(window_, kRestTimer);
                SendNotify(window_, kButtonCursorRested);
            }
            return;
    }
}

void WButtonEx::OnLButtonDown() {
    if (!CursorInside()) return;
    if (kind_ == kLatchButton) {
        SetPressed(!pressed_);
        if (pressed_ && IsWindowEnabled(window_) && !SendCommandAndSurvive()) return;
        // Latched, it keeps the mouse until it is clicked again or loses the capture.
        if (pressed_) {
            SetCapture(window_);
            capturing_ = true;
        } else {
            if (!ReleaseCaptureAndSurvive()) return;
            capturing_ = false;
        }
    } else {
        SetPressed(true);
        SetCapture(window_);
        capturing_ = true;
        if (kind_ == kSpinButton) {
            firstRepeatPending_ = true;
            SetTimer(window_, kRepeatTimer, kFirstRepeatMs, nullptr);
        } else {
            SetTimer(window_, kPressTimer, kPressPollMs, nullptr);
        }
    }
    SetFocus(window_);
}

void WButtonEx::OnLButtonUp() {
    if (kind_ == kLatchButton) return;
    int y = 0;
    const bool inside = CursorInside(&y) || kind_ == kSpinButton;
    const bool wasPressed = pressed_;
    SetPressed(false);
    // Releasing the capture tells the parent at once (WM_NOTIFY code 1), before the click's WM_COMMAND.
    if (!ReleaseCaptureAndSurvive()) return;
    capturing_ = false;
    KillTimer(window_, kind_ == kSpinButton ? kRepeatTimer : kPressTimer);
    if (IsWindowEnabled(window_) && inside && wasPressed) Click(y);
}

void WButtonEx::Click(int cursorY) {
    switch (kind_) {
        case kCheckButton:
            if (toggleOnClick_) checked_ = !checked_;
            break;
        case kCycleButton:
            value_ = value_ >= Maximum() ? Minimum() : value_ + 1;  // past the maximum, back to the minimum
            break;
        case kSpinButton:
            // A press that already repeated has stepped; a short one steps once now.
            if (firstRepeatPending_) {
                RECT client;
                GetClientRect(window_, &client);
                value_ = SpinClick(value_, Minimum(), Maximum(), cursorY, client.bottom);
            }
            break;
    }
    SendCommand(window_);
}

void WButtonEx::OnRepeat() {
    if (firstRepeatPending_) {
        firstRepeatPending_ = false;
        SetTimer(window_, kRepeatTimer, kRepeatMs, nullptr);
    }
    RECT client;
    GetClientRect(window_, &client);
    value_ = SpinRepeat(value_, Minimum(), Maximum(), CursorOn(window_).client.y, hitInset_, client.bottom);
    SendCommand(window_);
}

void WButtonEx::OnCaptureChanged() {
    // Every timer goes, the rest timer too: left running, it would report a rest after a quick click.
    for (UINT_PTR id : {kPressTimer, kRepeatTimer, kRestTimer}) KillTimer(window_, id);
    hover_.End(window_);
    capturing_ = false;
    pressed_ = false;
    SendNotify(window_, kButtonCursorLeft);
}

}  // namespace toolkit
}  // namespace kestrova
