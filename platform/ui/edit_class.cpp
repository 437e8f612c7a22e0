// The system "EDIT" class: its messages, the keys, the mouse and the clipboard.

#include <algorithm>
#include <cwchar>

#include "platform/ui/clipboard.h"
#include "platform/ui/edit.h"
#include "platform/ui/edit_view.h"
#include "platform/ui/gdi.h"
#include "platform/ui/system_classes.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

// The caret blinks on the layer's clock, as users expect of a text field; every move or edit lights it again
// and restarts the period, so it never vanishes while the user types.
constexpr UINT_PTR kBlinkTimer = 1;
constexpr UINT kBlinkMs = 530;

EditState* StateOf(HWND hwnd) {
    return reinterpret_cast<EditState*>(GetWindowLongPtrW(hwnd, 0));
}

void Notify(HWND hwnd, uint16_t code) {
    if (HWND parent = GetParent(hwnd))
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(uint16_t(GetDlgCtrlID(hwnd)), code),
                     reinterpret_cast<LPARAM>(hwnd));
}

// After the caret moved or the text changed: the caret in view and lit, the edit repainted.
void Refresh(HWND hwnd, EditState& s) {
    KeepCaretInView(hwnd, s, Measure(hwnd, s));
    s.caretLit = true;
    if (s.focused) SetTimer(hwnd, kBlinkTimer, kBlinkMs, nullptr);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void Edited(HWND hwnd, EditState& s) {
    Refresh(hwnd, s);
    Notify(hwnd, EN_CHANGE);
}

// Typing and pasting.
void Put(HWND hwnd, EditState& s, std::wstring_view input) {
    const uint32_t style = StyleOf(hwnd);
    if (style & ES_READONLY) {
        MessageBeep(MB_OK);
        return;
    }
    EditText before = s.text;
    EditText::Rules rules;
    rules.multiline = (style & ES_MULTILINE) != 0;
    rules.digitsOnly = (style & ES_NUMBER) != 0;
    rules.lowerCase = (style & ES_LOWERCASE) != 0;
    EditText::Outcome outcome = s.text.Insert(input, rules);
    if (outcome == EditText::Outcome::Refused) {
        MessageBeep(MB_OK);
        return;
    }
    if ((outcome == EditText::Outcome::Changed || outcome == EditText::Outcome::Cut) &&
        !(style & (ES_MULTILINE | ES_AUTOHSCROLL))) {
        // A one-line edit that does not scroll takes no more than it can show.
        View v = Measure(hwnd, s);
        if (v.lines.front().Width() > v.width) {
            s.text = before;
            outcome = EditText::Outcome::Full;
        }
    }
    const bool full = outcome == EditText::Outcome::Cut || outcome == EditText::Outcome::Full;
    if (outcome == EditText::Outcome::Changed || outcome == EditText::Outcome::Cut) Edited(hwnd, s);
    if (full && IsWindow(hwnd)) Notify(hwnd, EN_MAXTEXT);
}

void Copy(HWND hwnd, const EditState& s) {
    // A password never leaves its field.
    if (IsMasked(StyleOf(hwnd)) || !s.text.HasSelection()) return;
    SetClipboardText(s.text.Selected());
}

// A paste of nothing (an empty clipboard, or an owner that did not answer) leaves the selection alone.
void Paste(HWND hwnd, EditState& s) {
    std::wstring text = GetClipboardText();
    if (!text.empty()) Put(hwnd, s, text);
}

void Cut(HWND hwnd, EditState& s) {
    const uint32_t style = StyleOf(hwnd);
    if (IsMasked(style) || (style & ES_READONLY) || !s.text.HasSelection()) return;
    Copy(hwnd, s);
    s.text.DeleteSelection();
    Edited(hwnd, s);
}

void Clear(HWND hwnd, EditState& s) {
    if (!(StyleOf(hwnd) & ES_READONLY) && s.text.DeleteSelection()) Edited(hwnd, s);
}

// Where End goes on a line: its end, or before its last character when the text runs on to the next line
// (the caret there would show at the start of the next one).
size_t LineEnd(const View& v, size_t lineIndex) {
    const EditLine& line = v.lines[lineIndex];
    bool wraps = lineIndex + 1 < v.lines.size() && v.lines[lineIndex + 1].start == line.end;
    return wraps && line.end > line.start ? line.end - 1 : line.end;
}

void OnKeyDown(HWND hwnd, EditState& s, UINT key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0, control = GetKeyState(VK_CONTROL) < 0;
    const uint32_t style = StyleOf(hwnd);
    EditText& t = s.text;
    switch (key) {
        case VK_LEFT:
            t.MoveTo(t.HasSelection() && !shift ? t.SelectionStart() : t.Previous(t.Caret()), shift);
            break;
        case VK_RIGHT:
            t.MoveTo(t.HasSelection() && !shift ? t.SelectionEnd() : t.Next(t.Caret()), shift);
            break;
        case VK_HOME:
        case VK_END:
        case VK_UP:
        case VK_DOWN: {
            View v = Measure(hwnd, s);
            size_t lineIndex = LineOfPosition(v.lines, t.Caret());
            if (key == VK_HOME) {
                t.MoveTo(control ? 0 : v.lines[lineIndex].start, shift);
            } else if (key == VK_END) {
                t.MoveTo(control ? t.Text().size() : LineEnd(v, lineIndex), shift);
            } else {
                if (!(style & ES_MULTILINE)) return;
                size_t target = key == VK_UP ? (lineIndex == 0 ? 0 : lineIndex - 1)
                                             : std::min(lineIndex + 1, v.lines.size() - 1);
                if (target == lineIndex) return;
                const EditLine& from = v.lines[lineIndex];
                const EditLine& to = v.lines[target];
                int x = LineLeft(style, v, from, s.scrollX) + from.x[t.Caret() - from.start];
                t.MoveTo(PositionOnLine(to, x - LineLeft(style, v, to, s.scrollX)), shift);
            }
            break;
        }
        case VK_DELETE:
            if (!(style & ES_READONLY) && t.DeleteForward()) Edited(hwnd, s);
            return;
        default:
            return;
    }
    Refresh(hwnd, s);
}

void OnChar(HWND hwnd, EditState& s, wchar_t ch) {
    const uint32_t style = StyleOf(hwnd);
    switch (ch) {
        case 0x01:  // Ctrl+A
            s.text.Select(0, s.text.Text().size());
            Refresh(hwnd, s);
            return;
        case 0x03:  // Ctrl+C
            Copy(hwnd, s);
            return;
        case 0x16:  // Ctrl+V
            Paste(hwnd, s);
            return;
        case 0x18:  // Ctrl+X
            Cut(hwnd, s);
            return;
        case L'\b':
            if (!(style & ES_READONLY) && s.text.DeleteBack()) Edited(hwnd, s);
            return;
        case L'\r':
            if (style & ES_MULTILINE) Put(hwnd, s, L"\r\n");
            return;
    }
    if (ch >= 0x20) Put(hwnd, s, std::wstring_view(&ch, 1));
}

void OnButtonDown(HWND hwnd, POINT client, bool extend) {
    if (!AcceptsInput(hwnd)) return;
    if (GetFocus() != hwnd) SetFocus(hwnd);
    EditState* s = StateOf(hwnd);  // the focus change may have ended the edit
    if (!s) return;
    s->text.MoveTo(PositionAt(hwnd, *s, Measure(hwnd, *s), client), extend);
    s->dragging = true;
    SetCapture(hwnd);
    Refresh(hwnd, *s);
}

LRESULT GetSelection(const EditState& s, WPARAM startOut, LPARAM endOut) {
    DWORD start = DWORD(s.text.SelectionStart()), end = DWORD(s.text.SelectionEnd());
    if (auto* p = reinterpret_cast<DWORD*>(startOut)) *p = start;
    if (auto* p = reinterpret_cast<DWORD*>(endOut)) *p = end;
    return MAKELPARAM(uint16_t(std::min<DWORD>(start, 0xFFFF)), uint16_t(std::min<DWORD>(end, 0xFFFF)));
}

void SetSelection(HWND hwnd, EditState& s, intptr_t start, intptr_t end) {
    if (start < 0) {
        s.text.MoveTo(s.text.Caret(), false);
    } else {
        size_t last = end < 0 ? s.text.Text().size() : size_t(end);
        s.text.Select(size_t(start), last);
    }
    Refresh(hwnd, s);
}

void SetPasswordChar(HWND hwnd, EditState& s, wchar_t ch) {
    uint32_t style = StyleOf(hwnd);
    if (ch) s.passwordChar = ch;
    SetWindowLongPtrW(hwnd, GWL_STYLE, intptr_t(ch ? style | ES_PASSWORD : style & ~ES_PASSWORD));
    Refresh(hwnd, s);
}

LRESULT CopyText(const EditState& s, WPARAM capacity, LPARAM bufferParam) {
    auto* buffer = reinterpret_cast<wchar_t*>(bufferParam);
    if (!buffer || capacity == 0) return 0;
    size_t n = std::min<size_t>(s.text.Text().size(), capacity - 1);
    std::wmemcpy(buffer, s.text.Text().data(), n);
    buffer[n] = L'\0';
    return LRESULT(n);
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* s = new EditState;
        auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (cs && cs->lpszName) s->text.SetText(cs->lpszName);
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<intptr_t>(s));
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    EditState* s = StateOf(hwnd);
    if (!s) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, 0, 0);
            delete s;
            return 0;
        case WM_SETTEXT:
            s->text.SetText(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
            s->scrollX = 0;
            s->topLine = 0;
            // Reported even when the text is the same: the parent may keep its own view of it in step.
            Edited(hwnd, *s);
            return TRUE;
        case WM_GETTEXT:
            return CopyText(*s, wParam, lParam);
        case WM_GETTEXTLENGTH:
            return LRESULT(s->text.Text().size());
        case WM_SETFONT:
            DefWindowProcW(hwnd, msg, wParam, lParam);
            KeepCaretInView(hwnd, *s, Measure(hwnd, *s));
            return 0;
        case WM_SIZE:
            KeepCaretInView(hwnd, *s, Measure(hwnd, *s));
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
            if ((StyleOf(hwnd) & (ES_MULTILINE | ES_WANTRETURN)) == (ES_MULTILINE | ES_WANTRETURN) &&
                wParam == VK_RETURN)
                code |= DLGC_WANTALLKEYS;
            return code;
        }
        case WM_SETFOCUS:
            s->focused = true;
            Refresh(hwnd, *s);
            Notify(hwnd, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            s->focused = false;
            KillTimer(hwnd, kBlinkTimer);
            InvalidateRect(hwnd, nullptr, FALSE);
            Notify(hwnd, EN_KILLFOCUS);
            return 0;
        case WM_TIMER:
            if (wParam != kBlinkTimer || !s->focused) return 0;
            s->caretLit = !s->caretLit;
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_KEYDOWN:
            if (AcceptsInput(hwnd)) OnKeyDown(hwnd, *s, UINT(wParam));
            return 0;
        case WM_CHAR:
            if (AcceptsInput(hwnd)) OnChar(hwnd, *s, wchar_t(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            OnButtonDown(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, (wParam & MK_SHIFT) != 0);
            return 0;
        case WM_MOUSEMOVE:
            if (s->dragging && (wParam & MK_LBUTTON)) {
                POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                s->text.MoveTo(PositionAt(hwnd, *s, Measure(hwnd, *s), p), true);
                Refresh(hwnd, *s);
            }
            return 0;
        case WM_LBUTTONUP:
            if (s->dragging) {
                s->dragging = false;
                ReleaseCapture();
            }
            return 0;
        case WM_CAPTURECHANGED:
            s->dragging = false;
            return 0;
        case WM_COPY:
            Copy(hwnd, *s);
            return 0;
        case WM_CUT:
            Cut(hwnd, *s);
            return 0;
        case WM_PASTE:
            Paste(hwnd, *s);
            return 0;
        case WM_CLEAR:
            Clear(hwnd, *s);
            return 0;
        case EM_GETSEL:
            return GetSelection(*s, wParam, lParam);
        case EM_SETSEL:
            SetSelection(hwnd, *s, intptr_t(wParam), lParam);
            return 0;
        case EM_LIMITTEXT:
            s->text.SetLimit(wParam == 0 ? kLargestEditLimit : std::min<WPARAM>(wParam, kLargestEditLimit));
            return 0;
        case EM_GETLIMITTEXT:
            return LRESULT(s->text.Limit());
        case EM_SETPASSWORDCHAR:
            SetPasswordChar(hwnd, *s, wchar_t(wParam));
            return 0;
        case EM_GETPASSWORDCHAR:
            return (StyleOf(hwnd) & ES_PASSWORD) ? LRESULT(s->passwordChar) : 0;
        case WM_ERASEBKGND:
            return 1;  // painting fills the background with the parent's brush
        case WM_PAINT:
            Paint(hwnd, *s);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterEditClass() {
    WNDCLASSEXW wc;
    wc.lpfnWndProc = EditProc;
    wc.cbWndExtra = sizeof(EditState*);
    wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    wc.lpszClassName = L"EDIT";
    RegisterClassExW(&wc);
}

}  // namespace kestrova::ui
