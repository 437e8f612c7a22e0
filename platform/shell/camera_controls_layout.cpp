#include "platform/shell/camera_controls_layout.h"

namespace kestrova {
namespace {

constexpr int kCaptionHeight = 26;
constexpr int kMargin = 14;
constexpr int kGap = 8;
constexpr int kRowPitch = 32;
constexpr int kRowHeight = 24;
constexpr int kPagesWidth = 150;
constexpr int kMessageHeight = 48;
constexpr int kStatusHeight = 20;
constexpr int kButtonHeight = 26;
constexpr int kButtonWidth = 84;
constexpr int kAllDefaultsWidth = 110;

// A row's columns, from the left of the rows.
constexpr int kNameWidth = 180;
constexpr int kStepWidth = 24;
constexpr int kValueWidth = 118;
constexpr int kValueColumn = kNameWidth + 6;
constexpr int kValueColumnWidth = 2 * kStepWidth + kValueWidth + 4;
constexpr int kRangeColumn = kValueColumn + kValueColumnWidth + 12;
constexpr int kRangeWidth = 130;
constexpr int kResetWidth = 76;
constexpr int kRowWidth = kRangeColumn + kRangeWidth + kGap + kResetWidth;

int RowsLeft(bool withPages) {
    return kMargin + (withPages ? kPagesWidth + 2 * kGap : 0);
}

RECT At(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

}  // namespace

std::vector<ControlPage> PageControls(const std::vector<media::DriverControl>& controls) {
    std::vector<ControlPage> pages;
    for (size_t i = 0; i < controls.size(); ++i) {
        const bool sameGroup = !pages.empty() && controls[i].group == controls[pages.back().first].group;
        if (sameGroup && pages.back().count < kRowsPerPage) {
            ++pages.back().count;
            continue;
        }
        // A class that goes on over another page says so in its title.
        pages.push_back({sameGroup ? controls[i].group + L" (more)" : controls[i].group, i, 1});
    }
    return pages;
}

CameraControlsLayout LayOutCameraControls(size_t rows, bool withPages) {
    CameraControlsLayout l{};
    const int rowsLeft = RowsLeft(withPages);
    l.width = rowsLeft + kRowWidth + kMargin;
    const int bodyTop = kCaptionHeight + kMargin;
    const int bodyHeight = rows == 0 ? kMessageHeight : int(rows) * kRowPitch - (kRowPitch - kRowHeight);
    const int statusTop = bodyTop + bodyHeight + kGap;
    const int buttonTop = statusTop + kStatusHeight + kGap;
    l.height = buttonTop + kButtonHeight + kMargin;

    l.caption = {0, 0, l.width, kCaptionHeight};
    l.pages = withPages ? At(kMargin, bodyTop, kPagesWidth, bodyHeight) : RECT{};
    l.message = rows == 0 ? At(kMargin, bodyTop, l.width - 2 * kMargin, kMessageHeight) : RECT{};
    l.status = At(kMargin, statusTop, l.width - 2 * kMargin, kStatusHeight);
    l.allDefaults = At(rowsLeft, buttonTop, kAllDefaultsWidth, kButtonHeight);
    l.cancel = At(l.width - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
    l.ok = At(l.cancel.left - kGap - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
    return l;
}

ControlRowLayout LayOutControlRow(const CameraControlsLayout& window, size_t slot) {
    const bool withPages = window.pages.right > window.pages.left;
    const int left = RowsLeft(withPages);
    const int top = kCaptionHeight + kMargin + int(slot) * kRowPitch;
    ControlRowLayout r{};
    r.name = At(left, top, kNameWidth, kRowHeight);
    r.less = At(left + kValueColumn, top, kStepWidth, kRowHeight);
    r.value = At(r.less.right + 2, top, kValueWidth, kRowHeight);
    r.more = At(r.value.right + 2, top, kStepWidth, kRowHeight);
    r.wideValue = At(left + kValueColumn, top, kValueColumnWidth, kRowHeight);
    r.range = At(left + kRangeColumn, top, kRangeWidth, kRowHeight);
    r.reset = At(left + kRangeColumn + kRangeWidth + kGap, top, kResetWidth, kRowHeight);
    return r;
}

}  // namespace kestrova
