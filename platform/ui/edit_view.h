#pragma once
// An edit's state and how it shows: its lines measured in its font, scrolled to keep the caret in view, and
// painted in the colours its parent chooses.

#include <string>
#include <vector>

#include "platform/ui/edit_layout.h"
#include "platform/ui/edit_text.h"
#include "platform/ui/types.h"

namespace kestrova::ui {

inline constexpr wchar_t kDefaultPasswordChar = L'*';

struct EditState {
    EditText text;
    wchar_t passwordChar = kDefaultPasswordChar;
    int scrollX = 0;     // how far the lines are scrolled to the left, in pixels
    size_t topLine = 0;  // the first line shown
    bool focused = false;
    bool caretLit = false;  // the blink phase
    bool dragging = false;  // the left button went down in the edit and selects while it moves
};

// The lines as they show, measured in the edit's font.
struct View {
    std::wstring shown;
    std::vector<EditLine> lines;
    int lineHeight = 1;
    int width = 0;  // of the text, between the margins
    int height = 0;
};

uint32_t StyleOf(HWND hwnd);
// One-line password edits show the password character in place of each character.
bool IsMasked(uint32_t style);
// The edit and all its ancestors are enabled.
bool AcceptsInput(HWND hwnd);

View Measure(HWND hwnd, const EditState& s);
// Where a line starts in client coordinates: centred while it fits when asked, else scrolled.
int LineLeft(uint32_t style, const View& v, const EditLine& line, int scrollX);
// The caret stop nearest to a client point.
size_t PositionAt(HWND hwnd, const EditState& s, const View& v, POINT client);
// Scrolls so that the caret shows, and no further than the text needs.
void KeepCaretInView(HWND hwnd, EditState& s, const View& v);
void Paint(HWND hwnd, const EditState& s);

}  // namespace kestrova::ui
