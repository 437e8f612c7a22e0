#include "tests/platform/media/support/recording_graphs.h"

#include "platform/media/filter_classes.h"
#include "platform/media/mjpeg_compressor.h"
#include "platform/media/stream_config.h"

namespace kestrova::mediatest {

using namespace media;

void PaintHalves(uint8_t* buffer, long length) {
    const int width = length == 921600 ? 640 : 320;
    const int height = width * 3 / 4;
    for (int row = 0; row < height; ++row) {
        const bool top = row >= height / 2;  // bottom-up: the last rows are the top of the picture
        uint8_t* p = buffer + size_t(row) * size_t(width) * 3;
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = top ? 0 : 255;
            p[1] = uint8_t(((x * 7) ^ (row * 13)) & 0x3F);
            p[2] = top ? 255 : 0;
        }
    }
}

HRESULT RecordingGraph::Build(int width, double quality, const std::wstring& file) {
    builder.SetFiltergraph(graph);
    std::shared_ptr<IBaseFilter> source, grabberFilter, tee, compressor, mux;
    std::shared_ptr<IFileSinkFilter> sink;
    HRESULT hr = CoCreateInstance(CLSID_FrameSource, &source);
    if (FAILED(hr) || FAILED(hr = graph->AddFilter(source, L"BRANTLOW Frames"))) return hr;
    IPin* out = nullptr;
    builder.FindPin(source.get(), PINDIR_OUTPUT, PIN_CATEGORY_None, MEDIATYPE_None, false, 0, &out);
    IAMStreamConfig* config = out->StreamConfig();
    int count = 0, size = 0;
    config->GetNumberOfCapabilities(&count, &size);
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE type;
        VIDEO_STREAM_CONFIG_CAPS caps;
        config->GetStreamCaps(i, &type, reinterpret_cast<uint8_t*>(&caps));
        if (type.VideoInfo()->bmiHeader.biWidth == width) config->SetFormat(type);
    }
    CoCreateInstance(CLSID_SampleGrabber, &grabberFilter);
    graph->AddFilter(grabberFilter, L"Sample Grabber");
    auto grabber = QueryInterface<ISampleGrabber>(grabberFilter);
    AM_MEDIA_TYPE rgb;
    rgb.majortype = MEDIATYPE_Video;
    rgb.subtype = MEDIASUBTYPE_RGB24;
    rgb.formattype = FORMAT_VideoInfo;
    grabber->SetMediaType(rgb);
    grabber->SetCallback(&callback, 1);
    CoCreateInstance(CLSID_SmartTee, &tee);
    graph->AddFilter(tee, L"Smart Tee");
    if (FAILED(hr = builder.SetOutputFileName(MEDIASUBTYPE_Avi, file, &mux, &sink))) return hr;
    if (quality >= 0) {
        CoCreateInstance(CLSID_MjpegCompressor, &compressor);
        graph->AddFilter(compressor, L"MJPEG Compressor");
        QueryInterface<IAMVideoCompression>(compressor)->put_Quality(quality);
    }
    if (FAILED(hr = builder.RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, source.get(), nullptr,
                                         grabberFilter.get())) ||
        FAILED(hr = builder.RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, grabberFilter.get(), nullptr,
                                         tee.get()))) {
        return hr;
    }
    return builder.RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, tee.get(), compressor.get(), mux.get());
}

HRESULT WavGraph::Build(std::shared_ptr<IBaseFilter> wav, uint32_t rate, uint16_t channels,
                        const std::wstring& file) {
    builder.SetFiltergraph(graph);
    IAMStreamConfig* config = microphone->GetPin(0)->StreamConfig();
    config->SetFormat(MakePcmType(rate, channels, 16));
    std::shared_ptr<IBaseFilter> writer;
    CoCreateInstance(CLSID_FileWriter, &writer);
    QueryInterface<IFileSinkFilter>(writer)->SetFileName(file, nullptr);
    graph->AddFilter(microphone, L"Audio Capture");
    graph->AddFilter(grabber, L"Sample Grabber");
    graph->AddFilter(wav, L"WavDest");
    graph->AddFilter(writer, L"File Writer");
    grabber->SetCallback(&callback, 1);
    HRESULT hr = builder.RenderStream(PIN_CATEGORY_CAPTURE, MEDIATYPE_Audio, microphone.get(), grabber.get(),
                                      wav.get());
    if (SUCCEEDED(hr))
        hr = builder.RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, wav.get(), nullptr, writer.get());
    return hr;
}

}  // namespace kestrova::mediatest
