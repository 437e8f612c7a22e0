#include "app/device_list_file.h"

#include <cstring>
#include <memory>

#include "engine/device.h"
#include "engine/device_list.h"
#include "platform/base/debug.h"
#include "platform/base/files.h"

namespace kestrova {
namespace {

constexpr size_t kRecordSize = DeviceSettings::kSize;
constexpr size_t kReservedSize = 4;

void PutInt32(uint8_t* at, int32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = uint8_t(uint32_t(value) >> (8 * i));
}

int32_t GetInt32(const uint8_t* at) {
    return int32_t(uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24);
}

bool HeaderIsRight(const std::vector<uint8_t>& bytes) {
    return bytes.size() >= DeviceListFile::kHeaderSize &&
           (bytes.size() - DeviceListFile::kHeaderSize) % kRecordSize == 0 &&
           std::memcmp(bytes.data(), DeviceListFile::kMagic, sizeof DeviceListFile::kMagic) == 0 &&
           GetInt32(bytes.data() + 4) == DeviceListFile::kVersion;
}

}  // namespace

std::wstring DeviceListFile::Path() {
    return ConfigFolder() + L"DevList.db";
}

int DeviceListFile::Load(std::vector<DeviceSettings>& records) {
    records.clear();
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(Path(), bytes) || !HeaderIsRight(bytes)) return 0;
    const size_t count = (bytes.size() - kHeaderSize) / kRecordSize;
    records.resize(count);
    for (size_t i = 0; i < count; ++i) {
        uint8_t* record = bytes.data() + kHeaderSize + i * kRecordSize;
        std::memset(record + DeviceSettings::kReservedOffset, 0, kReservedSize);
        records[i].Load(record, kRecordSize);
    }
    return 1;
}

int DeviceListFile::Save(const DeviceList& list) {
    size_t count = 0;
    for (Device* device = list.GetHead(); device != nullptr; device = device->GetNext()) ++count;

    std::vector<uint8_t> bytes(kHeaderSize + count * kRecordSize);
    std::memcpy(bytes.data(), kMagic, sizeof kMagic);
    PutInt32(bytes.data() + 4, kVersion);
    // The head is the newest device: it goes last. Each record starts zeroed, and no kind writes the
    // reserved field, so it is stored as zero.
    size_t slot = count;
    auto record = std::make_unique<DeviceSettings>();
    for (Device* device = list.GetHead(); device != nullptr; device = device->GetNext()) {
        *record = DeviceSettings();
        device->GetSettings(*record);
        std::memcpy(bytes.data() + kHeaderSize + --slot * kRecordSize, record->Bytes(), kRecordSize);
    }
    if (WriteFileAtomic(Path(), bytes.data(), bytes.size(), Durability::SyncToDisk)) return 1;
    DebugOutput("DevList.db could not be written; the saved list stays as it was");
    return 0;
}

}  // namespace kestrova
