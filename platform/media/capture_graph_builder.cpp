#include "platform/media/capture_graph_builder.h"

#include "platform/media/filter_classes.h"

namespace kestrova::media {
namespace {

bool CarriesType(IPin* pin, MajorType type) {
    if (type == MEDIATYPE_None) return true;
    if (pin->IsConnected()) return pin->ConnectedType().majortype == type;
    for (const AM_MEDIA_TYPE& offered : pin->MediaTypes()) {
        if (offered.majortype == type) return true;
    }
    return false;
}

std::shared_ptr<IBaseFilter> Shared(IBaseFilter* filter) {
    return filter ? filter->shared_from_this() : nullptr;
}

}  // namespace

HRESULT CaptureGraphBuilder::SetFiltergraph(const std::shared_ptr<FilterGraph>& graph) {
    if (!graph) return E_POINTER;
    if (graph_) return E_UNEXPECTED;
    graph_ = graph;
    return S_OK;
}

HRESULT CaptureGraphBuilder::GetFiltergraph(std::shared_ptr<FilterGraph>* graph) {
    if (!graph) return E_POINTER;
    *graph = graph_;
    return graph_ ? S_OK : E_UNEXPECTED;
}

HRESULT CaptureGraphBuilder::FindPin(IBaseFilter* filter, PIN_DIRECTION direction, PinCategory category,
                                     MajorType type, bool unconnected, int index, IPin** pin) {
    if (!filter || !pin) return E_POINTER;
    *pin = nullptr;
    for (size_t i = 0; i < filter->PinCount(); ++i) {
        IPin* candidate = filter->GetPin(i);
        if (candidate->Direction() != direction) continue;
        if (category != PIN_CATEGORY_None && candidate->Category() != category) continue;
        if (unconnected && candidate->IsConnected()) continue;
        if (!CarriesType(candidate, type)) continue;
        if (index-- == 0) {
            *pin = candidate;
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

HRESULT CaptureGraphBuilder::FindInterface(PinCategory category, MajorType type, IBaseFilter* filter,
                                           std::shared_ptr<IAMStreamConfig>* config) {
    if (!config) return E_POINTER;
    config->reset();
    IPin* pin = nullptr;
    const HRESULT hr = FindPin(filter, PINDIR_OUTPUT, category, type, false, 0, &pin);
    if (FAILED(hr)) return hr;
    IAMStreamConfig* found = pin->StreamConfig();
    if (!found) return E_NOINTERFACE;
    *config = std::shared_ptr<IAMStreamConfig>(Shared(filter), found);
    return S_OK;
}

HRESULT CaptureGraphBuilder::RenderStream(PinCategory category, MajorType type, IBaseFilter* source,
                                          IBaseFilter* intermediate, IBaseFilter* sink) {
    if (!source) return E_POINTER;
    IPin* output = nullptr;
    const HRESULT hr = FindPin(source, PINDIR_OUTPUT, category, type, true, 0, &output);
    if (FAILED(hr)) return hr;
    return RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, output, intermediate, sink);
}

HRESULT CaptureGraphBuilder::RenderStream(PinCategory, MajorType, IPin* source, IBaseFilter* intermediate,
                                          IBaseFilter* sink) {
    if (!source || !sink) return E_POINTER;
    if (!graph_) return E_UNEXPECTED;
    if (source->Direction() != PINDIR_OUTPUT) return VFW_E_INVALID_DIRECTION;
    IPin* output = source;
    if (intermediate) {
        HRESULT hr = ConnectToSink(output, intermediate);
        if (FAILED(hr)) return hr;
        hr = FindPin(intermediate, PINDIR_OUTPUT, PIN_CATEGORY_None, MEDIATYPE_None, true, 0, &output);
        if (FAILED(hr)) return hr;
    }
    return ConnectToSink(output, sink);
}

HRESULT CaptureGraphBuilder::ConnectToSink(IPin* output, IBaseFilter* sink) {
    HRESULT result = VFW_E_NOT_FOUND;
    IPin* input = nullptr;
    for (int i = 0;
         SUCCEEDED(FindPin(sink, PINDIR_INPUT, PIN_CATEGORY_None, MEDIATYPE_None, true, i, &input)); ++i) {
        result = graph_->Connect(output, input);
        if (SUCCEEDED(result)) return result;
    }
    return result;
}

HRESULT CaptureGraphBuilder::SetOutputFileName(SubType subtype, const std::wstring& fileName,
                                               std::shared_ptr<IBaseFilter>* mux,
                                               std::shared_ptr<IFileSinkFilter>* sink) {
    if (!mux || !sink) return E_POINTER;
    if (!graph_) return E_UNEXPECTED;
    if (subtype != MEDIASUBTYPE_Avi) return E_INVALIDARG;
    std::shared_ptr<IBaseFilter> muxFilter, writer;
    HRESULT hr = CoCreateInstance(CLSID_AviMux, &muxFilter);
    if (SUCCEEDED(hr)) hr = CoCreateInstance(CLSID_FileWriter, &writer);
    auto fileSink = QueryInterface<IFileSinkFilter>(writer);
    if (SUCCEEDED(hr) && !fileSink) hr = E_NOINTERFACE;
    if (SUCCEEDED(hr)) hr = fileSink->SetFileName(fileName, nullptr);
    if (SUCCEEDED(hr)) hr = graph_->AddFilter(muxFilter, L"AVI Mux");
    if (SUCCEEDED(hr)) hr = graph_->AddFilter(writer, L"File Writer");
    if (SUCCEEDED(hr))
        hr = RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, muxFilter.get(), nullptr, writer.get());
    if (FAILED(hr)) {
        if (muxFilter) graph_->RemoveFilter(muxFilter.get());
        if (writer) graph_->RemoveFilter(writer.get());
        return hr;
    }
    *mux = muxFilter;
    *sink = fileSink;
    return S_OK;
}

}  // namespace kestrova::media
