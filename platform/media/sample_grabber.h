#pragma once
// The Sample Grabber: a pass-through filter that shows every sample to a callback (and can keep a copy)
// before it sends the sample on. The callback may change the bytes; what it leaves goes downstream.

#include <mutex>
#include <vector>

#include "platform/media/base_filter.h"

namespace kestrova::media {

class ISampleGrabberCB {
public:
    virtual ~ISampleGrabberCB() = default;
    // `sampleTime` is the sample's start in seconds.
    virtual HRESULT SampleCB(double sampleTime, MediaSample* sample) = 0;
    virtual HRESULT BufferCB(double sampleTime, uint8_t* buffer, long length) = 0;
};

class ISampleGrabber {
public:
    virtual ~ISampleGrabber() = default;
    // One-shot: after the first sample the grabber takes no more and queues EC_COMPLETE.
    virtual HRESULT SetOneShot(bool oneShot) = 0;
    // The type the input pin accepts: its None fields match anything.
    virtual HRESULT SetMediaType(const AM_MEDIA_TYPE& type) = 0;
    virtual HRESULT GetConnectedMediaType(AM_MEDIA_TYPE* type) = 0;
    // Keeps a copy of the last sample for GetCurrentBuffer.
    virtual HRESULT SetBufferSamples(bool buffer) = 0;
    // With a null buffer: the size of the copy into `size`. Otherwise copies it when `*size` is enough.
    virtual HRESULT GetCurrentBuffer(long* size, uint8_t* buffer) = 0;
    // `whichMethod` 0 calls SampleCB, 1 BufferCB. Once it returns, the callback it replaced is not running
    // and is not called again.
    virtual HRESULT SetCallback(ISampleGrabberCB* callback, int whichMethod) = 0;
};

class SampleGrabber : public IBaseFilter, public ISampleGrabber {
public:
    SampleGrabber();

    HRESULT SetOneShot(bool oneShot) override;
    HRESULT SetMediaType(const AM_MEDIA_TYPE& type) override;
    HRESULT GetConnectedMediaType(AM_MEDIA_TYPE* type) override;
    HRESULT SetBufferSamples(bool buffer) override;
    HRESULT GetCurrentBuffer(long* size, uint8_t* buffer) override;
    HRESULT SetCallback(ISampleGrabberCB* callback, int whichMethod) override;

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin) override;
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    HRESULT Receive(IPin& pin, MediaSample& sample) override;
    HRESULT OnRun() override;

private:
    IPin* input_;
    IPin* output_;
    std::mutex mutex_;  // held while the callback runs
    AM_MEDIA_TYPE accepted_;
    ISampleGrabberCB* callback_ = nullptr;
    int whichMethod_ = 0;
    bool oneShot_ = false;
    bool done_ = false;
    bool bufferSamples_ = false;
    std::vector<uint8_t> current_;
};

}  // namespace kestrova::media
