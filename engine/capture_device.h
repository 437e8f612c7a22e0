#pragma once
// What the USB camera and the microphone share: a capture filter of the media layer, bound from the
// device's moniker and held from Init until the device goes, and the live capture graph built around it
// while the device is powered. Touched on the user-interface thread only.

#include <memory>

#include "engine/capture_graph.h"
#include "engine/device.h"
#include "platform/media/base_filter.h"

namespace kestrova {

class CaptureDevice : public Device {
public:
    // Stops capture: 1 when a running graph was stopped, 0 when there was no graph or it refused to stop.
    int Stop() override;
    int GetFriendlyName(wchar_t* buffer, int count) override;
    int SetFriendlyName(std::wstring_view text) override;
    int GetDeviceKey(wchar_t* buffer, int count) override;
    int SetDeviceKey(std::wstring_view text) override;
    // Drains the capture graph's events: 1 when the device was lost (the events behind that stay queued for
    // the next call), else 0, also without a graph.
    int HandleGraphEvents() override;
    // Neither kind pans or tilts.
    int PanLeft(int start, int milliseconds) override;
    int PanRight(int start, int milliseconds) override;
    int TiltUp(int start, int milliseconds) override;
    int TiltDown(int start, int milliseconds) override;

protected:
    explicit CaptureDevice(int32_t type) : Device(type) {}
    ~CaptureDevice() override;

    // Builds and runs the capture graph after stopping any running one; on success the device is powered.
    void StartCapture(const CaptureGraphPlan& plan, std::unique_ptr<media::ISampleGrabberCB> callback);
    // Stops the device (and any video recording of it) and lets go of the capture filter and any recording
    // graph, as the kinds' Init does before it applies its record.
    void ResetCapture();

    std::shared_ptr<media::IBaseFilter> captureFilter_;
    CaptureGraph graph_;
};

// The text of a fixed wide field of a creation record: up to its terminator, at most width - 1 characters.
std::wstring FieldText(const wchar_t* field, size_t width);

}  // namespace kestrova
