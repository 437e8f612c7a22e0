#include "toolkit/message_box_window.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"
#include "toolkit/choice.h"
#include "toolkit/control_window.h"
#include "toolkit/drawing.h"
#include "toolkit/factories.h"
#include "toolkit/gdi_object.h"
#include "toolkit/label_fit.h"
#include "toolkit/message_box_layout.h"
#include "toolkit/skin.h"
#include "toolkit/text_fit.h"
#include "toolkit/window_frame.h"

namespace kestrova {
namespace toolkit {
namespace {

constexpr COLORREF kText = RGB(70, 70, 72);
constexpr int kTextCapacity = 1000;  // 999 characters and the terminator
constexpr int kTextRightMargin = 31, kTextBottomMargin = 77;
constexpr int kIconSize = 48, kIconLeft = 25, kIconTop = 55, kIconCount = 5;
constexpr int kBlankLineHeight = 8;  // a line holding one space, left by a run of "<nl>"
constexpr int kButtonInset = 2;

const wchar_t* CaptionOr(const wchar_t* caption, const wchar_t* standard) {
    return caption[0] ? caption : standard;
}

}  // namespace

// The object behind the box's window, made on WM_NCCREATE.
class MessageExWindow {
public:
    MessageExWindow(HWND window, const CREATESTRUCTW& create);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void OnCreate();
    LRESULT OnHitTest(WPARAM wParam, LPARAM lParam);
    void OnCommand(int id);
    void OnClose();
    void OnDestroy();
    void EnableOwner();
    void MakeControls(SIZE box);
    void PlaceOnScreen(SIZE box);
    const wchar_t* CaptionOf(int id) const;
    void Paint(HDC dc, int width, int height) const;
    void PaintText(HDC dc, int width, int height) const;

    HWND window_;
    int32_t result_ = 0;
    OwnedGdiObject font_;
    int32_t textHeight_ = 0;
    MessageExParams params_;
    HWND ownerToEnable_ = nullptr;
    int* resultOut_ = nullptr;
};

MessageExWindow::MessageExWindow(HWND window, const CREATESTRUCTW& create)
    : window_(window), font_(CreateUiFont(L"Tahoma", 13, 0, 0)) {
    if (const auto* creation = static_cast<const MessageExCreation*>(create.lpCreateParams)) {
        params_ = creation->params;
        ownerToEnable_ = creation->ownerToEnable;
        resultOut_ = creation->result;
    }
    params_.icon = std::clamp(int(params_.icon), 0, kIconCount - 1);
    for (wchar_t* caption : {params_.okCaption, params_.cancelCaption, params_.yesCaption, params_.noCaption})
        caption[kMessageCaptionCapacity - 1] = L'\0';
}

LRESULT MessageExWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_PAINT:
            PaintBuffered(window_, [this](HDC dc, int width, int height) { Paint(dc, width, height); });
            return 0;
        case WM_NCHITTEST:
            return OnHitTest(wParam, lParam);
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
    }
    return DefWindowProcW(window_, msg, wParam, lParam);
}

void MessageExWindow::OnCreate() {
    const std::wstring text = ControlText(window_, kTextCapacity);
    RECT created;
    GetWindowRect(window_, &created);
    const MessageLayout layout =
        LayOutMessage(text, params_.style, created.right - created.left,
                      [this](std::wstring_view part) { return MeasureText(window_, font_.get(), part); });
    if (layout.text != text) SetWindowTextW(window_, layout.text.c_str());
    textHeight_ = layout.textHeight;
    SetWindowPos(window_, nullptr, 0, 0, layout.box.cx, layout.box.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RoundWindowCorners(window_, layout.box.cx, layout.box.cy);
    PlaceOnScreen(layout.box);
    MakeControls(layout.box);
    MessageBeep(params_.icon == kMessageError ? MB_ICONHAND : MB_OK);
}

// A modal box stands centred on its owner, any other in the middle of the screen.
void MessageExWindow::PlaceOnScreen(SIZE box) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const HWND owner = GetParent(window_);
    if (params_.modal && owner) GetWindowRect(owner, &area);
    const int x = area.left + (area.right - area.left - box.cx) / 2;
    const int y = area.top + (area.bottom - area.top - box.cy) / 2;
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MessageExWindow::MakeControls(SIZE box) {
    for (const MessageButtonPlace& button : MessageButtons(params_.style, box))
        CreateDialogButton(window_, CaptionOf(button.id), button.id, button.at.x, button.at.y,
                           kMessageButtonWidth, kMessageButtonHeight, kButtonInset);
    if (params_.style & kMessageDontShowAgain) {
        const POINT at = DontShowAgainPlace(textHeight_);
        CreateCheckBox(window_, L"Don't show again", kMessageDontShowAgainId, at.x, at.y);
    }
}

const wchar_t* MessageExWindow::CaptionOf(int id) const {
    switch (id) {
        case kMessageCancelId:
            return CaptionOr(params_.cancelCaption, L"Cancel");
        case kMessageYesId:
            return CaptionOr(params_.yesCaption, L"Yes");
        case kMessageNoId:
            return CaptionOr(params_.noCaption, L"No");
    }
    return CaptionOr(params_.okCaption, L"OK");
}

LRESULT MessageExWindow::OnHitTest(WPARAM wParam, LPARAM lParam) {
    const LRESULT hit = DefWindowProcW(window_, WM_NCHITTEST, wParam, lParam);
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window_, &at);
    return hit == HTCLIENT && at.y < kFrameDragBand ? HTCAPTION : hit;
}

