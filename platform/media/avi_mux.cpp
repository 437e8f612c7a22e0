#include "platform/media/avi_mux.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/mathematics.h>
#include <libavutil/opt.h>
}

#include <cstdio>
#include <cstdlib>

namespace kestrova::media {
namespace {

constexpr int kIoBufferSize = 256 * 1024;

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

}  // namespace

AviMux::AviMux() : output_(AddPin(L"AVI Out", PINDIR_OUTPUT)) {
    inputs_.push_back(AddPin(InputName(1), PINDIR_INPUT));
}

AviMux::~AviMux() {
    Close();
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
    Close();
    std::vector<IPin*> connected;
    for (IPin* in : inputs_) {
        if (in->IsConnected()) connected.push_back(in);
    }
    if (connected.empty()) return S_OK;  // nothing to record, nothing written

    const AVOutputFormat* avi = av_guess_format("avi", nullptr, nullptr);
    if (!avi || avformat_alloc_output_context2(&format_, avi, nullptr, nullptr) < 0) return E_OUTOFMEMORY;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    format_->pb =
        avio_alloc_context(buffer, kIoBufferSize, 1, this, nullptr, &AviMux::WritePacket, &AviMux::Seek);
    if (!format_->pb) {
        av_free(buffer);
        Close();
        return E_OUTOFMEMORY;
    }
    position_ = size_ = 0;
    writeResult_ = S_OK;

    for (IPin* in : connected) {
        const AM_MEDIA_TYPE& type = in->ConnectedType();
        const VIDEOINFOHEADER* info = type.VideoInfo();
        AVStream* st = avformat_new_stream(format_, nullptr);
        if (!st) {
            Close();
            return E_OUTOFMEMORY;
        }
        AVCodecParameters* par = st->codecpar;
        par->codec_type = AVMEDIA_TYPE_VIDEO;
        par->width = info->bmiHeader.biWidth;
        par->height = std::abs(info->bmiHeader.biHeight);
        if (type.subtype == MEDIASUBTYPE_MJPG) {
            par->codec_id = AV_CODEC_ID_MJPEG;
            par->format = AV_PIX_FMT_YUVJ420P;
        } else {
            par->codec_id = AV_CODEC_ID_RAWVIDEO;
            par->codec_tag = 0;  // BI_RGB
            par->format = AV_PIX_FMT_BGR24;
            par->bits_per_coded_sample = 24;
        }
        const int64_t perFrame = info->AvgTimePerFrame > 0 ? info->AvgTimePerFrame : kUnitsPerSecond / 25;
        av_reduce(&st->time_base.num, &st->time_base.den, perFrame, kUnitsPerSecond, INT32_MAX);
        st->avg_frame_rate = av_inv_q(st->time_base);
        streams_.push_back({in, st->index, 0, perFrame});
    }

    // Frames arrive as bitmaps store them, bottom row first; the header says so.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "flipped_raw_rgb", "1", 0);
    const int result = avformat_write_header(format_, &options);
    av_dict_free(&options);
    if (result < 0) {
        const HRESULT failure = FAILED(writeResult_) ? writeResult_ : E_FAIL;
        Close();
        return failure;
    }
    return S_OK;
}

HRESULT AviMux::Receive(IPin& pin, MediaSample& sample) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!format_) return VFW_E_WRONG_STATE;
    Stream* stream = nullptr;
    for (Stream& s : streams_) {
        if (s.pin == &pin) stream = &s;
    }
    if (!stream) return VFW_E_NOT_CONNECTED;
    AVPacket* packet = av_packet_alloc();
    if (!packet) return E_OUTOFMEMORY;
    AVStream* st = format_->streams[stream->index];
    packet->data = sample.data;
    packet->size = int(sample.length);
    packet->stream_index = stream->index;
    packet->pts = packet->dts = av_rescale_q(
        stream->frames, AVRational{int(stream->timePerFrame), int(kUnitsPerSecond)}, st->time_base);
    packet->duration =
        av_rescale_q(1, AVRational{int(stream->timePerFrame), int(kUnitsPerSecond)}, st->time_base);
    packet->flags = AV_PKT_FLAG_KEY;
    const int result = av_interleaved_write_frame(format_, packet);
    av_packet_free(&packet);
    if (result < 0) return FAILED(writeResult_) ? writeResult_ : E_FAIL;
    ++stream->frames;
    return S_OK;
}

void AviMux::OnStop() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (format_) {
        av_write_trailer(format_);
        avio_flush(format_->pb);
    }
    Close();
}

void AviMux::Close() {
    if (!format_) return;
    if (format_->pb) {
        av_freep(&format_->pb->buffer);
        avio_context_free(&format_->pb);
    }
    avformat_free_context(format_);
    format_ = nullptr;
    streams_.clear();
}

int AviMux::WritePacket(void* opaque, uint8_t* data, int size) {
    auto* self = static_cast<AviMux*>(opaque);
    MediaSample bytes;
    bytes.data = data;
    bytes.length = size_t(size);
    bytes.position = self->position_;
    const HRESULT hr = self->output_->IsConnected() ? self->output_->Deliver(bytes) : VFW_E_NOT_CONNECTED;
    if (FAILED(hr)) {
        self->writeResult_ = hr;
        return AVERROR(EIO);
    }
    self->position_ += size;
    if (self->position_ > self->size_) self->size_ = self->position_;
    return size;
}

int64_t AviMux::Seek(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<AviMux*>(opaque);
    switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE:
            return self->size_;
        case SEEK_SET:
            self->position_ = offset;
            break;
        case SEEK_CUR:
            self->position_ += offset;
            break;
        case SEEK_END:
            self->position_ = self->size_ + offset;
            break;
        default:
            return AVERROR(EINVAL);
    }
    return self->position_;
}

}  // namespace kestrova::media
