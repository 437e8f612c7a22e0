#include "app/program_pages.h"

#include "platform/base/debug.h"
#include "platform/base/files.h"
#include "platform/shell/shell_open.h"

namespace kestrova {
namespace {

// In the order of ProgramPage.
constexpr const wchar_t* kFiles[] = {
    L"welcome.html", L"facebook.html", L"twitter.html",  L"googleplus.html",
    L"website.html", L"contact.html",  L"feedback.html",
};

}  // namespace

std::wstring ProgramPagePath(ProgramPage page) {
    return WithTrailingSlash(ProgramDataFolder()) + L"pages/" + kFiles[static_cast<size_t>(page)];
}

bool OpenProgramPage(ProgramPage page) {
    const std::wstring path = ProgramPagePath(page);
    if (ShellOpen(path)) return true;
    DebugOutput(L"Cannot open the page " + path);
    return false;
}

}  // namespace kestrova
