#pragma once
// Virtual capture devices for machines without a camera or microphone (and for tests): a camera with a
// moving test picture and a microphone with a test tone. Tests switch the picture between still and moving
// and the tone between quiet and loud, for every virtual device of the process at once.

namespace kestrova::media {

void SetVirtualCameraMoving(bool moving);
bool VirtualCameraMoving();
void SetVirtualMicrophoneLoud(bool loud);
bool VirtualMicrophoneLoud();

}  // namespace kestrova::media
