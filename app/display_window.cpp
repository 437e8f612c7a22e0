#include "app/display_window.h"

#include "app/display_paint.h"
#include "app/display_tiles.h"
#include "app/fullscreen_view.h"
#include "app/image_button.h"
#include "app/popup_view.h"
#include "app/program_globals.h"
#include "app/window_object.h"
#include "engine/device.h"
#include "engine/device_list.h"
#include "platform/base/clock.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"

namespace kestrova {
namespace {

constexpr int kLeft = 10, kTop = 33;

// Hover tracking: the pointer is looked for every 10 ms; the overlay shows once it has rested 191 ms.
constexpr UINT_PTR kLeaveTimer = 100, kRestTimer = 101;
constexpr UINT kLeaveCheckMs = 10, kRestMs = 191;
// The frame repaint that waits for the display's next turn.
constexpr UINT_PTR kFrameRepaintTimer = 102;

// Pan and tilt presses move the camera for half a second.
constexpr int kMoveStart = 1, kMoveMs = 500;

struct OverlayButton {
    int id;
    int x, y, width, height;
    int bitmap;
};

constexpr OverlayButton kOverlay[] = {
    {kOverlayFullscreenId, 191, 151, 47, 59, 5669}, {kOverlayPopupId, 242, 151, 47, 59, 5670},
    {kOverlayPanLeftId, 5, 151, 24, 59, 5671},      {kOverlayPanRightId, 451, 151, 24, 59, 5672},
    {kOverlayTiltUpId, 210, 5, 59, 24, 5673},       {kOverlayTiltDownId, 210, 331, 59, 24, 5680},
};

bool Powered(Device* device) {
    return device->GetState(kStatePowered) != 0;
}

bool IsIpCamera(Device* device) {
    return device->GetType() == kDeviceIpCamera;
}

}  // namespace

BOOL RegisterDisplayWindowClass() {
    return RegisterObjectWindowClass<DisplayWindow>(kDisplayWindowClass);
}

HWND CreateDisplayWindow(HWND parent, int id) {
    return CreateWindowExW(0, kDisplayWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, kLeft, kTop,
                           kDisplayWidth, kDisplayHeight, parent, uintptr_t(id), nullptr, nullptr);
}

DisplayWindow::DisplayWindow(HWND window, const CREATESTRUCTW&) : window_(window) {}

DisplayWindow* DisplayWindow::FromHandle(HWND display) {
    return WindowObjectOfClass<DisplayWindow>(display, kDisplayWindowClass);
}

LRESULT DisplayWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove();
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_CAPTURECHANGED:
            OnCaptureChanged();
            return 0;
    }
    return DefWindowProcW(window_, msg, wParam, lParam);
}

void DisplayWindow::OnCreate() {
    for (const OverlayButton& b : kOverlay) {
        ShowWindow(CreateImageButton(window_, b.id, b.x, b.y, b.width, b.height, b.bitmap), SW_HIDE);
    }
}

void DisplayWindow::OnPaint() {
    painted_ = true;
    lastPaintMs_ = GetClock().Milliseconds();
    DeviceList* list = GetGlobalDeviceList();
    Device* head = list ? list->GetHead() : nullptr;
    Device* selected = list ? list->GetSelected() : nullptr;
    toolkit::PaintBuffered(window_,
                           [&](HDC dc, int, int) { PaintDisplay(dc, head, selected, StreamsPerDisplay()); });
}

void DisplayWindow::OnCommand(int id) {
    Device* selected = GetSelectedDevice();
    if (selected == nullptr) return;
    switch (id) {
        case kOverlayFullscreenId:
            ShowFullscreenWindow(window_, selected);
            break;
        case kOverlayPopupId:
            PopupWindow::Show(nullptr, selected);
            break;
        case kOverlayPanLeftId:
            selected->PanLeft(kMoveStart, kMoveMs);
            break;
        case kOverlayPanRightId:
            selected->PanRight(kMoveStart, kMoveMs);
            break;
        case kOverlayTiltUpId:
            selected->TiltUp(kMoveStart, kMoveMs);
            break;
        case kOverlayTiltDownId:
            selected->TiltDown(kMoveStart, kMoveMs);
            break;
    }
}

void DisplayWindow::ShowOverlay(bool show) {
    Device* selected = GetSelectedDevice();
    if (show && (selected == nullptr || !Powered(selected))) return;
    for (const OverlayButton& b : kOverlay) {
        const bool moves = b.id != kOverlayFullscreenId && b.id != kOverlayPopupId;
        // Hiding takes every button down, whatever is selected now: the selection may have changed since
        // the pan and tilt buttons were shown.
        const bool wanted = show && (!moves || IsIpCamera(selected));
        ShowWindow(GetDlgItem(window_, b.id), wanted ? SW_SHOWNA : SW_HIDE);
    }
    InvalidateRect(window_, nullptr, FALSE);
}

void DisplayWindow::OnMouseMove() {
    if (hovering_ || !PointerInside()) return;
    hovering_ = true;
    SetTimer(window_, kLeaveTimer, kLeaveCheckMs, nullptr);
    SetTimer(window_, kRestTimer, kRestMs, nullptr);
}

void DisplayWindow::OnTimer(UINT_PTR id) {
    switch (id) {
        case kLeaveTimer:
            if (!PointerInside()) EndHover();
            break;
        case kRestTimer:
            if (PointerInside()) {
                ShowOverlay(true);
                KillTimer(window_, kRestTimer);
            }
            break;
        case kFrameRepaintTimer:
            KillTimer(window_, kFrameRepaintTimer);
            frameRepaintDue_ = false;
            InvalidateRect(window_, nullptr, FALSE);
            break;
    }
}

void DisplayWindow::OnCaptureChanged() {
    EndHover();
}

// The pointer left: no more hover timers, no overlay. The rest timer goes too, so that it does not show the
// overlay when the pointer comes back before the next mouse move starts a new rest.
void DisplayWindow::EndHover() {
    hovering_ = false;
    KillTimer(window_, kLeaveTimer);
    KillTimer(window_, kRestTimer);
    ShowOverlay(false);
}

bool DisplayWindow::PointerInside() const {
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(window_, &at);
    RECT client;
    GetClientRect(window_, &client);
    return at.x >= client.left && at.x < client.right && at.y >= client.top && at.y < client.bottom;
}

void DisplayWindow::FrameArrived(const Device* device) {
    DeviceList* list = GetGlobalDeviceList();
    if (device == nullptr || list == nullptr) return;
    for (const ShownDevice& shown : ShownDevices(list->GetHead(), list->GetSelected(), StreamsPerDisplay())) {
        if (shown.device == device) {
            // Its next frames decode on its capture thread, not when painted here.
            shown.device->NoteShown();
            RequestFrameRepaint();
            return;
        }
    }
}

// Devices report frames at their own rates, up to 25 of them: the display paints at most once per frame
// interval and draws every tile's newest frame then.
void DisplayWindow::RequestFrameRepaint() {
    if (frameRepaintDue_) return;
    const uint64_t now = GetClock().Milliseconds();
    const uint64_t nextTurn = lastPaintMs_ + kDisplayFrameIntervalMs;
    if (!painted_ || now >= nextTurn) {
        InvalidateRect(window_, nullptr, FALSE);
        return;
    }
    frameRepaintDue_ = true;
    SetTimer(window_, kFrameRepaintTimer, UINT(nextTurn - now), nullptr);
}

}  // namespace kestrova
