#include "platform/shell/file_dialog_layout.h"

#include <algorithm>

namespace kestrova {
namespace {

constexpr int kCaptionHeight = 24;
constexpr int kMargin = 10;
constexpr int kGap = 8;
constexpr int kRowHeight = 20;
constexpr int kLabelWidth = 70;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kGripSize = kMargin;  // the corner beside the buttons

}  // namespace

FileDialogLayout LayOutFileDialog(int width, int height, bool withPrompt, bool withName) {
    width = std::max(width, kFileDialogMinWidth);
    height = std::max(height, kFileDialogMinHeight);
    FileDialogLayout l{};
    l.caption = {0, 0, width, kCaptionHeight};
    int y = kCaptionHeight + kGap;
    if (withPrompt) {
        l.prompt = {kMargin, y, width - kMargin, y + kRowHeight};
        y += kRowHeight + kGap / 2;
    }
    const int fieldLeft = kMargin + kLabelWidth;
    l.folderLabel = {kMargin, y, fieldLeft, y + kRowHeight};
    l.folderEdit = {fieldLeft, y, width - kMargin, y + kRowHeight};
    y += kRowHeight + kGap;

    const int buttonTop = height - kMargin - kButtonHeight;
    l.cancel = {width - kMargin - kButtonWidth, buttonTop, width - kMargin, buttonTop + kButtonHeight};
    l.ok = {l.cancel.left - kGap - kButtonWidth, buttonTop, l.cancel.left - kGap, buttonTop + kButtonHeight};
    int listBottom = buttonTop - kGap;
    if (withName) {
        const int nameTop = listBottom - kRowHeight;
        l.nameLabel = {kMargin, nameTop, fieldLeft, nameTop + kRowHeight};
        l.nameEdit = {fieldLeft, nameTop, width - kMargin, nameTop + kRowHeight};
        listBottom = nameTop - kGap;
    }
    l.list = {kMargin, y, width - kMargin, listBottom};
    l.grip = {width - kGripSize, height - kGripSize, width, height};
    return l;
}

}  // namespace kestrova
