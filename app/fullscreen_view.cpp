#include "app/fullscreen_view.h"

#include <algorithm>
#include <cmath>

#include "app/device_serials.h"
#include "app/window_object.h"
#include "engine/device.h"
#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"

namespace kestrova {
namespace {

constexpr UINT_PTR kRepaintTimer = 100;
constexpr UINT kRepaintMs = 40;  // 25 pictures a second
constexpr double kPictureAspect = 1.33333;

}  // namespace

BOOL RegisterFullscreenWindowClass() {
    return RegisterObjectWindowClass<FullscreenWindow>(kFullscreenWindowClass);
}

int ShowFullscreenWindow(HWND owner, Device* device) {
    HWND view = CreateWindowExW(WS_EX_TOPMOST, kFullscreenWindowClass, L"", WS_POPUP, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), owner, 0,
                                nullptr, device);
    if (view == nullptr) return 0;
    UpdateWindow(view);
    ShowWindow(view, SW_SHOW);
    SetForegroundWindow(view);
    BringWindowToTop(view);
    return 1;
}

RECT FullscreenPicture(int width, int height) {
    const int pictureWidth = std::min(width, int(std::ceil(height * kPictureAspect)));
    const int left = (width - pictureWidth) / 2;
    return RECT{left, 0, left + pictureWidth, height};
}

FullscreenWindow::FullscreenWindow(HWND window, const CREATESTRUCTW& create)
    : window_(window), device_(static_cast<Device*>(create.lpCreateParams)), serial_(DeviceSerial(device_)) {}

LRESULT FullscreenWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            SetTimer(window_, kRepaintTimer, kRepaintMs, nullptr);
            return 0;
        case WM_TIMER:
            InvalidateRect(window_, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_KILLFOCUS:
            DestroyWindow(window_);
            return 0;
        case WM_PAINT:
            toolkit::PaintBuffered(window_,
                                   [this](HDC dc, int width, int height) { Paint(dc, width, height); });
            return 0;
        case WM_COMMAND:
            return 0;
    }
    return DefWindowProcW(window_, msg, wParam, lParam);
}

void FullscreenWindow::Paint(HDC dc, int width, int height) const {
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, HBRUSH(GetStockObject(BLACK_BRUSH)));
    if (IsSameListedDevice(device_, serial_) && device_->GetState(kStatePowered)) {
        device_->NoteShown();
        device_->DrawFrame(dc, FullscreenPicture(width, height));
    }
}

}  // namespace kestrova
