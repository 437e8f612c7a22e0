#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/media/capture_graph_builder.h"
#include "platform/media/filter_classes.h"
#include "platform/media/null_renderer.h"
#include "platform/media/sample_grabber.h"
#include "platform/media/virtual/virtual_camera.h"
#include "tests/platform/media/graph_helpers.h"
#include "tests/platform/media/support/free_running_clock.h"

namespace kestrova::mediatest {
namespace {

using namespace media;

AM_MEDIA_TYPE Pattern(MajorType major, SubType sub) {
    AM_MEDIA_TYPE t;
    t.majortype = major;
    t.subtype = sub;
    return t;
}

// A camera feeding a Sample Grabber that feeds a Null Renderer.
struct CameraGraph {
    std::shared_ptr<FilterGraph> graph = std::make_shared<FilterGraph>();
    CaptureGraphBuilder builder;
    std::shared_ptr<IBaseFilter> camera = std::make_shared<VirtualCamera>();
    std::shared_ptr<SampleGrabber> grabber = std::make_shared<SampleGrabber>();
    std::shared_ptr<IBaseFilter> renderer = std::make_shared<NullRenderer>();
    CountingCallback callback;

    explicit CameraGraph(SubType accepted = MEDIASUBTYPE_RGB24) {
        builder.SetFiltergraph(graph);
        graph->AddFilter(camera, L"Video Capture");
        graph->AddFilter(grabber, L"Sample Grabber");
        graph->AddFilter(renderer, L"Null");
        grabber->SetMediaType(Pattern(MEDIATYPE_Video, accepted));
        grabber->SetCallback(&callback, 1);
    }
    HRESULT Connect() {
        const HRESULT hr =
            builder.RenderStream(PIN_CATEGORY_CAPTURE, MEDIATYPE_Video, camera.get(), nullptr, grabber.get());
        if (FAILED(hr)) return hr;
        return builder.RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, grabber.get(), nullptr,
                                    renderer.get());
    }
};

TEST(FilterGraph, NamesAreUniqueAndFoundAndRemovingAFilterFreesItsPeers) {
    FilterGraph graph;
    auto first = std::make_shared<NullRenderer>();
    auto second = std::make_shared<NullRenderer>();
    auto grabber = std::make_shared<SampleGrabber>();
    ASSERT_EQ(graph.AddFilter(first, L"Null"), S_OK);
    ASSERT_EQ(graph.AddFilter(second, L"Null"), S_OK);
    ASSERT_EQ(graph.AddFilter(grabber, L"Grabber"), S_OK);
    EXPECT_EQ(second->Name(), L"Null 0001");
    EXPECT_EQ(graph.AddFilter(first, L"Again"), E_INVALIDARG);  // one graph per filter

    std::shared_ptr<IBaseFilter> found;
    EXPECT_EQ(graph.FindFilterByName(L"Null 0001", &found), S_OK);
    EXPECT_EQ(found, second);
    EXPECT_EQ(graph.FindFilterByName(L"null", &found), VFW_E_NOT_FOUND);
    EXPECT_EQ(found, nullptr);

    ASSERT_EQ(graph.ConnectDirect(grabber->FindPin(L"Output"), first->GetPin(0), nullptr),
              VFW_E_NO_ACCEPTABLE_TYPES)
        << "a grabber without input proposes nothing";
    ASSERT_EQ(graph.RemoveFilter(second.get()), S_OK);
    EXPECT_EQ(second->Graph(), nullptr);
    EXPECT_EQ(graph.FindFilterByName(L"Null 0001", &found), VFW_E_NOT_FOUND);
}

TEST(FilterGraph, PinsConnectOnlyWithATypeBothSidesAccept) {
    CameraGraph audioOnly;
    audioOnly.grabber->SetMediaType(Pattern(MEDIATYPE_Audio, MEDIASUBTYPE_PCM));
    IPin* capture = audioOnly.camera->GetPin(0);
    EXPECT_EQ(audioOnly.graph->ConnectDirect(capture, audioOnly.grabber->FindPin(L"Input"), nullptr),
              VFW_E_NO_ACCEPTABLE_TYPES);
    EXPECT_EQ(audioOnly.graph->ConnectDirect(audioOnly.grabber->FindPin(L"Input"), capture, nullptr),
              VFW_E_INVALID_DIRECTION);

    CameraGraph g(MEDIASUBTYPE_None);
    ASSERT_EQ(g.Connect(), S_OK);
    AM_MEDIA_TYPE type;
    ASSERT_EQ(g.grabber->GetConnectedMediaType(&type), S_OK);
    EXPECT_EQ(type.subtype, MEDIASUBTYPE_YUY2) << "the camera's first format, taken as it is";
    EXPECT_EQ(g.graph->ConnectDirect(capture, audioOnly.grabber->FindPin(L"Input"), nullptr),
              VFW_E_NOT_IN_GRAPH);
    EXPECT_EQ(g.builder.RenderStream(PIN_CATEGORY_CAPTURE, MEDIATYPE_Video, g.camera.get(), nullptr,
                                     g.renderer.get()),
              VFW_E_NOT_FOUND)
        << "the capture pin is taken";
}

TEST(FilterGraph, ACameraFormatThatTheReceiverCannotTakeGoesThroughAConverter) {
    ScopedFreeRunningClock clock;
    CameraGraph g;  // YUY2 camera, RGB24 grabber
    ASSERT_EQ(g.Connect(), S_OK);
    std::shared_ptr<IBaseFilter> converter;
    EXPECT_EQ(g.graph->FindFilterByName(L"Video Converter", &converter), S_OK);
    AM_MEDIA_TYPE type;
    ASSERT_EQ(g.grabber->GetConnectedMediaType(&type), S_OK);
    EXPECT_EQ(type.subtype, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(type.VideoInfo()->bmiHeader.biWidth, 640);
    EXPECT_EQ(type.VideoInfo()->bmiHeader.biHeight, 480);
    g.grabber->SetBufferSamples(true);
    ASSERT_GE(RunFor(*g.graph, g.callback, 2), 2);
    EXPECT_EQ(g.callback.lastLength.load(), 921600);

    // The picture's first bar is light grey; the last stored row is the picture's top row.
    long size = 921600;
    std::vector<uint8_t> frame(size);
    ASSERT_EQ(g.grabber->GetCurrentBuffer(&size, frame.data()), S_OK);
    const uint8_t* topLeft = &frame[479 * 640 * 3];
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(topLeft[c], 191, 3);
}

TEST(FilterGraph, WithoutAConverterClassTheFormatsDoNotConnect) {
    const FilterFactory saved = RegisterFilterClass(CLSID_VideoConverter, nullptr);
    CameraGraph g;
    EXPECT_EQ(g.Connect(), VFW_E_CANNOT_CONNECT);
    EXPECT_EQ(g.graph->Filters().size(), 3u);
    RegisterFilterClass(CLSID_VideoConverter, saved);
}

TEST(FilterGraph, NoCallbackRunsOnceStopReturnedAndTheGraphRunsAgain) {
    CameraGraph g;
    std::atomic<bool> stopped{false};
    std::atomic<bool> lateCall{false};
    g.callback.paint = [&](uint8_t*, long) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));  // be inside the callback when Stop comes
        if (stopped.load()) lateCall = true;
    };
    ASSERT_EQ(g.Connect(), S_OK);
    for (int round = 0; round < 2; ++round) {
        stopped = false;
        const int before = g.callback.count.load();
        ASSERT_EQ(g.graph->Run(), S_OK);
        EXPECT_EQ(g.graph->Run(), S_OK) << "running twice is fine";
        while (g.callback.count.load() < before + 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_EQ(g.graph->Stop(), S_OK);
        stopped = true;
        const int atStop = g.callback.count.load();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(g.callback.count.load(), atStop);
        EXPECT_FALSE(lateCall.load());
    }
    EXPECT_EQ(g.graph->Stop(), S_OK) << "stopping a stopped graph is fine";
}

