#pragma once
// Small pieces that the graph tests share: a callback that counts (and may paint) the samples it sees, and
// a run of a graph until enough samples went by.

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "platform/media/filter_graph.h"
#include "platform/media/sample_grabber.h"

namespace kestrova::mediatest {

class CountingCallback : public media::ISampleGrabberCB {
public:
    // Called with every buffer before it is counted; it may change the bytes.
    std::function<void(uint8_t* buffer, long length)> paint;

    media::HRESULT SampleCB(double, media::MediaSample*) override { return media::E_NOTIMPL; }
    media::HRESULT BufferCB(double, uint8_t* buffer, long length) override {
        if (paint) paint(buffer, length);
        lastLength.store(length);
        ++count;
        return media::S_OK;
    }

    std::atomic<int> count{0};
    std::atomic<long> lastLength{0};
};

// Runs `graph` until `callback` counted `samples` (or 60 s of real time passed), stops it and returns the
// count once the graph stood still.
inline int RunFor(media::FilterGraph& graph, CountingCallback& callback, int samples) {
    if (media::FAILED(graph.Run())) return -1;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (callback.count.load() < samples && std::chrono::steady_clock::now() < give_up) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    graph.Stop();
    return callback.count.load();
}

}  // namespace kestrova::mediatest
