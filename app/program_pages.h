#pragma once
// The maker's web pages that the program opens: the welcome page of the first run and the pages of the main
// menu. They are the program's own pages, shipped in the "pages/" folder of its data folder and opened in
// the desktop's browser.

#include <string>

namespace kestrova {

enum class ProgramPage {
    kWelcome,
    kFacebook,
    kTwitter,
    kGooglePlus,
    kWebsite,
    kContact,
    kFeedback,
};

// The page's file in the program's data folder.
std::wstring ProgramPagePath(ProgramPage page);
// Opens the page with the shell; false when it is not there or nothing could open it.
bool OpenProgramPage(ProgramPage page);

}  // namespace kestrova
