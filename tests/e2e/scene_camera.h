#pragma once
// A network camera on a loopback address that films a scene the test controls: a still picture, or a
// picture whose red square moves a step each frame. It answers every request with "200 OK"; a request for
// a stream gets the head of a multipart JPEG stream and then one part every 40 ms (25 frames a second,
// paced in real time as a camera paces them) until the client goes away.

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kestrova::e2e {

class SceneCamera {
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    SceneCamera();
    ~SceneCamera();
    SceneCamera(const SceneCamera&) = delete;
    SceneCamera& operator=(const SceneCamera&) = delete;

    int Port() const { return port_; }
    // From the next frame on the square moves (true) or stands still (false). It starts still.
    void SetMoving(bool moving) { moving_.store(moving); }

private:
    void AcceptLoop();
    void Serve(int connection);
    void Stream(int connection);

    int listener_ = -1;
    int port_ = 0;
    std::vector<std::string> pictures_;  // the square at each of its places; [0] is the still picture
    std::atomic<bool> moving_{false};

    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::vector<int> connections_;  // closed when the camera goes
    std::vector<std::thread> threads_;
    std::thread acceptThread_;
};

}  // namespace kestrova::e2e
