#include "engine/device_settings.h"

#include <cstring>

#include "platform/base/text.h"

namespace kestrova {

bool DeviceSettings::Load(const uint8_t* data, size_t size) {
    if (data == nullptr || size != kSize) return false;
    std::memcpy(bytes_.data(), data, kSize);
    return true;
}

int32_t DeviceSettings::ReadInt(size_t offset) const {
    const uint8_t* p = bytes_.data() + offset;
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

void DeviceSettings::WriteInt(size_t offset, int32_t value) {
    uint8_t* p = bytes_.data() + offset;
    const uint32_t v = uint32_t(value);
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

std::string DeviceSettings::ReadText(size_t offset, size_t width) const {
    return ReadFixedField(reinterpret_cast<const char*>(bytes_.data() + offset), width);
}

void DeviceSettings::WriteText(size_t offset, size_t width, std::string_view text) {
    size_t n = text.size() < width - 1 ? text.size() : width - 1;
    // Never keep the first bytes of a character whose last bytes do not fit.
    if (n < text.size()) {
        while (n > 0 && (uint8_t(text[n]) & 0xC0) == 0x80) --n;
    }
    uint8_t* field = bytes_.data() + offset;
    std::memset(field, 0, width);
    std::memcpy(field, text.data(), n);
}

std::wstring DeviceSettings::GetDeviceKey() const {
    return FromUtf16LeField(bytes_.data() + kDeviceKeyOffset, kDeviceKeyUnits);
}

// The fields are cut to their width by design; how much was written is not needed.
void DeviceSettings::SetDeviceKey(std::wstring_view key) {
    ToUtf16LeField(key, bytes_.data() + kDeviceKeyOffset, kDeviceKeyUnits - 1, kDeviceKeyUnits);
}

int32_t DeviceSettings::GetAction(size_t index) const {
    return index < kActionCount ? ReadInt(kActionsOffset + 4 * index) : 0;
}

void DeviceSettings::SetAction(size_t index, int32_t value) {
    if (index < kActionCount) WriteInt(kActionsOffset + 4 * index, value);
}

std::wstring DeviceSettings::GetRunFile() const {
    return FromUtf16LeField(bytes_.data() + kRunFileOffset, kRunFileUnits);
}

void DeviceSettings::SetRunFile(std::wstring_view path) {
    ToUtf16LeField(path, bytes_.data() + kRunFileOffset, kRunFileUnits - 1, kRunFileUnits);
}

MaskGrid DeviceSettings::ReadMask(size_t offset) const {
    MaskGrid mask;
    for (int i = 0; i < kMaskCells; ++i) mask[i] = ReadInt(offset + 4 * size_t(i));
    return mask;
}

void DeviceSettings::WriteMask(size_t offset, const MaskGrid& mask) {
    for (int i = 0; i < kMaskCells; ++i) WriteInt(offset + 4 * size_t(i), mask[i]);
    std::memset(bytes_.data() + offset + 4 * kMaskCells, 0, kMaskAreaBytes - 4 * kMaskCells);
}

}  // namespace kestrova
