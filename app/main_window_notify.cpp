// What the main window does with the notifications that devices post to it.
#include "app/display_window.h"
#include "app/main_window.h"
#include "engine/device.h"
#include "engine/device_messages.h"

namespace kestrova {

void MainWindow::OnDeviceNotify(WPARAM wParam, LPARAM lParam) {
    auto* device = reinterpret_cast<Device*>(lParam);
    // The device may have been deleted after it posted.
    if (device == nullptr || !devices_.Contains(device)) return;
    switch (LOWORD(wParam)) {
        case kNotifyFrame:
            if (DisplayWindow* display = DisplayWindow::FromHandle(displayWindow_))
                display->FrameArrived(device);
            break;
    }
}

}  // namespace kestrova
