#include "app/windows/devices_window.h"

#include <array>
#include <string>

#include "app/main_window.h"
#include "app/windows/dev_ip_window.h"
#include "app/windows/device_mark_list.h"
#include "app/windows/frame_skin.h"
#include "app/windows/new_capture_devices.h"
#include "app/windows/property_frame.h"
#include "engine/device.h"
#include "engine/device_list.h"
#include "platform/ui/gdi.h"
#include "platform/ui/windows.h"
#include "toolkit/drawing.h"
#include "toolkit/factories.h"
#include "toolkit/gdi_object.h"

namespace kestrova {
namespace {

constexpr SIZE kSize{812, 612};
constexpr int kDeselectAllId = 1029;
constexpr int kMicrophoneListId = 1030, kUsbCameraListId = 1031, kIpCameraListId = 1032;
constexpr int kSelectMicrophonesId = 1033, kSelectUsbCamerasId = 1034, kSelectIpCamerasId = 1035;
constexpr int kRefreshMicrophonesId = 1036, kRefreshUsbCamerasId = 1037, kAddIpCameraId = 1038;
constexpr int kNameChars = 255;

// The three columns, one per kind, 261 pixels apart.
constexpr int kColumnStep = 261;
constexpr int kListX = 33, kListY = 128;
constexpr int kGroupX = 24, kGroupY = 119, kGroupWidth = 242, kGroupHeight = 400;
constexpr int kColumnLineY = 466, kColumnLineWidth = 224;
constexpr int kButtonY = 474, kButtonWidth = 114, kButtonHeight = 37, kButtonInset = 2;

struct Column {
    DeviceType kind;
    int listId;
    const wchar_t* group;
    int selectAllId;
    int secondId;  // "Refresh", or "Add" for IP cameras
    const wchar_t* second;
};
constexpr std::array<Column, 3> kColumns = {{
    {kDeviceMicrophone, kMicrophoneListId, L"Microphone", kSelectMicrophonesId, kRefreshMicrophonesId,
     L"Refresh"},
    {kDeviceUsbCamera, kUsbCameraListId, L"USB Camera", kSelectUsbCamerasId, kRefreshUsbCamerasId, L"Refresh"},
    {kDeviceIpCamera, kIpCameraListId, L"IP Camera", kSelectIpCamerasId, kAddIpCameraId, L"Add"},
}};

std::wstring DisplayName(Device& device) {
    wchar_t name[kNameChars + 1] = {};
    device.GetFriendlyName(name, kNameChars);
    return name;
}

class DevicesWindow {
public:
    DevicesWindow(HWND window, const CREATESTRUCTW& create)
        : frame_(window, create), main_(frame_.RecordAs<MainWindow>()) {}

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        switch (msg) {
            case WM_MEASUREITEM:
                reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kMarkItemHeight;
                return TRUE;
            case WM_DRAWITEM:
                DrawMarkItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            case WM_COMMAND:
                // The close button and Cancel put the marks back before the frame closes the window.
                if (LOWORD(wParam) == kCloseButtonId || LOWORD(wParam) == kCancelButtonId) RestoreMarks();
                if (IsList(LOWORD(wParam))) {
                    if (HIWORD(wParam) == LBN_SELCHANGE) OnToggle(HWND(lParam));
                    return 0;
                }
                break;
        }
        return DispatchPropertyMessage(*this, frame_, msg, wParam, lParam);
    }

    void OnPaint() const {
        frame_.Paint(L"Devices", [](HDC dc, int, int) {
            toolkit::OwnedGdiObject pen(CreatePen(PS_SOLID, 1, kSeparatorColour));
            toolkit::SelectedObject selected(dc, pen.get());
            for (size_t i = 0; i < kColumns.size(); ++i) {
                const int x = kListX + kColumnStep * int(i);
                MoveToEx(dc, x, kColumnLineY, nullptr);
                LineTo(dc, x + kColumnLineWidth, kColumnLineY);
                DrawDashedFrame(dc, kColumns[i].group, kGroupX + kColumnStep * int(i), kGroupY, kGroupWidth,
                                kGroupHeight);
            }
        });
    }

