#pragma once
// How the skinned message box (message_box.h) fits itself to its text, apart from the window so that it can
// be followed with any measure: the wrap of the text, the box's size, and where its buttons and check box
// go.

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/types.h"
#include "toolkit/label_fit.h"
#include "toolkit/message_box.h"

namespace kestrova::toolkit {

inline constexpr int kMessageShortText = 101;  // characters: a text this long or longer gets the wide box
inline constexpr int kMessageNarrowWidth = 370, kMessageWideWidth = 430, kMessageInitialHeight = 100;

// The width a box starts from for a text of `length` characters.
int InitialMessageWidth(size_t length);

inline constexpr int kMessageLineGap = 5;  // pixels between two lines of the message

struct MessageLayout {
    std::wstring text;   // as the box shows it: "<nl>" words and the wrap's breaks turned into line feeds
    int textHeight = 0;  // t: the text's height with the spacing of its lines
    SIZE box;            // W x H
};

// Lays out `text` for a box of `style` (message_box.h) that starts `initialWidth` wide.
//
// The text wraps at initialWidth - 120 pixels, and so does a text that holds the word "<nl>" (a word of
// its own between spaces), which breaks the line there and is not shown. Words are added one at a time;
// when the line being built grows too wide, its last space becomes a line feed (a single word too wide for
// a line stays whole, and only its own line is wide). Each wrapped break adds 5 pixels of height, as does
// the first "<nl>" of a run, while each further "<nl>" of the run takes 5 back. A text that needs no wrap
// keeps its own line feeds, 5 pixels apart.
//
// The box is 120 pixels wider than the text and 132 higher (159 with the check box, whose box is also at
// least 319 wide), at least 180 high, and wide enough for its buttons.
MessageLayout LayOutMessage(std::wstring_view text, int style, int initialWidth,
                            const MeasureFunction& measure);

// The buttons of a box of `style` and `box` size, left to right.
struct MessageButtonPlace {
    int id;
    POINT at;
};
std::vector<MessageButtonPlace> MessageButtons(int style, SIZE box);
inline constexpr int kMessageButtonWidth = 91, kMessageButtonHeight = 37;

// Where the text starts, and where the check box goes.
inline constexpr int kMessageTextLeft = 89, kMessageTextTop = 55;
POINT DontShowAgainPlace(int textHeight);

}  // namespace kestrova::toolkit
