// The main window's device list box (its procedure and its items' painting) and the selection that the
// list box, the device list and the state controls share.
#include "app/device_serials.h"
#include "app/main_window.h"
#include "app/main_window_controls.h"
#include "engine/device.h"
#include "platform/ui/gdi.h"
#include "platform/ui/listbox.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/button.h"
#include "toolkit/gdi_object.h"
#include "toolkit/skin.h"
#include "toolkit/slider.h"

namespace kestrova {
namespace {

constexpr int kItemHeight = 33;
constexpr int kSelectedSkin = 5653;  // 5 x 33: two left columns, the middle column, two right columns
constexpr COLORREF kSelectedEdge = RGB(97, 130, 184);
constexpr int kSelectedEdgeWidth = 3;
constexpr COLORREF kItemText = RGB(81, 81, 81);
constexpr int kIconX = 10, kIconY = 12, kIconWidth = 15, kIconHeight = 10;
constexpr int kTextLeft = 44, kTextRightMargin = 3;

void PaintSelectedBackground(HDC dc, int width) {
    const toolkit::Skin skin(dc, kSelectedSkin);
    skin.CopyTo(dc, 0, 0, 2, kItemHeight, 0, 0);
    for (int x = 2; x < width - 2; ++x) skin.CopyTo(dc, x, 0, 1, kItemHeight, 2, 0);
    skin.CopyTo(dc, width - 2, 0, 2, kItemHeight, 3, 0);
    const toolkit::OwnedGdiObject edge(CreateSolidBrush(kSelectedEdge));
    const RECT edgeRect{0, 0, kSelectedEdgeWidth, kItemHeight};
    FillRect(dc, &edgeRect, HBRUSH(edge.get()));
}

void SetSliderValue(HWND window, int id, int value) {
    SendDlgItemMessageW(window, id, kSliderValue, kPropertySetAndRepaint, value);
}

}  // namespace

LRESULT MainWindow::DeviceListBox(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    const MainWindow* self = FromHandle(GetParent(list));
    if (self == nullptr || self->previousListProc_ == nullptr)
        return DefWindowProcW(list, msg, wParam, lParam);
    switch (msg) {
        case WM_PAINT:
            // An empty list shows its background alone.
            if (SendMessageW(list, LB_GETCOUNT, 0, 0) == 0) return DefWindowProcW(list, msg, wParam, lParam);
            break;
        case WM_KEYDOWN:  // the list is worked with the mouse only
            return 0;
        case WM_LBUTTONDBLCLK:
            // Wherever it lands, an item or the empty part of the list, a double click opens the devices.
            SendMessageW(self->window_, WM_COMMAND, MAKEWPARAM(kDeviceListBoxId, LBN_DBLCLK),
                         reinterpret_cast<LPARAM>(list));
            return 0;
    }
    return CallWindowProcW(self->previousListProc_, list, msg, wParam, lParam);
}

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == UINT(-1) || !(item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) return;
    const int width = item.rcItem.right;
    HDC strip = CreateCompatibleDC(item.hDC);
    {
        const toolkit::OwnedGdiObject bitmap(CreateCompatibleBitmap(item.hDC, width, kItemHeight));
        const toolkit::SelectedObject selectedBitmap(strip, bitmap.get());
        if (item.itemState & ODS_SELECTED) {
            PaintSelectedBackground(strip, width);
        } else {
            const RECT all{0, 0, width, kItemHeight};
            FillRect(strip, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
        }
        const toolkit::Skin icon(strip, int(item.itemData));
        icon.CopyTo(strip, kIconX, kIconY, kIconWidth, kIconHeight, 0, 0);

        wchar_t name[kNameCapacity] = {};
        if (SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0) < kNameCapacity)
            SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(name));
        const toolkit::SelectedObject font(strip, font_.get());
        SetBkMode(strip, TRANSPARENT);
        SetTextColor(strip, kItemText);
        RECT text{kTextLeft, 0, width - kTextRightMargin, kItemHeight};
        DrawTextW(strip, name, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        BitBlt(item.hDC, 0, item.rcItem.top, width, kItemHeight, strip, 0, 0, SRCCOPY);
    }
    DeleteDC(strip);
}

