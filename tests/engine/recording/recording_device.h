#pragma once
// The test kind of device, opened up so that recording tests can look at its recording graph and hand it
// the microphone's recording capture filter; and the names of the files recordings write.

#include <memory>
#include <string>
#include <vector>

#include "engine/video_recording.h"
#include "tests/engine/device/kit/test_device.h"

namespace kestrova::testing {

class RecordingDevice : public TestDevice {
public:
    explicit RecordingDevice(int32_t type = kDeviceUsbCamera) : TestDevice(type) {}
    ~RecordingDevice() override { BuildVideoGraph(0); }

    // The recording graph, or null when none is built.
    std::shared_ptr<media::FilterGraph> Graph() {
        std::lock_guard<CriticalSection> lock(recordingLock_);
        return recording_ ? recording_->graph : nullptr;
    }
    void HoldRecordingCapture(std::shared_ptr<media::IBaseFilter> filter) {
        std::lock_guard<CriticalSection> lock(recordingLock_);
        if (!recording_) recording_ = std::make_shared<RecordingGraph>();
        recording_->captureFilter = std::move(filter);
    }
    bool HasFilter(const std::wstring& name) {
        std::shared_ptr<media::IBaseFilter> found;
        auto graph = Graph();
        return graph && media::SUCCEEDED(graph->FindFilterByName(name, &found));
    }
};

// The files below "<storage><kind>/", as paths relative to it, sorted.
std::vector<std::string> RecordedFiles(const std::wstring& storage, const std::wstring& kind);

}  // namespace kestrova::testing
