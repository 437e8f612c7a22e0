#include "platform/shell/file_dialogs.h"

#include <cwchar>
#include <utility>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/file_dialog_window.h"
#include "platform/shell/folder_listing.h"
#include "platform/shell/modal_window.h"

namespace kestrova {
namespace {

// The dialogs run on the thread of their owner's windows, as do the tests that set the hooks.
OpenFileDialogHook g_openFileHook;
FolderBrowserHook g_folderBrowserHook;
DWORD g_lastError = 0;

// Where the open dialog starts and the name it shows: the buffer's folder (or the buffer itself when it
// names a folder) and its last part; a buffer naming no existing folder starts at home with no name.
void StartFrom(std::wstring_view initial, FileDialogSetup& setup) {
    setup.folder = HomeFolder();
    if (initial.empty() || initial.front() != L'/') return;
    const std::wstring path = ResolvePath(L"/", initial);
    if (IsFolder(path)) {
        setup.folder = WithTrailingSlash(path);
        return;
    }
    const std::wstring folder = FolderOf(path);
    if (!IsFolder(folder)) return;
    setup.folder = folder;
    setup.name = path.substr(folder.size());
}

// The id list of a folder: its path with a terminating zero, in memory the caller frees.
PIDLIST_ABSOLUTE MakeIdList(const std::wstring& path) {
    auto* block = static_cast<wchar_t*>(CoTaskMemAlloc((path.size() + 1) * sizeof(wchar_t)));
    if (!block) return nullptr;
    std::wmemcpy(block, path.c_str(), path.size() + 1);
    return reinterpret_cast<PIDLIST_ABSOLUTE>(block);
}

}  // namespace

OpenFileDialogHook SetOpenFileDialogHook(OpenFileDialogHook hook) {
    return std::exchange(g_openFileHook, std::move(hook));
}

FolderBrowserHook SetFolderBrowserHook(FolderBrowserHook hook) {
    return std::exchange(g_folderBrowserHook, std::move(hook));
}

}  // namespace kestrova

using namespace kestrova;

BOOL GetOpenFileNameW(OPENFILENAMEW* ofn) {
    g_lastError = 0;
    if (!ofn || ofn->lStructSize != sizeof(OPENFILENAMEW)) {
        g_lastError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
        g_lastError = CDERR_INITIALIZATION;
        return FALSE;
    }
    std::optional<std::wstring> chosen;
    if (g_openFileHook) {
        chosen = g_openFileHook(*ofn);
    } else {
        FileDialogSetup setup;
        setup.caption = L"Open";
        // The buffer need not hold a terminator within its size: only that much of it is read.
        StartFrom(std::wstring_view(ofn->lpstrFile, wcsnlen(ofn->lpstrFile, ofn->nMaxFile)), setup);
        setup.patterns = FilterPatterns(ofn->lpstrFilter, ofn->nFilterIndex);
        setup.fileMustExist = (ofn->Flags & OFN_FILEMUSTEXIST) != 0;
        setup.pathMustExist = (ofn->Flags & OFN_PATHMUSTEXIST) != 0;
        setup.resizable = (ofn->Flags & OFN_ENABLESIZING) != 0;
        chosen = RunFileDialog(DialogOwner(ofn->hwndOwner), setup);
    }
    if (!chosen) return FALSE;
    if (chosen->size() >= ofn->nMaxFile) {
        g_lastError = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    CopyWide(*chosen, ofn->lpstrFile, ofn->nMaxFile - 1);
    return TRUE;
}

DWORD CommDlgExtendedError() {
    return g_lastError;
}

PIDLIST_ABSOLUTE SHBrowseForFolderW(BROWSEINFOW* info) {
    if (!info) return nullptr;
    std::optional<std::wstring> chosen;
    if (g_folderBrowserHook) {
        chosen = g_folderBrowserHook(*info);
    } else {
        FileDialogSetup setup;
        setup.chooseFolder = true;
        setup.caption = L"Browse For Folder";
        setup.prompt = info->lpszTitle ? info->lpszTitle : L"";
        setup.folder = HomeFolder();
        setup.longestPath = MAX_PATH - 1;
        chosen = RunFileDialog(DialogOwner(info->hwndOwner), setup);
    }
    // A path the caller could not take back out is no choice at all.
    if (!chosen || chosen->empty() || chosen->size() >= size_t(MAX_PATH)) return nullptr;
    return MakeIdList(*chosen);
}

BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, wchar_t* path) {
    if (!path) return FALSE;
    path[0] = L'\0';
    if (!list) return FALSE;
    const auto* stored = reinterpret_cast<const wchar_t*>(list);
    const size_t length = std::wcslen(stored);
    if (length >= size_t(MAX_PATH)) return FALSE;
    std::wmemcpy(path, stored, length + 1);
    return TRUE;
}
