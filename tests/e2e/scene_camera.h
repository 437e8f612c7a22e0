#pragma once
// A network camera on a loopback address that films a scene the test controls: a still picture, or a
// picture whose red square moves a step each frame. It answers every request with "200 OK"; a request for
// a stream gets the head of a multipart JPEG stream and then one part every 40 ms (25 frames a second,
// paced in real time as a camera paces them) until the client goes away.

#include <atomic>
#include <string>
#include <vector>

#include "tests/peers/fakecam/loopback_server.h"

namespace kestrova::e2e {

class SceneCamera {
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    SceneCamera();
    SceneCamera(const SceneCamera&) = delete;
    SceneCamera& operator=(const SceneCamera&) = delete;

    int Port() const { return server_.Port(); }
    // From the next frame on the square moves (true) or stands still (false). It starts still.
    void SetMoving(bool moving) { moving_.store(moving); }

private:
    void Serve(int connection);
    void Stream(int connection);

    std::vector<std::string> pictures_;  // the square at each of its places; [0] is the still picture
    std::atomic<bool> moving_{false};
    // Last: made after, and stopped before, the pictures its serving sends.
    testing::LoopbackServer server_;
};

}  // namespace kestrova::e2e
