#include "platform/shell/camera_controls_window.h"

#include <algorithm>
#include <vector>

#include "platform/shell/camera_control_text.h"
#include "platform/shell/camera_controls_layout.h"
#include "platform/shell/camera_controls_paint.h"
#include "platform/shell/check_box.h"
#include "platform/shell/modal_window.h"
#include "platform/ui/button.h"
#include "platform/ui/edit.h"
#include "platform/ui/gdi.h"
#include "platform/ui/listbox.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows.h"

namespace kestrova {
namespace {

using media::DriverControl;
using media::DriverControlKind;
using media::FAILED;
using media::HRESULT;
using media::S_OK;
using media::SUCCEEDED;

std::wstring TextOf(HWND hwnd) {
    std::wstring text(size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

// The windows of one control's row; the parts its kind has not are null.
struct RowWindows {
    HWND value = nullptr;  // an edit, a check box or a button
    HWND less = nullptr, more = nullptr, reset = nullptr;
};

class CameraControlsWindow {
public:
    CameraControlsWindow(const std::wstring& cameraName, media::IDriverControls& controls)
        : name_(cameraName), driver_(controls) {
        font_ = CreateFontW(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, 0,
                            L"Tahoma");
    }
    ~CameraControlsWindow() {
        closing_ = true;
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
        DeleteObject(font_);
    }
    CameraControlsWindow(const CameraControlsWindow&) = delete;
    CameraControlsWindow& operator=(const CameraControlsWindow&) = delete;

    bool Run(HWND owner) {
        if (!Create(owner)) return false;
        RunModal(hwnd_, owner, [this] { return done_; });
        return true;
    }

private:
    static LRESULT Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* self =
                static_cast<CameraControlsWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            SetWindowLongPtrW(hwnd, 0, reinterpret_cast<intptr_t>(self));
            self->hwnd_ = hwnd;
        }
        if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, 0, 0);
        auto* self = reinterpret_cast<CameraControlsWindow*>(GetWindowLongPtrW(hwnd, 0));
        return self ? self->Handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_PAINT:
                OnPaint();
                return 0;
            case WM_NCHITTEST: {
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ScreenToClient(hwnd_, &at);
                if (at.x >= 0 && at.x < layout_.caption.right && at.y >= 0 && at.y < layout_.caption.bottom)
                    return HTCAPTION;
                break;
            }
            case WM_ACTIVATE:
                OnActivate(LOWORD(wParam) != WA_INACTIVE);
                return 0;
            case WM_COMMAND:
                if (!closing_) OnCommand(LOWORD(wParam), HIWORD(wParam), HWND(lParam));
                return 0;
            case WM_CLOSE:
                OnCancel();
                return 0;
        }
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    bool Create(HWND owner) {
        static const bool registered = RegisterDialogClass(kCameraControlsClass, Procedure);
        if (!registered || !RegisterCheckBoxClass()) return false;

        const HRESULT listed = driver_.ListControls(&controls_);
        if (FAILED(listed)) controls_.clear();
        opening_ = controls_;
        pages_ = PageControls(controls_);
        size_t rows = 0;
        for (const ControlPage& page : pages_) rows = std::max(rows, page.count);
        layout_ = LayOutCameraControls(rows, pages_.size() > 1);

        const POINT at = DialogPlaceOver(owner, layout_.width, layout_.height);
        if (!CreateWindowExW(0, kCameraControlsClass, name_.c_str(), WS_POPUP, at.x, at.y, layout_.width,
                             layout_.height, owner, 0, nullptr, this))
            return false;
        // Made in the keyboard's order: the page list, the rows, the buttons.
        if (!MakePageList() || !MakeRows() || !MakeButtons()) return false;
        if (FAILED(listed))
            Report(L"The camera's settings could not be read: " + media::DescribeResult(listed));
        ShowPage(0);
        focus_ = rows_.empty() ? GetDlgItem(hwnd_, IDOK) : FirstFocusOfPage();
        return true;
    }


    HWND MakeControl(const wchar_t* className, int id, uint32_t style, const wchar_t* text, const RECT& r) {
        HWND control =
            CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, hwnd_, uintptr_t(id), nullptr, nullptr);
        if (!control) return nullptr;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return control;
    }

    HWND MakeButton(int id, const wchar_t* text, const RECT& r, bool tabStop = true) {
        return MakeControl(L"BUTTON", id, BS_PUSHBUTTON | (tabStop ? WS_TABSTOP : 0), text, r);
    }

    bool MakePageList() {
        if (pages_.size() < 2) return true;
        pageList_ = MakeControl(L"LISTBOX", kPageListId, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP, L"",
                                layout_.pages);
        if (!pageList_) return false;
        for (const ControlPage& page : pages_)
            SendMessageW(pageList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(page.title.c_str()));
        return true;
    }

