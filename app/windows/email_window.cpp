#include "app/windows/email_window.h"

#include <string>

#include "app/windows/control_table.h"
#include "app/windows/property_frame.h"
#include "platform/ui/edit.h"
#include "platform/ui/windows.h"
#include "toolkit/button.h"
#include "toolkit/dialog_items.h"
#include "toolkit/factories.h"
#include "toolkit/framed_edit.h"
#include "toolkit/message_box.h"

namespace kestrova {
namespace {

constexpr SIZE kSize{446, 625};
constexpr int kProviderId = 1044;
constexpr int kHostId = 1045, kPortId = 1046, kUserId = 1049, kPasswordId = 1050;
constexpr int kSenderId = 1051, kRecipientId = 1052;
constexpr int kTlsId = 1047, kSslId = 1048;
constexpr RadioChoice kProtocols[] = {{kTlsId, kSmtpTls}, {kSslId, kSmtpSsl}};

constexpr wchar_t kAddressCue[] = L"Email address";
constexpr wchar_t kOtherName[] = L"Other";

constexpr ControlSpec kLabels[] = {
    {ControlKind::Heading, 1036, L"SMTP Server", 19, 101},
    {ControlKind::Label, 1037, L"Hostname", 37, 179, 196, 18},
    {ControlKind::Label, 1038, L"Port", 202, 179, 196, 18},
    {ControlKind::Label, 1039, L"Protocol", 37, 245, 196, 18},
    {ControlKind::Radio, kTlsId, L"TLS", 37, 270},
    {ControlKind::Radio, kSslId, L"SSL", 37, 295},
    {ControlKind::Label, 1040, L"SMTP User", 37, 320, 196, 18},
    {ControlKind::Label, 1041, L"SMTP Password", 202, 320, 196, 18},
    {ControlKind::Heading, 1042, L"Sender", 19, 388},
    {ControlKind::Heading, 1043, L"Recipient", 19, 468},
};

struct EditSpec {
    int id;
    int x, y, width;
    int limit;
    uint32_t styles;
};
constexpr int kEditHeight = 33;
constexpr EditSpec kEdits[] = {
    {kHostId, 37, 198, 160, kEmailTextChars, 0},   {kPortId, 202, 198, 52, 5, ES_NUMBER | ES_CENTER},
    {kUserId, 37, 339, 160, kEmailTextChars, 0},   {kPasswordId, 202, 339, 160, kEmailTextChars, ES_PASSWORD},
    {kSenderId, 37, 419, 160, kEmailTextChars, 0}, {kRecipientId, 37, 499, 160, kEmailTextChars, 0},
};

void SetCue(HWND window, int id, const wchar_t* cue) {
    SendDlgItemMessageW(window, id, kEditCueText, kPropertySetAndRepaint, reinterpret_cast<LPARAM>(cue));
}

std::wstring FieldText(HWND window, int id) {
    return ItemText(window, id, kEmailTextChars + 1);
}

class EmailWindow {
public:
    EmailWindow(HWND window, const CREATESTRUCTW& create)
        : frame_(window, create), settings_(frame_.RecordAs<EmailSettings>()) {}

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        // A press beside the fields ends the editing, as it does on paper.
        if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) SetFocus(frame_.Window());
        return DispatchPropertyMessage(*this, frame_, msg, wParam, lParam);
    }

    void OnPaint() const { frame_.Paint(L"Email"); }
    void OnCreate() {
        frame_.CreateButtons(FrameButtons::CloseOkCancelDefault);
        CreateControls(Window(), std::span(kLabels).first(1));
        CreateCycleButton(Window(), kEmailProviders[0].name, kProviderId, 35, 130, 103, 37, kOtherProvider,
                          2);
        CreateControls(Window(), std::span(kLabels).subspan(1));
        for (const EditSpec& e : kEdits)
            CreateDialogEdit(Window(), L"", e.id, e.x, e.y, e.width, kEditHeight, e.limit, e.styles);
        SetCue(Window(), kSenderId, kAddressCue);
        SetCue(Window(), kRecipientId, kAddressCue);
        OnDefault();
        if (settings_ && settings_->host[0]) ShowRecord(*settings_);
    }

