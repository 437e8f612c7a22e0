#include "app/windows/schedule_window.h"

#include <algorithm>

#include "app/windows/box_drag.h"
#include "app/windows/control_table.h"
#include "app/windows/property_frame.h"
#include "app/windows/schedule_grid.h"
#include "app/windows/stream_window.h"
#include "engine/device.h"
#include "platform/ui/windows.h"
#include "toolkit/drawing.h"
#include "toolkit/message_box.h"
#include "toolkit/skin.h"

namespace kestrova {
namespace {

constexpr SIZE kSize{620, 718};
constexpr int kMonitoringId = 1046, kStreamingId = 1047;

constexpr ControlSpec kControls[] = {
    {ControlKind::Heading, 1036, L"Actions", 19, 101, 300, 18},
    {ControlKind::Label, 1037, L"Set of actions to be done at scheduled time.", 37, 130, 500, 18},
    {ControlKind::CheckBox, kMonitoringId, L"Monitoring", 37, 157},
    {ControlKind::CheckBox, kStreamingId, L"Streaming", 37, 182},
    {ControlKind::Heading, 1038, L"Schedule", 19, 209, 300, 18},
    {ControlKind::Label, 1039, L"Set the time to automatically perform specified actions.", 37, 237, 500, 18},
};

constexpr wchar_t kNoActions[] = L"Select which actions are scheduled.";
constexpr wchar_t kNoTime[] = L"Set the time to automatically perform specified actions.";

// The grid skin: a day strip (blue band for the letter, hour numbers, grey quarter bars), then the pieces
// drawn over it.
constexpr int kGridSkin = 5668;
constexpr int kStripWidth = 544, kStripHeight = 48, kStripX = 37, kStripY = 265;
constexpr int kBarWidth = 14, kBarHeight = 5, kBarX = 61, kBarY = 283;
constexpr POINT kSetBar{552, 25}, kSelectedBar{552, 18};
constexpr int kHoverBoxWidth = 22, kHoverBoxHeight = 34, kHoverBoxY = 279;
constexpr POINT kHoverBox{570, 14};
constexpr RECT kDayLetterPlace{38, 283, 51, 298};
constexpr wchar_t kDayLetters[] = L"MTWTFSS";
constexpr COLORREF kDayLetterColour = RGB(255, 255, 255);

// What Show hands the window.
struct ScheduleEditing {
    ScheduleOptions* options;
    StreamingSetup* streaming;
};

class ScheduleWindow {
public:
    ScheduleWindow(HWND window, const CREATESTRUCTW& create)
        : frame_(window, create),
          options_(frame_.RecordAs<ScheduleEditing>()->options),
          streaming_(frame_.RecordAs<ScheduleEditing>()->streaming),
          letterFont_(CreateUiFont(L"Arial", 13, 1, 1)) {}

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        if (DispatchBoxDrag(*this, msg, wParam)) return 0;
        return DispatchPropertyMessage(*this, frame_, msg, wParam, lParam);
    }

    void OnCreate() {
        frame_.CreateButtons(FrameButtons::CloseOkCancelDefault);
        CreateControls(Window(), kControls);
        if (options_ && options_->type == kDeviceMicrophone)
            EnableWindow(GetDlgItem(Window(), kStreamingId), FALSE);
        OnDefault();
        if (!options_) return;
        SetChecked(Window(), kMonitoringId, options_->monitoring != 0);
        SetChecked(Window(), kStreamingId, options_->streaming != 0);
        if (options_->grid) edit_ = *options_->grid;
    }

    void OnCommand(int id) {
        switch (id) {
            case kOkButtonId:
                OnOk();
                return;
            case kDefaultButtonId:
                OnDefault();
                return;
            case kStreamingId:
                OnStreaming();
                return;
        }
    }

    void OnPaint() const {
        frame_.Paint(L"Scheduling", [this](HDC dc, int, int) { PaintGrid(dc); });
    }

private:
    HWND Window() const { return frame_.Window(); }
    void Repaint() const { InvalidateRect(Window(), nullptr, FALSE); }

    void OnDefault() {
        SetChecked(Window(), kMonitoringId, false);
        SetChecked(Window(), kStreamingId, false);
        edit_.fill(0);
        Repaint();
    }

    // The server's settings are needed for a schedule that streams; without them the tick goes again.
    void OnStreaming() {
        if (!IsChecked(Window(), kStreamingId)) return;
        if (!ShowStreamWindow(Window(), streaming_)) SetChecked(Window(), kStreamingId, false);
    }

    void OnOk() {
        if (!options_) {
            frame_.Close();
            return;
        }
        options_->monitoring = IsChecked(Window(), kMonitoringId) ? 1 : 0;
        options_->streaming = IsChecked(Window(), kStreamingId) ? 1 : 0;
        if (!options_->monitoring && !options_->streaming) {
            frame_.ShowMessage(kNoActions, kMessageInformation);
            return;
        }
        if (std::all_of(edit_.begin(), edit_.end(), [](uint16_t word) { return word == 0; })) {
            frame_.ShowMessage(kNoTime, kMessageInformation);
            return;
        }
        if (options_->grid) *options_->grid = edit_;
        frame_.SetResult(kPropertyOk);
        frame_.Close();
    }

public:  // the drag's handlers
    void OnButtonDown() {
        const POINT p = CursorInClient(Window());
        if (!InBox(kScheduleGridBox, p)) return;
        if (!dragging_) {
            SetCapture(Window());
            dragging_ = true;
        }
        anchor_ = QuarterAt(p).Index();
        selecting_ = true;
    }

