#include "tests/peers/fakecam/fake_camera.h"

#include <sys/socket.h>

#include <algorithm>


namespace kestrova::testing {
namespace {

// The stream paths of the four families, as a camera of each family serves them.
constexpr const char* kFamilyPaths[] = {"/videostream.cgi", "/video.cgi", "/axis-cgi/mjpg/video.cgi",
                                        "/axis-cgi/mjpg/mjpeg.cgi"};
constexpr const char* kBoundary = "kestrovaframe";

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

std::string PathOf(const std::string& head) {
    const size_t start = head.find(' ');
    const size_t end = head.find(" HTTP/");
    if (start == std::string::npos || end == std::string::npos || end < start) return std::string();
    return head.substr(start + 1, end - start - 1);
}

int FamilyOf(const std::string& path) {
    const std::string bare = path.substr(0, path.find('?'));
    for (int family = 0; family < 4; ++family) {
        if (bare == kFamilyPaths[family]) return family;
    }
    return -1;
}

// Waits until the client closes its side (or the camera shuts the connection down).
void WaitForClientClose(int connection) {
    char buffer[4096];
    while (recv(connection, buffer, sizeof(buffer), 0) > 0) {
    }
}

}  // namespace

FakeCamera::FakeCamera(const std::string& address)
    : server_(address, 16, "the fake camera", [this](int connection) { Serve(connection); }) {}

void FakeCamera::RefuseFamilies(std::vector<int> families) {
    std::lock_guard<std::mutex> guard(mutex_);
    refusedFamilies_ = std::move(families);
}

void FakeCamera::RedirectTo(const std::string& location) {
    std::lock_guard<std::mutex> guard(mutex_);
    redirectLocation_ = location;
}

void FakeCamera::SetParamsBody(const std::string& body) {
    std::lock_guard<std::mutex> guard(mutex_);
    paramsBody_ = body;
}

void FakeCamera::SetControlReply(const std::string& reply) {
    std::lock_guard<std::mutex> guard(mutex_);
    controlReply_ = reply;
}

void FakeCamera::SetPtzReply(const std::string& reply) {
    std::lock_guard<std::mutex> guard(mutex_);
    ptzReply_ = reply;
}

void FakeCamera::SetFrames(std::vector<std::string> jpegs, int repeat) {
    std::lock_guard<std::mutex> guard(mutex_);
    frames_ = std::move(jpegs);
    repeat_ = repeat;
}

void FakeCamera::SetRawStream(const std::string& bytes) {
    std::lock_guard<std::mutex> guard(mutex_);
    rawStream_ = bytes;
    raw_ = true;
}

void FakeCamera::SetDelivery(size_t pieceSize, std::chrono::milliseconds pause) {
    std::lock_guard<std::mutex> guard(mutex_);
    pieceSize_ = pieceSize;
    pause_ = pause;
}

void FakeCamera::SetAfterFrames(AfterFrames after) {
    std::lock_guard<std::mutex> guard(mutex_);
    after_ = after;
}

std::string FakeCamera::StreamBytes() const {
    std::lock_guard<std::mutex> guard(mutex_);
    std::string bytes = "HTTP/1.0 200 OK\r\nContent-Type: multipart/x-mixed-replace;boundary=" +
                        std::string(kBoundary) + "\r\n\r\n";
    if (raw_) return bytes + rawStream_;
    for (int round = 0; round < std::max(repeat_, 1); ++round) {
        for (const std::string& jpeg : frames_) {
            bytes += "--" + std::string(kBoundary) + "\r\nContent-Type: image/jpeg\r\nContent-Length: " +
                     std::to_string(jpeg.size()) + "\r\n\r\n" + jpeg + "\r\n";
        }
    }
    return bytes;
}

std::vector<FakeCameraRequest> FakeCamera::Requests() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return requests_;
}

bool FakeCamera::WaitForRequests(size_t count, std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
}

int FakeCamera::OpenStreams() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return openStreams_;
}

void FakeCamera::Serve(int connection) {
    const std::string head = ReadRequestHead(connection);
    if (!head.empty()) {
        const std::string path = PathOf(head);
        std::string reply;
        bool stream = false;
        bool holdOpen = false;
        {
            std::lock_guard<std::mutex> guard(mutex_);
            requests_.push_back({head, path, std::chrono::steady_clock::now()});
            const int family = FamilyOf(path);
            if (path == "/") {
                reply = redirectLocation_.empty()
                            ? "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html></html>\r\n"
                            : "HTTP/1.0 302 Moved Temporarily\r\nLocation: " + redirectLocation_ + "\r\n\r\n";
            } else if (StartsWith(path, "/camera_control.cgi?param=0&")) {
                reply = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nok\r\n";
            } else if (StartsWith(path, "/camera_control.cgi")) {
                reply = controlReply_;
            } else if (StartsWith(path, "/get_camera_params.cgi")) {
                // With its length given, the reply is whole before the connection ends.
                reply = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                        std::to_string(paramsBody_.size()) + "\r\n\r\n" + paramsBody_;
                holdOpen = true;
            } else if (StartsWith(path, "/decoder_control.cgi")) {
                reply = ptzReply_;
                holdOpen = reply.empty();
            } else if (family >= 0) {
                stream = std::find(refusedFamilies_.begin(), refusedFamilies_.end(), family) ==
                         refusedFamilies_.end();
                if (!stream) reply = "HTTP/1.0 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"cam\"\r\n\r\n";
            } else {
                reply = "HTTP/1.0 404 Not Found\r\n\r\n";
            }
        }
        changed_.notify_all();
        if (stream) {
            ServeStream(connection);
        } else if (SendAll(connection, reply, false) && holdOpen) {
            WaitForClientClose(connection);
        }
    }
}

void FakeCamera::ServeStream(int connection) {
    AfterFrames after;
    bool forever;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        ++openStreams_;
        after = after_;
        forever = repeat_ == 0;
    }
    const std::string bytes = StreamBytes();
    bool open = SendAll(connection, bytes, true);
    if (forever) {
        const std::string rounds = bytes.substr(bytes.find("\r\n\r\n") + 4);
        while (open) open = SendAll(connection, rounds, true);
    }
    if (open && after == AfterFrames::kStaySilent) WaitForClientClose(connection);
    std::lock_guard<std::mutex> guard(mutex_);
    --openStreams_;
}

bool FakeCamera::SendAll(int connection, const std::string& bytes, bool paced) {
    size_t pieceSize;
    std::chrono::milliseconds pause;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        pieceSize = paced && pieceSize_ > 0 ? pieceSize_ : bytes.size();
        pause = paced ? pause_ : std::chrono::milliseconds(0);
    }
    for (size_t at = 0; at < bytes.size(); at += pieceSize) {
        if (!SendBytes(connection, bytes.data() + at, std::min(pieceSize, bytes.size() - at))) return false;
        if (pause.count() > 0 && !server_.PauseUntil(std::chrono::steady_clock::now() + pause)) return false;
    }
    return !server_.Stopping();
}

}  // namespace kestrova::testing
