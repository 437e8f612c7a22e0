#include "engine/device.h"
#include "engine/device_messages.h"
#include "engine/video_recording.h"
#include "platform/media/filter_classes.h"
#include "platform/media/wav_dest.h"

namespace kestrova {

using namespace media;

int Device::BuildAudioGraph(int build) {
    // Tearing down is the same for both kinds of recording graph; the capture filter stays either way.
    if (!build) return BuildVideoGraph(0);

    std::lock_guard<CriticalSection> lock(recordingLock_);
    if (recording_ && recording_->control) return 1;  // built already
    if (!recording_) recording_ = std::make_shared<RecordingGraph>();
    RecordingGraph& r = *recording_;
    r.graph = std::make_shared<FilterGraph>();
    r.builder = std::make_shared<CaptureGraphBuilder>();
    // A new builder takes a new graph, and a graph's event queue takes any window: neither can refuse.
    r.builder->SetFiltergraph(r.graph);
    r.control = QueryInterface<IMediaControl>(r.graph);
    r.events = QueryInterface<IMediaEventEx>(r.graph);
    r.events->SetNotifyWindow(GetNotifyWindow(), WM_GRAPH_NOTIFY, 0);

    // Without the microphone's recording capture filter the stream below has no source and the build fails.
    HRESULT hr = r.captureFilter ? r.graph->AddFilter(r.captureFilter, L"Audio Capture") : S_OK;
    if (SUCCEEDED(hr)) hr = CoCreateInstance(CLSID_WavDest, &r.mux);
    if (SUCCEEDED(hr)) hr = r.graph->AddFilter(r.mux, L"WavDest");
    if (SUCCEEDED(hr)) hr = CoCreateInstance(CLSID_FileWriter, &r.fileWriter);
    if (SUCCEEDED(hr)) {
        r.fileSink = QueryInterface<IFileSinkFilter>(r.fileWriter);
        hr = r.fileSink ? r.fileSink->SetFileName(PlaceholderFileName(), nullptr) : E_NOINTERFACE;
    }
    if (SUCCEEDED(hr)) hr = r.graph->AddFilter(r.fileWriter, L"File Writer");
    if (SUCCEEDED(hr)) {
        hr = r.captureFilter ? r.builder->RenderStream(PIN_CATEGORY_CAPTURE, MEDIATYPE_Audio,
                                                       r.captureFilter.get(), nullptr, r.mux.get())
                             : E_POINTER;
    }
    if (SUCCEEDED(hr)) {
        hr = r.builder->RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, r.mux.get(), nullptr,
                                     r.fileWriter.get());
    }
    if (FAILED(hr)) {
        r.Release();
        return 0;
    }
    // A graph that cannot be registered still records; it is only invisible to graph tools.
    if (FAILED(AddGraphToRot(r.graph, &r.rotCookie))) r.rotCookie = 0;
    return 1;
}

int Device::RecordAudio(int start) {
    if (!start) return RecordVideo(0);  // the device's one recording graph, whichever kind built it
    std::lock_guard<CriticalSection> lock(recordingLock_);
    return StartRecordingInto(*this, recording_.get(), L"Audio", L"wav");
}

}  // namespace kestrova
