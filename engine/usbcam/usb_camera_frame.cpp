// The USB camera's grabber callback: storing each delivered frame as the current frame.
#include <cstring>
#include <new>

#include "engine/usbcam/usb_camera_device.h"

namespace kestrova {

void UsbCameraDevice::OnFrame(const uint8_t* buffer, long length) {
    int width = 0, height = 0;
    if (length == kFrameBytes320x240) {
        width = 320, height = 240;
    } else if (length == kFrameBytes640x480) {
        width = 640, height = 480;
    } else {
        return;  // another size (a camera format the graph passed on unconverted): nothing to show
    }
    const HWND notifyWindow = GetNotifyWindow();
    const bool flip = GetFlipVertical() != 0;

    int webIndex = 0;
    {
        std::lock_guard<CriticalSection> lock(frameLock_);
        if (frame_.size() != size_t(length)) {
            frameInfo_ = imaging::BitmapInfo{};  // 40 bytes, 1 plane, 24 bits, BI_RGB, the rest 0
            frameInfo_.bmiHeader.biWidth = width;
            frameInfo_.bmiHeader.biHeight = height;  // positive: the rows are bottom-up
            try {
                frame_.assign(size_t(length), 0);
            } catch (const std::bad_alloc&) {
                frame_.clear();
                return;  // no frame to show; nothing is posted
            }
        }
        StoreFrame(buffer, width, height, flip);
        BlackOutPrivacyCells();
        webIndex = TakeWebSnapshotTurn();
    }
    if (webIndex > 0) WriteWebSnapshot(webIndex);
    Notify(notifyWindow, kNotifyFrame, 0);
}

void UsbCameraDevice::StoreFrame(const uint8_t* buffer, int width, int height, bool flip) {
    if (!flip) {
        std::memcpy(frame_.data(), buffer, frame_.size());
        return;
    }
    const size_t stride = size_t(width) * 3;
    for (int row = 0; row < height; ++row) {
        std::memcpy(frame_.data() + size_t(row) * stride, buffer + size_t(height - 1 - row) * stride, stride);
    }
}

}  // namespace kestrova
