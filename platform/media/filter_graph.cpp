#include "platform/media/filter_graph.h"

#include <algorithm>
#include <cwchar>
#include <map>

#include "platform/media/filter_classes.h"

namespace kestrova::media {

FilterGraph::~FilterGraph() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    StopLocked();
    for (const auto& filter : filters_) {
        for (size_t i = 0; i < filter->PinCount(); ++i) DisconnectLocked(filter->GetPin(i));
        filter->graph_.store(nullptr);
        filter->name_.clear();
    }
}

HRESULT FilterGraph::AddFilter(const std::shared_ptr<IBaseFilter>& filter, const std::wstring& name) {
    if (!filter) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    if (filter->Graph()) return E_INVALIDARG;
    std::wstring unique = name;
    for (int n = 1;
         std::any_of(filters_.begin(), filters_.end(), [&](auto& f) { return f->Name() == unique; }); ++n) {
        wchar_t suffix[16];
        std::swprintf(suffix, 16, L" %04d", n);
        unique = name + suffix;
    }
    filter->name_ = unique;
    filter->graph_.store(this);
    filters_.push_back(filter);
    return S_OK;
}

HRESULT FilterGraph::RemoveFilter(IBaseFilter* filter) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    auto it = std::find_if(filters_.begin(), filters_.end(), [&](auto& f) { return f.get() == filter; });
    if (it == filters_.end()) return VFW_E_NOT_FOUND;
    for (size_t i = 0; i < filter->PinCount(); ++i) DisconnectLocked(filter->GetPin(i));
    filter->graph_.store(nullptr);
    filter->name_.clear();
    filters_.erase(it);
    return S_OK;
}

HRESULT FilterGraph::FindFilterByName(const std::wstring& name, std::shared_ptr<IBaseFilter>* filter) {
    if (!filter) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (const auto& f : filters_) {
        if (f->Name() == name) {
            *filter = f;
            return S_OK;
        }
    }
    filter->reset();
    return VFW_E_NOT_FOUND;
}

std::vector<std::shared_ptr<IBaseFilter>> FilterGraph::Filters() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return filters_;
}

HRESULT FilterGraph::ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) {
    if (!output || !input) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    if (output->Filter()->Graph() != this || input->Filter()->Graph() != this) return VFW_E_NOT_IN_GRAPH;
    if (output->Direction() != PINDIR_OUTPUT || input->Direction() != PINDIR_INPUT) {
        return VFW_E_INVALID_DIRECTION;
    }
    if (output->IsConnected() || input->IsConnected()) return VFW_E_ALREADY_CONNECTED;

    std::vector<AM_MEDIA_TYPE> candidates;
    if (type) {
        candidates.push_back(*type);
    } else {
        candidates = output->MediaTypes();
        for (auto& t : input->MediaTypes()) candidates.push_back(std::move(t));
    }
    for (const AM_MEDIA_TYPE& candidate : candidates) {
        if (!output->Accepts(candidate) || !input->Accepts(candidate)) continue;
        output->peer_ = input;
        input->peer_ = output;
        output->type_ = candidate;
        input->type_ = candidate;
        output->owner_.PinConnected(*output);
        input->owner_.PinConnected(*input);
        return S_OK;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT FilterGraph::Connect(IPin* output, IPin* input) {
    const HRESULT direct = ConnectDirect(output, input, nullptr);
    if (direct != VFW_E_NO_ACCEPTABLE_TYPES) return direct;
    return ConnectThroughConverter(output, input);
}

HRESULT FilterGraph::ConnectThroughConverter(IPin* output, IPin* input) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (const ConverterClass& converterClass : ConverterClasses()) {
        std::shared_ptr<IBaseFilter> converter;
        if (FAILED(CoCreateInstance(converterClass.clsid, &converter))) continue;
        if (FAILED(AddFilter(converter, converterClass.name))) continue;
        IPin* in = nullptr;
        IPin* out = nullptr;
        for (size_t i = 0; i < converter->PinCount(); ++i) {
            IPin* pin = converter->GetPin(i);
            if (pin->Direction() == PINDIR_INPUT && !in) in = pin;
            if (pin->Direction() == PINDIR_OUTPUT && !out) out = pin;
        }
        if (in && out && SUCCEEDED(ConnectDirect(output, in, nullptr)) &&
            SUCCEEDED(ConnectDirect(out, input, nullptr))) {
            return S_OK;
        }
        RemoveFilter(converter.get());
    }
    return VFW_E_CANNOT_CONNECT;
}

HRESULT FilterGraph::Disconnect(IPin* pin) {
    if (!pin) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!pin->IsConnected()) return S_FALSE;
    DisconnectLocked(pin);
    return S_OK;
}

