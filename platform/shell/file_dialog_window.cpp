#include "platform/shell/file_dialog_window.h"

#include <algorithm>
#include <cwchar>

#include "platform/base/files.h"
#include "platform/shell/file_dialog_layout.h"
#include "platform/shell/file_dialog_paint.h"
#include "platform/shell/folder_listing.h"
#include "platform/shell/modal_window.h"
#include "platform/ui/button.h"
#include "platform/ui/edit.h"
#include "platform/ui/gdi.h"
#include "platform/ui/listbox.h"
#include "platform/ui/windows.h"

namespace kestrova {
namespace {

constexpr wchar_t kClassName[] = L"KestrovaFileDialog";

std::wstring TextOf(HWND hwnd) {
    std::wstring text(size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

bool HasWildcard(std::wstring_view name) {
    return name.find_first_of(L"*?") != std::wstring_view::npos;
}

// A folder's path as the dialog hands it back: without the trailing "/", except for the root.
std::wstring WithoutTrailingSlash(std::wstring path) {
    if (path.size() > 1 && path.back() == L'/') path.pop_back();
    return path;
}

class FileDialog {
public:
    explicit FileDialog(const FileDialogSetup& setup) : setup_(setup), patterns_(setup.patterns) {
        font_ = CreateFontW(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, 0,
                            L"Tahoma");
    }
    ~FileDialog() {
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
        DeleteObject(font_);
    }
    FileDialog(const FileDialog&) = delete;
    FileDialog& operator=(const FileDialog&) = delete;

    std::optional<std::wstring> Run(HWND owner) {
        if (!Create(owner)) return std::nullopt;
        const bool ended = RunModal(hwnd_, owner, [this] { return done_; });
        return ended ? result_ : std::nullopt;
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_PAINT:
                Paint();
                return 0;
            case WM_SIZE:
                Place();
                return 0;
            case WM_NCHITTEST: {
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ScreenToClient(hwnd_, &at);
                if (Inside(Layout().caption, at)) return HTCAPTION;
                break;
            }
            case WM_ACTIVATE:
                if (LOWORD(wParam) == WA_INACTIVE) {
                    if (IsChild(hwnd_, GetFocus())) focus_ = GetFocus();
                } else {
                    SetFocus(IsWindow(focus_) ? focus_ : list_);
                }
                return 0;
            case WM_LBUTTONDOWN:
                StartSizing(lParam);
                return 0;
            case WM_MOUSEMOVE:
                FollowSizing();
                return 0;
            case WM_LBUTTONUP:
                if (sizing_) ReleaseCapture();  // which ends the sizing through WM_CAPTURECHANGED
                return 0;
            case WM_CAPTURECHANGED:
                sizing_ = false;
                return 0;
            case WM_COMMAND:
                OnCommand(LOWORD(wParam), HIWORD(wParam));
                return 0;
            case WM_CLOSE:
                done_ = true;
                return 0;
        }
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    void Attach(HWND hwnd) { hwnd_ = hwnd; }

private:
    static bool Inside(const RECT& r, POINT p) {
        return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
    }

    bool WithName() const { return !setup_.chooseFolder; }

    FileDialogLayout Layout() const {
        RECT client{};
        GetClientRect(hwnd_, &client);
        return LayOutFileDialog(client.right, client.bottom, !setup_.prompt.empty(), WithName());
    }

    bool Create(HWND owner) {
        static const bool registered = RegisterDialogClass(kClassName, Procedure);
        if (!registered) return false;
        const POINT at = DialogPlaceOver(owner, kFileDialogWidth, kFileDialogHeight);
        if (!CreateWindowExW(0, kClassName, setup_.caption.c_str(), WS_POPUP, at.x, at.y, kFileDialogWidth,
                             kFileDialogHeight, owner, 0, nullptr, this))
            return false;

        folderEdit_ = MakeControl(L"EDIT", kFolderEditId, ES_AUTOHSCROLL | WS_TABSTOP);
        list_ = MakeControl(L"LISTBOX", kEntryListId,
                            LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP);
        if (WithName()) nameEdit_ = MakeControl(L"EDIT", kFileNameEditId, ES_AUTOHSCROLL | WS_TABSTOP);
        ok_ = MakeControl(L"BUTTON", IDOK, BS_PUSHBUTTON | WS_TABSTOP, WithName() ? L"Open" : L"OK");
        MakeControl(L"BUTTON", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, L"Cancel");
        if (!folderEdit_ || !list_ || (WithName() && !nameEdit_) || !ok_) return false;
        Place();

        if (!Enter(setup_.folder) && !Enter(HomeFolder()) && !Enter(L"/")) return false;
        if (WithName()) {
            SetWindowTextW(nameEdit_, setup_.name.c_str());
            SendMessageW(nameEdit_, EM_SETSEL, 0, -1);
            focus_ = nameEdit_;
        } else {
            focus_ = list_;
        }
        return true;
    }

    HWND MakeControl(const wchar_t* className, int id, uint32_t style, const wchar_t* text = L"") {
        HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, hwnd_,
                                       uintptr_t(id), nullptr, nullptr);
        if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return control;
    }

    void Place() {
        const FileDialogLayout l = Layout();
        auto put = [](HWND control, const RECT& r) {
            if (control) MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        };
        put(folderEdit_, TextArea(l.folderEdit));
        put(list_, l.list);
        put(nameEdit_, TextArea(l.nameEdit));
        put(ok_, l.ok);
        put(GetDlgItem(hwnd_, IDCANCEL), l.cancel);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    // An edit sits inside its field with a little room around the text, which the frame would crowd.
    static RECT TextArea(const RECT& field) {
        return RECT{field.left + 3, field.top + 3, field.right - 3, field.bottom - 1};
    }

    // Shows `folder`'s entries; false (and nothing changed) when it cannot be read.
    bool Enter(const std::wstring& folder) {
        if (folder.empty()) return false;
        const std::wstring path = WithTrailingSlash(ResolvePath(L"/", folder));
        std::vector<FolderEntry> entries;
        if (!ListFolder(path, WithName(), patterns_, entries)) return false;
        folder_ = path;
        entries_ = std::move(entries);
        SetWindowTextW(folderEdit_, folder_.c_str());
        SendMessageW(list_, LB_RESETCONTENT, 0, 0);
        for (size_t i = 0; i < entries_.size(); ++i) {
            const std::wstring shown = entries_[i].name + (entries_[i].folder && i > 0 ? L"/" : L"");
            const LRESULT at = SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
            SendMessageW(list_, LB_SETITEMDATA, WPARAM(at), LPARAM(i));
        }
        return true;
    }

    void EnterOrBeep(const std::wstring& folder) {
        if (!Enter(folder)) MessageBeep(MB_ICONEXCLAMATION);
    }

    // The entry selected in the list, or null.
    const FolderEntry* Selected() const {
        const LRESULT at = SendMessageW(list_, LB_GETCURSEL, 0, 0);
        if (at == LB_ERR) return nullptr;
        const size_t i = size_t(SendMessageW(list_, LB_GETITEMDATA, WPARAM(at), 0));
        return i < entries_.size() ? &entries_[i] : nullptr;
    }

    void OnCommand(int id, int code) {
        switch (id) {
            case IDOK:
                OnOk();
                break;
            case IDCANCEL:
                done_ = true;
                break;
            case kEntryListId:
                if (code == LBN_SELCHANGE) OnSelectionChange();
                if (code == LBN_DBLCLK) OpenSelected();
                break;
        }
    }

    void OnSelectionChange() {
        const FolderEntry* e = Selected();
        if (e && !e->folder && nameEdit_) SetWindowTextW(nameEdit_, e->name.c_str());
    }

    // A folder of the list is entered; a file is chosen as if its name were typed.
    void OpenSelected() {
        const FolderEntry* e = Selected();
        if (!e) return;
        const std::wstring name = e->name;
        if (e->folder)
            EnterOrBeep(ResolvePath(folder_, name + L"/"));
        else
            AcceptName(name);
    }

    // Enter comes here as well as the OK button: what it does depends on where the focus is.
    void OnOk() {
        const HWND focus = GetFocus();
        if (focus == folderEdit_) {
            EnterOrBeep(ResolvePath(folder_, WithTrailingSlash(TextOf(folderEdit_))));
            return;
        }
        if (focus == list_ && Selected() && (Selected()->folder || WithName())) {
            OpenSelected();
            return;
        }
        if (WithName())
            AcceptName(TextOf(nameEdit_));
        else
            AcceptFolder();
    }

    void AcceptName(const std::wstring& name) {
        if (name.empty()) return;
        if (HasWildcard(name)) {  // a pattern typed as the name filters the list instead
            patterns_ = {name};
            Enter(folder_);
            return;
        }
        const std::wstring path = ResolvePath(folder_, name);
        if (IsFolder(path)) {
            EnterOrBeep(path);
            SetWindowTextW(nameEdit_, L"");
            return;
        }
        const bool refused = (setup_.fileMustExist && !IsPlainFile(path)) ||
                             ((setup_.fileMustExist || setup_.pathMustExist) && !IsFolder(FolderOf(path))) ||
                             path.back() == L'/';
        if (refused) {
            MessageBeep(MB_ICONEXCLAMATION);
            return;
        }
        Finish(path);
    }

    // The folder selected in the list, else the one shown.
    void AcceptFolder() {
        const FolderEntry* e = Selected();
        const std::wstring chosen =
            WithoutTrailingSlash(e && e->name != L".." ? ResolvePath(folder_, e->name) : folder_);
        if (!IsFolder(chosen) || (setup_.longestPath && chosen.size() > setup_.longestPath)) {
            MessageBeep(MB_ICONEXCLAMATION);
            return;
        }
        Finish(chosen);
    }

    void Finish(std::wstring path) {
        result_ = std::move(path);
        done_ = true;
    }

    void StartSizing(LPARAM lParam) {
        if (!setup_.resizable || !Inside(Layout().grip, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
            return;
        RECT r{};
        GetWindowRect(hwnd_, &r);
        GetCursorPos(&grab_);
        grabSize_ = {r.right - r.left, r.bottom - r.top};
        sizing_ = true;
        SetCapture(hwnd_);
    }

    void FollowSizing() {
        if (!sizing_) return;
        POINT at{};
        GetCursorPos(&at);
        SetWindowPos(hwnd_, nullptr, 0, 0, std::max<int>(kFileDialogMinWidth, grabSize_.cx + at.x - grab_.x),
                     std::max<int>(kFileDialogMinHeight, grabSize_.cy + at.y - grab_.y),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void Paint() {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        FileDialogFace face;
        face.caption = setup_.caption;
        face.prompt = setup_.prompt;
        face.withName = WithName();
        face.resizable = setup_.resizable;
        PaintFileDialog(dc, font_, Layout(), face);
        EndPaint(hwnd_, &ps);
    }

    static LRESULT Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<FileDialog*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            SetWindowLongPtrW(hwnd, 0, reinterpret_cast<intptr_t>(self));
            self->Attach(hwnd);
        }
        if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, 0, 0);
        auto* self = reinterpret_cast<FileDialog*>(GetWindowLongPtrW(hwnd, 0));
        return self ? self->Handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
    }

    FileDialogSetup setup_;
    std::vector<std::wstring> patterns_;
    HFONT font_ = nullptr;
    HWND hwnd_ = nullptr;
    HWND folderEdit_ = nullptr, list_ = nullptr, nameEdit_ = nullptr, ok_ = nullptr;
    HWND focus_ = nullptr;  // the control that gets the focus back when the dialog is activated
    std::wstring folder_;   // shown, ending in "/"
    std::vector<FolderEntry> entries_;
    bool sizing_ = false;
    POINT grab_{};
    SIZE grabSize_{};
    bool done_ = false;
    std::optional<std::wstring> result_;
};

}  // namespace

std::optional<std::wstring> RunFileDialog(HWND owner, const FileDialogSetup& setup) {
    return FileDialog(setup).Run(owner);
}

}  // namespace kestrova
