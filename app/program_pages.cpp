#include "app/program_pages.h"

#include "platform/base/debug.h"
#include "platform/base/files.h"
#include "platform/shell/shell_open.h"

namespace kestrova {
namespace {

const wchar_t* FileName(ProgramPage page) {
    switch (page) {
        case ProgramPage::kWelcome:
            return L"welcome.html";
        case ProgramPage::kFacebook:
            return L"facebook.html";
        case ProgramPage::kTwitter:
            return L"twitter.html";
        case ProgramPage::kGooglePlus:
            return L"googleplus.html";
        case ProgramPage::kWebsite:
            return L"website.html";
        case ProgramPage::kContact:
            return L"contact.html";
        case ProgramPage::kFeedback:
            return L"feedback.html";
    }
    return L"welcome.html";
}

}  // namespace

std::wstring ProgramPagePath(ProgramPage page) {
    return WithTrailingSlash(ProgramDataFolder()) + L"pages/" + FileName(page);
}

bool OpenProgramPage(ProgramPage page) {
    const std::wstring path = ProgramPagePath(page);
    if (ShellOpen(path)) return true;
    DebugOutput(L"Cannot open the page " + path);
    return false;
}

}  // namespace kestrova
