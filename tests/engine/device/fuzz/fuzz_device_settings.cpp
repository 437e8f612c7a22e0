// Feeds any bytes to the settings record reader and through a device, as a damaged "DevList.db" would: every
// text must come back within its width and a second pass must give the same record.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/device_settings.h"
#include "tests/engine/device/kit/test_device.h"

using kestrova::DeviceSettings;
using kestrova::testing::TestDevice;

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

DeviceSettings PassThrough(int32_t type, const DeviceSettings& in) {
    TestDevice device(type);
    device.SetSettings(in);
    DeviceSettings out;
    device.GetSettings(out);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(DeviceSettings::kSize, 0);
    std::memcpy(bytes.data(), data, size < bytes.size() ? size : bytes.size());
    DeviceSettings record;
    Check(record.Load(bytes.data(), bytes.size()));

    Check(record.GetDeviceKey().size() <= 255);
    Check(record.GetCameraHost().size() <= 255);
    Check(record.GetCameraUser().size() <= 255);
    Check(record.GetCameraPassword().size() <= 255);
    Check(record.GetRunFile().size() <= 1000);
    Check(record.GetSmtpServer().size() <= 51);
    Check(record.GetSmtpUser().size() <= 51);
    Check(record.GetSmtpPassword().size() <= 51);
    Check(record.GetEmailSender().size() <= 51);
    Check(record.GetEmailRecipient().size() <= 51);

    const int32_t type = size > 0 ? int32_t(data[0] % 3) : 0;
    const DeviceSettings once = PassThrough(type, record);
    const DeviceSettings twice = PassThrough(type, once);
    Check(std::memcmp(once.Bytes(), twice.Bytes(), DeviceSettings::kSize) == 0);
    return 0;
}
