#include "app/windows/stream_window.h"

#include <string>

#include "app/windows/control_table.h"
#include "app/windows/property_frame.h"
#include "app/windows/stream_addresses.h"
#include "platform/base/text.h"
#include "platform/ui/edit.h"
#include "platform/ui/windows.h"
#include "toolkit/factories.h"
#include "toolkit/framed_edit.h"
#include "toolkit/menu.h"
#include "toolkit/menu_item_list.h"
#include "toolkit/message_box.h"
#include "toolkit/property.h"

namespace kestrova {
namespace {

constexpr SIZE kSize{540, 370};
constexpr int kAddressId = 1046, kAddressChoiceId = 1047, kPortId = 1048, kPasswordId = 1049;
constexpr int kEditHeight = 33, kButtonInset = 2;
constexpr POINT kAddressMenuAt{37, 180};
constexpr int kAddressMenuWidth = 160;

constexpr ControlSpec kLabels[] = {
    {ControlKind::Heading, 1036, L"HTTP Server", 19, 101, 509, 18},
    {ControlKind::Label, 1037, L"IP address", 37, 129, 196, 18},
    {ControlKind::Label, 1038, L"Port", 202, 129, 52, 18},
    {ControlKind::Heading, 1040, L"Authentication", 19, 197, 509, 18},
    {ControlKind::Label, 1039, L"Password", 37, 225, 160, 18},
};

class StreamWindow {
public:
    StreamWindow(HWND window, const CREATESTRUCTW& create)
        : frame_(window, create), setup_(frame_.RecordAs<StreamingSetup>()) {}

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        // A press beside the fields ends the editing.
        if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) SetFocus(Window());
        // The popup's choice carries the item's index in the high word, which the dispatcher drops.
        if (msg == WM_COMMAND && LOWORD(wParam) == kAddressChoiceId) {
            OnAddressChosen(HIWORD(wParam));
            return 0;
        }
        return DispatchPropertyMessage(*this, frame_, msg, wParam, lParam);
    }

    void OnPaint() const { frame_.Paint(L"Streaming"); }

    void OnCreate() {
        frame_.CreateButtons(FrameButtons::CloseOkCancelDefault);
        CreateControls(Window(), kLabels);
        CreateDropDownButton(Window(), L"", kAddressId, 35, 146, 164, 37, kButtonInset);
        CreateDialogEdit(Window(), L"", kPortId, 202, 148, 52, kEditHeight, 5, ES_NUMBER | ES_CENTER);
        CreateDialogEdit(Window(), L"", kPasswordId, 37, 244, 160, kEditHeight, kStreamPasswordChars, 0);
        SendDlgItemMessageW(Window(), kPasswordId, kEditCueText, kPropertySetAndRepaint,
                            reinterpret_cast<LPARAM>(L"Optional"));
        OnDefault();
        if (setup_ && setup_->settings) ShowSettings(*setup_->settings);
    }

    void OnCommand(int id) {
        switch (id) {
            case kOkButtonId:
                OnOk();
                return;
            case kDefaultButtonId:
                OnDefault();
                return;
            case kAddressId:
                ShowMenuEx(Window(), kAddressMenuAt.x, kAddressMenuAt.y, kAddressMenuWidth, &addresses_);
                return;
        }
    }

private:
    HWND Window() const { return frame_.Window(); }

    void ShowSettings(const WebServerSettings& settings) {
        const std::wstring address =
            FromUtf8Field(settings.bindAddress, sizeof settings.bindAddress).substr(0, kStreamAddressChars);
        // An address the machine no longer has would not bind: the first one stays offered then.
        if (addresses_.CheckByText(address.c_str())) SetItemText(Window(), kAddressId, address);
        SetItemText(
            Window(), kPasswordId,
            FromUtf8Field(settings.password, sizeof settings.password).substr(0, kStreamPasswordChars));
        SetItemText(Window(), kPortId, std::to_wstring(settings.port));
    }

    void OnAddressChosen(int index) {
        wchar_t text[kMenuTextLimit + 1] = {};
        if (!addresses_.GetText(index, text)) return;
        SetItemText(Window(), kAddressId, text);
        addresses_.Check(index);
    }

    void OnDefault() {
        addresses_.Clear();
        for (const std::wstring& address : ListenAddresses())
            addresses_.Insert(kMenuCommand, kAddressChoiceId, address.c_str(), 0, -1);
        if (const MenuItem* first = addresses_.First()) {
            SetItemText(Window(), kAddressId, first->text);
            addresses_.Check(0);
        }
        SetItemText(Window(), kPortId, std::to_wstring(kDefaultStreamPort));
        SetItemText(Window(), kPasswordId, L"");
    }

    void OnOk() {
        const StreamFields fields{ItemText(Window(), kAddressId, kStreamAddressChars + 1),
                                  ItemText(Window(), kPortId, 6),
                                  ItemText(Window(), kPasswordId, kStreamPasswordChars + 1)};
        if (const std::optional<std::wstring> refusal = CheckStreamFields(fields)) {
            frame_.ShowMessage(refusal->c_str(), kMessageInformation);
            return;
        }
        if (setup_) {
            setup_->settings = MakeStreamSettings(fields, *setup_);
            frame_.SetResult(kPropertyOk);
        }
        frame_.Close();
    }

    PropertyFrame frame_;
    StreamingSetup* setup_;
    MenuItemList addresses_;
};

}  // namespace

uint16_t RegisterStreamWindowClass() {
    return RegisterPropertyWindowClass(kStreamWindowClass, PropertyWindowProc<StreamWindow>);
}

int ShowStreamWindow(HWND owner, StreamingSetup* setup) {
    return ShowPropertyWindow(kStreamWindowClass, owner, setup, kSize);
}

}  // namespace kestrova
