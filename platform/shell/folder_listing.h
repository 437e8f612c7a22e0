#pragma once
// What the file dialogs show of a folder, and the paths the user types into them.

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/types.h"

namespace kestrova {

struct FolderEntry {
    std::wstring name;  // ".." for the way up
    bool folder = false;
};

// The patterns (";" separated in the filter) of the 1-based pair `index` of a filter list: pairs of a
// display text and patterns, each ended by a zero, the list by a second zero. An index of 0 or past the end
// takes the first pair; no filter at all gives no patterns.
std::vector<std::wstring> FilterPatterns(const wchar_t* filter, DWORD index);

// True when `name` matches one of `patterns` ("*" and "?" wildcards, letters of either case), or when there
// are none. "*.*" matches every name, with or without an extension.
bool MatchesAny(std::wstring_view name, const std::vector<std::wstring>& patterns);

// The entries of `folder`: ".." unless it is the root, then its folders, then, with `withFiles`, its plain
// files that match `patterns`; folders and files each sorted by name, letters of either case together.
// Names starting with "." stay hidden, as the desktop hides them. False when the folder cannot be read.
bool ListFolder(const std::wstring& folder, bool withFiles, const std::vector<std::wstring>& patterns,
                std::vector<FolderEntry>& entries);

// `name` as an absolute path: as it is when it starts with "/", else inside `folder` (which ends in "/");
// "." and ".." steps and doubled "/" are folded away. A trailing "/" stays.
std::wstring ResolvePath(std::wstring_view folder, std::wstring_view name);

// True when `path` names a plain file (a link to one counts).
bool IsPlainFile(std::wstring_view path);

}  // namespace kestrova
