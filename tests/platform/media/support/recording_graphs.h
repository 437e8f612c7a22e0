#pragma once
// The recording graphs of the media tests, as the devices build them: a camera's (frame source, Sample
// Grabber, Smart Tee, an optional MJPEG compressor, AVI multiplexer, File Writer) and a microphone's
// (microphone, Sample Grabber, WAV writer, File Writer). Each counts its samples in its callback.

#include <memory>
#include <string>

#include "platform/media/capture_graph_builder.h"
#include "platform/media/filter_graph.h"
#include "platform/media/sample_grabber.h"
#include "platform/media/virtual/virtual_microphone.h"
#include "tests/platform/media/graph_helpers.h"

namespace kestrova::mediatest {

// Paints a bottom-up BGR frame of 320 x 240 or 640 x 480: red over the top half, blue over the bottom half,
// and a fine pattern in green so that the JPEG quality shows in the file size.
void PaintHalves(uint8_t* buffer, long length);

struct RecordingGraph {
    std::shared_ptr<media::FilterGraph> graph = std::make_shared<media::FilterGraph>();
    media::CaptureGraphBuilder builder;
    CountingCallback callback;

    // Frames of `width` (320 or 640) into `file`; `quality` < 0: no compressor.
    media::HRESULT Build(int width, double quality, const std::wstring& file);
};

struct WavGraph {
    std::shared_ptr<media::FilterGraph> graph = std::make_shared<media::FilterGraph>();
    media::CaptureGraphBuilder builder;
    std::shared_ptr<media::IBaseFilter> microphone = std::make_shared<media::VirtualMicrophone>();
    std::shared_ptr<media::SampleGrabber> grabber = std::make_shared<media::SampleGrabber>();
    CountingCallback callback;

    // The virtual microphone's `rate` and `channels` (16-bit) through `wav` into `file`.
    media::HRESULT Build(std::shared_ptr<media::IBaseFilter> wav, uint32_t rate, uint16_t channels,
                         const std::wstring& file);
};

}  // namespace kestrova::mediatest
