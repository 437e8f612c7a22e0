#include "platform/media/wav_dest.h"

#include "platform/base/log.h"

#include "platform/media/riff_bytes.h"

namespace kestrova::media {
namespace {

constexpr uint32_t kHeaderBytes = 44;

}  // namespace

WavDest::WavDest(uint32_t maxDataBytes)
    : input_(AddPin(L"In", PINDIR_INPUT)),
      output_(AddPin(L"Out", PINDIR_OUTPUT)),
      maxDataBytes_(maxDataBytes) {}

std::vector<AM_MEDIA_TYPE> WavDest::PinMediaTypes(IPin& pin) {
    if (&pin != output_) return {};
    AM_MEDIA_TYPE wave;
    wave.majortype = MEDIATYPE_Stream;
    wave.subtype = MEDIASUBTYPE_WAVE;
    return {wave};
}

bool WavDest::PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) {
    if (&pin == output_) return type.majortype == MEDIATYPE_Stream;
    const WAVEFORMATEX* wave = type.WaveFormat();
    return type.majortype == MEDIATYPE_Audio && type.subtype == MEDIASUBTYPE_PCM && wave &&
           wave->wFormatTag == WAVE_FORMAT_PCM && wave->nChannels > 0 && wave->nBlockAlign > 0;
}

HRESULT WavDest::OnRun() {
    std::lock_guard<std::mutex> lock(mutex_);
    writing_ = false;
    dataBytes_ = 0;
    if (!input_->IsConnected()) return S_OK;
    if (!output_->IsConnected()) return VFW_E_NOT_CONNECTED;
    bytesSinceHeader_ = 0;
    const HRESULT hr = WriteHeader(0);
    writing_ = SUCCEEDED(hr);
    return hr;
}

HRESULT WavDest::Receive(IPin&, MediaSample& sample) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!writing_) return VFW_E_WRONG_STATE;
    const WAVEFORMATEX& wave = *input_->ConnectedType().WaveFormat();
    const uint32_t block = wave.nBlockAlign;
    size_t take = sample.length;
    if (take > maxDataBytes_ - dataBytes_) take = (maxDataBytes_ - dataBytes_) / block * block;
    if (take == 0) return S_OK;
    const HRESULT hr = WriteAt(kHeaderBytes + int64_t(dataBytes_), sample.data, take);
    if (FAILED(hr)) return hr;
    dataBytes_ += uint32_t(take);
    bytesSinceHeader_ += uint32_t(take);
    if (bytesSinceHeader_ < wave.nSamplesPerSec * block) return S_OK;
    // A second of sound went by: the header catches up, counting whole sample frames and an even number of
    // bytes, so that it needs no pad byte the file does not have yet.
    bytesSinceHeader_ = 0;
    const uint32_t unit = block % 2 ? 2 * block : block;
    return WriteHeader(dataBytes_ / unit * unit);
}

void WavDest::OnStop() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!writing_) return;
    writing_ = false;
    HRESULT hr = S_OK;
    if (dataBytes_ % 2) {
        // A chunk of odd size is followed by a pad byte.
        uint8_t pad = 0;
        hr = WriteAt(kHeaderBytes + int64_t(dataBytes_), &pad, 1);
    }
    if (SUCCEEDED(hr)) hr = WriteHeader(dataBytes_);
    if (FAILED(hr))
        LogError("recording", "the sound file could not be finished (is the disk full?); it keeps its last header");
}

HRESULT WavDest::WriteHeader(uint32_t dataBytes) {
    const WAVEFORMATEX& wave = *input_->ConnectedType().WaveFormat();
    RiffBytes h;
    h.Code("RIFF").U32(36 + dataBytes + dataBytes % 2).Code("WAVE");
    h.Code("fmt ").U32(16).U16(WAVE_FORMAT_PCM).U16(wave.nChannels).U32(wave.nSamplesPerSec);
    h.U32(wave.nSamplesPerSec * wave.nBlockAlign).U16(wave.nBlockAlign).U16(wave.wBitsPerSample);
    h.Code("data").U32(dataBytes);
    return WriteAt(0, h.Bytes().data(), h.Size(), true);
}

HRESULT WavDest::WriteAt(int64_t position, uint8_t* data, size_t size, bool syncFirst) {
    MediaSample bytes;
    bytes.data = data;
    bytes.length = size;
    bytes.position = position;
    bytes.syncFirst = syncFirst;
    return output_->Deliver(bytes);
}

}  // namespace kestrova::media
