#include "toolkit/slider.h"

#include <algorithm>

#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"
#include "toolkit/control_window.h"
#include "toolkit/gdi_object.h"
#include "toolkit/notify.h"
#include "toolkit/skin.h"
#include "toolkit/slider_ticks.h"

namespace kestrova {

HWND CreateSliderEx(HWND parent, int id, int x, int y, int width, int height, int minimum, int maximum) {
    const LPARAM range = MAKELPARAM(uint16_t(minimum), uint16_t(maximum));
    return toolkit::CreateControl(toolkit::kSliderExClass, parent, L"", id, x, y, width, height,
                                  uintptr_t(range));
}

namespace toolkit {
namespace {

constexpr COLORREF kGrooveEdge = RGB(196, 196, 196);  // also the ticks and the plain thumb
constexpr COLORREF kGroove = RGB(222, 222, 222);
constexpr COLORREF kDragStartMark = RGB(77, 111, 170);
constexpr COLORREF kLevelColours[] = {RGB(77, 111, 170), RGB(116, 170, 38), RGB(209, 72, 54)};

constexpr int kMaximumLimit = 100;
constexpr int kGrooveTop = 9, kBarTop = 10, kBarBottom = 12, kGrooveInset = 10;
constexpr int kTickLength = 3, kLowerTicksTop = 18, kSliderHeight = 21;
constexpr int kThumbWidth = 19, kThumbHeight = 11, kThumbTop = 5;
constexpr int kCursorY = 10;  // where the held cursor sits on the thumb
// Rows of the thumb skin.
constexpr int kThumbNormal = 0, kThumbDragging = 1, kThumbDisabled = 2;

void Fill(HDC dc, RECT area, COLORREF colour) {
    OwnedGdiObject brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush.get());
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

}  // namespace

// The object behind each WSliderEx_0000 window. A drag runs from the press, which takes the capture and
// hides the cursor, to the release, or to a lost capture: either way the cursor is shown exactly once more.
class WSliderEx {
public:
    WSliderEx(HWND window, const CREATESTRUCTW& create);
    ~WSliderEx();
    WSliderEx(const WSliderEx&) = delete;
    WSliderEx& operator=(const WSliderEx&) = delete;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    LRESULT OnProperty(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnLevel(const PropertyMessage& property);
    void OnMouseMove();
    void OnLButtonDown();
    void OnLButtonUp();
    void OnCaptureChanged();
    // False, keeping the range, when it does not span two values once the maximum is cut.
    bool SetRange(WordPair range);
    void MoveCursorToThumb() const;
    void Invalidate() const { InvalidateRect(window_, nullptr, FALSE); }
    void Paint(HDC dc, int width, int height) const;
    void PaintThumb(HDC dc) const;

    HWND window_;
    SliderTicks ticks_;
    int32_t value_ = 0;
    int32_t dragStart_ = 0;
    int32_t level_ = 0;
    int32_t levelColour_ = kLevelBlue;
    int32_t thumbBitmap_ = 0;
    bool dragging_ = false;
};

const ControlClass kSliderExClass{L"WSliderEx_0000", IDC_ARROW, ControlWindowProc<WSliderEx>};

WSliderEx::WSliderEx(HWND window, const CREATESTRUCTW& create) : window_(window) {
    if (!SetRange(WordPair::Unpack(reinterpret_cast<LPARAM>(create.lpCreateParams)))) SetRange({0, 1});
}

WSliderEx::~WSliderEx() {
    // Destroyed in the middle of a drag: the cursor must not stay hidden.
    if (dragging_) ShowCursor(TRUE);
}

LRESULT WSliderEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            PaintBuffered(window_, [this](HDC dc, int width, int height) { Paint(dc, width, height); });
            return 0;
        case WM_ENABLE:
            Invalidate();  // the thumb shows the disabled state
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove();
            return 0;
        case WM_LBUTTONDOWN:
            OnLButtonDown();
            return 0;
        case WM_LBUTTONUP:
            OnLButtonUp();
            return 0;
        case WM_CAPTURECHANGED:
            OnCaptureChanged();
            return 0;
    }
    if (msg >= kSliderThumbBitmap && msg <= kSliderLevel) return OnProperty(msg, wParam, lParam);
    return DefWindowProcW(window_, msg, wParam, lParam);
}

LRESULT WSliderEx::OnProperty(UINT msg, WPARAM wParam, LPARAM lParam) {
    const PropertyMessage property(window_, wParam, lParam);
    switch (msg) {
        case kSliderThumbBitmap:
            return property.Apply(thumbBitmap_);
        case kSliderRange:
            if (property.Sets() && SetRange(WordPair::Unpack(lParam))) property.RepaintIfAsked();
            return MAKELPARAM(uint16_t(ticks_.Minimum()), uint16_t(ticks_.Maximum()));
        case kSliderValue:
            if (property.Sets()) {
                value_ = ticks_.Clamp(int(lParam));
                property.RepaintIfAsked();
            }
            return value_;
        case kSliderLevel:
            return OnLevel(property);
    }
    return 0;
}

LRESULT WSliderEx::OnLevel(const PropertyMessage& property) {
    if (!property.Sets()) return property.Value() == 0 ? level_ : levelColour_;
    const WordPair asked = WordPair::Unpack(property.Value());
    const int v = ticks_.Clamp(asked.second);
    int32_t& stored = asked.first == 0 ? level_ : levelColour_;
    stored = asked.first == 0 ? v : std::clamp(v, int(kLevelBlue), int(kLevelRed));
    property.RepaintIfAsked();
    return stored;
}

bool WSliderEx::SetRange(WordPair range) {
    const int minimum = range.first, maximum = std::min<int>(range.second, kMaximumLimit);
    if (!SliderTicks::Spans(minimum, maximum)) return false;
    RECT client;
    GetClientRect(window_, &client);
    ticks_.Layout(client.right, minimum, maximum);
    // Everything that names a tick must name one of the new range.
    value_ = ticks_.Clamp(value_);
    dragStart_ = ticks_.Clamp(dragStart_);
    level_ = ticks_.Clamp(level_);
    return true;
}

void WSliderEx::MoveCursorToThumb() const {
    RECT window;
    GetWindowRect(window_, &window);
    SetCursorPos(window.left + ticks_.X(value_), window.top + kCursorY);
}

void WSliderEx::OnLButtonDown() {
    if (dragging_) return;  // one hidden cursor per drag
    dragging_ = true;
    Invalidate();
    SetCapture(window_);
    dragStart_ = value_;
    ShowCursor(FALSE);
    SetFocus(window_);
    // The drag starts from the thumb, wherever the slider was pressed.
    MoveCursorToThumb();
}

void WSliderEx::OnMouseMove() {
    if (!dragging_) return;
    POINT cursor;
    GetCursorPos(&cursor);
    RECT window;
    GetWindowRect(window_, &window);
    // The hidden cursor is kept level with the slider's ends, so that moving back turns the drag at once.
    if (cursor.x < window.left)
        SetCursorPos(window.left, window.top);
    else if (cursor.x > window.right)
        SetCursorPos(window.right - 1, window.top);
    GetCursorPos(&cursor);
    const int value = ticks_.ValueAt(cursor.x - window.left, value_);
    if (value == value_) return;
    value_ = value;
    Invalidate();
}

void WSliderEx::OnLButtonUp() {
    if (!dragging_) return;
    // Ended before the capture goes, so that losing it is not taken for a broken drag.
    dragging_ = false;
    Invalidate();
    ReleaseCapture();
    MoveCursorToThumb();
    ShowCursor(TRUE);
    SendCommand(window_);
}

void WSliderEx::OnCaptureChanged() {
    const bool broken = dragging_;
    dragging_ = false;
    Invalidate();
    if (broken) ShowCursor(TRUE);
}

void WSliderEx::Paint(HDC dc, int width, int height) const {
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
    Fill(dc, RECT{kGrooveInset, kGrooveTop, width - kGrooveInset, kBarTop}, kGrooveEdge);
    Fill(dc, RECT{kGrooveInset, kBarTop, width - kGrooveInset, kBarBottom}, kGroove);
    {
        OwnedGdiObject pen(CreatePen(PS_SOLID, 1, kGrooveEdge));
        SelectedObject selected(dc, pen.get());
        for (int value = ticks_.Minimum(); value <= ticks_.Maximum(); ++value) {
            const int x = ticks_.X(value);
            Line(dc, x, 0, x, kTickLength);
            Line(dc, x, kLowerTicksTop, x, kLowerTicksTop + kTickLength);
        }
    }
    if (level_ > ticks_.Minimum()) {
        // At the maximum the bar covers the last tick's column too, so that a full level looks full.
        const int right = ticks_.X(level_) + (level_ == ticks_.Maximum() ? 1 : 0);
        Fill(dc, RECT{kGrooveInset, kBarTop, right, kBarBottom}, kLevelColours[levelColour_]);
    }
    if (dragging_) {
        OwnedGdiObject pen(CreatePen(PS_SOLID, 1, kDragStartMark));
        SelectedObject selected(dc, pen.get());
        const int x = ticks_.X(dragStart_);
        Line(dc, x, 0, x, kSliderHeight);
    }
    PaintThumb(dc);
}

void WSliderEx::PaintThumb(HDC dc) const {
    const int x = ticks_.X(value_);
    const Skin thumb(dc, thumbBitmap_);
    if (!thumb) {
        Fill(dc, RECT{x - 4, 4, x + 5, 17}, kGrooveEdge);
        return;
    }
    const int row = !IsWindowEnabled(window_) ? kThumbDisabled : dragging_ ? kThumbDragging : kThumbNormal;
    thumb.CopyTo(dc, x - kThumbWidth / 2, kThumbTop, kThumbWidth, kThumbHeight, 0, row * kThumbHeight);
}

}  // namespace toolkit
}  // namespace kestrova
