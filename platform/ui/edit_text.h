#pragma once
// What an edit holds: its text, the caret and the selection, and the rules for what the user may put in.
// Positions are character indexes; a line break "\r\n" counts as two characters but the caret never stops
// between them.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/ui/edit.h"

namespace kestrova::ui {

class EditText {
public:
    struct Rules {
        bool multiline = false;  // line breaks stay (as "\r\n"); otherwise the first one ends the input
        bool digitsOnly = false;
        bool lowerCase = false;
    };

    enum class Outcome {
        Unchanged,  // nothing was given (or the rules left nothing of it) and nothing was selected
        Changed,
        Cut,      // changed, but only part of the input fitted under the limit
        Full,     // nothing of the input fitted under the limit; nothing changed
        Refused,  // the input broke the rules and nothing was put in
    };

    const std::wstring& Text() const { return text_; }
    size_t Caret() const { return caret_; }
    size_t Anchor() const { return anchor_; }
    size_t SelectionStart() const { return std::min(caret_, anchor_); }
    size_t SelectionEnd() const { return std::max(caret_, anchor_); }
    bool HasSelection() const { return caret_ != anchor_; }
    std::wstring Selected() const;

    size_t Limit() const { return limit_; }
    void SetLimit(size_t limit) { limit_ = limit; }

    // The whole text as the program gives it: neither the rules nor the limit apply. The caret goes to the
    // start.
    void SetText(std::wstring_view text);
    // Replaces the selection with what the user typed or pasted, after the rules and cut at the limit; the
    // caret ends after what was put in.
    Outcome Insert(std::wstring_view input, const Rules& rules);
    // Backspace and Delete: the selection, else the character (or line break) before or after the caret.
    bool DeleteBack();
    bool DeleteForward();
    bool DeleteSelection();

    // Moves the caret; `extend` keeps the anchor, so the selection grows or shrinks, else it collapses.
    void MoveTo(size_t position, bool extend);
    // Selects from `anchor` to `caret` (both capped at the text's end).
    void Select(size_t anchor, size_t caret);
    // The caret stops before and after a line break, never inside it.
    size_t Previous(size_t position) const;
    size_t Next(size_t position) const;

private:
    std::wstring Allowed(std::wstring_view input, const Rules& rules, bool* refused) const;
    size_t Clamp(size_t position) const;

    std::wstring text_;
    size_t caret_ = 0;
    size_t anchor_ = 0;
    size_t limit_ = kDefaultEditLimit;
};

}  // namespace kestrova::ui