    void OnCommand(int id) {
        switch (id) {
            case kOkButtonId:
                OnOk();
                return;
            case kDefaultButtonId:
                OnDefault();
                return;
            case kProviderId:
                OnProvider();
                return;
            case kTlsId:
            case kSslId:
                CheckRadio(Window(), kProtocols, id);
                return;
        }
    }

private:
    HWND Window() const { return frame_.Window(); }

    void ShowRecord(const EmailSettings& record) {
        SetItemText(Window(), kHostId, record.host);
        SetItemText(Window(), kUserId, record.user);
        SetItemText(Window(), kPasswordId, record.password);
        SetItemText(Window(), kSenderId, record.sender);
        SetItemText(Window(), kRecipientId, record.recipient);
        SetItemText(Window(), kPortId, std::to_wstring(record.port));
        CheckRadio(Window(), kProtocols, record.protocol ? kSslId : kTlsId);
        const int provider = MatchingProvider(record);
        SetProvider(provider);
        SetItemText(Window(), kProviderId, ProviderName(provider));
        if (provider == kOtherProvider) {
            EnableDlgItems(TRUE, Window(), kHostId, kPortId, kTlsId, kSslId);
            SetCue(Window(), kUserId, L"");
        }
    }

    static bool IsPreset(int provider) { return provider >= 0 && provider < kOtherProvider; }
    static const wchar_t* ProviderName(int provider) {
        return IsPreset(provider) ? kEmailProviders[provider].name : kOtherName;
    }

    int Provider() const {
        return int(SendDlgItemMessageW(Window(), kProviderId, kButtonValue, kPropertyRead, 0));
    }
    void SetProvider(int provider) const {
        SendDlgItemMessageW(Window(), kProviderId, kButtonValue, kPropertySetAndRepaint, provider);
    }

    // Fills in the chosen provider's server, port and protocol and locks them, or frees them for another.
    void OnProvider() {
        const int provider = Provider();
        SetItemText(Window(), kProviderId, ProviderName(provider));
        const bool preset = IsPreset(provider);
        if (preset) {
            const EmailProvider& p = kEmailProviders[provider];
            SetItemText(Window(), kHostId, p.host);
            SetItemText(Window(), kPortId, std::to_wstring(p.port));
            CheckRadioValue(Window(), kProtocols, p.protocol);
        } else {
            SetItemText(Window(), kHostId, L"");
            SetItemText(Window(), kPortId, L"");
            CheckRadio(Window(), kProtocols, kTlsId);
        }
        EnableDlgItems(preset ? FALSE : TRUE, Window(), kHostId, kPortId, kTlsId, kSslId);
        SetCue(Window(), kUserId, preset ? kAddressCue : L"");
    }

    void OnDefault() {
        SetProvider(0);
        OnProvider();
        for (int id : {kUserId, kPasswordId, kSenderId, kRecipientId}) SetItemText(Window(), id, L"");
    }

    void OnOk() {
        const EmailFields fields{FieldText(Window(), kHostId),   FieldText(Window(), kPortId),
                                 FieldText(Window(), kUserId),   FieldText(Window(), kPasswordId),
                                 FieldText(Window(), kSenderId), FieldText(Window(), kRecipientId)};
        if (const std::optional<std::wstring> refusal = CheckEmailFields(fields)) {
            frame_.ShowMessage(refusal->c_str(), kMessageInformation);
            return;
        }
        if (settings_) {
            SetEmailText(settings_->host, fields.host);
            settings_->port = PortOf(fields);
            settings_->protocol = IsChecked(Window(), kTlsId) ? kSmtpTls : kSmtpSsl;
            SetEmailText(settings_->user, fields.user);
            SetEmailText(settings_->password, fields.password);
            SetEmailText(settings_->sender, fields.sender);
            SetEmailText(settings_->recipient, fields.recipient);
            frame_.SetResult(kPropertyOk);
        }
        frame_.Close();
    }

    PropertyFrame frame_;
    EmailSettings* settings_;
};

}  // namespace

uint16_t RegisterEmailWindowClass() {
    return RegisterPropertyWindowClass(kEmailWindowClass, PropertyWindowProc<EmailWindow>);
}

int ShowEmailWindow(HWND owner, EmailSettings* settings) {
    return ShowPropertyWindow(kEmailWindowClass, owner, settings, kSize);
}

}  // namespace kestrova
