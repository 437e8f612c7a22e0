#pragma once
// Serial numbers that tell devices apart over time. A window that keeps a device's pointer (a popup, a
// fullscreen view) keeps its serial with it: a new device created at the address of a deleted one gets a
// new serial, so the window neither mistakes it for its own device nor draws it.
//
// A device gets the next serial the first time one is asked of it; whoever deletes a listed device forgets
// its serial first (the main window does, for every device it deletes). User-interface thread only.

#include <cstdint>

namespace kestrova {

class Device;

// The device's serial, from 1 upwards; 0 for null.
uint64_t DeviceSerial(const Device* device);
void ForgetDeviceSerial(const Device* device);

// The device is listed and is still the one that had `serial`.
bool IsSameListedDevice(const Device* device, uint64_t serial);

}  // namespace kestrova