    bool MakeButtons() {
        status_ = MakeControl(L"EDIT", kStatusLineId, ES_READONLY | ES_AUTOHSCROLL, L"", layout_.status);
        const bool any = !controls_.empty();
        if (any && !MakeButton(kAllDefaultsId, L"All Defaults", layout_.allDefaults)) return false;
        // Without controls there is nothing to keep or put back: OK alone closes, where Cancel would stand.
        if (!MakeButton(IDOK, L"OK", any ? layout_.ok : layout_.cancel)) return false;
        return status_ && (!any || MakeButton(IDCANCEL, L"Cancel", layout_.cancel));
    }

    bool MakeRows() {
        rows_.resize(controls_.size());
        for (const ControlPage& page : pages_)
            for (size_t slot = 0; slot < page.count; ++slot)
                if (!MakeRow(page.first + slot, LayOutControlRow(layout_, slot))) return false;
        for (size_t row = 0; row < rows_.size(); ++row) ShowValue(row);
        return true;
    }

    bool MakeRow(size_t row, const ControlRowLayout& r) {
        const DriverControl& control = controls_[row];
        RowWindows& w = rows_[row];
        const int valueId = ControlItemId(row, ControlPart::Value);
        switch (control.kind) {
            case DriverControlKind::Integer:
                w.value = MakeControl(L"EDIT", valueId, ES_AUTOHSCROLL | WS_TABSTOP, L"", FieldText(r.value));
                if (control.Settable()) {
                    w.less = MakeButton(ControlItemId(row, ControlPart::Less), L"\u2212", r.less, false);
                    w.more = MakeButton(ControlItemId(row, ControlPart::More), L"+", r.more, false);
                }
                break;
            case DriverControlKind::Boolean:
                w.value = MakeControl(kCheckBoxClass, valueId, WS_TABSTOP, L"", r.wideValue);
                break;
            case DriverControlKind::Menu:
            case DriverControlKind::IntegerMenu:
                w.value = MakeButton(valueId, L"", r.wideValue);
                break;
            case DriverControlKind::Button:
                w.value = MakeButton(valueId, L"Run", r.wideValue);
                break;
        }
        if (control.Settable())
            w.reset = MakeButton(ControlItemId(row, ControlPart::Reset), L"Default", r.reset);
        return w.value && (!control.Settable() || w.reset) &&
               (control.kind != DriverControlKind::Integer || !control.Settable() || (w.less && w.more));
    }

    // An edit sits inside its white field with a little room round the text.
    static RECT FieldText(const RECT& field) {
        return RECT{field.left + 4, field.top + 5, field.right - 3, field.bottom - 1};
    }

