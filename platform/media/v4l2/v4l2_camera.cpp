#include "platform/media/v4l2/v4l2_camera.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/media/media_events.h"
#include "platform/media/v4l2/v4l2_controls.h"

namespace kestrova::media {
namespace {

constexpr uint32_t kBufferCount = 4;
// How long the streaming thread waits for a frame before it looks at its stop flag again.
constexpr int kFrameWaitMs = 50;

std::vector<V4l2Format> ReadFormats(V4l2Kernel& kernel, int fd) {
    return fd >= 0 ? ListV4l2Formats(kernel, fd) : std::vector<V4l2Format>{};
}

std::vector<AM_MEDIA_TYPE> TypesOf(const std::vector<V4l2Format>& formats) {
    std::vector<AM_MEDIA_TYPE> types;
    for (const V4l2Format& format : formats) types.push_back(format.type);
    return types;
}

bool ControlOf(long property, uint32_t* control) {
    switch (property) {
        case VideoProcAmp_Brightness:
            *control = V4L2_CID_BRIGHTNESS;
            return true;
        case VideoProcAmp_Contrast:
            *control = V4L2_CID_CONTRAST;
            return true;
        default:
            return false;
    }
}

REFERENCE_TIME ToReferenceTime(const timeval& time) {
    return REFERENCE_TIME(time.tv_sec) * kUnitsPerSecond + REFERENCE_TIME(time.tv_usec) * 10;
}

}  // namespace

V4l2Camera::V4l2Camera(std::string node)
    : kernel_(GetV4l2Kernel()),
      node_(std::move(node)),
      fd_(kernel_.Open(node_)),
      formats_(ReadFormats(kernel_, fd_)),
      capture_(AddPin(L"Capture", PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE)),
      config_(*capture_, TypesOf(formats_)) {}

V4l2Camera::~V4l2Camera() {
    if (fd_ >= 0) kernel_.Close(fd_);
}

HRESULT V4l2Camera::GetRange(long property, long* minimum, long* maximum, long* step, long* defaultValue,
                             long* capsFlags) {
    if (!minimum || !maximum || !step || !defaultValue || !capsFlags) return E_POINTER;
    v4l2_queryctrl query{};
    if (!ControlOf(property, &query.id) || fd_ < 0) return E_PROP_ID_UNSUPPORTED;
    if (kernel_.Ioctl(fd_, VIDIOC_QUERYCTRL, &query) != 0 || (query.flags & V4L2_CTRL_FLAG_DISABLED) ||
        query.type != V4L2_CTRL_TYPE_INTEGER) {
        return E_PROP_ID_UNSUPPORTED;
    }
    *minimum = query.minimum;
    *maximum = query.maximum;
    *step = query.step;
    *defaultValue = query.default_value;
    *capsFlags = VideoProcAmp_Flags_Manual;
    return S_OK;
}

HRESULT V4l2Camera::Set(long property, long value, long) {
    v4l2_control control{};
    if (!ControlOf(property, &control.id) || fd_ < 0) return E_PROP_ID_UNSUPPORTED;
    control.value = int32_t(value);
    return kernel_.Ioctl(fd_, VIDIOC_S_CTRL, &control) == 0 ? S_OK : E_INVALIDARG;
}

HRESULT V4l2Camera::Get(long property, long* value, long* flags) {
    if (!value || !flags) return E_POINTER;
    v4l2_control control{};
    if (!ControlOf(property, &control.id) || fd_ < 0) return E_PROP_ID_UNSUPPORTED;
    if (kernel_.Ioctl(fd_, VIDIOC_G_CTRL, &control) != 0) return E_FAIL;
    *value = control.value;
    *flags = VideoProcAmp_Flags_Manual;
    return S_OK;
}

// The node is opened once; the kernel serialises control calls with the streaming thread's own.
HRESULT V4l2Camera::ListControls(std::vector<DriverControl>* controls) {
    if (fd_ < 0) return E_FAIL;
    return ListV4l2Controls(kernel_, fd_, controls);
}

HRESULT V4l2Camera::GetControl(uint32_t id, int32_t* value) {
    if (fd_ < 0) return E_FAIL;
    return GetV4l2Control(kernel_, fd_, id, value);
}

HRESULT V4l2Camera::SetControl(uint32_t id, int32_t value) {
    if (fd_ < 0) return E_FAIL;
    return SetV4l2Control(kernel_, fd_, id, value);
}

HRESULT V4l2Camera::SetControls(const std::vector<std::pair<uint32_t, int32_t>>& values, size_t* failedAt) {
    if (fd_ < 0) return E_FAIL;
    return SetV4l2Controls(kernel_, fd_, values, failedAt);
}

std::vector<AM_MEDIA_TYPE> V4l2Camera::PinMediaTypes(IPin&) {
    if (formats_.empty()) return {};
    return {config_.Current()};
}

bool V4l2Camera::PinAccepts(IPin&, const AM_MEDIA_TYPE& type) {
    return !formats_.empty() && type == config_.Current();
}

IAMStreamConfig* V4l2Camera::PinStreamConfig(IPin&) {
    return &config_;
}

HRESULT V4l2Camera::SetDriverFormat(const AM_MEDIA_TYPE& type) {
    const V4l2Format* chosen = nullptr;
    for (const V4l2Format& format : formats_) {
        if (format.type == type) chosen = &format;
    }
    if (!chosen) return VFW_E_INVALIDMEDIATYPE;
    const BITMAPINFOHEADER& bmi = type.VideoInfo()->bmiHeader;
    v4l2_format format{};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    format.fmt.pix.width = uint32_t(bmi.biWidth);
    format.fmt.pix.height = uint32_t(std::abs(bmi.biHeight));
    format.fmt.pix.pixelformat = chosen->pixelFormat;
    format.fmt.pix.field = V4L2_FIELD_NONE;
    if (kernel_.Ioctl(fd_, VIDIOC_S_FMT, &format) != 0) return E_FAIL;
    // A driver that adjusted the size or the pixel format would deliver frames the connection did not agree.
    if (format.fmt.pix.width != uint32_t(bmi.biWidth) ||
        format.fmt.pix.height != uint32_t(std::abs(bmi.biHeight)) ||
        format.fmt.pix.pixelformat != chosen->pixelFormat) {
        return VFW_E_INVALIDMEDIATYPE;
    }
    timePerFrame_ = type.VideoInfo()->AvgTimePerFrame;
    v4l2_streamparm parameters{};
    parameters.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    parameters.parm.capture.timeperframe = {uint32_t(timePerFrame_), uint32_t(kUnitsPerSecond)};
    kernel_.Ioctl(fd_, VIDIOC_S_PARM, &parameters);  // a driver without rate control keeps its own
    return S_OK;
}

HRESULT V4l2Camera::MapBuffers() {
    v4l2_requestbuffers request{};
    request.count = kBufferCount;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    if (kernel_.Ioctl(fd_, VIDIOC_REQBUFS, &request) != 0) return E_FAIL;
    if (request.count < 2) return E_OUTOFMEMORY;
    for (uint32_t index = 0; index < request.count; ++index) {
        v4l2_buffer buffer{};
        buffer.index = index;
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        if (kernel_.Ioctl(fd_, VIDIOC_QUERYBUF, &buffer) != 0) return E_FAIL;
        void* address = kernel_.Map(fd_, buffer.length, buffer.m.offset);
        if (!address) return E_OUTOFMEMORY;
        buffers_.push_back({static_cast<uint8_t*>(address), buffer.length});
        if (kernel_.Ioctl(fd_, VIDIOC_QBUF, &buffer) != 0) return E_FAIL;
    }
    return S_OK;
}

void V4l2Camera::ReleaseBuffers() {
    for (const MappedBuffer& buffer : buffers_) kernel_.Unmap(buffer.address, buffer.length);
    buffers_.clear();
    v4l2_requestbuffers request{};
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    kernel_.Ioctl(fd_, VIDIOC_REQBUFS, &request);  // count 0 frees the driver's buffers
}

HRESULT V4l2Camera::OnRun() {
    if (!capture_->IsConnected()) return S_OK;
    if (fd_ < 0) return E_FAIL;
    HRESULT hr = SetDriverFormat(capture_->ConnectedType());
    if (SUCCEEDED(hr)) hr = MapBuffers();
    int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (SUCCEEDED(hr) && kernel_.Ioctl(fd_, VIDIOC_STREAMON, &type) != 0) hr = E_FAIL;
    if (FAILED(hr)) {
        ReleaseBuffers();
        return hr;
    }
    streaming_ = true;
    return S_OK;
}

void V4l2Camera::OnStop() {
    if (!streaming_) return;
    int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    kernel_.Ioctl(fd_, VIDIOC_STREAMOFF, &type);
    ReleaseBuffers();
    streaming_ = false;
}

void V4l2Camera::Stream(StopFlag& stop) {
    if (!streaming_) return;
    bool haveFirst = false;
    REFERENCE_TIME first = 0;
    while (!stop.Requested()) {
        const int ready = kernel_.WaitForFrame(fd_, kFrameWaitMs);
        if (ready == 0) continue;
        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        if (kernel_.Ioctl(fd_, VIDIOC_DQBUF, &buffer) != 0) {
            if (ready > 0 && (errno == EAGAIN || errno == EINTR)) continue;
            return EndStream(errno);
        }
        const REFERENCE_TIME time = ToReferenceTime(buffer.timestamp);
        if (!haveFirst) {
            first = time;
            haveFirst = true;
        }
        const bool damaged = (buffer.flags & V4L2_BUF_FLAG_ERROR) != 0;
        const uint32_t used = damaged ? 0 : buffer.bytesused;
        if (!DeliverBuffer(buffer.index, used, time - first)) return;
    }
}

bool V4l2Camera::DeliverBuffer(uint32_t index, uint32_t used, REFERENCE_TIME start) {
    if (index >= buffers_.size()) {
        EndStream(EINVAL);
        return false;
    }
    if (used > 0) {
        MediaSample sample;
        sample.data = buffers_[index].address;
        sample.length = std::min<size_t>(used, buffers_[index].length);
        sample.hasTime = true;
        sample.start = start;
        sample.stop = start + timePerFrame_;
        const HRESULT hr = capture_->Deliver(sample);
        if (FAILED(hr)) {
            NotifyEvent(EC_ERRORABORT, hr, 0);
            return false;
        }
    }
    v4l2_buffer buffer{};
    buffer.index = index;
    buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buffer.memory = V4L2_MEMORY_MMAP;
    if (kernel_.Ioctl(fd_, VIDIOC_QBUF, &buffer) != 0) {
        EndStream(errno);
        return false;
    }
    return true;
}

void V4l2Camera::EndStream(int error) {
    if (error == ENODEV) {
        NotifyEvent(EC_DEVICE_LOST, reinterpret_cast<intptr_t>(static_cast<IBaseFilter*>(this)), 0);
    } else {
        NotifyEvent(EC_ERRORABORT, E_FAIL, 0);
    }
}

}  // namespace kestrova::media
