#pragma once
// A V4L2 camera as a capture filter: one capture pin whose stream configuration lists the driver's formats,
// memory-mapped streaming on the filter's streaming thread, and the driver's brightness and contrast as its
// video processing amplifier; all of the driver's own controls through the driver controls interface, which
// works while the camera streams. When the node goes away while it streams, the graph gets EC_DEVICE_LOST.

#include <string>
#include <vector>

#include "platform/media/base_filter.h"
#include "platform/media/driver_controls.h"
#include "platform/media/stream_formats.h"
#include "platform/media/v4l2/v4l2_formats.h"
#include "platform/media/v4l2/v4l2_kernel.h"
#include "platform/media/video_proc_amp.h"

namespace kestrova::media {

class V4l2Camera : public SourceFilter, public IAMVideoProcAmp, public IDriverControls {
public:
    // Opens `node` through the installed kernel seam and reads its formats.
    explicit V4l2Camera(std::string node);
    ~V4l2Camera() override;

    // False when the node could not be opened or lists no format the layer carries.
    bool Usable() const { return fd_ >= 0 && !formats_.empty(); }

    HRESULT GetRange(long property, long* minimum, long* maximum, long* step, long* defaultValue,
                     long* capsFlags) override;
    HRESULT Set(long property, long value, long flags) override;
    HRESULT Get(long property, long* value, long* flags) override;

    HRESULT ListControls(std::vector<DriverControl>* controls) override;
    HRESULT GetControl(uint32_t id, int32_t* value) override;
    HRESULT SetControl(uint32_t id, int32_t value) override;
    HRESULT SetControls(const std::vector<std::pair<uint32_t, int32_t>>& values, size_t* failedAt) override;

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin) override;
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    IAMStreamConfig* PinStreamConfig(IPin& pin) override;
    HRESULT OnRun() override;
    void OnStop() override;
    void Stream(StopFlag& stop) override;

private:
    struct MappedBuffer {
        uint8_t* address = nullptr;
        size_t length = 0;
    };

    HRESULT SetDriverFormat(const AM_MEDIA_TYPE& type);
    HRESULT MapBuffers();
    void ReleaseBuffers();
    // Hands filled buffer `index` (of `used` bytes) downstream and queues it again; false ends the stream.
    bool DeliverBuffer(uint32_t index, uint32_t used, REFERENCE_TIME start);
    void EndStream(int error);

    V4l2Kernel& kernel_;
    const std::string node_;
    const int fd_;
    const std::vector<V4l2Format> formats_;
    IPin* capture_;
    StreamFormats config_;
    std::vector<MappedBuffer> buffers_;
    REFERENCE_TIME timePerFrame_ = 0;
    bool streaming_ = false;
};

}  // namespace kestrova::media
