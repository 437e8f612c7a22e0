// MJPEG compression of 640 x 480 frames: through a recording graph's Sample Grabber, Smart Tee and MJPEG
// Compressor, beside the same compression called on TurboJPEG directly. The graph should cost no more than
// a fifth above the bare call.

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <vector>

#include "platform/media/filter_classes.h"
#include "platform/media/filter_graph.h"
#include "platform/media/mjpeg_compressor.h"
#include "platform/media/null_renderer.h"
#include "platform/media/sample_grabber.h"

namespace {

using namespace kestrova::media;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr double kQuality = 0.5;

std::vector<uint8_t> TestFrame() {
    std::vector<uint8_t> frame(size_t(kWidth) * kHeight * 3);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint8_t((i * 2654435761u) >> 24);  // busy detail
    return frame;
}

// A source that the benchmark's own thread drives, one frame per call.
class PushSource : public SourceFilter {
public:
    PushSource() : out_(AddPin(L"Output", PINDIR_OUTPUT)) {}
    HRESULT Push(MediaSample& sample) { return out_->Deliver(sample); }

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin&) override {
        return {MakeVideoType(MEDIASUBTYPE_RGB24, kWidth, kHeight, 24, kUnitsPerSecond / 20)};
    }
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override {
        return type == PinMediaTypes(pin).front();
    }
    void Stream(kestrova::StopFlag&) override {}

private:
    IPin* out_;
};

class CopyCallback : public ISampleGrabberCB {
public:
    explicit CopyCallback(const std::vector<uint8_t>& frame) : frame_(frame) {}
    HRESULT SampleCB(double, MediaSample*) override { return E_NOTIMPL; }
    HRESULT BufferCB(double, uint8_t* buffer, long length) override {
        std::copy_n(frame_.data(), std::min(size_t(length), frame_.size()), buffer);
        return S_OK;
    }

private:
    const std::vector<uint8_t>& frame_;
};

void BM_BareTurboJpeg(benchmark::State& state) {
    const std::vector<uint8_t> frame = TestFrame();
    tjhandle jpeg = tjInitCompress();
    std::vector<uint8_t> out(tjBufSize(kWidth, kHeight, TJSAMP_420));
    for (auto _ : state) {
        unsigned char* dst = out.data();
        unsigned long size = out.size();
        tjCompress2(jpeg, frame.data(), kWidth, kWidth * 3, kHeight, TJPF_BGR, &dst, &size, TJSAMP_420,
                    MjpegCompressor::JpegQuality(kQuality), TJFLAG_NOREALLOC | TJFLAG_BOTTOMUP);
        benchmark::DoNotOptimize(size);
    }
    tjDestroy(jpeg);
}
BENCHMARK(BM_BareTurboJpeg)->Unit(benchmark::kMillisecond);

void BM_ThroughTheGraph(benchmark::State& state) {
    const std::vector<uint8_t> frame = TestFrame();
    CopyCallback callback(frame);
    FilterGraph graph;
    auto source = std::make_shared<PushSource>();
    std::shared_ptr<IBaseFilter> grabber, tee, compressor;
    CoCreateInstance(CLSID_SampleGrabber, &grabber);
    CoCreateInstance(CLSID_SmartTee, &tee);
    CoCreateInstance(CLSID_MjpegCompressor, &compressor);
    auto renderer = std::make_shared<NullRenderer>();
    graph.AddFilter(source, L"Source");
    graph.AddFilter(grabber, L"Sample Grabber");
    graph.AddFilter(tee, L"Smart Tee");
    graph.AddFilter(compressor, L"MJPEG Compressor");
    graph.AddFilter(renderer, L"Null");
    QueryInterface<ISampleGrabber>(grabber)->SetCallback(&callback, 1);
    QueryInterface<IAMVideoCompression>(compressor)->put_Quality(kQuality);
    const bool connected =
        SUCCEEDED(graph.ConnectDirect(source->GetPin(0), grabber->GetPin(0), nullptr)) &&
        SUCCEEDED(graph.ConnectDirect(grabber->GetPin(1), tee->GetPin(0), nullptr)) &&
        SUCCEEDED(graph.ConnectDirect(tee->GetPin(1), compressor->GetPin(0), nullptr)) &&
        SUCCEEDED(graph.ConnectDirect(compressor->GetPin(1), renderer->GetPin(0), nullptr));
    if (!connected || FAILED(graph.Run())) {
        state.SkipWithError("the graph did not connect or run");
        return;
    }
    std::vector<uint8_t> buffer(frame.size());
    for (auto _ : state) {
        MediaSample sample;
        sample.data = buffer.data();
        sample.length = buffer.size();
        benchmark::DoNotOptimize(source->Push(sample));
    }
    graph.Stop();
}
BENCHMARK(BM_ThroughTheGraph)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