void FilterGraph::DisconnectLocked(IPin* pin) {
    IPin* peer = pin->peer_;
    if (!peer) return;
    pin->peer_ = nullptr;
    peer->peer_ = nullptr;
    pin->type_ = {};
    peer->type_ = {};
    pin->owner_.PinDisconnected(*pin);
    peer->owner_.PinDisconnected(*peer);
}

std::vector<IBaseFilter*> FilterGraph::UpstreamFirst() {
    // Kahn's order over the connections: a filter is placed once everything feeding it is placed.
    std::map<IBaseFilter*, int> feeding;
    for (const auto& f : filters_) feeding[f.get()] = 0;
    for (const auto& f : filters_) {
        for (size_t i = 0; i < f->PinCount(); ++i) {
            IPin* pin = f->GetPin(i);
            if (pin->Direction() == PINDIR_INPUT && pin->IsConnected()) ++feeding[f.get()];
        }
    }
    std::vector<IBaseFilter*> order;
    std::vector<bool> placed(filters_.size(), false);
    while (order.size() < filters_.size()) {
        bool progress = false;
        for (size_t k = 0; k < filters_.size(); ++k) {
            IBaseFilter* f = filters_[k].get();
            if (placed[k] || feeding[f] > 0) continue;
            placed[k] = true;
            progress = true;
            order.push_back(f);
            for (size_t i = 0; i < f->PinCount(); ++i) {
                IPin* pin = f->GetPin(i);
                if (pin->Direction() == PINDIR_OUTPUT && pin->IsConnected()) --feeding[pin->peer_->Filter()];
            }
        }
        if (!progress) break;  // a cycle: cannot happen with one peer per pin and directed connections
    }
    return order;
}

HRESULT FilterGraph::Run() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (state_ == State_Running) return S_OK;
    const std::vector<IBaseFilter*> order = UpstreamFirst();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const HRESULT hr = (*it)->OnRun();
        if (FAILED(hr)) {
            for (auto started = it.base(); started != order.end(); ++started) {
                (*started)->OnStop();
                (*started)->state_.store(State_Stopped);
            }
            return hr;
        }
        (*it)->state_.store(State_Running);
    }
    state_ = State_Running;
    for (IBaseFilter* f : order) {
        if (auto* source = dynamic_cast<SourceFilter*>(f)) source->StartStreaming();
    }
    return S_OK;
}

HRESULT FilterGraph::Stop() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    StopLocked();
    return S_OK;
}

void FilterGraph::StopLocked() {
    if (state_ == State_Stopped) return;
    const std::vector<IBaseFilter*> order = UpstreamFirst();
    for (IBaseFilter* f : order) {
        if (auto* source = dynamic_cast<SourceFilter*>(f)) source->StopStreaming();
    }
    for (IBaseFilter* f : order) {
        f->OnStop();
        f->state_.store(State_Stopped);
    }
    state_ = State_Stopped;
}

HRESULT FilterGraph::GetState(long, FILTER_STATE* state) {
    if (!state) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    *state = state_;
    return S_OK;
}

}  // namespace kestrova::media