    void OnMouseMove() {
        POINT p = CursorInClient(Window());
        if (!hovering_ && InBox(kScheduleGridBox, p)) {
            hovering_ = true;
            Repaint();
            SetTimer(Window(), kBoxLeaveTimer, kBoxLeavePeriodMs, nullptr);
        }
        // While the button is held outside the grid the stretch goes on along its edge.
        if (dragging_ && !hovering_) p = ClampIntoBox(kScheduleGridBox, p);
        if (!InBox(kScheduleGridBox, p)) return;
        const WeekQuarter under = QuarterAt(p);
        if (!(under == hover_)) {
            hover_ = under;
            Repaint();
        }
        if (selecting_) {
            pending_.fill(0);
            MarkStretch(pending_, anchor_, under.Index());
            Repaint();
        }
    }

    void OnButtonUp(bool left) {
        const bool set = left;
        if (!dragging_) return;
        ReleaseCapture();
        dragging_ = false;
        const POINT p = CursorInClient(Window());
        if (InBox(kScheduleGridBox, p)) SetQuarter(edit_, QuarterAt(p), set);
        for (size_t i = 0; i < edit_.size(); ++i)
            edit_[i] = set ? uint16_t(edit_[i] | pending_[i]) : uint16_t(edit_[i] & ~pending_[i]);
        ResetSelection();
        Repaint();
    }

    void OnLeaveTimer() {
        if (InBox(kScheduleGridBox, CursorInClient(Window()))) return;
        if (!dragging_) ResetSelection();
        hovering_ = false;
        Repaint();
        KillTimer(Window(), kBoxLeaveTimer);
    }

    void OnCaptureChanged() {
        KillTimer(Window(), kBoxLeaveTimer);
        dragging_ = selecting_ = hovering_ = false;
        Repaint();
    }

private:
    void ResetSelection() {
        hover_ = {};
        anchor_ = 0;
        pending_.fill(0);
        selecting_ = false;
    }

    void PaintGrid(HDC dc) const {
        const toolkit::Skin skin(dc, kGridSkin);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kDayLetterColour);
        toolkit::SelectedObject font(dc, letterFont_.get());
        for (int day = 0; day < kWeekDays; ++day) {
            skin.CopyTo(dc, kStripX, kStripY + kScheduleDayHeight * day, kStripWidth, kStripHeight, 0, 0);
            const int dy = kScheduleDayHeight * day;
            RECT letter{kDayLetterPlace.left, kDayLetterPlace.top + dy, kDayLetterPlace.right,
                        kDayLetterPlace.bottom + dy};
            DrawTextW(dc, &kDayLetters[day], 1, &letter, DT_CENTER | DT_SINGLELINE);
        }
        if (hovering_ || dragging_)
            skin.CopyTo(dc, kScheduleGridBox.left + kScheduleHourWidth * hover_.hour,
                        kHoverBoxY + kScheduleDayHeight * hover_.day, kHoverBoxWidth, kHoverBoxHeight,
                        kHoverBox.x, kHoverBox.y);
        PaintQuarters(dc, skin, edit_, kSetBar);
        if (hovering_) PaintBar(dc, skin, hover_, kSelectedBar);
        PaintQuarters(dc, skin, pending_, kSelectedBar);
    }

    static void PaintBar(HDC dc, const toolkit::Skin& skin, const WeekQuarter& q, POINT bar) {
        skin.CopyTo(dc, kBarX + kScheduleHourWidth * q.hour,
                    kBarY + kScheduleDayHeight * q.day + kQuarterPitch * q.quarter, kBarWidth, kBarHeight,
                    bar.x, bar.y);
    }

    static void PaintQuarters(HDC dc, const toolkit::Skin& skin, const WeekGrid& grid, POINT bar) {
        for (int day = 0; day < kWeekDays; ++day)
            for (int hour = 0; hour < kDayHours; ++hour)
                for (int quarter = 0; quarter < kHourQuarters; ++quarter)
                    if (IsQuarterSet(grid, {day, hour, quarter}))
                        PaintBar(dc, skin, {day, hour, quarter}, bar);
    }

    PropertyFrame frame_;
    ScheduleOptions* options_;
    StreamingSetup* streaming_;
    toolkit::OwnedGdiObject letterFont_;
    WeekGrid edit_{};
    WeekGrid pending_{};  // the stretch of the drag in progress
    WeekQuarter hover_;
    int anchor_ = 0;  // the quarter index where the drag began
    bool hovering_ = false, selecting_ = false, dragging_ = false;
};

}  // namespace

uint16_t RegisterScheduleWindowClass() {
    return RegisterPropertyWindowClass(kScheduleWindowClass, PropertyWindowProc<ScheduleWindow>);
}

int ShowScheduleWindow(HWND owner, ScheduleOptions* options, StreamingSetup* streaming) {
    ScheduleEditing editing{options, streaming};
    return ShowPropertyWindow(kScheduleWindowClass, owner, &editing, kSize);
}

}  // namespace kestrova
