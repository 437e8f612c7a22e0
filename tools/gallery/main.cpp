// gallery: shows the toolkit's controls in one window on the X display (or headless when
// KESTROVA_UI=headless), until the window is closed or Escape is pressed.

#include <cstdio>

#include "platform/ui/messages.h"
#include "toolkit/toolkit.h"
#include "tools/gallery/gallery_window.h"
#include "tools/gallery/more_controls_window.h"

int main() {
    if (!kestrova::InitToolkit()) {
        std::fputs("gallery: the toolkit's classes could not be registered\n", stderr);
        return 1;
    }
    if (!kestrova::gallery::RegisterGalleryClass() || !kestrova::gallery::CreateGalleryWindow(40, 40) ||
        !kestrova::gallery::RegisterMoreControlsClass() ||
        !kestrova::gallery::CreateMoreControlsWindow(780, 40)) {
        std::fputs("gallery: the window could not be made\n", stderr);
        return 1;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