    void OnCreate() {
        frame_.CreateButtons(FrameButtons::CloseOkCancelDefault);
        SetWindowTextW(GetDlgItem(Window(), kDeselectAllId), L"Deselect all");
        for (size_t i = 0; i < kColumns.size(); ++i) {
            const Column& c = kColumns[i];
            const int x = kListX - 2 + kColumnStep * int(i);
            CreateDialogButton(Window(), L"Select all", c.selectAllId, x, kButtonY, kButtonWidth, kButtonHeight,
                               kButtonInset);
            CreateDialogButton(Window(), c.second, c.secondId, x + kButtonWidth, kButtonY, kButtonWidth,
                               kButtonHeight, kButtonInset);
            CreateMarkList(Window(), c.listId, kListX + kColumnStep * int(i), kListY);
        }
        if (!main_) return;
        // The list holds the newest device first; inserting each at the top shows them oldest first.
        for (Device* d = Devices().GetHead(); d; d = d->GetNext()) {
            d->SetSavedMark(0);
            InsertMarkItem(ListOf(d->GetType()), DisplayName(*d), GlyphForMark(d->GetDeletedMark()),
                           ListEnd::Top);
        }
        FindNewUsbCameras();
        FindNewMicrophones();
    }

    void OnCommand(int id) {
        switch (id) {
            case kOkButtonId:
                frame_.Close();  // the marks stay as they are
                return;
            case kDeselectAllId:
                for (const Column& c : kColumns) Relist(c.kind, MarkChange::CrossAll);
                return;
            case kSelectMicrophonesId:
            case kSelectUsbCamerasId:
            case kSelectIpCamerasId:
                Relist(kColumns[id - kSelectMicrophonesId].kind, MarkChange::TickAll);
                return;
            case kRefreshMicrophonesId:
                FindNewMicrophones();
                return;
            case kRefreshUsbCamerasId:
                FindNewUsbCameras();
                return;
            case kAddIpCameraId:
                OnAdd();
                return;
        }
    }

private:
    HWND Window() const { return frame_.Window(); }
    DeviceList& Devices() const { return main_->GetDeviceList(); }
    static bool IsList(int id) { return id >= kMicrophoneListId && id <= kIpCameraListId; }

    HWND ListOf(int kind) const {
        for (const Column& c : kColumns)
            if (c.kind == kind) return GetDlgItem(Window(), c.listId);
        return nullptr;
    }

    void OnToggle(HWND list) {
        const ToggledItem item = ToggleSelectedItem(list);
        if (item.name.empty() || !main_) return;
        if (Device* device = Devices().FindByName(item.name)) device->SetDeletedMark(MarkForGlyph(item.glyph));
    }

    enum class MarkChange { Keep, TickAll, CrossAll };

    // Empties the kind's list and fills it again from the device list, marking every device as asked.
    void Relist(int kind, MarkChange change) {
        HWND list = ListOf(kind);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        if (!main_) return;
        for (Device* d = Devices().GetHead(); d; d = d->GetNext()) {
            if (d->GetType() != kind) continue;
            if (change != MarkChange::Keep) d->SetDeletedMark(change == MarkChange::CrossAll ? 1 : 0);
            InsertMarkItem(list, DisplayName(*d), GlyphForMark(d->GetDeletedMark()), ListEnd::Top);
        }
        InvalidateRect(list, nullptr, FALSE);
    }

    void RestoreMarks() {
        if (!main_) return;
        for (Device* d = Devices().GetHead(); d; d = d->GetNext()) d->SetDeletedMark(d->GetSavedMark());
    }

    // A camera added there is kept (both marks 0), even when this window is cancelled.
    void OnAdd() {
        ShowDevIPWindow(Window(), main_);
        Relist(kDeviceIpCamera, MarkChange::Keep);
    }

    void AppendCrossed(int kind, const std::vector<std::wstring>& names) {
        for (const std::wstring& name : names) InsertMarkItem(ListOf(kind), name, kCrossGlyph, ListEnd::Bottom);
    }
    void FindNewMicrophones() {
        if (main_) AppendCrossed(kDeviceMicrophone, AddNewMicrophones(*main_));
    }
    void FindNewUsbCameras() {
        if (main_) AppendCrossed(kDeviceUsbCamera, AddNewUsbCameras(*main_));
    }

    PropertyFrame frame_;
    MainWindow* main_;
};

}  // namespace

uint16_t RegisterDevicesWindowClass() {
    return RegisterPropertyWindowClass(kDevicesWindowClass, PropertyWindowProc<DevicesWindow>);
}

int ShowDevicesWindow(HWND owner, MainWindow* main) {
    ShowPropertyWindow(kDevicesWindowClass, owner, main, kSize);
    return kPropertyCancelled;
}

}  // namespace kestrova