void MessageExWindow::OnCommand(int id) {
    if (id < kMessageOkId || id > kMessageNoId) return;  // the check box's own clicks among them
    const LRESULT ticked =
        SendDlgItemMessageW(window_, kMessageDontShowAgainId, kChoiceChecked, kPropertyRead, 0);
    result_ = (id - kMessageOkId + kMessageOk) + kMessageTicked * int(ticked & 0xFF);
    SendMessageW(window_, WM_CLOSE, 0, 0);
}

void MessageExWindow::OnClose() {
    if (result_ == 0) result_ = kMessageOk;
    // Enabled before the box goes, so that the owner is the window that takes the activation back.
    EnableOwner();
    DestroyWindow(window_);
}

void MessageExWindow::OnDestroy() {
    if (result_ == 0) result_ = kMessageOk;  // destroyed with its owner, say
    EnableOwner();
    if (!resultOut_) return;
    *resultOut_ = result_;
    // Wakes the box's loop, should it be waiting for a message, to see that the box is gone.
    PostMessageW(nullptr, WM_NULL, 0, 0);
}

void MessageExWindow::EnableOwner() {
    if (ownerToEnable_) EnableWindow(std::exchange(ownerToEnable_, nullptr), TRUE);
}

void MessageExWindow::Paint(HDC dc, int width, int height) const {
    DrawWindowFrame(dc, kMessageFrameSkin, width, height);
    const Skin icons(dc, kMessageIconSkin);
    icons.CopyTo(dc, kIconLeft, kIconTop, kIconSize, kIconSize, params_.icon * kIconSize, 0);
    PaintText(dc, width, height);
}

void MessageExWindow::PaintText(HDC dc, int width, int height) const {
    const std::wstring text = ControlText(window_, kTextCapacity);
    SelectedObject font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    RECT place{kMessageTextLeft, kMessageTextTop, width - kTextRightMargin, height - kTextBottomMargin};
    // A text lower than the icon is centred on it, unless the check box stands below it.
    if (textHeight_ < kIconSize && !(params_.style & kMessageDontShowAgain))
        place.top += (kIconSize - textHeight_) / 2;
    if (text.find(L'\n') == std::wstring::npos) {
        DrawTextW(dc, text.c_str(), int(text.size()), &place, 0);
        return;
    }
    const std::vector<std::wstring_view> lines = LabelLines(text);
    if (lines.empty()) return;
    RECT first = place;
    DrawTextW(dc, lines.front().data(), int(lines.front().size()), &first, DT_CALCRECT);
    const int lineHeight = first.bottom - first.top;
    for (std::wstring_view line : lines) {
        if (line == L" ") {
            place.top += kBlankLineHeight;
            continue;
        }
        DrawTextW(dc, line.data(), int(line.size()), &place, 0);
        place.top += lineHeight + kMessageLineGap;
    }
}

bool MessageExWindowReady(HWND box) {
    return ObjectPointer(box) != nullptr;
}

}  // namespace toolkit

BOOL RegisterMessageExWindowClass() {
    WNDCLASSEXW wc;
    wc.lpfnWndProc = toolkit::ControlWindowProc<toolkit::MessageExWindow, toolkit::ObjectCreatedOn::NcCreate>;
    wc.cbWndExtra = toolkit::kObjectExtraBytes;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = toolkit::kMessageExClassName;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace kestrova
