#include "engine/recording_graph_builder.h"
#include "platform/media/filter_classes.h"
#include "platform/media/wav_dest.h"

namespace kestrova {

using namespace media;

HRESULT AudioGraphBuilder::AddFilters(RecordingGraph& r) {
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
    return hr;
}

}  // namespace kestrova
