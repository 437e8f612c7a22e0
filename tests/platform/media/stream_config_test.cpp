#include "platform/media/stream_config.h"

#include <gtest/gtest.h>

#include "platform/media/filter_classes.h"
#include "platform/media/filter_graph.h"
#include "platform/media/null_renderer.h"
#include "platform/media/virtual/virtual_camera.h"
#include "platform/media/virtual/virtual_microphone.h"

namespace kestrova::mediatest {
namespace {

using namespace media;

std::shared_ptr<IBaseFilter> Create(const CLSID& clsid) {
    std::shared_ptr<IBaseFilter> filter;
    EXPECT_EQ(CoCreateInstance(clsid, &filter), S_OK);
    return filter;
}

struct Entry {
    SubType subtype;
    int width;
    int height;
};

std::vector<Entry> VideoEntries(IAMStreamConfig& config) {
    int count = 0, size = 0;
    EXPECT_EQ(config.GetNumberOfCapabilities(&count, &size), S_OK);
    EXPECT_EQ(size, 128);
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE type;
        VIDEO_STREAM_CONFIG_CAPS caps;
        EXPECT_EQ(config.GetStreamCaps(i, &type, reinterpret_cast<uint8_t*>(&caps)), S_OK);
        EXPECT_EQ(type.majortype, MEDIATYPE_Video);
        EXPECT_EQ(type.formattype, FORMAT_VideoInfo);
        EXPECT_EQ(type.cbFormat(), 88u);
        EXPECT_EQ(caps.MaxOutputSize.cx, type.VideoInfo()->bmiHeader.biWidth);
        entries.push_back(
            {type.subtype, type.VideoInfo()->bmiHeader.biWidth, type.VideoInfo()->bmiHeader.biHeight});
    }
    return entries;
}

TEST(StreamConfig, TheFrameSourceOffersRgb24AtBothSizesAndConnectsWithTheChosenOne) {
    auto source = Create(CLSID_FrameSource);
    IPin* out = source->GetPin(0);
    ASSERT_EQ(out->Direction(), PINDIR_OUTPUT);
    IAMStreamConfig* config = out->StreamConfig();
    ASSERT_NE(config, nullptr);
    const auto entries = VideoEntries(*config);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].subtype, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(entries[0].width, 320);
    EXPECT_EQ(entries[0].height, 240);
    EXPECT_EQ(entries[1].subtype, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(entries[1].width, 640);
    EXPECT_EQ(entries[1].height, 480);

    AM_MEDIA_TYPE large;
    VIDEO_STREAM_CONFIG_CAPS caps;
    config->GetStreamCaps(1, &large, reinterpret_cast<uint8_t*>(&caps));
    ASSERT_EQ(config->SetFormat(large), S_OK);
    AM_MEDIA_TYPE other = large;
    other.VideoInfo()->bmiHeader.biWidth = 800;
    EXPECT_EQ(config->SetFormat(other), VFW_E_INVALIDMEDIATYPE);
    EXPECT_EQ(config->GetStreamCaps(2, &other, reinterpret_cast<uint8_t*>(&caps)), S_FALSE);

    FilterGraph graph;
    auto renderer = std::make_shared<NullRenderer>();
    graph.AddFilter(source, L"BRANTLOW Frames");
    graph.AddFilter(renderer, L"Null");
    ASSERT_EQ(graph.ConnectDirect(out, renderer->GetPin(0), nullptr), S_OK);
    EXPECT_EQ(out->ConnectedType(), large);
    EXPECT_EQ(config->SetFormat(large), VFW_E_ALREADY_CONNECTED);
}

TEST(StreamConfig, TheVirtualCameraOffersYuy2AndRgb24AtBothSizes) {
    VirtualCamera camera;
    IPin* capture = camera.GetPin(0);
    EXPECT_EQ(capture->Category(), PIN_CATEGORY_CAPTURE);
    const auto entries = VideoEntries(*capture->StreamConfig());
    ASSERT_EQ(entries.size(), 4u);
    int yuy2 = 0, rgb = 0;
    for (const Entry& e : entries) {
        (e.subtype == MEDIASUBTYPE_YUY2 ? yuy2 : rgb)++;
        EXPECT_TRUE((e.width == 640 && e.height == 480) || (e.width == 320 && e.height == 240));
    }
    EXPECT_EQ(yuy2, 2);
    EXPECT_EQ(rgb, 2);
}

TEST(StreamConfig, TheVirtualMicrophoneOffers16BitPcmWithAudioRecords) {
    VirtualMicrophone microphone;
    IAMStreamConfig* config = microphone.GetPin(0)->StreamConfig();
    int count = 0, size = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), S_OK);
    EXPECT_EQ(size, 52);
    ASSERT_EQ(count, 3);
    bool eleven = false;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE type;
        AUDIO_STREAM_CONFIG_CAPS caps;
        ASSERT_EQ(config->GetStreamCaps(i, &type, reinterpret_cast<uint8_t*>(&caps)), S_OK);
        EXPECT_EQ(type.subtype, MEDIASUBTYPE_PCM);
        EXPECT_EQ(type.cbFormat(), 18u);
        EXPECT_EQ(type.WaveFormat()->wBitsPerSample, 16);
        EXPECT_EQ(caps.MaximumSampleFrequency, type.WaveFormat()->nSamplesPerSec);
        eleven = eleven || (type.WaveFormat()->nSamplesPerSec == 11025 && type.WaveFormat()->nChannels == 1);
    }
    EXPECT_TRUE(eleven);
}

TEST(FilterClasses, AClassWithoutAFactoryCannotBeCreated) {
    std::shared_ptr<IBaseFilter> filter;
    EXPECT_EQ(CoCreateInstance(L"{00000000-0000-0000-0000-000000000000}", &filter), REGDB_E_CLASSNOTREG);
    const FilterFactory saved = RegisterFilterClass(CLSID_WavDest, nullptr);
    EXPECT_EQ(CoCreateInstance(CLSID_WavDest, &filter), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(filter, nullptr);
    RegisterFilterClass(CLSID_WavDest, saved);
    EXPECT_EQ(CoCreateInstance(CLSID_WavDest, &filter), S_OK);
    EXPECT_NE(filter, nullptr);
}

}  // namespace
}  // namespace kestrova::mediatest
