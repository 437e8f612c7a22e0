#pragma once
// What a file dialog draws itself: the title strip, the labels, the fields' borders and the size grip. The
// edits, the list and the buttons paint their own insides.

#include <string>

#include "platform/shell/file_dialog_layout.h"
#include "platform/ui/types.h"

namespace kestrova {

struct FileDialogFace {
    std::wstring caption;
    std::wstring prompt;  // none when empty
    bool withName = false;
    bool resizable = false;
};

void PaintFileDialog(HDC dc, HFONT font, FileDialogLayout layout, const FileDialogFace& face);

}  // namespace kestrova
