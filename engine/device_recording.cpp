// The device's recording operations: the integer forms the Parts' callers use, and the named forms they
// forward to. The graph itself is built by engine/recording_graph_builder.h.
#include <memory>
#include <mutex>

#include "engine/device.h"
#include "engine/recording_graph_builder.h"
#include "engine/video_recording.h"

namespace kestrova {

int Device::BuildVideoGraph(int build) {
    return build ? BuildVideoRecordingGraph() : TearDownRecordingGraph();
}

int Device::RecordVideo(int start) {
    return start ? StartVideoRecording() : StopRecording();
}

int Device::BuildAudioGraph(int build) {
    return build ? BuildAudioRecordingGraph() : TearDownRecordingGraph();
}

int Device::RecordAudio(int start) {
    return start ? StartAudioRecording() : StopRecording();
}

int Device::BuildVideoRecordingGraph() {
    int frameSize, compression;
    {
        std::lock_guard<CriticalSection> settings(settingsLock_);
        frameSize = options_.frameSize;
        compression = options_.videoCompression;
    }
    VideoGraphBuilder builder(*this, frameSize, compression);
    return BuildRecordingGraph(builder);
}

int Device::BuildAudioRecordingGraph() {
    AudioGraphBuilder builder;
    return BuildRecordingGraph(builder);
}

int Device::BuildRecordingGraph(RecordingGraphBuilder& builder) {
    std::lock_guard<CriticalSection> lock(recordingLock_);
    if (recording_ && recording_->control) return 1;  // built already
    if (!recording_) recording_ = std::make_shared<RecordingGraph>();
    return builder.Build(*recording_, GetNotifyWindow());
}

int Device::TearDownRecordingGraph() {
    std::lock_guard<CriticalSection> lock(recordingLock_);
    if (!recording_ || !recording_->control) return 0;
    if (media::FAILED(recording_->control->Stop())) return 0;
    recording_->Release();  // the microphone's capture filter stays for the next build
    if (GetState(kStateRecording)) SetState(kStateRecording, 0);
    return 1;
}

int Device::StartVideoRecording() {
    return StartRecording(L"Videos", L"avi");
}

int Device::StartAudioRecording() {
    return StartRecording(L"Audio", L"wav");
}

int Device::StartRecording(std::wstring_view kind, std::wstring_view extension) {
    std::lock_guard<CriticalSection> lock(recordingLock_);
    return StartRecordingInto(*this, recording_.get(), kind, extension);
}

int Device::StopRecording() {
    std::lock_guard<CriticalSection> lock(recordingLock_);
    if (!GetState(kStateRecording)) return 1;
    if (recording_ && recording_->control && media::FAILED(recording_->control->Stop())) return 0;
    SetState(kStateRecording, 0);
    return 1;
}

}  // namespace kestrova
