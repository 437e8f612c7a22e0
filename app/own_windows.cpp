#include "app/own_windows.h"

#include "platform/ui/messages.h"
#include "platform/ui/windows.h"

namespace kestrova {
namespace {

struct Search {
    std::wstring_view className;
    std::vector<HWND> found;
};

BOOL Collect(HWND hwnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<Search*>(lParam);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (search.className == name) search.found.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> OwnWindowsOfClass(std::wstring_view className) {
    Search search{className, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void DestroyOwnWindowsOfClass(std::wstring_view className) {
    for (HWND hwnd : OwnWindowsOfClass(className)) {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
}

}  // namespace kestrova
