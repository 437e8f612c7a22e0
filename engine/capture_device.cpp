#include "engine/capture_device.h"

#include <cstdio>
#include <cwchar>

#include "platform/base/log.h"

namespace kestrova {

CaptureDevice::~CaptureDevice() {
    graph_.Release();
}

void CaptureDevice::StartCapture(const CaptureGraphPlan& plan,
                                 std::unique_ptr<media::ISampleGrabberCB> callback) {
    Stop();  // 0 only when nothing ran
    // A graph that cannot be built leaves the device unpowered; the caller sees no change of state.
    const media::HRESULT built =
        graph_.Build(captureFilter_, GetNotifyWindow(), LPARAM(this), std::move(callback), plan);
    if (media::SUCCEEDED(built)) {
        SetState(kStatePowered, 1);
        return;
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", unsigned(built));
    LogError("capture", NameForLog() + ": the capture could not start (" + code + ")");
}

int CaptureDevice::Stop() {
    // Both only wait for their threads, and always succeed.
    StopDetection();
    StopAlarm();
    if (!graph_.Stop()) return 0;
    const HWND notifyWindow = GetNotifyWindow();
    {
        std::lock_guard<CriticalSection> lock(frameLock_);
        frameInfo_ = imaging::BitmapInfo{};
        frameInfo_.bmiHeader.biSize = 0;  // a header of zeros: no frame
        frameInfo_.bmiHeader.biPlanes = 0;
        frameInfo_.bmiHeader.biBitCount = 0;
        frame_.clear();
        frame_.shrink_to_fit();
    }
    SetState(kStatePowered, 0);
    Notify(notifyWindow, kNotifyFrame, 0);  // the views repaint without a frame
    graph_.Release();
    return 1;
}

void CaptureDevice::ResetCapture() {
    // Tearing down: what a step cannot end was not running.
    RecordVideo(0);
    Stop();
    BuildVideoGraph(0);
    captureFilter_.reset();
}

int CaptureDevice::GetFriendlyName(wchar_t* buffer, int count) {
    return CopyDisplayName(buffer, count);
}
int CaptureDevice::SetFriendlyName(std::wstring_view text) {
    return StoreDisplayName(text);
}
int CaptureDevice::GetDeviceKey(wchar_t* buffer, int count) {
    return CopyDeviceKey(buffer, count);
}
int CaptureDevice::SetDeviceKey(std::wstring_view text) {
    return StoreDeviceKey(text);
}

int CaptureDevice::HandleGraphEvents() {
    media::IMediaEventEx* events = graph_.Events();
    if (events == nullptr) return 0;
    long code = 0;
    intptr_t param1 = 0, param2 = 0;
    while (events->GetEvent(&code, &param1, &param2, 0) == media::S_OK) {
        events->FreeEventParams(code, param1, param2);  // nothing to free in the layer's events: never fails
        // The events behind a lost device stay queued for the next call.
        if (code == media::EC_DEVICE_LOST) return 1;
    }
    return 0;
}

int CaptureDevice::PanLeft(int, int) {
    return 1;
}
int CaptureDevice::PanRight(int, int) {
    return 1;
}
int CaptureDevice::TiltUp(int, int) {
    return 1;
}
int CaptureDevice::TiltDown(int, int) {
    return 1;
}

std::wstring FieldText(const wchar_t* field, size_t width) {
    return std::wstring(field, wcsnlen(field, width - 1));
}

}  // namespace kestrova
