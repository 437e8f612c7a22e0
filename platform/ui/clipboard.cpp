#include "platform/ui/clipboard.h"

#include <mutex>

namespace kestrova::ui {
namespace {

struct Clipboard {
    std::mutex mutex;
    ClipboardHook hook;
    std::wstring stored;
};

Clipboard& TheClipboard() {
    static Clipboard* clipboard = new Clipboard;
    return *clipboard;
}

}  // namespace

ClipboardHook SetClipboardHook(ClipboardHook hook) {
    Clipboard& c = TheClipboard();
    std::lock_guard<std::mutex> g(c.mutex);
    ClipboardHook old = std::move(c.hook);
    c.hook = hook.set && hook.get ? std::move(hook) : ClipboardHook{};
    return old;
}

void SetClipboardText(std::wstring_view text) {
    Clipboard& c = TheClipboard();
    std::unique_lock<std::mutex> g(c.mutex);
    if (auto set = c.hook.set) {
        // The backend may talk to the display for a while; other threads need not wait on that.
        g.unlock();
        set(text);
        return;
    }
    c.stored.assign(text);
}

std::wstring GetClipboardText() {
    Clipboard& c = TheClipboard();
    std::unique_lock<std::mutex> g(c.mutex);
    if (auto get = c.hook.get) {
        g.unlock();
        return get();
    }
    return c.stored;
}

}  // namespace kestrova::ui
