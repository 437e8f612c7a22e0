// The USB camera's grabber callback: each delivered frame, decoded already, becomes the current frame.
#include "engine/usbcam/usb_camera_device.h"

namespace kestrova {

void UsbCameraDevice::OnFrame(const uint8_t* buffer, long length) {
    CapturedFrame frame;
    if (length == kFrameBytes320x240) {
        frame.shape = {320, 240};
    } else if (length == kFrameBytes640x480) {
        frame.shape = {640, 480};
    } else {
        return;  // another size (a camera format the graph passed on unconverted): nothing to show
    }
    frame.shape.flip = GetFlipVertical() != 0;
    frame.bytes = buffer;
    frame.size = size_t(length);
    PublishFrame(frame, GetNotifyWindow());
}

}  // namespace kestrova
