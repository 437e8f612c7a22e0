#include "app/image_button.h"

#include "platform/ui/messages.h"
#include "toolkit/button.h"

namespace kestrova {

HWND CreateImageButton(HWND parent, int id, int x, int y, int width, int height, int bitmap) {
    HWND button = CreateButtonEx(parent, L"", id, x, y, width, height);
    SendMessageW(button, kButtonBackgroundMode, kPropertySet, kStackedBackground);
    SendMessageW(button, kButtonBackgroundBitmap, kPropertySet, bitmap);
    return button;
}

}  // namespace kestrova
