#include "platform/media/avi_mux.h"

#include "platform/base/log.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kestrova::media {
namespace {

bool IsRecordableVideo(const AM_MEDIA_TYPE& type) {
    const VIDEOINFOHEADER* info = type.VideoInfo();
    if (type.majortype != MEDIATYPE_Video || !info || info->bmiHeader.biWidth <= 0) return false;
    return type.subtype == MEDIASUBTYPE_MJPG ||
           (type.subtype == MEDIASUBTYPE_RGB24 && info->bmiHeader.biBitCount == 24);
}

std::wstring InputName(size_t number) {
    wchar_t name[16];
    std::swprintf(name, 16, L"Input %02zu", number);
    return name;
}

AviVideoFormat FormatOf(const AM_MEDIA_TYPE& type) {
    const VIDEOINFOHEADER* info = type.VideoInfo();
    AviVideoFormat format;
    format.width = info->bmiHeader.biWidth;
    format.height = std::abs(info->bmiHeader.biHeight);
    format.mjpeg = type.subtype == MEDIASUBTYPE_MJPG;
    if (info->AvgTimePerFrame > 0) format.timePerFrame = info->AvgTimePerFrame;
    return format;
}

}  // namespace

AviMux::AviMux(AviLimits limits) : limits_(limits), output_(AddPin(L"AVI Out", PINDIR_OUTPUT)) {
    inputs_.push_back(AddPin(InputName(1), PINDIR_INPUT));
}

std::vector<AM_MEDIA_TYPE> AviMux::PinMediaTypes(IPin& pin) {
    if (&pin != output_) return {};
    AM_MEDIA_TYPE avi;
    avi.majortype = MEDIATYPE_Stream;
    avi.subtype = MEDIASUBTYPE_Avi;
    return {avi};
}

bool AviMux::PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) {
    if (&pin == output_) {
        return type.majortype == MEDIATYPE_Stream &&
               (type.subtype == MEDIASUBTYPE_Avi || type.subtype == MEDIASUBTYPE_None);
    }
    return IsRecordableVideo(type);
}

void AviMux::PinConnected(IPin& pin) {
    // There is always one free input for the next stream.
    if (&pin == inputs_.back()) inputs_.push_back(AddPin(InputName(inputs_.size() + 1), PINDIR_INPUT));
}

HRESULT AviMux::OnRun() {
    std::lock_guard<std::mutex> lock(mutex_);
    writer_.reset();
    streams_.clear();
    std::vector<AviVideoFormat> formats;
    for (IPin* in : inputs_) {
        if (!in->IsConnected()) continue;
        streams_.push_back(in);
        formats.push_back(FormatOf(in->ConnectedType()));
    }
    if (streams_.empty()) return S_OK;  // nothing to record, nothing written
    writer_ = std::make_unique<AviWriter>(
        std::move(formats),
        [this](int64_t position, uint8_t* data, size_t size, bool syncFirst) {
            return WriteBytes(position, data, size, syncFirst);
        },
        limits_);
    const HRESULT hr = writer_->Begin();
    if (FAILED(hr)) writer_.reset();
    return hr;
}

HRESULT AviMux::Receive(IPin& pin, MediaSample& sample) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!writer_) return VFW_E_WRONG_STATE;
    const auto stream = std::find(streams_.begin(), streams_.end(), &pin);
    if (stream == streams_.end()) return VFW_E_NOT_CONNECTED;
    const HRESULT hr = writer_->WriteFrame(size_t(stream - streams_.begin()), sample.data, sample.length);
    // A frame the file has no room for is dropped; the stream goes on.
    return FAILED(hr) ? hr : S_OK;
}

void AviMux::OnStop() {
    std::lock_guard<std::mutex> lock(mutex_);
    // A finish that fails (a full disk) leaves the file as its last checkpoint made it: readable.
    if (writer_ && FAILED(writer_->Finish()))
        LogError("recording", "the video file could not be finished (is the disk full?); it keeps its last checkpoint");
    writer_.reset();
}

HRESULT AviMux::WriteBytes(int64_t position, uint8_t* data, size_t size, bool syncFirst) {
    if (!output_->IsConnected()) return VFW_E_NOT_CONNECTED;
    MediaSample bytes;
    bytes.data = data;
    bytes.length = size;
    bytes.position = position;
    bytes.syncFirst = syncFirst;
    return output_->Deliver(bytes);
}

}  // namespace kestrova::media
