#include "engine/capture_graph.h"

#include "engine/device_messages.h"
#include "engine/video_recording.h"
#include "platform/media/filter_classes.h"

namespace kestrova {

using namespace media;

HRESULT CaptureGraph::Build(const std::shared_ptr<IBaseFilter>& captureFilter, HWND notifyWindow,
                            LPARAM device, std::unique_ptr<ISampleGrabberCB> callback,
                            const CaptureGraphPlan& plan) {
    Release();
    callback_ = std::move(callback);
    const HRESULT hr = BuildSteps(captureFilter, notifyWindow, device, plan);
    if (FAILED(hr)) {
        Unhook();
        Release();
        return hr;
    }
    // A graph that cannot be registered still runs; it is only invisible to graph tools.
    if (FAILED(AddGraphToRot(graph_, &rotCookie_))) rotCookie_ = 0;
    return S_OK;
}

HRESULT CaptureGraph::BuildSteps(const std::shared_ptr<IBaseFilter>& captureFilter, HWND notifyWindow,
                                 LPARAM device, const CaptureGraphPlan& plan) {
    graph_ = std::make_shared<FilterGraph>();
    builder_ = std::make_shared<CaptureGraphBuilder>();
    builder_->SetFiltergraph(graph_);  // a new builder takes a new graph
    control_ = QueryInterface<IMediaControl>(graph_);
    events_ = QueryInterface<IMediaEventEx>(graph_);
    if (!control_ || !events_) return E_NOINTERFACE;
    HRESULT hr = events_->SetNotifyWindow(notifyWindow, WM_GRAPH_NOTIFY, device);
    if (FAILED(hr)) return hr;
    if (!captureFilter) return E_POINTER;
    hr = graph_->AddFilter(captureFilter, plan.captureName);
    if (FAILED(hr)) return hr;

    std::shared_ptr<IAMStreamConfig> config;
    hr = builder_->FindInterface(PIN_CATEGORY_CAPTURE, plan.majorType, captureFilter.get(), &config);
    if (FAILED(hr)) return hr;
    int count = 0, size = 0;
    hr = config->GetNumberOfCapabilities(&count, &size);
    if (FAILED(hr)) return hr;
    hr = plan.chooseFormat(*config, count, size);
    if (FAILED(hr)) return hr;
    config.reset();

    hr = CoCreateInstance(CLSID_SampleGrabber, &grabberFilter_);
    if (FAILED(hr)) return hr;
    hr = graph_->AddFilter(grabberFilter_, L"Sample Grabber");
    if (FAILED(hr)) return hr;
    grabber_ = QueryInterface<ISampleGrabber>(grabberFilter_);
    if (!grabber_) return E_NOINTERFACE;
    hr = grabber_->SetMediaType(plan.grabberType);
    if (FAILED(hr)) return hr;
    // Plain settings of a grabber made just now: it takes them.
    grabber_->SetBufferSamples(false);
    grabber_->SetOneShot(false);
    hr = grabber_->SetCallback(callback_.get(), 1);
    if (FAILED(hr)) return hr;

    hr = CoCreateInstance(CLSID_NullRenderer, &nullRenderer_);
    if (FAILED(hr)) return hr;
    hr = graph_->AddFilter(nullRenderer_, L"Null");
    if (FAILED(hr)) return hr;

    IPin* pin = nullptr;
    hr = builder_->FindPin(captureFilter.get(), PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE, plan.majorType, false, 0,
                           &pin);
    if (FAILED(hr)) return hr;
    hr = builder_->RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, pin, nullptr, grabberFilter_.get());
    if (FAILED(hr)) return hr;
    hr = builder_->FindPin(grabberFilter_.get(), PINDIR_OUTPUT, PIN_CATEGORY_None, MEDIATYPE_None, false, 0,
                           &pin);
    if (FAILED(hr)) return hr;
    hr = builder_->RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, pin, nullptr, nullRenderer_.get());
    if (FAILED(hr)) return hr;
    return control_->Run();
}

bool CaptureGraph::Stop() {
    if (!control_) return false;
    if (FAILED(control_->Stop())) return false;
    Unhook();
    return true;
}

void CaptureGraph::Unhook() {
    // The graph has stopped (or never ran), so no streaming thread is inside the callback any more. Clearing
    // the callback and the window cannot be refused.
    if (grabber_) grabber_->SetCallback(nullptr, 1);
    callback_.reset();
    if (events_) events_->SetNotifyWindow(nullptr, 0, 0);
}

void CaptureGraph::Release() {
    if (rotCookie_ != 0) RemoveGraphFromRot(rotCookie_);  // a cookie the table gave: it takes it back
    rotCookie_ = 0;
    grabber_.reset();
    events_.reset();
    control_.reset();
    nullRenderer_.reset();
    grabberFilter_.reset();
    builder_.reset();
    graph_.reset();
    callback_.reset();
}

}  // namespace kestrova
