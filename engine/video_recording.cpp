#include "engine/video_recording.h"

#include <unistd.h>

#include <cwchar>
#include <mutex>
#include <random>

#include "engine/device.h"
#include "engine/recording_graph_builder.h"
#include "engine/storage_files.h"
#include "platform/base/clock.h"
#include "platform/media/filter_classes.h"
#include "platform/media/running_object_table.h"

namespace kestrova {

using namespace media;

namespace {

constexpr double kQualityHigh = 0.5;    // compression 0
constexpr double kQualityMedium = 1.0;  // compression 1
constexpr int kUncompressed = 2;

// The first RGB24 video entry of the pin's stream configuration with the picture of `frameSize` (1: 320 x
// 240, 2: 640 x 480) becomes its format; without one the source keeps its own.
void ChooseSourceFormat(IPin* pin, int frameSize) {
    IAMStreamConfig* config = pin->StreamConfig();
    if (!config) return;
    int count = 0, size = 0;
    if (FAILED(config->GetNumberOfCapabilities(&count, &size)) ||
        size != int(sizeof(VIDEO_STREAM_CONFIG_CAPS))) {
        return;
    }
    const int width = frameSize == 1 ? 320 : frameSize == 2 ? 640 : 0;
    const int height = width * 3 / 4;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE type;
        VIDEO_STREAM_CONFIG_CAPS caps;
        if (config->GetStreamCaps(i, &type, reinterpret_cast<uint8_t*>(&caps)) != S_OK) continue;
        const VIDEOINFOHEADER* info = type.VideoInfo();
        if (type.majortype == MEDIATYPE_Video && type.subtype == MEDIASUBTYPE_RGB24 && info &&
            info->bmiHeader.biWidth == width && info->bmiHeader.biHeight == height) {
            config->SetFormat(type);  // an entry of the pin's own list, before it connects: never refused
            return;
        }
    }
}

template <class Interface>
HRESULT Query(const std::shared_ptr<IBaseFilter>& filter, std::shared_ptr<Interface>* out) {
    *out = QueryInterface<Interface>(filter);
    return *out ? S_OK : E_NOINTERFACE;
}

// Adds the compressor between the Smart Tee and the multiplexer's input; a compressor that cannot be made
// or set up leaves the recording uncompressed.
void AddCompressor(RecordingGraph& r, double quality) {
    std::shared_ptr<IBaseFilter> compressor;
    std::shared_ptr<IAMVideoCompression> compression;
    IPin* output = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_MjpegCompressor, &compressor)) &&
        SUCCEEDED(r.graph->AddFilter(compressor, L"MJPEG Compressor"))) {
        if (SUCCEEDED(r.builder->FindPin(compressor.get(), PINDIR_OUTPUT, PIN_CATEGORY_None, MEDIATYPE_None,
                                         false, 0, &output)) &&
            SUCCEEDED(Query(compressor, &compression)) && SUCCEEDED(compression->put_Quality(quality))) {
            r.compressor = compressor;
            r.compression = compression;
            return;
        }
        r.graph->RemoveFilter(compressor.get());  // it was added just now; an unconnected filter does nothing
    }
}

}  // namespace

HRESULT RecorderGrabberCallback::SampleCB(double, MediaSample*) {
    return E_NOTIMPL;
}

HRESULT RecorderGrabberCallback::BufferCB(double, uint8_t* buffer, long length) {
    // Without a frame of this size the buffer is recorded black or as it was: a camera that has not sent a
    // picture yet is no failure to report 25 times a second.
    device_->CopyFrame(buffer, int(length), nullptr);
    return S_OK;
}

RecordingGraph::~RecordingGraph() {
    Release();
}

void RecordingGraph::Release() {
    // Tearing down: each step ends what there is, and a graph that will not stop is released all the same.
    if (control) control->Stop();
    if (grabber) grabber->SetCallback(nullptr, 1);
    callback.reset();
    if (events) events->SetNotifyWindow(nullptr, 0, 0);
    if (rotCookie) RemoveGraphFromRot(rotCookie);
    rotCookie = 0;
    fileSink.reset();
    fileWriter.reset();
    mux.reset();
    compression.reset();
    compressor.reset();
    smartTee.reset();
    grabber.reset();
    grabberFilter.reset();
    source.reset();
    events.reset();
    control.reset();
    builder.reset();
    graph.reset();
}

std::wstring RotNameOf(const FilterGraph* graph) {
    wchar_t name[64];
    // Two eight-digit numbers and the words fit.
    std::swprintf(name, 64, L"FilterGraph %08x pid %08x", unsigned(uintptr_t(graph)), unsigned(getpid()));
    return name;
}

HRESULT AddGraphToRot(const std::shared_ptr<FilterGraph>& graph, uint32_t* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!graph) return E_POINTER;
    return RotRegister(L"!", RotNameOf(graph.get()), graph, cookie);
}

