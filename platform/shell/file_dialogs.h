#pragma once
// The open-file dialog and the folder browser: modal windows of the layer, owned by the caller's window,
// which stays disabled while they show. Both can be answered by a hook instead of a window (tests of the
// program's own windows set one).

#include <functional>
#include <optional>
#include <string>

#include "platform/base/task_memory.h"
#include "platform/ui/types.h"

// The longest path, terminator included, that SHGetPathFromIDListW writes.
inline constexpr int MAX_PATH = 260;

// Open-file options.
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;  // implies OFN_PATHMUSTEXIST
inline constexpr DWORD OFN_EXPLORER = 0x00080000;       // the only style here; accepted for callers that ask
inline constexpr DWORD OFN_ENABLESIZING = 0x00800000;   // a size grip in the corner

struct OPENFILENAMEW {
    DWORD lStructSize = sizeof(OPENFILENAMEW);
    HWND hwndOwner = nullptr;
    // Pairs of a display text and its patterns (";" separated), each ended by a zero, the list by a second
    // zero: L"All Files (*.*)\0*.*\0". "*.*" takes every file, with or without an extension.
    const wchar_t* lpstrFilter = nullptr;
    DWORD nFilterIndex = 0;  // 1-based pair in use; 0 takes the first
    // The initial name on the way in (its folder is where the dialog opens) and the chosen path on the way
    // out; it holds nMaxFile characters, terminator included.
    wchar_t* lpstrFile = nullptr;
    DWORD nMaxFile = 0;
    DWORD Flags = 0;
};

// TRUE with the chosen file's full path in lpstrFile. FALSE when the user cancels, when the path does not
// fit lpstrFile (which is then left as it was; CommDlgExtendedError tells FNERR_BUFFERTOOSMALL), or when
// the record is unusable.
BOOL GetOpenFileNameW(OPENFILENAMEW* ofn);

// Why the last dialog returned FALSE: 0 when the user cancelled.
inline constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
inline constexpr DWORD CDERR_INITIALIZATION = 0x0002;
inline constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;
DWORD CommDlgExtendedError();

// An item identifier list: here the absolute path of a folder, allocated with CoTaskMemAlloc and freed by
// the caller with CoTaskMemFree.
struct ITEMIDLIST;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using LPITEMIDLIST = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;

inline constexpr UINT BIF_RETURNONLYFSDIRS = 0x00000001;  // every folder shown is a file-system folder

// The browser starts in the user's home folder and may go anywhere in the file system.
struct BROWSEINFOW {
    HWND hwndOwner = nullptr;
    const wchar_t* lpszTitle = nullptr;  // shown above the folders
    UINT ulFlags = 0;
};

// The chosen folder, or null when the user cancels. Only folders whose path fits MAX_PATH can be chosen.
PIDLIST_ABSOLUTE SHBrowseForFolderW(BROWSEINFOW* info);
// Writes the folder's path (no trailing "/") into `path`, which holds MAX_PATH characters; FALSE, with
// `path` empty, when the list is null or its path does not fit.
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, wchar_t* path);

namespace kestrova {

// Stand-ins for the user: while set, a hook answers its dialog without a window. It gets the caller's
// record and gives the chosen path, or nothing for a cancel; the rest (the buffer and its size, the id
// list) is handled as for a choice made in the window. Setting an empty hook brings the windows back.
// Each returns the hook it replaced.
using OpenFileDialogHook = std::function<std::optional<std::wstring>(const OPENFILENAMEW&)>;
OpenFileDialogHook SetOpenFileDialogHook(OpenFileDialogHook hook);
using FolderBrowserHook = std::function<std::optional<std::wstring>(const BROWSEINFOW&)>;
FolderBrowserHook SetFolderBrowserHook(FolderBrowserHook hook);

}  // namespace kestrova
