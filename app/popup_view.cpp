#include "app/popup_view.h"

#include "app/caption_band.h"
#include "app/device_serials.h"
#include "app/image_button.h"
#include "app/own_windows.h"
#include "app/window_object.h"
#include "engine/device.h"
#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/resources.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"
#include "toolkit/choice.h"
#include "toolkit/drawing.h"
#include "toolkit/factories.h"
#include "toolkit/gdi_object.h"
#include "toolkit/window_frame.h"

namespace kestrova {
namespace {

constexpr wchar_t kTitle[] = L"BRANTLOW Kestrova Popup";
constexpr int kIconResource = 101;
constexpr int kFrameSkin = 5377, kCloseSkin = 5462;
constexpr int kCloseFromRight = 52, kCloseWidth = 41, kCloseHeight = 17;
constexpr COLORREF kText = RGB(70, 70, 72);
constexpr COLORREF kCaptionText = RGB(240, 240, 240);  // on the dark caption band
constexpr RECT kCaptionPlace{14, 0, kPopupWidth - 60, 29};
constexpr int kNameCapacity = 256;  // 255 characters and the terminator
constexpr UINT_PTR kRepaintTimer = 100;
constexpr UINT kRepaintMs = 40;  // 25 pictures a second

std::wstring NameOf(Device* device) {
    wchar_t name[kNameCapacity] = {};
    if (device != nullptr) device->GetFriendlyName(name, kNameCapacity - 1);
    return name;
}

void BringForward(HWND window) {
    UpdateWindow(window);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    BringWindowToTop(window);
}

}  // namespace

BOOL RegisterPopupWindowClass() {
    return RegisterObjectWindowClass<PopupWindow>(kPopupWindowClass, kIconResource);
}

PopupWindow::PopupWindow(HWND window, const CREATESTRUCTW& create)
    : window_(window),
      device_(static_cast<Device*>(create.lpCreateParams)),
      serial_(DeviceSerial(device_)),
      name_(NameOf(device_)),
      captionFont_(CreateUiFont(L"Tahoma", 13, 1, 0)) {}

HWND PopupWindow::Find(Device* device) {
    if (device == nullptr) return nullptr;
    const uint64_t serial = DeviceSerial(device);
    for (HWND popup : OwnWindowsOfClass(kPopupWindowClass)) {
        const PopupWindow* object = WindowObject<PopupWindow>(popup);
        if (object != nullptr && object->device_ == device && object->serial_ == serial) return popup;
    }
    return nullptr;
}

int PopupWindow::Show(HWND owner, Device* device) {
    if (HWND existing = Find(device)) {
        BringForward(existing);
        return 0;
    }
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - kPopupWidth / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - kPopupHeight / 2;
    HWND popup = CreateWindowExW(WS_EX_TOPMOST, kPopupWindowClass, kTitle, WS_POPUP | WS_CLIPCHILDREN, x, y,
                                 kPopupWidth, kPopupHeight, owner, 0, nullptr, device);
    if (popup == nullptr) return 0;
    toolkit::RoundWindowCorners(popup, kPopupWidth, kPopupHeight);
    BringForward(popup);
    return 1;
}

LRESULT PopupWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_PAINT:
            toolkit::PaintBuffered(window_,
                                   [this](HDC dc, int width, int height) { Paint(dc, width, height); });
            return 0;
        case WM_TIMER:
            InvalidateRect(window_, nullptr, FALSE);
            return 0;
        case WM_NCHITTEST:
            return CaptionBandHitTest(window_, wParam, lParam);
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
    }
    return DefWindowProcW(window_, msg, wParam, lParam);
}

void PopupWindow::OnCreate() {
    RECT client;
    GetClientRect(window_, &client);
    CreateImageButton(window_, kPopupCloseId, client.right - kCloseFromRight, 1, kCloseWidth, kCloseHeight,
                      kCloseSkin);
    HWND onTop = CreateCheckBox(window_, L"Stay on top", kPopupStayOnTopId, 19, 314);
    SendMessageW(onTop, kChoiceChecked, kPropertySet, 1);
    SetTimer(window_, kRepaintTimer, kRepaintMs, nullptr);
}

void PopupWindow::OnCommand(int id) {
    switch (id) {
        case kPopupCloseId:
            SendMessageW(window_, WM_CLOSE, 0, 0);
            break;
        case kPopupStayOnTopId: {
            const bool onTop =
                SendDlgItemMessageW(window_, kPopupStayOnTopId, kChoiceChecked, kPropertyRead, 0);
            SetWindowPos(window_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        }
    }
}

void PopupWindow::Paint(HDC dc, int width, int height) const {
    toolkit::DrawWindowFrame(dc, kFrameSkin, width, height);
    SetBkMode(dc, TRANSPARENT);
    {
        const toolkit::SelectedObject font(dc, captionFont_.get());
        SetTextColor(dc, kCaptionText);
        RECT caption = kCaptionPlace;
        DrawTextW(dc, name_.c_str(), -1, &caption,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SetTextColor(dc, kText);
    DrawDashedFrame(dc, L"", 19, 49, 332, 252);
    if (IsSameListedDevice(device_, serial_) && device_->GetState(kStatePowered)) {
        device_->NoteShown();
        device_->DrawFrame(dc, kPopupPicture);
    } else {
        const toolkit::OwnedGdiObject grey(CreateSolidBrush(kPopupNoPicture));
        FillRect(dc, &kPopupPicture, HBRUSH(grey.get()));
    }
}

}  // namespace kestrova
