#pragma once
// A pin: a named, directed connection point of a filter. An output pin connects to one input pin with one
// media type; samples go down the connection on the streaming thread.

#include <string>
#include <vector>

#include "platform/media/media_sample.h"
#include "platform/media/media_type.h"
#include "platform/media/results.h"

namespace kestrova::media {

class IBaseFilter;
class IAMStreamConfig;

enum PIN_DIRECTION { PINDIR_INPUT, PINDIR_OUTPUT };

// What an output pin carries, as the capture graph builder looks pins up.
enum PinCategory { PIN_CATEGORY_None = 0, PIN_CATEGORY_CAPTURE, PIN_CATEGORY_PREVIEW };

class IPin {
public:
    IPin(IBaseFilter& owner, std::wstring name, PIN_DIRECTION direction, PinCategory category);
    IPin(const IPin&) = delete;
    IPin& operator=(const IPin&) = delete;

    const std::wstring& Name() const { return name_; }
    PIN_DIRECTION Direction() const { return direction_; }
    PinCategory Category() const { return category_; }
    IBaseFilter* Filter() const { return &owner_; }

    IPin* ConnectedTo() const { return peer_; }
    bool IsConnected() const { return peer_ != nullptr; }
    // The type of the connection; VFW_E_NOT_CONNECTED without one.
    HRESULT ConnectionMediaType(AM_MEDIA_TYPE* type) const;
    const AM_MEDIA_TYPE& ConnectedType() const { return type_; }

    // The types this pin proposes for a connection, best first (the owner filter decides).
    std::vector<AM_MEDIA_TYPE> MediaTypes();
    // Whether the pin takes a connection of `type` (the owner filter decides).
    bool Accepts(const AM_MEDIA_TYPE& type);
    // The pin's stream configuration, or null when it has none.
    IAMStreamConfig* StreamConfig();

    // Output pins, on the streaming thread: passes `sample` to the connected input pin and returns its
    // result. With nothing connected the sample goes nowhere and the result is S_OK.
    HRESULT Deliver(MediaSample& sample);

private:
    friend class FilterGraph;

    IBaseFilter& owner_;
    std::wstring name_;
    PIN_DIRECTION direction_;
    PinCategory category_;
    IPin* peer_ = nullptr;
    AM_MEDIA_TYPE type_;
};

}  // namespace kestrova::media
