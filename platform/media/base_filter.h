#pragma once
// A filter: a named node of a filter graph with pins. The graph runs and stops it; samples arrive on its
// input pins and leave through its output pins on the streaming thread of the source upstream.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/thread.h"
#include "platform/media/media_sample.h"
#include "platform/media/pin.h"
#include "platform/media/results.h"

namespace kestrova::media {

class FilterGraph;

enum FILTER_STATE { State_Stopped, State_Running };

class IBaseFilter : public std::enable_shared_from_this<IBaseFilter> {
public:
    IBaseFilter() = default;
    virtual ~IBaseFilter() = default;
    IBaseFilter(const IBaseFilter&) = delete;
    IBaseFilter& operator=(const IBaseFilter&) = delete;

    // The name the filter was added to its graph with.
    const std::wstring& Name() const { return name_; }
    FilterGraph* Graph() const { return graph_.load(); }
    FILTER_STATE State() const { return state_.load(); }

    size_t PinCount() const { return pins_.size(); }
    IPin* GetPin(size_t index) const { return index < pins_.size() ? pins_[index].get() : nullptr; }
    IPin* FindPin(const std::wstring& name) const;

protected:
    IPin* AddPin(std::wstring name, PIN_DIRECTION direction, PinCategory category = PIN_CATEGORY_None);

    // Pin behaviour, answered by each filter. The graph connects and disconnects only while stopped.
    virtual std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin);
    virtual bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) = 0;
    virtual IAMStreamConfig* PinStreamConfig(IPin& pin);
    virtual void PinConnected(IPin& pin);
    virtual void PinDisconnected(IPin& pin);
    // A sample on input pin `pin`, on the streaming thread.
    virtual HRESULT Receive(IPin& pin, MediaSample& sample);

    // The graph starts filters downstream first, so a filter's receivers are ready before it delivers, and
    // stops them upstream first, after every streaming thread ended, so a filter can still write out what
    // it holds. A failed start stops the graph again.
    virtual HRESULT OnRun();
    virtual void OnStop();

    // Queues an event in the graph (from any thread); nothing happens outside a graph.
    void NotifyEvent(long code, intptr_t param1, intptr_t param2);

private:
    friend class IPin;
    friend class FilterGraph;

    std::wstring name_;
    std::atomic<FilterGraph*> graph_{nullptr};
    std::atomic<FILTER_STATE> state_{State_Stopped};
    std::vector<std::unique_ptr<IPin>> pins_;
};

// A filter that produces samples on a streaming thread of its own, which the graph starts after every
// filter runs and joins before any filter stops.
class SourceFilter : public IBaseFilter {
protected:
    // The thread's body: produce and deliver until `stop` is requested or the stream ends.
    virtual void Stream(StopFlag& stop) = 0;

private:
    friend class FilterGraph;
    void StartStreaming();
    void StopStreaming();

    Worker streamer_;
};

// Another interface of an object that `object` keeps alive, or null when the object has none.
template <class Interface, class Object>
std::shared_ptr<Interface> QueryInterface(const std::shared_ptr<Object>& object) {
    if (!object) return nullptr;
    auto* found = dynamic_cast<Interface*>(object.get());
    if (!found) return nullptr;
    return std::shared_ptr<Interface>(object, found);
}

}  // namespace kestrova::media
