#pragma once
// The clipboard's text. Kept in the process unless a display backend with a clipboard of its own installs a
// hook, so that copy and paste reach other programs too.

#include <functional>
#include <string>
#include <string_view>

namespace kestrova::ui {

struct ClipboardHook {
    std::function<void(std::wstring_view text)> set;
    std::function<std::wstring()> get;  // empty when the clipboard holds no text
};

// Installs `hook` (one without both functions gives the in-process store back); returns the one it replaced.
ClipboardHook SetClipboardHook(ClipboardHook hook);
void SetClipboardText(std::wstring_view text);
std::wstring GetClipboardText();

}  // namespace kestrova::ui
