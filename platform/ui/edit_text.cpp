#include "platform/ui/edit_text.h"

#include <algorithm>
#include <cwctype>

namespace kestrova::ui {
namespace {

bool IsBreakAt(const std::wstring& text, size_t i) {
    return i + 1 < text.size() && text[i] == L'\r' && text[i + 1] == L'\n';
}

}  // namespace

std::wstring EditText::Selected() const {
    return text_.substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

void EditText::SetText(std::wstring_view text) {
    text_.assign(text);
    caret_ = anchor_ = 0;
}

// What of `input` the rules let in: line breaks made "\r\n" (or the end of a one-line input), other control
// characters dropped, letters lowered. A digits-only field refuses an input holding anything else whole, so
// that a paste never leaves half a number.
std::wstring EditText::Allowed(std::wstring_view input, const Rules& rules, bool* refused) const {
    std::wstring out;
    *refused = false;
    for (size_t i = 0; i < input.size(); ++i) {
        wchar_t ch = input[i];
        if (ch == L'\r' || ch == L'\n') {
            if (!rules.multiline) break;
            if (ch == L'\r' && i + 1 < input.size() && input[i + 1] == L'\n') ++i;
            out += L"\r\n";
            continue;
        }
        if (ch < 0x20 || ch == 0x7F) continue;
        if (rules.digitsOnly && !(ch >= L'0' && ch <= L'9')) {
            *refused = true;
            return {};
        }
        out += rules.lowerCase ? wchar_t(std::towlower(wint_t(ch))) : ch;
    }
    return out;
}

EditText::Outcome EditText::Insert(std::wstring_view input, const Rules& rules) {
    bool refused;
    std::wstring allowed = Allowed(input, rules, &refused);
    if (refused) return Outcome::Refused;
    const size_t start = SelectionStart(), selected = SelectionEnd() - start;
    const size_t kept = text_.size() - selected;
    const size_t room = kept < limit_ ? limit_ - kept : 0;
    bool cut = allowed.size() > room;
    if (cut) {
        allowed.resize(room);
        if (!allowed.empty() && allowed.back() == L'\r') allowed.pop_back();  // never half a line break
        if (allowed.empty()) return Outcome::Full;
    }
    if (allowed.empty() && selected == 0) return Outcome::Unchanged;
    text_.replace(start, selected, allowed);
    caret_ = anchor_ = start + allowed.size();
    return cut ? Outcome::Cut : Outcome::Changed;
}

bool EditText::DeleteSelection() {
    if (!HasSelection()) return false;
    size_t start = SelectionStart();
    text_.erase(start, SelectionEnd() - start);
    caret_ = anchor_ = start;
    return true;
}

bool EditText::DeleteBack() {
    if (HasSelection()) return DeleteSelection();
    if (caret_ == 0) return false;
    anchor_ = Previous(caret_);
    return DeleteSelection();
}

bool EditText::DeleteForward() {
    if (HasSelection()) return DeleteSelection();
    if (caret_ >= text_.size()) return false;
    anchor_ = Next(caret_);
    return DeleteSelection();
}

void EditText::MoveTo(size_t position, bool extend) {
    caret_ = Clamp(position);
    if (!extend) anchor_ = caret_;
}

void EditText::Select(size_t anchor, size_t caret) {
    anchor_ = Clamp(anchor);
    caret_ = Clamp(caret);
}

size_t EditText::Previous(size_t position) const {
    position = Clamp(position);
    if (position == 0) return 0;
    return position >= 2 && IsBreakAt(text_, position - 2) ? position - 2 : position - 1;
}

size_t EditText::Next(size_t position) const {
    position = Clamp(position);
    if (position >= text_.size()) return text_.size();
    return IsBreakAt(text_, position) ? position + 2 : position + 1;
}

size_t EditText::Clamp(size_t position) const {
    position = std::min(position, text_.size());
    // Inside a line break: back to before it.
    if (position > 0 && IsBreakAt(text_, position - 1)) --position;
    return position;
}

}  // namespace kestrova::ui