    void ShowPage(size_t index) {
        if (pages_.empty()) return;
        page_ = std::min(index, pages_.size() - 1);
        for (size_t row = 0; row < rows_.size(); ++row) {
            const bool shown = row >= pages_[page_].first && row < pages_[page_].first + pages_[page_].count;
            for (HWND part : {rows_[row].value, rows_[row].less, rows_[row].more, rows_[row].reset})
                if (part) ShowWindow(part, shown ? SW_SHOWNA : SW_HIDE);
        }
        if (pageList_) SendMessageW(pageList_, LB_SETCURSEL, page_, 0);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    HWND FirstFocusOfPage() const {
        for (size_t row = pages_[page_].first; row < pages_[page_].first + pages_[page_].count; ++row)
            if (IsWindowEnabled(rows_[row].value)) return rows_[row].value;
        return GetDlgItem(hwnd_, IDOK);
    }

    // The row and the part of a control id; false for the window's other ids.
    bool RowOf(int id, size_t* row, ControlPart* part) const {
        if (id < kFirstRowItemId || id >= ControlItemId(rows_.size(), ControlPart::Value)) return false;
        *row = size_t(id - kFirstRowItemId) / kPartsPerRow;
        *part = ControlPart((id - kFirstRowItemId) % kPartsPerRow);
        return true;
    }

    void OnActivate(bool active) {
        if (!active) {
            if (IsChild(hwnd_, GetFocus())) focus_ = GetFocus();
            return;
        }
        SetFocus(IsWindow(focus_) ? focus_ : GetDlgItem(hwnd_, IDOK));
    }

    void OnCommand(int id, int code, HWND from) {
        size_t row;
        ControlPart part;
        if (RowOf(id, &row, &part)) return OnRowCommand(row, part, code, from);
        switch (id) {
            case IDOK:
                return OnOk();
            case IDCANCEL:
                return OnCancel();
            case kAllDefaultsId:
                return OnAllDefaults();
            case kPageListId:
                if (code == LBN_SELCHANGE) ShowPage(size_t(SendMessageW(pageList_, LB_GETCURSEL, 0, 0)));
                return;
        }
    }

    void OnRowCommand(size_t row, ControlPart part, int code, HWND from) {
        const DriverControl& control = controls_[row];
        switch (part) {
            case ControlPart::Value:
                if (control.kind == DriverControlKind::Integer) {
                    if (code == EN_KILLFOCUS) CommitTyped(row);
                } else if (control.kind == DriverControlKind::Boolean) {
                    Apply(row, SendMessageW(from, kCheckBoxGetCheck, 0, 0) != 0 ? 1 : 0);
                } else if (control.kind == DriverControlKind::Button) {
                    Apply(row, 0);
                } else {
                    ChooseFromMenu(row);
                }
                return;
            case ControlPart::Less:
            case ControlPart::More: {
                const int64_t stepped =
                    int64_t(control.value) + (part == ControlPart::More ? control.step : -control.step);
                Apply(row, int32_t(std::clamp<int64_t>(stepped, control.minimum, control.maximum)));
                return;
            }
            case ControlPart::Reset:
                Apply(row, control.defaultValue);
                return;
        }
    }

    // A typed value goes to the driver when it differs from what is shown; one that is no number or out of
    // range is refused with a word and the field shows the value in force again.
    bool CommitTyped(size_t row) {
        const DriverControl& control = controls_[row];
        const std::wstring typed = TextOf(rows_[row].value);
        if (!control.Settable() || typed == ValueText(control, control.value)) return true;
        int32_t value = 0;
        if (!ParseValue(typed, &value) || value < control.minimum || value > control.maximum) {
            Report(control.name + L": \"" + typed + L"\" is not a value from " +
                   std::to_wstring(control.minimum) + L" to " + std::to_wstring(control.maximum));
            ShowValue(row);
            return false;
        }
        return Apply(row, value);
    }

    void ChooseFromMenu(size_t row) {
        const DriverControl& control = controls_[row];
        HMENU menu = CreatePopupMenu();
        for (size_t i = 0; i < control.choices.size(); ++i)
            AppendMenuW(menu, MF_STRING, i + 1, control.choices[i].text.c_str());
        RECT r;
        GetWindowRect(rows_[row].value, &r);
        const UINT chosen =
            UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, r.left, r.bottom, 0, hwnd_, nullptr));
        DestroyMenu(menu);
        if (chosen > 0 && chosen <= control.choices.size()) Apply(row, control.choices[chosen - 1].index);
    }

    // Sets one control and shows what the driver then reports for every control, since one change can
    // change others (an automatic mode makes its manual value inactive).
    bool Apply(size_t row, int32_t value) {
        const HRESULT hr = driver_.SetControl(controls_[row].id, value);
        ReportOutcome(hr, controls_[row].name + L": ", Refresh());
        return SUCCEEDED(hr);
    }

    // Sets several together; true when the driver took them all.
    bool ApplyAll(const std::vector<size_t>& rows, const std::vector<int32_t>& values,
                  const wchar_t* failure) {
        std::vector<std::pair<uint32_t, int32_t>> set;
        for (size_t i = 0; i < rows.size(); ++i) set.emplace_back(controls_[rows[i]].id, values[i]);
        size_t failedAt = set.size();
        const HRESULT hr = driver_.SetControls(set, &failedAt);
        const std::wstring which = failedAt < rows.size() ? controls_[rows[failedAt]].name + L": " : L"";
        ReportOutcome(hr, failure + which, Refresh());
        return SUCCEEDED(hr);
    }

    // The change's failure first; else a failure to read the values back; else the line is cleared.
    void ReportOutcome(HRESULT set, const std::wstring& setContext, HRESULT read) {
        if (FAILED(set))
            Report(setContext + media::DescribeResult(set));
        else if (FAILED(read))
            Report(L"The camera's settings could not be read: " + media::DescribeResult(read));
        else
            Report(L"");
    }

    // Reads every value and mark again and shows them; on failure everything stays as it was.
    HRESULT Refresh() {
        std::vector<DriverControl> now;
        const HRESULT hr = driver_.ListControls(&now);
        if (FAILED(hr)) return hr;
        for (size_t row = 0; row < controls_.size(); ++row) {
            const auto same = std::find_if(now.begin(), now.end(),
                                           [&](const DriverControl& c) { return c.id == controls_[row].id; });
            if (same == now.end()) continue;
            controls_[row].value = same->value;
            controls_[row].readResult = same->readResult;
            controls_[row].inactive = same->inactive;
            ShowValue(row);
        }
        InvalidateRect(hwnd_, nullptr, TRUE);  // the names of controls that became inactive or active
        return S_OK;
    }

    void ShowValue(size_t row) {
        const DriverControl& control = controls_[row];
        const RowWindows& w = rows_[row];
        const bool readable = SUCCEEDED(control.readResult);
        switch (control.kind) {
            case DriverControlKind::Integer:
                SetWindowTextW(w.value, readable ? ValueText(control, control.value).c_str() : L"?");
                break;
            case DriverControlKind::Boolean:
                SendMessageW(w.value, kCheckBoxSetCheck, readable && control.value != 0, 0);
                break;
            case DriverControlKind::Menu:
            case DriverControlKind::IntegerMenu:
                SetWindowTextW(w.value,
                               readable ? (ValueText(control, control.value) + L"  \u25BE").c_str() : L"?");
                break;
            case DriverControlKind::Button:
                break;
        }
        const bool usable = control.kind == DriverControlKind::Button || (control.Settable() && readable);
        for (HWND part : {w.value, w.less, w.more, w.reset})
            if (part) EnableWindow(part, usable);
    }

    void Report(const std::wstring& text) { SetWindowTextW(status_, text.c_str()); }

    // Enter applies a value typed in the focused field; otherwise, or once it is applied, it is OK.
    void OnOk() {
        size_t row;
        ControlPart part;
        if (RowOf(GetDlgCtrlID(GetFocus()), &row, &part) && part == ControlPart::Value &&
            controls_[row].kind == DriverControlKind::Integer &&
            TextOf(rows_[row].value) != ValueText(controls_[row], controls_[row].value)) {
            CommitTyped(row);
            SendMessageW(rows_[row].value, EM_SETSEL, 0, -1);
            return;
        }
        Finish();
    }

    // Puts back every value that differs from the one found on opening, all in one step so that an
    // automatic mode and its manual value come back together.
    void OnCancel() {
        Refresh();  // when it fails, putting back will fail too and say so
        std::vector<size_t> rows;
        std::vector<int32_t> values;
        for (size_t row = 0; row < controls_.size(); ++row) {
            const DriverControl& was = opening_[row];
            if (was.Settable() && SUCCEEDED(was.readResult) && controls_[row].value != was.value) {
                rows.push_back(row);
                values.push_back(was.value);
            }
        }
        if (!rows.empty() && !ApplyAll(rows, values, L"Not every setting could be put back. ")) {
            MessageBoxW(hwnd_, TextOf(status_).c_str(), name_.c_str(), MB_ICONEXCLAMATION);
        }
        Finish();
    }

    void OnAllDefaults() {
        std::vector<size_t> rows;
        std::vector<int32_t> values;
        for (size_t row = 0; row < controls_.size(); ++row) {
            const DriverControl& control = controls_[row];
            if (control.Settable() && control.value != control.defaultValue) {
                rows.push_back(row);
                values.push_back(control.defaultValue);
            }
        }
        if (!rows.empty()) ApplyAll(rows, values, L"");
    }

    void Finish() {
        closing_ = true;
        done_ = true;
    }

    void OnPaint() {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        CameraControlsFace face;
        face.caption = name_;
        if (controls_.empty()) face.message = L"This camera has no settings of its own.";
        if (!pages_.empty()) {
            const ControlPage& page = pages_[page_];
            for (size_t slot = 0; slot < page.count; ++slot) {
                const DriverControl& control = controls_[page.first + slot];
                face.rows.push_back({control.name, RangeText(control), control.inactive,
                                     control.kind == DriverControlKind::Integer});
            }
        }
        PaintCameraControls(dc, font_, layout_, face);
        EndPaint(hwnd_, &ps);
    }

    const std::wstring name_;
    media::IDriverControls& driver_;
    HFONT font_ = nullptr;
    HWND hwnd_ = nullptr;
    HWND status_ = nullptr, pageList_ = nullptr;
    HWND focus_ = nullptr;  // the control that gets the focus back when the window is activated
    std::vector<DriverControl> controls_;  // as last read from the driver
    std::vector<DriverControl> opening_;   // as found on opening, which Cancel puts back
    std::vector<ControlPage> pages_;
    std::vector<RowWindows> rows_;  // one per control
    size_t page_ = 0;
    CameraControlsLayout layout_;
    bool done_ = false;
    bool closing_ = false;  // no more changes: a field that loses the focus as the window goes sets nothing
};

}  // namespace

bool ShowCameraControls(HWND owner, const std::wstring& cameraName, media::IDriverControls& controls) {
    return CameraControlsWindow(cameraName, controls).Run(DialogOwner(owner));
}

}  // namespace kestrova
