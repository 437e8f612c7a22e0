#include "app/windows/alarm_window.h"

#include <cwchar>
#include <string>

#include "app/windows/alarm_layout.h"
#include "app/windows/email_window.h"
#include "app/windows/property_frame.h"
#include "platform/shell/file_dialogs.h"
#include "platform/shell/shell_open.h"
#include "toolkit/dialog_items.h"
#include "toolkit/message_box.h"

namespace kestrova {
namespace {

using namespace alarm;

// The file to run, as long as the record keeps it.
constexpr int kFileBufferCapacity = kRunFileCapacity - 1;
constexpr wchar_t kNone[] = L"None";
constexpr wchar_t kFileTooLong[] =
    L"The path of the chosen file is too long: it may have at most 1000 characters.<nl>Please choose a file "
    L"with a shorter path.";

constexpr wchar_t kFileNotOpened[] =
    L"The file to run could not be opened. It may have been moved or deleted.";

int32_t Flag(bool on) {
    return on ? 1 : 0;
}

class AlarmWindow {
public:
    AlarmWindow(HWND window, const CREATESTRUCTW& create)
        : frame_(window, create), actions_(frame_.RecordAs<AlarmActions>()) {
        if (!actions_) return;
        file_.assign(actions_->fileToRun, wcsnlen(actions_->fileToRun, kFileBufferCapacity - 1));
        email_ = actions_->email;
    }

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        return DispatchPropertyMessage(*this, frame_, msg, wParam, lParam);
    }

    void OnPaint() const { frame_.Paint(L"Alarm"); }

    void OnCreate() {
        frame_.CreateButtons(FrameButtons::CloseOkCancelDefault);
        CreateControls(Window(), LayoutFor(actions_ ? actions_->type : 0).controls);
        PlaceLinksAfterLabels(Window());
        OnDefault();
        if (actions_) ShowRecord(*actions_);
    }

    void OnCommand(int id) {
        switch (id) {
            case kOkButtonId:
                OnOk();
                return;
            case kDefaultButtonId:
                OnDefault();
                return;
            case kSaveId:
                EnableDlgItems(IsChecked(Window(), kSaveId), Window(), kPhotoId, kVideoId, kAudioId);
                return;
            case kPlaySoundId:
                EnableDlgItems(IsChecked(Window(), kPlaySoundId), Window(), kBeepId, kSireneId);
                return;
            case kPreviewId:
                EnableDlgItems(IsChecked(Window(), kPreviewId), Window(), kPopupId, kFullscreenId);
                return;
            case kBeepId:
            case kSireneId:
                CheckRadio(Window(), kSounds, id);
                return;
            case kPopupId:
            case kFullscreenId:
                CheckRadio(Window(), kPreviewKinds, id);
                return;
            case kRunId:
                OnChooseFile();
                return;
            case kFileLinkId:
                if (!ShellOpen(file_)) frame_.ShowMessage(kFileNotOpened, kMessageWarning);
                return;
            case kSendEmailId:
                OnSendEmail();
                return;
            case kToLinkId:
                OnEditEmail();
                return;
        }
    }

private:
    HWND Window() const { return frame_.Window(); }

    void ShowRecord(const AlarmActions& a) {
        SetChecked(Window(), kSaveId, a.save);
        EnableDlgItems(a.save != 0, Window(), kPhotoId, kVideoId, kAudioId);
        SetChecked(Window(), kPhotoId, a.photo);
        SetChecked(Window(), kVideoId, a.video);
        SetChecked(Window(), kAudioId, a.audio);
        SetChecked(Window(), kPlaySoundId, a.playSound);
        EnableDlgItems(a.playSound != 0, Window(), kBeepId, kSireneId);
        CheckRadioValue(Window(), kSounds, a.sound);
        SetChecked(Window(), kPreviewId, a.preview);
        EnableDlgItems(a.preview != 0, Window(), kPopupId, kFullscreenId);
        CheckRadioValue(Window(), kPreviewKinds, a.previewKind);
        SetChecked(Window(), kRunId, a.run);
        EnableDlgItems(a.run != 0, Window(), kFileLinkId);
        if (!file_.empty()) SetItemText(Window(), kFileLinkId, file_);
        SetChecked(Window(), kSendEmailId, a.sendEmail);
        ShowRecipient();
        EnableDlgItems(a.sendEmail != 0, Window(), kToLinkId);
    }

