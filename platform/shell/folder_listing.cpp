#include "platform/shell/folder_listing.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cwctype>

#include "platform/base/files.h"
#include "platform/base/text.h"

namespace kestrova {
namespace {

// Compares names as the user reads them: letters of either case together, then by their exact spelling so
// the order is total.
bool NameBefore(const std::wstring& a, const std::wstring& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const wint_t x = std::towlower(wint_t(a[i])), y = std::towlower(wint_t(b[i]));
        if (x != y) return x < y;
    }
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

}  // namespace

std::vector<std::wstring> FilterPatterns(const wchar_t* filter, DWORD index) {
    if (!filter || !*filter) return {};
    // Walk to the pair asked for; a list that ends before it gives its first pair. A display text without
    // patterns ends the list where it stands, so the walk never passes the second zero.
    const wchar_t* pair = filter;
    for (DWORD i = 1; i < index; ++i) {
        const wchar_t* patterns = pair + std::wcslen(pair) + 1;
        if (!*patterns) break;
        const wchar_t* next = patterns + std::wcslen(patterns) + 1;
        if (!*next) {
            pair = filter;
            break;
        }
        pair = next;
    }
    std::wstring_view patterns(pair + std::wcslen(pair) + 1);
    std::vector<std::wstring> out;
    while (!patterns.empty()) {
        const size_t end = std::min(patterns.find(L';'), patterns.size());
        std::wstring_view one = patterns.substr(0, end);
        while (!one.empty() && one.front() == L' ') one.remove_prefix(1);
        while (!one.empty() && one.back() == L' ') one.remove_suffix(1);
        if (!one.empty()) out.emplace_back(one);
        patterns.remove_prefix(std::min(end + 1, patterns.size()));
    }
    return out;
}

bool MatchesAny(std::wstring_view name, const std::vector<std::wstring>& patterns) {
    if (patterns.empty()) return true;
    const std::string native = ToUtf8(name);
    for (const std::wstring& pattern : patterns) {
        if (pattern == L"*.*" || pattern == L"*") return true;
        if (fnmatch(ToUtf8(pattern).c_str(), native.c_str(), FNM_CASEFOLD | FNM_PERIOD) == 0) return true;
    }
    return false;
}

bool ListFolder(const std::wstring& folder, bool withFiles, const std::vector<std::wstring>& patterns,
                std::vector<FolderEntry>& entries) {
    const std::string path = NativePath(WithTrailingSlash(folder));
    DIR* dir = opendir(path.c_str());
    if (!dir) return false;
    std::vector<std::wstring> folders, files;
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.') continue;
        struct stat st {};
        if (stat((path + e->d_name).c_str(), &st) != 0) continue;  // a dangling link leads nowhere
        std::wstring name = FromUtf8(e->d_name);
        if (S_ISDIR(st.st_mode))
            folders.push_back(std::move(name));
        else if (withFiles && S_ISREG(st.st_mode) && MatchesAny(name, patterns))
            files.push_back(std::move(name));
    }
    closedir(dir);
    std::sort(folders.begin(), folders.end(), NameBefore);
    std::sort(files.begin(), files.end(), NameBefore);
    entries.clear();
    if (path != "/") entries.push_back({L"..", true});
    for (std::wstring& name : folders) entries.push_back({std::move(name), true});
    for (std::wstring& name : files) entries.push_back({std::move(name), false});
    return true;
}

std::wstring ResolvePath(std::wstring_view folder, std::wstring_view name) {
    std::wstring joined = !name.empty() && name.front() == L'/'
                              ? std::wstring(name)
                              : WithTrailingSlash(folder) + std::wstring(name);
    std::vector<std::wstring_view> steps;
    std::wstring_view rest(joined);
    while (!rest.empty()) {
        const size_t end = std::min(rest.find(L'/'), rest.size());
        std::wstring_view step = rest.substr(0, end);
        if (step == L"..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != L".") {
            steps.push_back(step);
        }
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    std::wstring out;
    for (std::wstring_view step : steps) out += L"/" + std::wstring(step);
    const bool endsInFolder = joined.back() == L'/' || name == L".." || name == L"." ||
                              name.ends_with(L"/..") || name.ends_with(L"/.");
    if (out.empty() || endsInFolder) out += L"/";
    return out;
}

bool IsPlainFile(std::wstring_view path) {
    struct stat st {};
    return stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace kestrova
