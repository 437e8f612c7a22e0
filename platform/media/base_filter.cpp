#include "platform/media/base_filter.h"

#include "platform/media/filter_graph.h"

namespace kestrova::media {

IPin* IBaseFilter::FindPin(const std::wstring& name) const {
    for (const auto& pin : pins_) {
        if (pin->Name() == name) return pin.get();
    }
    return nullptr;
}

IPin* IBaseFilter::AddPin(std::wstring name, PIN_DIRECTION direction, PinCategory category) {
    pins_.push_back(std::make_unique<IPin>(*this, std::move(name), direction, category));
    return pins_.back().get();
}

std::vector<AM_MEDIA_TYPE> IBaseFilter::PinMediaTypes(IPin&) {
    return {};
}

IAMStreamConfig* IBaseFilter::PinStreamConfig(IPin&) {
    return nullptr;
}

void IBaseFilter::PinConnected(IPin&) {}

void IBaseFilter::PinDisconnected(IPin&) {}

HRESULT IBaseFilter::Receive(IPin&, MediaSample&) {
    return E_UNEXPECTED;
}

HRESULT IBaseFilter::OnRun() {
    return S_OK;
}

void IBaseFilter::OnStop() {}

void IBaseFilter::NotifyEvent(long code, intptr_t param1, intptr_t param2) {
    if (FilterGraph* graph = graph_.load()) graph->Notify(code, param1, param2);
}

void SourceFilter::StartStreaming() {
    streamer_.Start([this](StopFlag& stop) { Stream(stop); });
}

void SourceFilter::StopStreaming() {
    streamer_.Stop();
}

}  // namespace kestrova::media
