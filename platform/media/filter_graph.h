#pragma once
// The filter graph: holds filters by name, connects their pins, runs and stops them together and queues
// their events. Each source filter streams on a thread of its own while the graph runs; Stop joins every
// one of them, so no sample (and no callback that a sample calls) is on its way once Stop returns.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/media/base_filter.h"
#include "platform/media/media_events.h"

namespace kestrova::media {

class IMediaControl {
public:
    virtual ~IMediaControl() = default;
    virtual HRESULT Run() = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT GetState(long timeoutMs, FILTER_STATE* state) = 0;
};

class FilterGraph : public IMediaControl, public MediaEventQueue {
public:
    FilterGraph() = default;
    ~FilterGraph() override;  // stops the graph and lets go of every filter
    FilterGraph(const FilterGraph&) = delete;
    FilterGraph& operator=(const FilterGraph&) = delete;

    // Adds a stopped filter that is in no other graph. A name that is taken gets " 0001", " 0002"...
    // appended.
    HRESULT AddFilter(const std::shared_ptr<IBaseFilter>& filter, const std::wstring& name);
    // Disconnects the filter's pins and takes it out of the graph (stopped graphs only).
    HRESULT RemoveFilter(IBaseFilter* filter);
    HRESULT FindFilterByName(const std::wstring& name, std::shared_ptr<IBaseFilter>* filter);
    // The filters in the order they were added.
    std::vector<std::shared_ptr<IBaseFilter>> Filters();

    // Connects an output pin to an input pin of this graph with `type`, or with the first type that both
    // accept (the output pin's proposals first, then the input pin's) when `type` is null.
    HRESULT ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type);
    // Connects directly, or else through a converter filter that it adds between the two.
    HRESULT Connect(IPin* output, IPin* input);
    // Breaks the connection of `pin` at both ends.
    HRESULT Disconnect(IPin* pin);

    HRESULT Run() override;
    HRESULT Stop() override;
    HRESULT GetState(long timeoutMs, FILTER_STATE* state) override;

private:
    // The filters ordered so that every filter comes after those that deliver to it.
    std::vector<IBaseFilter*> UpstreamFirst();
    HRESULT ConnectThroughConverter(IPin* output, IPin* input);
    void DisconnectLocked(IPin* pin);
    void StopLocked();

    std::recursive_mutex mutex_;
    std::vector<std::shared_ptr<IBaseFilter>> filters_;
    FILTER_STATE state_ = State_Stopped;
};

}  // namespace kestrova::media
