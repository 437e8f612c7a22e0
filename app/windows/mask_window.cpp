#include "app/windows/mask_window.h"

#include <algorithm>
#include <vector>

#include "app/windows/box_drag.h"
#include "app/windows/control_table.h"
#include "app/windows/mask_grid.h"
#include "app/windows/property_frame.h"
#include "platform/ui/windows.h"
#include "toolkit/drawing.h"

namespace kestrova {
namespace {

constexpr SIZE kSize{620, 679};
constexpr int kMotionId = 1041, kPrivacyId = 1042;
constexpr RadioChoice kMaskChoices[] = {{kMotionId, 0}, {kPrivacyId, 1}};

constexpr ControlSpec kControls[] = {
    {ControlKind::Heading, 1036, L"Masking", 19, 101, 509, 18},
    {ControlKind::Radio, kMotionId, L"Motion Masking", 37, 129},
    {ControlKind::Label, 1037, L"Motion in masked area is ignored.", 57, 148, 509, 18},
    {ControlKind::Radio, kPrivacyId, L"Privacy Masking", 37, 173},
    {ControlKind::Label, 1038, L"Black overlay covers masked area.", 57, 192, 509, 18},
    {ControlKind::Heading, 1039, L"Motion Masking", 19, 219},
    {ControlKind::Label, 1040,
     L"Click on the areas you want to mask. Translucent red overlay indicates marked areas.", 37, 247, 509,
     18},
};

// The picture: 400 x 300 in cells of 40 x 30, inside a dashed frame 6 pixels around it.
constexpr RECT kPictureBox{43, 280, 443, 580};
constexpr int kCellWidth = 40, kCellHeight = 30;
constexpr RECT kDashedFrame{37, 274, 449, 586};
constexpr COLORREF kSelectionColour = RGB(255, 215, 51);

RECT CellAt(POINT p) {
    const int column = (p.x - kPictureBox.left) / kCellWidth, row = (p.y - kPictureBox.top) / kCellHeight;
    const int left = kPictureBox.left + kCellWidth * column, top = kPictureBox.top + kCellHeight * row;
    return {left, top, left + kCellWidth, top + kCellHeight};
}

bool IsEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT Union(const RECT& a, const RECT& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

class MaskWindow {
public:
    MaskWindow(HWND window, const CREATESTRUCTW& create)
        : frame_(window, create),
          params_(frame_.RecordAs<MaskEditParams>()),
          selectionBrush_(CreateSolidBrush(kSelectionColour)) {}

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        if (DispatchBoxDrag(*this, msg, wParam)) return 0;
        return DispatchPropertyMessage(*this, frame_, msg, wParam, lParam);
    }

    void OnCreate() {
        frame_.CreateButtons(FrameButtons::CloseOkCancelDefault);
        CreateControls(Window(), kControls);
        OnDefault();
        if (!params_) return;
        if (params_->motion) ReduceMask(motion_, *params_->motion);
        if (params_->privacy) ReduceMask(privacy_, *params_->privacy);
        Show(kMotionId);
    }

    void OnCommand(int id) {
        switch (id) {
            case kOkButtonId:
                OnOk();
                return;
            case kDefaultButtonId:
                OnDefault();
                return;
            case kMotionId:
            case kPrivacyId:
                Show(id);
                return;
        }
    }

    void OnPaint() const {
        frame_.Paint(L"Masking", [this](HDC dc, int, int) { PaintPicture(dc); });
    }

private:
    HWND Window() const { return frame_.Window(); }
    bool EditingPrivacy() const { return IsChecked(Window(), kPrivacyId); }

    // Selects the mask of radio `id` for editing.
    void Show(int id) {
        CheckRadio(Window(), kMaskChoices, id);
        shown_ = id == kPrivacyId ? privacy_ : motion_;
        Retint();
    }

    void OnDefault() {
        motion_.fill(0);
        privacy_.fill(0);
        Show(kMotionId);
    }

    void OnOk() {
        if (params_) {
            if (params_->motion) ExpandMask(*params_->motion, motion_);
            if (params_->privacy) ExpandMask(*params_->privacy, privacy_);
            frame_.SetResult(kPropertyOk);
        }
        frame_.Close();
    }

    void Retint() {
        tinted_ =
            params_ ? TintMaskedCells(params_->pixels, params_->header, shown_) : std::vector<uint8_t>();
        InvalidateRect(Window(), nullptr, FALSE);
    }

public:  // the drag's handlers
    void OnButtonDown() {
        const POINT p = CursorInClient(Window());
        if (!InBox(kPictureBox, p)) return;
        if (!dragging_) {
            SetCapture(Window());
            dragging_ = true;
        }
        anchor_ = CellAt(p);
    }

    void OnMouseMove() {
        POINT p = CursorInClient(Window());
        if (!hovering_ && InBox(kPictureBox, p)) {
            hovering_ = true;
            InvalidateRect(Window(), nullptr, FALSE);
            SetTimer(Window(), kBoxLeaveTimer, kBoxLeavePeriodMs, nullptr);
        }
        // A held drag outside the picture goes on along its edge.
        if (dragging_ && !hovering_) p = ClampIntoBox(kPictureBox, p);
        if (!InBox(kPictureBox, p)) return;
        const RECT cell = CellAt(p);
        if (SameRect(cell, current_)) return;
        current_ = cell;
        selection_ = IsEmpty(anchor_) ? current_ : Union(anchor_, current_);
        InvalidateRect(Window(), nullptr, FALSE);
    }

    void OnButtonUp(bool left) {
        const int32_t value = left ? 1 : 0;
        if (!dragging_) return;
        ReleaseCapture();
        dragging_ = false;
        for (int row = 0; row < kCoarseSide; ++row)
            for (int column = 0; column < kCoarseSide; ++column) {
                const POINT corner{kPictureBox.left + kCellWidth * column,
                                   kPictureBox.top + kCellHeight * row};
                if (corner.x >= selection_.left && corner.x < selection_.right &&
                    corner.y >= selection_.top && corner.y < selection_.bottom)
                    shown_[row * kCoarseSide + column] = value;
            }
        (EditingPrivacy() ? privacy_ : motion_) = shown_;
        Retint();
        anchor_ = current_ = selection_ = RECT{};
        OnMouseMove();  // hovering resumes at the pointer
    }

    void OnLeaveTimer() {
        if (InBox(kPictureBox, CursorInClient(Window()))) return;
        if (!dragging_) anchor_ = current_ = selection_ = RECT{};
        hovering_ = false;
        InvalidateRect(Window(), nullptr, FALSE);
        KillTimer(Window(), kBoxLeaveTimer);
    }

    void OnCaptureChanged() {
        KillTimer(Window(), kBoxLeaveTimer);
        dragging_ = hovering_ = false;
        InvalidateRect(Window(), nullptr, FALSE);
    }

private:
    void PaintPicture(HDC dc) const {
        DrawDashedFrame(dc, L"", kDashedFrame.left, kDashedFrame.top, kDashedFrame.right - kDashedFrame.left,
                        kDashedFrame.bottom - kDashedFrame.top);
        FillRect(dc, &kPictureBox, HBRUSH(GetStockObject(LTGRAY_BRUSH)));
        if (!tinted_.empty()) {
            BITMAPINFO info{};
            info.bmiHeader = params_->header;
            SetStretchBltMode(dc, COLORONCOLOR);
            StretchDIBits(dc, kPictureBox.left, kPictureBox.top, kPictureBox.right - kPictureBox.left,
                          kPictureBox.bottom - kPictureBox.top, 0, 0, info.bmiHeader.biWidth,
                          info.bmiHeader.biHeight, tinted_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
        }
        if (IsEmpty(selection_)) return;
        const HBRUSH brush = HBRUSH(selectionBrush_.get());
        FrameRect(dc, &selection_, brush);
        const RECT inner{selection_.left + 1, selection_.top + 1, selection_.right - 1,
                         selection_.bottom - 1};
        FrameRect(dc, &inner, brush);
    }

    PropertyFrame frame_;
    MaskEditParams* params_;
    toolkit::OwnedGdiObject selectionBrush_;
    std::vector<uint8_t> tinted_;  // the still with the shown mask's cells tinted
    CoarseMask shown_{}, motion_{}, privacy_{};
    // Client rectangles of cells: where the drag began, under the pointer, and the span of both.
    RECT anchor_{}, current_{}, selection_{};
    bool hovering_ = false, dragging_ = false;
};

}  // namespace

uint16_t RegisterMaskWindowClass() {
    return RegisterPropertyWindowClass(kMaskWindowClass, PropertyWindowProc<MaskWindow>);
}

int ShowMaskWindow(HWND owner, MaskEditParams* params) {
    return ShowPropertyWindow(kMaskWindowClass, owner, params, kSize);
}

}  // namespace kestrova
