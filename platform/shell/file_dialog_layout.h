#pragma once
// Where the parts of a file dialog go in its client area; the list takes whatever height is left.

#include "platform/ui/types.h"

namespace kestrova {

inline constexpr int kFileDialogWidth = 460;
inline constexpr int kFileDialogHeight = 340;
inline constexpr int kFileDialogMinWidth = 300;
inline constexpr int kFileDialogMinHeight = 220;

struct FileDialogLayout {
    RECT caption;  // the title strip, by which the window is moved
    RECT prompt;
    RECT folderLabel, folderEdit;
    RECT list;
    RECT nameLabel, nameEdit;  // empty without a file-name edit
    RECT ok, cancel;
    RECT grip;  // the size grip's corner
};

FileDialogLayout LayOutFileDialog(int width, int height, bool withPrompt, bool withName);

}  // namespace kestrova
