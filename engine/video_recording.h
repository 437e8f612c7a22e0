#pragma once
// A device's recording graph: the slots that building fills and tearing down empties, shared by the video
// recording of cameras and the audio recording of microphones (a device has at most one recording graph).
// Build, teardown and both recorders take the device's recording lock, so a teardown at the end of detection
// never meets an alarm that starts or stops the recording at the same moment.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/media/capture_graph_builder.h"
#include "platform/media/filter_graph.h"
#include "platform/media/mjpeg_compressor.h"
#include "platform/media/sample_grabber.h"

namespace kestrova {

class Device;

// Paints every sample of the video recording graph with the device's current frame: a sample of the frame's
// size carries the frame, a sample of a device without a frame is black, a sample of another size stays as
// the source made it.
class RecorderGrabberCallback : public media::ISampleGrabberCB {
public:
    explicit RecorderGrabberCallback(Device* device) : device_(device) {}
    media::HRESULT SampleCB(double sampleTime, media::MediaSample* sample) override;
    media::HRESULT BufferCB(double sampleTime, uint8_t* buffer, long length) override;

private:
    Device* device_;
};

struct RecordingGraph {
    RecordingGraph() = default;
    ~RecordingGraph();  // tears down whatever graph is left
    RecordingGraph(const RecordingGraph&) = delete;
    RecordingGraph& operator=(const RecordingGraph&) = delete;

    // Stops the graph, unhooks the callback and the notify window, leaves the running object table and lets
    // go of every graph slot; the microphone's capture filter stays.
    void Release();

    // Declared first, so it outlives the graph that calls it.
    std::unique_ptr<RecorderGrabberCallback> callback;

    std::shared_ptr<media::FilterGraph> graph;
    std::shared_ptr<media::CaptureGraphBuilder> builder;
    std::shared_ptr<media::IMediaControl> control;
    std::shared_ptr<media::IMediaEventEx> events;
    std::shared_ptr<media::IBaseFilter> source;  // the frame source of a video graph
    std::shared_ptr<media::IBaseFilter> grabberFilter;
    std::shared_ptr<media::ISampleGrabber> grabber;
    std::shared_ptr<media::IBaseFilter> smartTee;
    std::shared_ptr<media::IBaseFilter> compressor;
    std::shared_ptr<media::IAMVideoCompression> compression;
    std::shared_ptr<media::IBaseFilter> mux;  // the AVI multiplexer, or the WAV writer of an audio graph
    std::shared_ptr<media::IBaseFilter> fileWriter;
    std::shared_ptr<media::IFileSinkFilter> fileSink;
    uint32_t rotCookie = 0;

    // The microphone's second capture filter, which its audio graph records from; held from the kind's Init
    // until the device goes, across builds and teardowns.
    std::shared_ptr<media::IBaseFilter> captureFilter;
};

// Points the recording graph's file sink at the next free file "<storage><kind>/<yy-MM-dd>/<yy-MM-dd>
// <HH-mm-ss> <nnn>.<extension>" and runs it; for the recorders, which hold the device's recording lock.
// 1 when recording runs or was started, 0 without a graph or when it does not run.
int StartRecordingInto(Device& device, RecordingGraph* recording, std::wstring_view kind,
                       std::wstring_view extension);

// Registers the graph in the running object table under "!FilterGraph <address> pid <process id>" (both as
// eight hexadecimal digits) and hands back the cookie, 0 when the registration failed.
media::HRESULT AddGraphToRot(const std::shared_ptr<media::FilterGraph>& graph, uint32_t* cookie);
media::HRESULT RemoveGraphFromRot(uint32_t cookie);
// The display name AddGraphToRot registers the graph under.
std::wstring RotNameOf(const media::FilterGraph* graph);

// The placeholder file a recording graph is built with: "Dummy-<1..30000>", relative to the current folder.
// It is never created: every recording sets its own file before the graph runs.
std::wstring PlaceholderFileName();

}  // namespace kestrova
