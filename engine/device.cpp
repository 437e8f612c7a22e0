#include "engine/device.h"

#include <mutex>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/ui/messages.h"

namespace kestrova {

Device::Device(int32_t type) : type_(type) {}

Device::~Device() = default;

void Device::Notify(HWND window, uint16_t kind, uint16_t argument, uint32_t withinMs) {
    // A device without a notify window has nobody to tell; posting with a null window would queue the
    // message for whichever thread this is, where nothing reads it.
    // Posting fails only when the window is gone, and then nobody is left to tell.
    if (window != nullptr) {
        ui::PostUnhurriedMessage(window, WM_DEVICE_NOTIFY, DeviceNotifyWParam(kind, argument), LPARAM(this),
                                 withinMs);
    }
}

int Device::GetState(int32_t mask) {
    std::lock_guard<CriticalSection> lock(stateLock_);
    if (mask == 0) return state_;
    return (state_ & mask) != 0 ? 1 : 0;
}

void Device::SetState(int32_t bits, int on) {
    HWND window = GetNotifyWindow();
    std::lock_guard<CriticalSection> lock(stateLock_);
    if (on != 0) {
        state_ |= bits;
    } else {
        state_ &= ~bits;
    }
    // Posted while the state lock is held, so a device's state notifications arrive in the order of the
    // changes.
    Notify(window, kNotifyState, uint16_t(bits));
}

void Device::GetMasks(MaskGrid* motion, MaskGrid* privacy) {
    if (motion != nullptr) {
        std::lock_guard<CriticalSection> lock(detectionLock_);
        *motion = motionMask_;
    }
    if (privacy != nullptr) {
        std::lock_guard<CriticalSection> lock(frameLock_);
        *privacy = privacyMask_;
    }
}

void Device::SetMasks(const MaskGrid* motion, const MaskGrid* privacy) {
    std::lock_guard<CriticalSection> detection(detectionLock_);
    std::lock_guard<CriticalSection> frame(frameLock_);
    if (motion != nullptr) {
        motionMask_ = *motion;
        ignoreMask_ = *motion;
        if (privacy != nullptr) {
            for (int i = 0; i < kMaskCells; ++i) ignoreMask_[i] |= (*privacy)[i];
        }
    }
    if (privacy != nullptr) privacyMask_ = *privacy;
}

int Device::CopyDisplayName(wchar_t* buffer, int count) {
    std::lock_guard<CriticalSection> lock(windowLock_);
    if (displayName_.empty() || buffer == nullptr || count < 0) return 0;
    return int(CopyWide(displayName_, buffer, size_t(count)));
}

std::string Device::NameForLog() {
    std::lock_guard<CriticalSection> lock(windowLock_);
    return ToUtf8(displayName_);
}

int Device::StoreDisplayName(std::wstring_view text) {
    std::lock_guard<CriticalSection> lock(windowLock_);
    displayName_.assign(text.substr(0, kMaxNameChars));
    return int(displayName_.size());
}

int Device::CopyDeviceKey(wchar_t* buffer, int count) {
    std::lock_guard<CriticalSection> lock(windowLock_);
    if (deviceKey_.empty() || buffer == nullptr || count < 0) return 0;
    return int(CopyWide(deviceKey_, buffer, size_t(count)));
}

int Device::StoreDeviceKey(std::wstring_view text) {
    std::lock_guard<CriticalSection> lock(windowLock_);
    deviceKey_.assign(text.substr(0, kMaxNameChars));
    return int(deviceKey_.size());
}

HWND Device::GetDisplayWindow() {
    std::lock_guard<CriticalSection> lock(windowLock_);
    return displayWindow_;
}

void Device::SetDisplayWindow(HWND window) {
    std::lock_guard<CriticalSection> lock(windowLock_);
    displayWindow_ = window;
}

HWND Device::GetNotifyWindow() {
    std::lock_guard<CriticalSection> lock(windowLock_);
    return notifyWindow_;
}

void Device::SetNotifyWindow(HWND window) {
    std::lock_guard<CriticalSection> lock(windowLock_);
    notifyWindow_ = window;
}

std::wstring Device::GetStorageFolder() {
    std::lock_guard<CriticalSection> lock(windowLock_);
    return storageFolder_;
}

void Device::SetStorageFolder(std::wstring_view folder) {
    std::lock_guard<CriticalSection> lock(windowLock_);
    storageFolder_ = folder.empty() ? std::wstring() : WithTrailingSlash(folder);
}

void Device::ResetBaseFields() {
    {
        std::lock_guard<CriticalSection> lock(frameLock_);
        frame_.clear();
        frame_.shrink_to_fit();
        frameInfo_ = imaging::BitmapInfo{};
        motionReferenceSize_ = 0;
        symbolPicture_.clear();
        symbolPicture_.shrink_to_fit();
        soundLevel_ = 0;
        privacyMask_.fill(0);
        lastWebSnapshotTime_ = 0;
    }
    {
        std::lock_guard<CriticalSection> lock(stateLock_);
        state_ = 0;
    }
    {
        std::lock_guard<CriticalSection> lock(detectionLock_);
        motionMask_.fill(0);
        ignoreMask_.fill(0);
    }
    {
        std::lock_guard<CriticalSection> lock(scheduleLock_);
        schedule_ = DeviceSchedule{};
    }
    {
        std::lock_guard<CriticalSection> lock(settingsLock_);
        options_ = DeviceOptions{};
    }
    std::lock_guard<CriticalSection> lock(windowLock_);
    displayName_.clear();
    deviceKey_.clear();
    displayWindow_ = nullptr;
    notifyWindow_ = nullptr;
    storageFolder_.clear();
}

void Device::ShutDown() {
    // Tearing down: what a step cannot end was not running.
    StopSchedule();
    StopRecording();
    Stop();
    StopDetection();
    StopAlarm();
}

}  // namespace kestrova
