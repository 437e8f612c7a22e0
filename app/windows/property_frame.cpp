#include "app/windows/property_frame.h"

#include <utility>

#include "app/windows/caption_drag.h"
#include "app/windows/frame_skin.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"
#include "toolkit/button.h"
#include "toolkit/drawing.h"
#include "toolkit/factories.h"
#include "toolkit/message_box.h"

namespace kestrova {
namespace {

constexpr int kCloseWidth = 41, kCloseHeight = 17, kCloseFromRight = 52;
constexpr int kButtonWidth = 91, kButtonHeight = 37, kButtonsFromBottom = 54, kButtonInset = 2;
constexpr int kOkFromRight = 113, kCancelFromRight = 205, kDefaultX = 22;

const PropertyWindowCreation* CreationOf(const CREATESTRUCTW& create) {
    return static_cast<const PropertyWindowCreation*>(create.lpCreateParams);
}

HFONT Font(int height, int bold, FontQuality quality) {
    return CreateUiFont(L"Tahoma", height, bold, quality == FontQuality::Proof ? 1 : 0);
}

}  // namespace

PropertyFrame::PropertyFrame(HWND window, const CREATESTRUCTW& create, FontQuality quality)
    : window_(window),
      normalFont_(Font(13, 0, quality)),
      boldFont_(Font(13, 1, quality)),
      headingFont_(Font(15, 0, quality)) {
    if (const PropertyWindowCreation* creation = CreationOf(create)) {
        record_ = creation->record;
        ownerToEnable_ = creation->ownerToEnable;
        resultOut_ = creation->result;
    }
}

void PropertyFrame::CreateButtons(FrameButtons buttons) {
    buttons_ = buttons;
    RECT client;
    GetClientRect(window_, &client);
    const int width = client.right, bottom = client.bottom - kButtonsFromBottom;
    HWND close =
        CreateButtonEx(window_, L"", kCloseButtonId, width - kCloseFromRight, 1, kCloseWidth, kCloseHeight);
    SendMessageW(close, kButtonBackgroundBitmap, kPropertySet, kPropertyCloseSkin);
    SendMessageW(close, kButtonBackgroundMode, kPropertySet, kStackedBackground);
    CreateDialogButton(window_, L"OK", kOkButtonId, width - kOkFromRight, bottom, kButtonWidth, kButtonHeight,
                       kButtonInset);
    if (buttons == FrameButtons::CloseAndOk) return;
    CreateDialogButton(window_, L"Cancel", kCancelButtonId, width - kCancelFromRight, bottom, kButtonWidth,
                       kButtonHeight, kButtonInset);
    CreateDialogButton(window_, L"Default", kDefaultButtonId, kDefaultX, bottom, kButtonWidth, kButtonHeight,
                       kButtonInset);
}

void PropertyFrame::Close() const {
    SendMessageW(window_, WM_CLOSE, 0, 0);
}

bool PropertyFrame::HandleCloseCommand(int id) const {
    const bool hasCancel = buttons_ == FrameButtons::CloseOkCancelDefault;
    if (id != kCloseButtonId && !(id == kCancelButtonId && hasCancel)) return false;
    Close();
    return true;
}

void PropertyFrame::ShowMessage(const wchar_t* text, int icon) const {
    ShowMessageEx(window_, text, kMessageOkStyle, icon, 1);
}

void PropertyFrame::Paint(const wchar_t* caption, const ExtraPainting& extra) const {
    toolkit::PaintBuffered(window_, [&](HDC dc, int width, int height) {
        PaintPropertyFrame(dc, width, height, BoldFont(), caption);
        if (extra) extra(dc, width, height);
    });
}

LRESULT PropertyFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCHITTEST:
            return CaptionHitTest(window_, wParam, lParam);
        case WM_CLOSE:
            // The owner comes back first, so that it is the window that takes the activation back.
            EnableOwner();
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            EnableOwner();  // gone by another road: with its owner, say
            if (resultOut_) *std::exchange(resultOut_, nullptr) = result_;
            return 0;
    }
    return DefWindowProcW(window_, msg, wParam, lParam);
}

void PropertyFrame::EnableOwner() {
    if (ownerToEnable_) EnableWindow(std::exchange(ownerToEnable_, nullptr), TRUE);
}

}  // namespace kestrova
