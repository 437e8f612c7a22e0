#include "app/windows/dev_ip_window.h"

#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "app/windows/bottom_buttons.h"
#include "app/windows/control_table.h"
#include "app/windows/property_frame.h"
#include "engine/device_list.h"
#include "engine/ipcam/ip_camera_device.h"
#include "platform/base/text.h"
#include "platform/ui/edit.h"
#include "toolkit/factories.h"
#include "toolkit/message_box.h"

namespace kestrova {
namespace {

constexpr SIZE kSize{446, 370};
// This window's own ids for OK and Cancel; the edits take the usual ones.
constexpr int kAddId = 1037, kCancelId = 1038;
constexpr int kAddressId = 1027, kPortId = 1028, kUserId = 1029, kPasswordId = 1030;
constexpr int kEditHeight = 33;
constexpr int kTextChars = 255;
constexpr int32_t kTimeoutSeconds = 5;
constexpr int32_t kFrameSize640x480 = 2;

constexpr ControlSpec kLabels[] = {
    {ControlKind::Heading, 1031, L"Connection", 19, 101, 509, 18},
    {ControlKind::Label, 1033, L"URL / IP address", 37, 129, 196, 18},
    {ControlKind::Label, 1034, L"Port", 357, 129, 52, 18},
    {ControlKind::Heading, 1032, L"Authentication", 19, 197, 509, 18},
    {ControlKind::Label, 1035, L"User", 37, 225, 184, 18},
    {ControlKind::Label, 1036, L"Password:", 226, 225, 183, 13},
};

struct EditSpec {
    int id;
    const wchar_t* text;
    int x, y, width;
    int limit;
    uint32_t styles;
};
constexpr EditSpec kEdits[] = {
    {kAddressId, L"", 37, 148, 315, 200, 0},
    {kPortId, L"80", 357, 148, 52, 5, ES_NUMBER | ES_CENTER},
    {kUserId, L"", 37, 244, 184, kTextChars, ES_MULTILINE | ES_LOWERCASE},
    {kPasswordId, L"", 226, 244, 183, kTextChars, 0},
};

// The port the text names, when it is one a camera can listen on: 0 would make the device name ":0" and
// bind nothing, and more than 65535 would wrap to another port.
std::optional<int32_t> PortOf(const std::wstring& text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    int32_t port = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        port = port * 10 + (c - L'0');
    }
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

class DevIPWindow {
public:
    DevIPWindow(HWND window, const CREATESTRUCTW& create)
        : frame_(window, create), main_(frame_.RecordAs<MainWindow>()) {}

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        return DispatchPropertyMessage(*this, frame_, msg, wParam, lParam);
    }

    void OnPaint() const { frame_.Paint(L"Add IP Camera"); }

    void OnCreate() {
        CreateCloseButton(Window());
        CreateBottomButton(Window(), L"OK", kAddId, BottomPlace::OkPlace);
        CreateBottomButton(Window(), L"Cancel", kCancelId, BottomPlace::CancelPlace);
        CreateControls(Window(), kLabels);
        for (const EditSpec& e : kEdits)
            CreateDialogEdit(Window(), e.text, e.id, e.x, e.y, e.width, kEditHeight, e.limit, e.styles);
    }

    void OnCommand(int id) {
        if (id == kAddId) OnOk();
        if (id == kCancelId) frame_.Close();
    }

private:
    HWND Window() const { return frame_.Window(); }
    std::wstring Field(int id) const { return ItemText(Window(), id, kTextChars + 1); }

    void OnOk() {
        const std::optional<int32_t> port = PortOf(Field(kPortId));
        if (!port) {
            frame_.ShowMessage(kPortRangeText, kMessageInformation);
            return;
        }
        IpCameraParams params;
        params.port = *port;
        ToUtf8Bounded(Field(kAddressId), params.host, sizeof params.host - 1);
        ToUtf8Bounded(Field(kUserId), params.user, sizeof params.user - 1);
        ToUtf8Bounded(Field(kPasswordId), params.password, sizeof params.password - 1);
        params.connectTimeout = kTimeoutSeconds;
        params.receiveTimeout = kTimeoutSeconds;
        params.frameSize = kFrameSize640x480;
        if (main_) {
            params.displayWindow = main_->GetDisplayWindow();
            params.notifyWindow = main_->GetHandle();
            CopyWide(main_->GetStorageFolder(), params.storageFolder, std::size(params.storageFolder) - 1);
        }
        auto camera = std::make_unique<IpCameraDevice>();
        camera->Init(&params);
        wchar_t name[kTextChars + 1] = {};
        camera->GetFriendlyName(name, kTextChars);
        if (main_ && main_->GetDeviceList().FindByName(name)) {
            frame_.ShowMessage(kDeviceListedText, kMessageWarning);
            return;
        }
        // A new camera is kept (both marks 0) and powered off; the list may make its name unique.
        if (main_) main_->GetDeviceList().Add(camera.release());
        frame_.Close();
    }

    PropertyFrame frame_;
    MainWindow* main_;
};

}  // namespace

uint16_t RegisterDevIPWindowClass() {
    return RegisterPropertyWindowClass(kDevIPWindowClass, PropertyWindowProc<DevIPWindow>);
}

int ShowDevIPWindow(HWND owner, MainWindow* main) {
    return ShowPropertyWindow(kDevIPWindowClass, owner, main, kSize);
}

}  // namespace kestrova
