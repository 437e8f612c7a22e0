#include "tests/e2e/scene_camera.h"

#include <chrono>

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

// The square at each of its places.
std::vector<std::string> Pictures() {
    std::vector<std::string> pictures;
    for (int place = 0; place < kPlaces; ++place) pictures.push_back(Picture(place));
    return pictures;
}

bool SendAll(int connection, const std::string& bytes) {
    return testing::SendBytes(connection, bytes.data(), bytes.size());
}

}  // namespace

SceneCamera::SceneCamera()
    : pictures_(Pictures()),
      server_("127.0.0.1", 8, "the scene camera", [this](int connection) { Serve(connection); }) {}

void SceneCamera::Serve(int connection) {
    const std::string head = testing::ReadRequestHead(connection);
    if (!head.empty()) {
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
        if (!server_.PauseUntil(next)) return;
    }
}

}  // namespace kestrova::e2e
