#pragma once
// Building a device's recording graph: the steps every recording graph shares (a new graph and builder, its
// control, its events posted to the notify window; afterwards the release of a graph that failed, or the
// registration of one that was built) around the filters and streams of its kind. The device calls Build
// with its recording lock held, on a graph that is not built.

#include "engine/video_recording.h"
#include "platform/ui/types.h"

namespace kestrova {

class Device;

class RecordingGraphBuilder {
public:
    virtual ~RecordingGraphBuilder() = default;

    // 1 when the graph is built; 0 when a step failed, and then every slot but the capture filter is empty.
    int Build(RecordingGraph& r, HWND notifyWindow);

protected:
    // Adds the kind's filters to `r.graph` and connects them; the first failure is returned.
    virtual media::HRESULT AddFilters(RecordingGraph& r) = 0;
};

// A camera's graph: the frame source, painted with the device's frames by the Sample Grabber, through the
// Smart Tee and, unless uncompressed, the MJPEG compressor into an AVI file.
class VideoGraphBuilder final : public RecordingGraphBuilder {
public:
    // `frameSize` 1: 320 x 240, 2: 640 x 480; `compression` 0 High, 1 Medium, 2 uncompressed.
    VideoGraphBuilder(Device& device, int frameSize, int compression)
        : device_(device), frameSize_(frameSize), compression_(compression) {}

protected:
    media::HRESULT AddFilters(RecordingGraph& r) override;

private:
    Device& device_;
    const int frameSize_;
    const int compression_;
};

// A microphone's graph: its recording capture filter into the WAV writer and the file writer.
class AudioGraphBuilder final : public RecordingGraphBuilder {
protected:
    media::HRESULT AddFilters(RecordingGraph& r) override;
};

}  // namespace kestrova