TEST(FilterGraph, PinsDoNotChangeWhileTheGraphRuns) {
    ScopedFreeRunningClock clock;
    CameraGraph g;
    ASSERT_EQ(g.Connect(), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK);
    EXPECT_EQ(g.graph->Disconnect(g.camera->GetPin(0)), VFW_E_NOT_STOPPED);
    EXPECT_EQ(g.graph->AddFilter(std::make_shared<NullRenderer>(), L"Late"), VFW_E_NOT_STOPPED);
    EXPECT_EQ(g.graph->RemoveFilter(g.renderer.get()), VFW_E_NOT_STOPPED);
    g.graph->Stop();
    IPin* converterInput = g.camera->GetPin(0)->ConnectedTo();
    EXPECT_EQ(g.graph->Disconnect(g.camera->GetPin(0)), S_OK);
    EXPECT_FALSE(g.camera->GetPin(0)->IsConnected());
    EXPECT_FALSE(converterInput->IsConnected());
}

TEST(FilterGraph, OneShotTakesOneSampleAndReportsCompletion) {
    CameraGraph g;
    g.grabber->SetOneShot(true);
    ASSERT_EQ(g.Connect(), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK);
    long code = 0;
    intptr_t p1 = 0, p2 = 0;
    ASSERT_EQ(g.graph->GetEvent(&code, &p1, &p2, 5000), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    g.graph->Stop();
    EXPECT_EQ(g.callback.count.load(), 1);
}

}  // namespace
}  // namespace kestrova::mediatest
