#include "tests/e2e/scene_camera.h"

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "tests/peers/fakecam/loopback_listener.h"
#include "tests/peers/fakecam/test_jpeg.h"

namespace kestrova::e2e {
namespace {

constexpr auto kFramePeriod = std::chrono::milliseconds(40);
constexpr int kSquare = 120;
constexpr int kPlaces = 8;  // the square's places along its path, one per frame
constexpr const char* kBoundary = "scene";

// The scene's backdrop, a blue no test picture of the program's own has.
constexpr testing::Rgb kBackdrop{30, 60, 140};
constexpr testing::Rgb kSquareColour{220, 30, 30};

std::string Picture(int place) {
    const int left = 40 + place * (SceneCamera::kWidth - kSquare - 80) / (kPlaces - 1);
    const int top = (SceneCamera::kHeight - kSquare) / 2;
    return testing::MakeTestJpeg(SceneCamera::kWidth, SceneCamera::kHeight, [&](int x, int y) {
        const bool inSquare = x >= left && x < left + kSquare && y >= top && y < top + kSquare;
        return inSquare ? kSquareColour : kBackdrop;
    });
}

bool SendAll(int connection, const std::string& bytes) {
    for (size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += size_t(n);
    }
    return true;
}

// Reads up to the blank line that ends a request head; false when the client went away first.
bool ReadHead(int connection, std::string& head) {
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        const ssize_t n = recv(connection, buffer, sizeof(buffer), 0);
        if (n <= 0) return false;
        head.append(buffer, size_t(n));
    }
    return true;
}

}  // namespace

SceneCamera::SceneCamera() {
    for (int place = 0; place < kPlaces; ++place) pictures_.push_back(Picture(place));
    const testing::LoopbackListener listener = testing::ListenOnLoopback("127.0.0.1", 8, "the scene camera");
    listener_ = listener.socket;
    port_ = listener.port;
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

SceneCamera::~SceneCamera() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        stopping_ = true;
        for (int connection : connections_) shutdown(connection, SHUT_RDWR);
    }
    stopped_.notify_all();
    shutdown(listener_, SHUT_RDWR);
    acceptThread_.join();
    close(listener_);
    // No thread is added once the accept loop ended.
    for (std::thread& thread : threads_) thread.join();
    for (int connection : connections_) close(connection);
}

void SceneCamera::AcceptLoop() {
    for (;;) {
        const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        std::lock_guard<std::mutex> guard(mutex_);
        if (stopping_) {
            if (connection >= 0) close(connection);
            return;
        }
        if (connection < 0) continue;
        connections_.push_back(connection);
        threads_.emplace_back([this, connection] { Serve(connection); });
    }
}

void SceneCamera::Serve(int connection) {
    std::string head;
    if (ReadHead(connection, head)) {
        // The stream paths of every camera family name a video; the rest are settings and probes.
        const std::string line = head.substr(0, head.find("\r\n"));
        const bool stream =
            line.find("video") != std::string::npos || line.find("mjpeg") != std::string::npos;
        if (stream) {
            Stream(connection);
        } else {
            SendAll(connection, "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nok\r\n");
        }
    }
    std::lock_guard<std::mutex> guard(mutex_);
    shutdown(connection, SHUT_RDWR);
}

void SceneCamera::Stream(int connection) {
    // The head goes alone: a camera's first reply carries no picture.
    bool open = SendAll(connection, std::string("HTTP/1.0 200 OK\r\nContent-Type: multipart/x-mixed-replace;"
                                                "boundary=") +
                                        kBoundary + "\r\n\r\n");
    auto next = std::chrono::steady_clock::now();
    for (uint64_t frame = 0; open; ++frame) {
        const std::string& jpeg = moving_.load() ? pictures_[frame % kPlaces] : pictures_[0];
        open = SendAll(connection, std::string("--") + kBoundary + "\r\nContent-Type: image/jpeg\r\n" +
                                       "Content-Length: " + std::to_string(jpeg.size()) + "\r\n\r\n" + jpeg +
                                       "\r\n");
        next += kFramePeriod;
        std::unique_lock<std::mutex> lock(mutex_);
        if (stopped_.wait_until(lock, next, [this] { return stopping_; })) return;
    }
}

}  // namespace kestrova::e2e
