#include "tools/gallery/gallery_window.h"

#include "platform/ui/edit.h"
#include "platform/ui/gdi.h"
#include "platform/ui/windows.h"
#include "toolkit/button.h"
#include "toolkit/choice.h"
#include "toolkit/drawing.h"
#include "toolkit/factories.h"
#include "toolkit/framed_edit.h"
#include "toolkit/label.h"
#include "toolkit/link.h"
#include "toolkit/skin_ids.h"

namespace kestrova::gallery {
namespace {

constexpr wchar_t kClassName[] = L"KestrovaGallery";
constexpr COLORREF kText = RGB(70, 70, 72);

struct Group {
    const wchar_t* caption;
    int x, y, width, height;
};
// Where the dashed frames go; the controls below are placed inside them.
constexpr Group kGroups[] = {
    {L"Buttons", 24, 72, 672, 196},
    {L"Check boxes and radio buttons", 24, 304, 324, 112},
    {L"Links and labels", 372, 304, 324, 112},
    {L"Text fields", 24, 452, 672, 104},
};

// A caption under a control, naming the state it shows.
void Caption(HWND window, const wchar_t* text, int x, int y) {
    CreateLabelEx(window, text, 0, x, y, 0, 0, 13, 0);
}

void AddButtons(HWND window) {
    CreateDialogButton(window, L"OK", 101, 44, 92, 91, 37, 2);
    Caption(window, L"normal", 44, 136);
    HWND cancel = CreateDialogButton(window, L"Cancel", 102, 147, 92, 91, 37, 2);
    EnableWindow(cancel, FALSE);
    Caption(window, L"disabled", 147, 136);
    CreateDialogButton(window, L"Apply", 103, 250, 92, 91, 37, 2);
    Caption(window, L"hover or press it", 250, 136);
    CreateDropDownButton(window, L"192.168.1.4", 104, 353, 92, 164, 37, 2);
    Caption(window, L"drop-down", 353, 136);
    CreateCycleButton(window, L"Gmail", 105, 529, 92, 103, 37, 3, 2);
    Caption(window, L"cycle", 529, 136);

    // The main window's tool buttons, off and on, and the caption buttons, on their own stacked skins.
    const int toolSkins[] = {5633, 5632, 5635, 5634, 5637, 5636, 5639,
                             5638, 5641, 5640, 5648, 5649, 5650, 5651};
    int x = 44;
    for (int skin : toolSkins) {
        HWND tool = CreateButtonEx(window, L"", 0, x, 180, 36, 26);
        SendMessageW(tool, kButtonBackgroundMode, kPropertySet, kStackedBackground);
        SendMessageW(tool, kButtonBackgroundBitmap, kPropertySet, skin);
        x += 37;
    }
    Caption(window,
            L"tool buttons: power, alarm, streaming, masking, scheduling (off, on); properties, "
            L"display, devices, settings",
            44, 212);
    const struct { int skin, width; } captionButtons[] = {{5459, 23}, {5458, 23}, {5457, 41}, {5462, 41}};
    x = 44;
    for (const auto& b : captionButtons) {
        HWND button = CreateButtonEx(window, L"", 0, x, 238, b.width, 17);
        SendMessageW(button, kButtonBackgroundMode, kPropertySet, kStackedBackground);
        SendMessageW(button, kButtonBackgroundBitmap, kPropertySet, b.skin);
        x += b.width + 6;
    }
    Caption(window, L"menu, hide and close buttons", 200, 240);
}

void AddChoices(HWND window) {
    CreateRadioButton(window, L"Every day", 201, 44, 324);
    CreateRadioButton(window, L"Weekdays", 202, 44, 348);
    HWND weekends = CreateRadioButton(window, L"Weekends", 203, 44, 372);
    CheckRadioGroup(window, 201, 202, 203, 0);
    EnableWindow(weekends, FALSE);

    HWND video = CreateCheckBox(window, L"Record video", 204, 190, 324);
    CreateCheckBox(window, L"Record audio", 205, 190, 348);
    HWND mail = CreateCheckBox(window, L"Send e-mail", 206, 190, 372);
    for (HWND box : {video, mail}) SendMessageW(box, kChoiceChecked, kPropertySet, 1);
    EnableWindow(mail, FALSE);
}

void AddLinksAndLabels(HWND window) {
    CreateLinkEx(window, L"Open storage folder", 301, 392, 324, 0, 0, kLinkIcon);
    HWND select = CreateLinkEx(window, L"Select storage folder", 302, 392, 346, 0, 0, kLinkIcon);
    EnableWindow(select, FALSE);
    CreateLinkEx(window, L"Show the web page", 303, 560, 324, 0, 0, 0);
    CreateLabelEx(window,
                  L"A label wraps a long text at its spaces within the width it was given, five pixels "
                  L"between its lines.",
                  304, 392, 370, 290, 0, 13, 0);
}

void AddTextFields(HWND window) {
    CreateDialogEdit(window, L"smtp.example.org", 401, 44, 472, 200, 37, 250, 0);
    Caption(window, L"text", 44, 513);
    HWND port = CreateDialogEdit(window, L"", 402, 256, 472, 80, 37, 5, ES_NUMBER | ES_CENTER);
    SendMessageW(port, kEditCueText, kPropertySet, reinterpret_cast<LPARAM>(L"Port"));
    Caption(window, L"cue text", 256, 513);
    CreateDialogEdit(window, L"secret", 403, 348, 472, 120, 37, 64, ES_PASSWORD);
    Caption(window, L"password", 348, 513);
    CreateDialogEdit(window, L"Motion in the yard\r\nat the gate", 404, 480, 466, 196, 60, 0, 0);
    Caption(window, L"multi-line", 480, 528);
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, kText);
    SetBkMode(dc, TRANSPARENT);
    for (const Group& g : kGroups) DrawDashedFrame(dc, g.caption, g.x, g.y, g.width, g.height);
    EndPaint(window, &ps);
}

LRESULT GalleryProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

bool RegisterGalleryClass() {
    WNDCLASSW wc;
    wc.lpfnWndProc = GalleryProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0;
}

HWND CreateGalleryWindow(int x, int y) {
    HWND window = CreateWindowExW(0, kClassName, L"Kestrova toolkit gallery", WS_POPUP, x, y, kWidth, kHeight,
                                  nullptr, 0, nullptr, nullptr);
    if (!window) return nullptr;
    CreateLabelEx(window, L"Toolkit gallery", 0, 24, 20, 0, 0, 15, 1);
    AddButtons(window);
    AddChoices(window);
    AddLinksAndLabels(window);
    AddTextFields(window);
    ShowWindow(window, SW_SHOW);
    return window;
}

}  // namespace kestrova::gallery
