#pragma once
// "DevList.db" in the configuration folder: the device list from one run to the next.
//
//   offset 0   4 bytes            "LDVK"
//   offset 4   int32              version 1
//   offset 8   54,804 x n bytes   one DeviceSettings record per device, oldest device first
//
// No gaps and no trailer: the size is exactly 8 + 54,804 x n, and n may be 0.
// Little-endian. The list is newest first, so the file holds it backwards: restoring in file order and adding
// each device at the list's head gives the saved order again. User-interface thread.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/device_settings.h"

namespace kestrova {

class DeviceList;

class DeviceListFile {
public:
    static constexpr char kMagic[4] = {'L', 'D', 'V', 'K'};
    static constexpr int32_t kVersion = 1;
    static constexpr size_t kHeaderSize = 8;

    // The configuration folder's "DevList.db".
    static std::wstring Path();

    // 1 and the records in file order (none for an empty list) when the file is whole: its size is the
    // header and a whole number of records, and the header is right. 0 and no records otherwise. The
    // records' reserved field reads as zero.
    static int Load(std::vector<DeviceSettings>& records);
    // Writes every listed device's record, oldest first, to a temporary file renamed over the old one.
    // 1 on success; 0 when any step fails, and the old file then stays whole.
    static int Save(const DeviceList& list);
};

}  // namespace kestrova
