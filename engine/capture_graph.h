#pragma once
// The live capture graph that the USB camera and the microphone build alike: the device's capture filter,
// rendered into a Sample Grabber whose buffer callback the device owns, rendered into a Null Renderer. The
// graph posts its events to the notify window with the device as lParam. Built and torn down on the
// user-interface thread only.

#include <functional>
#include <memory>

#include "platform/media/capture_graph_builder.h"
#include "platform/media/filter_graph.h"
#include "platform/media/sample_grabber.h"
#include "platform/ui/types.h"

namespace kestrova {

// A grabber callback that hands every buffer to its owner's `OnBuffer`.
template <class Owner, void (Owner::*OnBuffer)(const uint8_t* buffer, long length)>
class GrabberCallback : public media::ISampleGrabberCB {
public:
    explicit GrabberCallback(Owner* owner) : owner_(owner) {}

    // The grabber is set to call BufferCB.
    media::HRESULT SampleCB(double, media::MediaSample*) override { return media::E_NOTIMPL; }
    media::HRESULT BufferCB(double, uint8_t* buffer, long length) override {
        if (owner_ != nullptr) (owner_->*OnBuffer)(buffer, length);
        return media::S_OK;
    }

private:
    Owner* owner_;
};

// What differs between the kinds' graphs.
struct CaptureGraphPlan {
    const wchar_t* captureName;  // the capture filter's name in the graph
    media::MajorType majorType;  // of the capture pin
    media::AM_MEDIA_TYPE grabberType;
    // Sets the capture pin's format from its stream configuration (`count` entries, records of `size`
    // bytes); a failure fails the build.
    std::function<media::HRESULT(media::IAMStreamConfig& config, int count, int size)> chooseFormat;
};

class CaptureGraph {
public:
    CaptureGraph() = default;
    ~CaptureGraph() { Release(); }
    CaptureGraph(const CaptureGraph&) = delete;
    CaptureGraph& operator=(const CaptureGraph&) = delete;

    // Builds the graph around `captureFilter` and runs it. On failure everything built so far is released
    // (the capture filter stays with its owner) and the failure returned.
    media::HRESULT Build(const std::shared_ptr<media::IBaseFilter>& captureFilter, HWND notifyWindow,
                         LPARAM device, std::unique_ptr<media::ISampleGrabberCB> callback,
                         const CaptureGraphPlan& plan);
    // Stops the running graph, then unhooks and deletes the callback and the notify window. False without
    // a graph or when the graph refuses to stop (nothing changes then).
    bool Stop();
    // Leaves the running object table and lets go of the graph.
    void Release();

    // The graph's events, or null without a graph.
    media::IMediaEventEx* Events() const { return events_.get(); }

private:
    media::HRESULT BuildSteps(const std::shared_ptr<media::IBaseFilter>& captureFilter, HWND notifyWindow,
                              LPARAM device, const CaptureGraphPlan& plan);
    void Unhook();

    // Declared first, so that it outlives the graph that calls it.
    std::unique_ptr<media::ISampleGrabberCB> callback_;
    std::shared_ptr<media::FilterGraph> graph_;
    std::shared_ptr<media::CaptureGraphBuilder> builder_;
    std::shared_ptr<media::IBaseFilter> grabberFilter_;
    std::shared_ptr<media::IBaseFilter> nullRenderer_;
    std::shared_ptr<media::IMediaControl> control_;
    std::shared_ptr<media::IMediaEventEx> events_;
    std::shared_ptr<media::ISampleGrabber> grabber_;
    uint32_t rotCookie_ = 0;
};

}  // namespace kestrova