    // Keeps the chosen file and the e-mail settings: they are not the device's defaults but the user's.
    void OnDefault() {
        SetChecked(Window(), kPhotoId, true);
        SetChecked(Window(), kVideoId, false);
        SetChecked(Window(), kAudioId, true);
        SetChecked(Window(), kSaveId, true);
        EnableDlgItems(TRUE, Window(), kPhotoId, kVideoId, kAudioId);
        CheckRadio(Window(), kSounds, kSireneId);
        SetChecked(Window(), kPlaySoundId, true);
        EnableDlgItems(TRUE, Window(), kBeepId, kSireneId);
        CheckRadio(Window(), kPreviewKinds, kPopupId);
        SetChecked(Window(), kPreviewId, false);
        EnableDlgItems(FALSE, Window(), kPopupId, kFullscreenId);
        SetChecked(Window(), kRunId, false);
        EnableDlgItems(FALSE, Window(), kFileLinkId);
        SetChecked(Window(), kSendEmailId, false);
        EnableDlgItems(FALSE, Window(), kToLinkId);
    }

    // After "Run" toggled. Unticked, the file is kept for the next tick; ticked, the user chooses the file
    // (a cancelled choice keeps the earlier one), and with no file at all "Run" goes back to unticked.
    void OnChooseFile() {
        if (IsChecked(Window(), kRunId)) {
            ChooseFile();
            if (!file_.empty())
                SetItemText(Window(), kFileLinkId, file_);
            else
                SetChecked(Window(), kRunId, false);
        } else {
            SetItemText(Window(), kFileLinkId, kNone);
        }
        EnableDlgItems(IsChecked(Window(), kRunId), Window(), kFileLinkId);
    }

    void ChooseFile() {
        wchar_t buffer[kFileBufferCapacity] = {};
        file_.copy(buffer, kFileBufferCapacity - 1);
        OPENFILENAMEW open;
        open.hwndOwner = Window();
        open.lpstrFilter = L"All Files (*.*)\0*.*\0";
        open.lpstrFile = buffer;
        open.nMaxFile = kFileBufferCapacity;
        open.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST;
        if (GetOpenFileNameW(&open))
            file_ = buffer;
        else if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
            frame_.ShowMessage(kFileTooLong, kMessageWarning);
    }

    // After "Send an email" toggled: ticking it asks for the settings first, and stays ticked only when
    // they were given.
    void OnSendEmail() {
        if (IsChecked(Window(), kSendEmailId)) {
            SetChecked(Window(), kSendEmailId, false);
            if (EditEmail()) SetChecked(Window(), kSendEmailId, true);
        } else {
            ShowRecipient();
        }
        EnableDlgItems(IsChecked(Window(), kSendEmailId), Window(), kToLinkId);
    }

    void OnEditEmail() {
        if (!EditEmail()) return;
        SetChecked(Window(), kSendEmailId, true);
        EnableDlgItems(TRUE, Window(), kToLinkId);
    }

    // The e-mail window on a copy of the settings, which replaces them after its OK.
    bool EditEmail() {
        EmailSettings edited = email_;
        if (ShowEmailWindow(Window(), &edited) != kPropertyOk) return false;
        email_ = edited;
        ShowRecipient();
        return true;
    }

    void ShowRecipient() const {
        SetItemText(Window(), kToLinkId, email_.recipient[0] ? email_.recipient : kNone);
    }

    void OnOk() {
        if (actions_) {
            AlarmActions& a = *actions_;
            a.save = Flag(IsChecked(Window(), kSaveId));
            a.photo = Flag(IsChecked(Window(), kPhotoId));
            a.video = Flag(IsChecked(Window(), kVideoId));
            a.audio = Flag(IsChecked(Window(), kAudioId));
            a.playSound = Flag(IsChecked(Window(), kPlaySoundId));
            a.sound = CheckedRadioValue(Window(), kSounds, a.sound);
            a.preview = Flag(IsChecked(Window(), kPreviewId));
            a.previewKind = CheckedRadioValue(Window(), kPreviewKinds, a.previewKind);
            a.run = Flag(IsChecked(Window(), kRunId));
            std::wmemcpy(a.fileToRun, file_.c_str(), file_.size() + 1);
            a.sendEmail = Flag(IsChecked(Window(), kSendEmailId));
            a.email = email_;
            frame_.SetResult(kPropertyOk);
        }
        frame_.Close();
    }

    PropertyFrame frame_;
    AlarmActions* actions_;
    // The file to run, shown on the "File:" link while "Run" is ticked.
    std::wstring file_;
    // The e-mail settings, as the e-mail window last left them.
    EmailSettings email_;
};

}  // namespace

uint16_t RegisterAlarmWindowClass() {
    return RegisterPropertyWindowClass(kAlarmWindowClass, PropertyWindowProc<AlarmWindow>);
}

int ShowAlarmWindow(HWND owner, AlarmActions* actions) {
    return ShowPropertyWindow(kAlarmWindowClass, owner, actions, LayoutFor(actions ? actions->type : 0).size);
}

}  // namespace kestrova
