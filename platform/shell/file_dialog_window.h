#pragma once
// The window behind the open-file dialog and the folder browser: the current folder's path in an edit, its
// entries in a list box (".." to go up, then folders, then for the open dialog the files that the filter
// takes), for the open dialog a file-name edit, and OK and Cancel. A double click, or Enter on the list,
// opens a folder; Enter in the path edit goes to the folder typed there.

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace kestrova {

// The controls' ids; OK and Cancel are IDOK and IDCANCEL.
inline constexpr int kFolderEditId = 100;
inline constexpr int kEntryListId = 101;
inline constexpr int kFileNameEditId = 102;

struct FileDialogSetup {
    bool chooseFolder = false;           // the folder browser: folders only, no file-name edit
    std::wstring caption;                // the window's title
    std::wstring prompt;                 // shown above the path edit, when not empty
    std::wstring folder;                 // where it opens, ending in "/"
    std::wstring name;                   // the file-name edit's first text
    std::vector<std::wstring> patterns;  // the files shown; none: all
    bool fileMustExist = false;          // a name that is no existing file is refused
    bool pathMustExist = false;          // a name in a folder that does not exist is refused
    bool resizable = false;              // a size grip in the bottom right corner
    size_t longestPath = 0;              // the folder browser refuses longer paths; 0: no limit
};

// Shows the dialog modally over `owner` (which may be null). The chosen path, a folder's without its
// trailing "/" (except the root); nothing when the user cancels.
std::optional<std::wstring> RunFileDialog(HWND owner, const FileDialogSetup& setup);

}  // namespace kestrova
