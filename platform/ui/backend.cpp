#include "platform/ui/backend.h"

#include <cstdlib>
#include <string_view>

#include "platform/ui/backends/headless/headless_backend.h"
#include "platform/ui/backends/x11/x11_backend.h"
#include "platform/ui/window_tree.h"

namespace kestrova::ui {
namespace {

// Guarded by the table's lock.
std::unique_ptr<Backend>& Installed() {
    static auto* installed = new std::unique_ptr<Backend>;
    return *installed;
}

}  // namespace

std::unique_ptr<Backend> ChooseBackend() {
    const char* asked = std::getenv("KESTROVA_UI");
    if (!asked || std::string_view(asked) != "headless") {
        if (auto x11 = X11Backend::Open(nullptr)) return x11;
    }
    return std::make_unique<HeadlessBackend>();
}

Backend& BackendLocked() {
    std::unique_ptr<Backend>& installed = Installed();
    if (!installed) {
        installed = ChooseBackend();
        SetClipboardHook(installed->Clipboard());
    }
    return *installed;
}

std::unique_ptr<Backend> UseBackend(std::unique_ptr<Backend> backend) {
    if (!backend) backend = std::make_unique<HeadlessBackend>();
    TableLock lock = LockTable();
    std::swap(Installed(), backend);
    SetClipboardHook(Installed()->Clipboard());
    // Everything already on the desktop is new to the backend that takes over.
    Installed()->DesktopChanged();
    return backend;
}

void NotifyDesktopChanged() {
    TableLock lock = LockTable();
    BackendLocked().DesktopChanged();
}

void NotifySurfaceChanged(HWND hwnd, const RECT& area) {
    TableLock lock = LockTable();
    Window* root = RootLocked(FindWindowLocked(hwnd));
    if (root && root->IsTopLevel()) BackendLocked().SurfaceChanged(root->handle, area);
}

void NotifyPointerWarped(POINT screen) {
    TableLock lock = LockTable();
    BackendLocked().PointerWarped(screen);
}

}  // namespace kestrova::ui
