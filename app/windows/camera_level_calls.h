#pragma once
// Brightness and contrast of an IP camera, asked off the user-interface thread. Each request is an HTTP
// exchange that may take seconds (2 s to connect, 2 s to send, 2 s per block received) when the camera is
// slow or gone, so the device properties window hands them to a thread of their own and stays painting and
// responsive; each answer comes back as a message posted to the window.
//
// The calls work on a copy of the camera made from its connection settings when they are set up, never on
// the listed device, which the main window may delete meanwhile. Requests run one at a time in the order
// asked; a second move of the same slider before the first has started replaces it. When the object goes,
// requests not yet started are dropped and the one in flight ends on its thread with its answer unposted.

#include <memory>

#include "platform/ui/types.h"

namespace kestrova {

class Device;

enum class PictureLevel { Brightness = 0, Contrast = 1 };

// The answer to `replyTo`: wParam MAKEWPARAM(the PictureLevel, 1 for a set and 0 for a read), lParam the
// device's result (low word non-zero on success, the level in the high word).
class CameraLevelCalls {
public:
    // Copies the IP camera `camera`'s connection on this thread.
    CameraLevelCalls(Device& camera, HWND replyTo, UINT replyMessage);
    ~CameraLevelCalls();
    CameraLevelCalls(const CameraLevelCalls&) = delete;
    CameraLevelCalls& operator=(const CameraLevelCalls&) = delete;

    void Read(PictureLevel level);
    void Set(PictureLevel level, int value);

private:
    void Queue(PictureLevel level, bool set, int value);

    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace kestrova
