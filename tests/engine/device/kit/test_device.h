#pragma once
// A device kind for tests: it does everything the base asks of a kind with no capture behind it, and lets a
// test store frames the way the camera kinds do.

#include <functional>
#include <string>

#include "engine/device.h"

namespace kestrova::testing {

struct TestDeviceParams : DeviceParams {
    std::wstring name;
    std::wstring key;
    HWND notifyWindow = nullptr;
    std::wstring storageFolder;
};

class TestDevice : public Device {
public:
    // `destroyed`, when given, is set when the device is destroyed.
    explicit TestDevice(int32_t type = kDeviceUsbCamera, std::wstring_view name = L"",
                        bool* destroyed = nullptr);
    ~TestDevice() override;

    int GetType() override { return type_; }
    int Init(const DeviceParams* params) override;
    void GetSettings(DeviceSettings& record) override;
    void SetSettings(const DeviceSettings& record) override;
    int Start() override;
    int Stop() override;
    int GetFriendlyName(wchar_t* buffer, int count) override { return CopyDisplayName(buffer, count); }
    int SetFriendlyName(std::wstring_view text) override { return StoreDisplayName(text); }
    int GetDeviceKey(wchar_t* buffer, int count) override { return CopyDeviceKey(buffer, count); }
    int SetDeviceKey(std::wstring_view text) override { return StoreDeviceKey(text); }
    int HandleGraphEvents() override { return 0; }
    int PanLeft(int, int) override { return 1; }
    int PanRight(int, int) override { return 1; }
    int TiltUp(int, int) override { return 1; }
    int TiltDown(int, int) override { return 1; }
    int GetBrightness(int) override { return 0; }
    int SetBrightness(int, int) override { return 0; }
    int GetContrast(int) override { return 0; }
    int SetContrast(int, int) override { return 0; }
    int ShowPropertyPages(HWND) override { return 0; }

    // Publishes a width x height frame whose byte at (x, y, channel) is pixel(x, y, channel), y counted in
    // memory order (0 = bottom row), the way a USB camera's callback does: stored flipped when the option says
    // so, privacy cells black, the web snapshot written when due, kind 1 posted.
    using PixelFunction = std::function<uint8_t(int x, int y, int channel)>;
    void PutFrame(int width, int height, const PixelFunction& pixel);
    // A frame of one colour.
    void PutFrame(int width, int height, uint8_t blue, uint8_t green, uint8_t red);
    // Publishes a received JPEG the way an IP camera's reader does.
    void PutJpeg(const std::string& jpeg, const FrameShape& shape);
    void ClearFrame();
    // How many received JPEGs have been decoded.
    int64_t DecodedJpegs();
    // Motion detection's sample of the current frame, taken as a detection pass takes it; false without one.
    bool SampleFrame(MotionSample& sample);
    void SetSoundLevel(int level);

    MaskGrid IgnoreMask();

private:
    bool* destroyed_;
};

}  // namespace kestrova::testing
