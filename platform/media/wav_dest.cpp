#include "platform/media/wav_dest.h"

#include <array>

namespace kestrova::media {
namespace {

constexpr uint32_t kHeaderBytes = 44;

void Put16(uint8_t* at, uint16_t v) {
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
}

void Put32(uint8_t* at, uint32_t v) {
    Put16(at, uint16_t(v));
    Put16(at + 2, uint16_t(v >> 16));
}

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
    const HRESULT hr = WriteHeader();
    writing_ = SUCCEEDED(hr);
    return hr;
}

HRESULT WavDest::Receive(IPin&, MediaSample& sample) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!writing_) return VFW_E_WRONG_STATE;
    const uint32_t block = input_->ConnectedType().WaveFormat()->nBlockAlign;
    size_t take = sample.length;
    if (take > maxDataBytes_ - dataBytes_) take = (maxDataBytes_ - dataBytes_) / block * block;
    if (take == 0) return S_OK;
    const HRESULT hr = WriteAt(kHeaderBytes + int64_t(dataBytes_), sample.data, take);
    if (SUCCEEDED(hr)) dataBytes_ += uint32_t(take);
    return hr;
}

void WavDest::OnStop() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!writing_) return;
    writing_ = false;
    if (dataBytes_ % 2) {
        // A chunk of odd size is followed by a pad byte.
        uint8_t pad = 0;
        WriteAt(kHeaderBytes + int64_t(dataBytes_), &pad, 1);
    }
    WriteHeader();
}

HRESULT WavDest::WriteHeader() {
    const WAVEFORMATEX& wave = *input_->ConnectedType().WaveFormat();
    std::array<uint8_t, kHeaderBytes> h{};
    const uint32_t padded = dataBytes_ + dataBytes_ % 2;
    std::copy_n("RIFF", 4, h.begin());
    Put32(&h[4], 36 + padded);
    std::copy_n("WAVEfmt ", 8, h.begin() + 8);
    Put32(&h[16], 16);
    Put16(&h[20], WAVE_FORMAT_PCM);
    Put16(&h[22], wave.nChannels);
    Put32(&h[24], wave.nSamplesPerSec);
    Put32(&h[28], wave.nSamplesPerSec * wave.nBlockAlign);
    Put16(&h[32], wave.nBlockAlign);
    Put16(&h[34], wave.wBitsPerSample);
    std::copy_n("data", 4, h.begin() + 36);
    Put32(&h[40], dataBytes_);
    return WriteAt(0, h.data(), h.size());
}

HRESULT WavDest::WriteAt(int64_t position, uint8_t* data, size_t size) {
    MediaSample bytes;
    bytes.data = data;
    bytes.length = size;
    bytes.position = position;
    return output_->Deliver(bytes);
}

}  // namespace kestrova::media
