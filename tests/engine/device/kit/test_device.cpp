#include "tests/engine/device/kit/test_device.h"

#include <mutex>
#include <vector>

#include "engine/device_settings.h"

namespace kestrova::testing {

TestDevice::TestDevice(int32_t type, std::wstring_view name, bool* destroyed)
    : Device(type), destroyed_(destroyed) {
    StoreDisplayName(name);
}

TestDevice::~TestDevice() {
    ShutDown();
    if (destroyed_ != nullptr) *destroyed_ = true;
}

int TestDevice::Init(const DeviceParams* params) {
    ResetBaseFields();
    const auto* own = dynamic_cast<const TestDeviceParams*>(params);
    if (own == nullptr) return 0;
    StoreDisplayName(own->name);
    StoreDeviceKey(own->key);
    SetNotifyWindow(own->notifyWindow);
    SetStorageFolder(own->storageFolder);
    return 0;
}

void TestDevice::GetSettings(DeviceSettings& record) {
    record.SetDeviceType(type_);
    if (type_ != kDeviceIpCamera) {
        std::lock_guard<CriticalSection> lock(windowLock_);
        record.SetDeviceKey(deviceKey_);
    }
    WriteSharedSettings(record, type_ != kDeviceMicrophone);
}

void TestDevice::SetSettings(const DeviceSettings& record) {
    ApplySharedSettings(record, type_ != kDeviceMicrophone);
}

int TestDevice::Start() {
    SetState(kStatePowered, 1);
    return 1;
}

int TestDevice::Stop() {
    if (GetState(kStatePowered)) SetState(kStatePowered, 0);
    return 1;
}

void TestDevice::PutFrame(int width, int height, const PixelFunction& pixel) {
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 3);
    uint8_t* p = pixels.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) *p++ = pixel(x, y, c);
        }
    }
    CapturedFrame frame;
    frame.shape = {width, height, GetFlipVertical() != 0};
    frame.bytes = pixels.data();
    frame.size = pixels.size();
    PublishFrame(frame, GetNotifyWindow());
}

void TestDevice::PutFrame(int width, int height, uint8_t blue, uint8_t green, uint8_t red) {
    const uint8_t bgr[3] = {blue, green, red};
    PutFrame(width, height, [&](int, int, int c) { return bgr[c]; });
}

void TestDevice::PutJpeg(const std::string& jpeg, const FrameShape& shape) {
    CapturedFrame frame;
    frame.form = CapturedFrame::Form::kJpeg;
    frame.shape = shape;
    frame.bytes = reinterpret_cast<const uint8_t*>(jpeg.data());
    frame.size = jpeg.size();
    PublishFrame(frame, GetNotifyWindow());
}

void TestDevice::ClearFrame() { DropFrame(); }

int64_t TestDevice::DecodedJpegs() {
    std::lock_guard<CriticalSection> lock(frameLock_);
    return decodedJpegs_;
}

bool TestDevice::SampleFrame(MotionSample& sample) {
    std::lock_guard<CriticalSection> lock(frameLock_);
    int32_t frameBytes = 0;
    return SampleCurrentFrame(sample, &frameBytes);
}

void TestDevice::SetSoundLevel(int level) {
    std::lock_guard<CriticalSection> lock(frameLock_);
    soundLevel_ = level;
}

MaskGrid TestDevice::IgnoreMask() {
    std::lock_guard<CriticalSection> lock(detectionLock_);
    return ignoreMask_;
}

}  // namespace kestrova::testing
