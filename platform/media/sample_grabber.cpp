#include "platform/media/sample_grabber.h"

#include <cstring>

#include "platform/media/media_events.h"

namespace kestrova::media {

SampleGrabber::SampleGrabber()
    : input_(AddPin(L"Input", PINDIR_INPUT)), output_(AddPin(L"Output", PINDIR_OUTPUT)) {}

HRESULT SampleGrabber::SetOneShot(bool oneShot) {
    std::lock_guard<std::mutex> lock(mutex_);
    oneShot_ = oneShot;
    return S_OK;
}

HRESULT SampleGrabber::SetMediaType(const AM_MEDIA_TYPE& type) {
    std::lock_guard<std::mutex> lock(mutex_);
    accepted_ = type;
    return S_OK;
}

HRESULT SampleGrabber::GetConnectedMediaType(AM_MEDIA_TYPE* type) {
    return input_->ConnectionMediaType(type);
}

HRESULT SampleGrabber::SetBufferSamples(bool buffer) {
    std::lock_guard<std::mutex> lock(mutex_);
    bufferSamples_ = buffer;
    if (!buffer) current_.clear();
    return S_OK;
}

HRESULT SampleGrabber::GetCurrentBuffer(long* size, uint8_t* buffer) {
    if (!size) return E_POINTER;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!bufferSamples_ || current_.empty()) return VFW_E_WRONG_STATE;
    if (!buffer) {
        *size = long(current_.size());
        return S_OK;
    }
    if (*size < long(current_.size())) return E_OUTOFMEMORY;
    std::memcpy(buffer, current_.data(), current_.size());
    *size = long(current_.size());
    return S_OK;
}

HRESULT SampleGrabber::SetCallback(ISampleGrabberCB* callback, int whichMethod) {
    if (whichMethod != 0 && whichMethod != 1) return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(mutex_);
    callback_ = callback;
    whichMethod_ = whichMethod;
    return S_OK;
}

std::vector<AM_MEDIA_TYPE> SampleGrabber::PinMediaTypes(IPin& pin) {
    if (&pin == output_ && input_->IsConnected()) return {input_->ConnectedType()};
    return {};
}

bool SampleGrabber::PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) {
    if (&pin == output_) return input_->IsConnected() && type == input_->ConnectedType();
    std::lock_guard<std::mutex> lock(mutex_);
    return MatchesPattern(accepted_, type);
}

HRESULT SampleGrabber::OnRun() {
    std::lock_guard<std::mutex> lock(mutex_);
    done_ = false;
    return S_OK;
}

HRESULT SampleGrabber::Receive(IPin&, MediaSample& sample) {
    bool completed = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (done_) return S_FALSE;
        if (bufferSamples_) current_.assign(sample.data, sample.data + sample.length);
        if (callback_) {
            const double time = sample.hasTime ? double(sample.start) / double(kUnitsPerSecond) : 0.0;
            if (whichMethod_ == 1) {
                callback_->BufferCB(time, sample.data, long(sample.length));
            } else {
                callback_->SampleCB(time, &sample);
            }
        }
        if (oneShot_) done_ = completed = true;
    }
    if (completed) NotifyEvent(EC_COMPLETE, S_OK, 0);
    return output_->Deliver(sample);
}

}  // namespace kestrova::media