HRESULT RemoveGraphFromRot(uint32_t cookie) {
    return RotRevoke(cookie);
}

std::wstring PlaceholderFileName() {
    std::minstd_rand random(uint32_t(GetClock().CalendarSeconds()));
    wchar_t name[32];
    std::swprintf(name, 32, L"Dummy-%i", int(random() % 30000 + 1));  // five digits at most: it fits
    return name;
}

int StartRecordingInto(Device& device, RecordingGraph* recording, std::wstring_view kind,
                       std::wstring_view extension) {
    if (device.GetState(kStateRecording)) return 1;
    if (!recording || !recording->control) return 0;
    // Devices record into the same date folders: choosing a free name and creating the file (the graph's
    // run does that) is one step for the whole process, so two devices never pick the same file.
    static std::mutex naming;
    std::lock_guard<std::mutex> named(naming);
    const LocalTime now = GetClock().Now();
    const std::wstring dateFolder = MakeDateFolder(device.GetStorageFolder(), kind, now);
    const std::wstring file = FirstFreeFileName(dateFolder, now, L"", extension);
    if (file.empty()) return 0;  // a thousand recordings in this second already
    if (FAILED(recording->fileSink->SetFileName(file, nullptr))) return 0;
    if (FAILED(recording->control->Run())) return 0;
    device.SetState(kStateRecording, 1);
    return 1;
}

namespace {

// The frame source, with the picture size of the device's setting; its output pin in `output`.
HRESULT AddFrameSource(RecordingGraph& r, int frameSize, IPin** output) {
    HRESULT hr = CoCreateInstance(CLSID_FrameSource, &r.source);
    if (SUCCEEDED(hr)) hr = r.graph->AddFilter(r.source, L"BRANTLOW Frames");
    if (SUCCEEDED(hr))
        hr = r.builder->FindPin(r.source.get(), PINDIR_OUTPUT, PIN_CATEGORY_None, MEDIATYPE_None, false, 0,
                                output);
    if (SUCCEEDED(hr)) ChooseSourceFormat(*output, frameSize);
    return hr;
}

// The Sample Grabber that paints each RGB24 sample with the device's current frame.
HRESULT AddFramePainter(RecordingGraph& r, Device& device) {
    HRESULT hr = CoCreateInstance(CLSID_SampleGrabber, &r.grabberFilter);
    if (SUCCEEDED(hr)) hr = r.graph->AddFilter(r.grabberFilter, L"Sample Grabber");
    if (SUCCEEDED(hr)) hr = Query(r.grabberFilter, &r.grabber);
    if (SUCCEEDED(hr)) {
        AM_MEDIA_TYPE rgb;
        rgb.majortype = MEDIATYPE_Video;
        rgb.subtype = MEDIASUBTYPE_RGB24;
        rgb.formattype = FORMAT_VideoInfo;
        hr = r.grabber->SetMediaType(rgb);
    }
    if (SUCCEEDED(hr)) {
        r.callback = std::make_unique<RecorderGrabberCallback>(&device);
        // Plain settings of a grabber made just now: it takes them.
        r.grabber->SetBufferSamples(false);
        r.grabber->SetOneShot(false);
        hr = r.grabber->SetCallback(r.callback.get(), 1);
    }
    return hr;
}

}  // namespace

HRESULT VideoGraphBuilder::AddFilters(RecordingGraph& r) {
    IPin* sourceOutput = nullptr;
    HRESULT hr = AddFrameSource(r, frameSize_, &sourceOutput);
    if (SUCCEEDED(hr)) hr = AddFramePainter(r, device_);
    if (SUCCEEDED(hr)) hr = CoCreateInstance(CLSID_SmartTee, &r.smartTee);
    if (SUCCEEDED(hr)) hr = r.graph->AddFilter(r.smartTee, L"Smart Tee");
    if (SUCCEEDED(hr))
        hr = r.builder->SetOutputFileName(MEDIASUBTYPE_Avi, PlaceholderFileName(), &r.mux, &r.fileSink);
    if (SUCCEEDED(hr) && compression_ != kUncompressed) {
        AddCompressor(r, compression_ == 0 ? kQualityHigh : kQualityMedium);
    }

    if (SUCCEEDED(hr)) {
        hr = r.builder->RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, sourceOutput, nullptr,
                                     r.grabberFilter.get());
    }
    if (SUCCEEDED(hr)) {
        hr = r.builder->RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, r.grabberFilter.get(), nullptr,
                                     r.smartTee.get());
    }
    if (SUCCEEDED(hr)) {
        hr = r.builder->RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, r.smartTee.get(), r.compressor.get(),
                                     r.mux.get());
    }
    return hr;
}

}  // namespace kestrova
