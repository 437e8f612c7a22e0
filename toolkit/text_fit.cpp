#include "toolkit/text_fit.h"

#include "platform/ui/gdi.h"
#include "platform/ui/windows.h"
#include "toolkit/gdi_object.h"

namespace kestrova::toolkit {

SIZE MeasureText(HWND control, HGDIOBJ font, std::wstring_view text) {
    if (text.empty()) return SIZE{0, 0};
    RECT bounds;
    GetClientRect(control, &bounds);
    HDC dc = GetDC(control);
    {
        SelectedObject selected(dc, font);
        DrawTextW(dc, text.data(), int(text.size()), &bounds, DT_CALCRECT);
    }
    ReleaseDC(control, dc);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void ResizeControl(HWND control, int width, int height) {
    SetWindowPos(control, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring ControlText(HWND control, int capacity) {
    std::wstring text(size_t(capacity), L'\0');
    text.resize(size_t(GetWindowTextW(control, text.data(), capacity)));
    return text;
}

}  // namespace kestrova::toolkit
