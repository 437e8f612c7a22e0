#include "platform/media/virtual/virtual_devices.h"

#include <atomic>

namespace kestrova::media {
namespace {

std::atomic<bool> g_cameraMoving{true};
std::atomic<bool> g_microphoneLoud{true};

}  // namespace

void SetVirtualCameraMoving(bool moving) {
    g_cameraMoving.store(moving);
}
bool VirtualCameraMoving() {
    return g_cameraMoving.load();
}
void SetVirtualMicrophoneLoud(bool loud) {
    g_microphoneLoud.store(loud);
}
bool VirtualMicrophoneLoud() {
    return g_microphoneLoud.load();
}

}  // namespace kestrova::media
