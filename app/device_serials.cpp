#include "app/device_serials.h"

#include <unordered_map>

#include "engine/device_list.h"

namespace kestrova {
namespace {

struct Serials {
    std::unordered_map<const Device*, uint64_t> byDevice;
    uint64_t last = 0;
};

Serials& Table() {
    static Serials serials;
    return serials;
}

}  // namespace

uint64_t DeviceSerial(const Device* device) {
    if (device == nullptr) return 0;
    Serials& table = Table();
    auto [entry, added] = table.byDevice.try_emplace(device, 0);
    if (added) entry->second = ++table.last;
    return entry->second;
}

void ForgetDeviceSerial(const Device* device) {
    Table().byDevice.erase(device);
}

bool IsSameListedDevice(const Device* device, uint64_t serial) {
    // Asked only of a listed device, so that a stale pointer is never given a serial of its own.
    return device != nullptr && IsDeviceInList(device) && DeviceSerial(device) == serial;
}

}  // namespace kestrova