void MainWindow::RefreshDeviceList() {
    DeleteMarkedDevices(nullptr);
    ShowDeviceList(devices_.GetSelected());  // none when the selected device went
}

// Devices marked deleted (by the devices window, or lost by their capture graph) go now. A published
// device that goes takes its pages with it: the server restarts without it.
void MainWindow::DeleteMarkedDevices(const Device* only) {
    bool wasPublished = false;
    Device* previous = nullptr;
    for (Device* device = devices_.GetHead(); device != nullptr;) {
        Device* next = device->GetNext();
        if (!device->GetDeletedMark() || (only != nullptr && device != only)) {
            previous = device;
        } else {
            if (previous != nullptr) {
                previous->SetNext(next);
            } else {
                devices_.SetHead(next);
            }
            if (device == devices_.GetSelected()) devices_.SetSelected(nullptr);
            if (device->GetState(kStatePowered)) device->Stop();
            if (device->GetState(kStateScheduleRunning)) device->StopSchedule();
            wasPublished = wasPublished || device->GetWebIndex() != 0;
            ForgetDeviceSerial(device);
            delete device;
        }
        device = next;
    }
    if (wasPublished) RestartStreamingServer();
}

// Fills the list box anew and selects the remembered device's item, or the first.
void MainWindow::ShowDeviceList(Device* remembered) {
    HWND list = GetDlgItem(window_, kDeviceListBoxId);
    devices_.SetSelected(nullptr);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    listed_.clear();
    InvalidateRect(list, nullptr, TRUE);
    FillListBox();
    if (!listed_.empty()) {
        const int item = remembered != nullptr ? ItemOf(remembered) : -1;
        SendMessageW(list, LB_SETCURSEL, WPARAM(item >= 0 ? item : 0), 0);
        SelectDevice();
    } else {
        InvalidateRect(displayWindow_, nullptr, FALSE);
        ShowNoDevice();
    }
    SetFocus(list);
}

// Cameras first, then microphones, each in list order (newest first).
void MainWindow::FillListBox() {
    HWND list = GetDlgItem(window_, kDeviceListBoxId);
    for (const bool microphones : {false, true}) {
        for (Device* device = devices_.GetHead(); device != nullptr; device = device->GetNext()) {
            if (IsMicrophone(device) != microphones) continue;
            const std::wstring name = NameOf(device);
            const LRESULT item = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
            if (item < 0) continue;
            SendMessageW(list, LB_SETITEMDATA, WPARAM(item), ListIcon(device));
            listed_.push_back(device);
        }
    }
}

void MainWindow::SelectDevice() {
    const LRESULT item = SendDlgItemMessageW(window_, kDeviceListBoxId, LB_GETCURSEL, 0, 0);
    if (item < 0 || size_t(item) >= listed_.size()) return;
    Device* device = listed_[size_t(item)];
    if (devices_.Contains(device)) devices_.SetSelected(device);
    InvalidateRect(displayWindow_, nullptr, FALSE);
    if (devices_.GetSelected() == device) ShowStateOf(device);
}

int MainWindow::ItemOf(const Device* device) const {
    for (size_t i = 0; i < listed_.size(); ++i)
        if (listed_[i] == device) return int(i);
    return -1;
}

void MainWindow::SetItemIcon(int item, int icon) {
    HWND list = GetDlgItem(window_, kDeviceListBoxId);
    SendMessageW(list, LB_SETITEMDATA, WPARAM(item), icon);
    InvalidateRect(list, nullptr, FALSE);
}

void MainWindow::ShowStateOf(Device* device) {
    SetLevelMark(window_, 0);
    SetSliderValue(window_, kToleranceSliderId, device->GetTolerance());
    SetSliderValue(window_, kSensitivitySliderId, device->GetSensitivity());
    for (const int32_t bit : kStateButtonBits) SetStateButton(window_, bit, device->GetState(bit) != 0);
}

void MainWindow::ShowNoDevice() {
    for (const int32_t bit : kStateButtonBits) SetStateButton(window_, bit, false);
    SetLevelMark(window_, 0);
    SetSliderValue(window_, kToleranceSliderId, 0);
    SetSliderValue(window_, kSensitivitySliderId, 0);
}

}  // namespace kestrova
